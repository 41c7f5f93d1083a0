// A fresh, empty device folder for each test, removed afterwards, with small
// helpers to put host files in place and read them back.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <windows.h>

#include "wince/host/device.h"

class DeviceFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::filesystem::temp_directory_path() /
            ("wince_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" +
             info->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
    wince::host::SetDeviceFolder(root_);
    handlesAtStart_ = wince::host::OpenFileHandles();
  }

  void TearDown() override {
    EXPECT_EQ(wince::host::OpenFileHandles(), handlesAtStart_) << "a test left a file open";
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  std::filesystem::path Host(const std::string& relativeUtf8) const { return root_ / relativeUtf8; }

  void WriteHost(const std::string& relativeUtf8, const std::string& bytes) const {
    std::filesystem::path p = Host(relativeUtf8);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
  }

  std::string ReadHost(const std::string& relativeUtf8) const {
    std::ifstream in(Host(relativeUtf8), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  void MakeHostFolder(const std::string& relativeUtf8) const {
    std::filesystem::create_directories(Host(relativeUtf8));
  }

  std::filesystem::path root_;
  int handlesAtStart_ = 0;
};

// Closes a CreateFileW handle at the end of a scope.
struct ScopedFile {
  HANDLE h;
  explicit ScopedFile(HANDLE handle) : h(handle) {}
  ~ScopedFile() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;
  bool ok() const { return h != INVALID_HANDLE_VALUE; }
};

inline HANDLE OpenForReading(LPCWSTR path, DWORD share = FILE_SHARE_READ) {
  return CreateFileW(path, GENERIC_READ, share, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
}
