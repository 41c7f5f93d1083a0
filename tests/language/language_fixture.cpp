#include "tests/language/language_fixture.h"

#include <fstream>
#include <iterator>
#include <random>

#include "language/keyboard_selection.h"
#include "wince/host/device.h"
#include "wince/host/message_box.h"
#include "wince/host/text.h"

namespace language_test {

void LanguageTest::SetUp() {
  std::random_device random;
  device_ = std::filesystem::temp_directory_path() /
            ("language-test-" + std::to_string(random()) + "-" + std::to_string(random()));
  std::filesystem::create_directories(device_);
  wince::host::SetDeviceFolder(device_);
  wince::host::ClearMessageBoxes();
  tapora::KeyboardSelection = tapora::KeyboardSelectionRecord{};
}

void LanguageTest::TearDown() {
  EXPECT_EQ(wince::host::OpenFileHandles(), 0);
  std::error_code ignored;
  std::filesystem::remove_all(device_, ignored);
}

std::filesystem::path LanguageTest::Host(const std::string& relative) const { return device_ / relative; }

void LanguageTest::MakeFolder(const std::string& relative) const {
  std::filesystem::create_directories(Host(relative));
}

void LanguageTest::WriteBytes(const std::string& relative, const std::string& bytes) const {
  std::filesystem::create_directories(Host(relative).parent_path());
  std::ofstream(Host(relative), std::ios::binary) << bytes;
}

std::string LanguageTest::ReadBytes(const std::string& relative) const {
  std::ifstream in(Host(relative), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool LanguageTest::Exists(const std::string& relative) const { return std::filesystem::exists(Host(relative)); }

std::string MessageLog() {
  std::string log;
  for (const auto& box : wince::host::MessageBoxes()) {
    log += wince::host::Utf8(box.caption) + "|" + wince::host::Utf8(box.text) + "|" +
           std::to_string(box.type) + (box.owner == nullptr ? "" : "|owned") + "\n";
  }
  return log;
}

}  // namespace language_test
