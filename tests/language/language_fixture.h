// Shared fixture of the language tests: a fresh device folder per test with
// an empty selection and no recorded message boxes, and helpers that put
// files into the language tree and read them back as bytes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <windows.h>

namespace language_test {

// "\Program Files\Tapora SIP" below the device folder.
inline constexpr const char* kBaseFolder = "Program Files/Tapora SIP";

class LanguageTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A path below the device folder, e.g. Host("Program Files/Tapora SIP/info").
  std::filesystem::path Host(const std::string& relative) const;
  void MakeFolder(const std::string& relative) const;
  void WriteBytes(const std::string& relative, const std::string& bytes) const;
  std::string ReadBytes(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

  std::filesystem::path device_;
};

// The recorded message boxes as "caption|text|type" lines, for comparing a
// whole sequence at once.
std::string MessageLog();

}  // namespace language_test
