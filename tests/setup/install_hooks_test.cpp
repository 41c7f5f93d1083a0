// The installer hooks as the cabinet installer calls them: the library test
// with the library missing, free, loaded, or beside a leftover copy; the
// product folder after uninstalling; and no library lost when any copy or
// delete fails.
#include <ce_setup.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <windows.h>

#include "wince/host/device.h"
#include "wince/host/faults.h"
#include "wince/host/message_box.h"
#include "wince/host/text.h"

namespace {

namespace fs = std::filesystem;
using wince::host::Call;

constexpr char LIBRARY_BYTES[] = "the library's own bytes";

class InstallHooks : public ::testing::Test {
 protected:
  void SetUp() override {
    static int number = 0;
    device_ = fs::temp_directory_path() /
              ("setup_tests_" + std::to_string(getpid()) + "_" + std::to_string(++number));
    fs::create_directories(device_ / "Windows");
    fs::copy_file(SETUP_DLL, device_ / "setup.dll");
    wince::host::SetDeviceFolder(device_);
    wince::host::ClearMessageBoxes();
    wince::host::ClearFaults();
    setup_ = LoadLibraryW(u"\\setup.dll");
    ASSERT_NE(setup_, nullptr);
    installInit_ = Export<pfnINSTALL_INIT>("Install_Init");
    uninstallInit_ = Export<pfnUNINSTALL_INIT>("Uninstall_Init");
    uninstallExit_ = Export<pfnUNINSTALL_EXIT>("Uninstall_Exit");
    ASSERT_TRUE(installInit_ && uninstallInit_ && uninstallExit_ &&
                Export<pfnINSTALL_EXIT>("Install_Exit"));
  }
  void TearDown() override {
    wince::host::ClearFaults();
    if (setup_ != nullptr) FreeLibrary(setup_);
    std::error_code ignored;
    fs::remove_all(device_, ignored);
  }

  template <class F>
  F Export(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(setup_, name)));
  }
  void Write(const std::string& relative, const std::string& bytes) {
    std::ofstream(device_ / relative, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& relative) {
    std::ifstream in(device_ / relative, std::ios::binary);
    if (!in) return "(missing)";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The init hook's answer as a number: 0 goes on, 1 cancels.
  int RunInit(bool install) {
    return install ? static_cast<int>(installInit_(nullptr, TRUE, TRUE, u"\\Program Files"))
                   : static_cast<int>(uninstallInit_(nullptr, u"\\Program Files"));
  }
  // The message boxes shown, as "caption: text".
  std::vector<std::string> Messages() {
    std::vector<std::string> lines;
    for (const auto& box : wince::host::MessageBoxes())
      lines.push_back(wince::host::Utf8(box.caption) + ": " + wince::host::Utf8(box.text));
    return lines;
  }

  fs::path device_;
  HMODULE setup_ = nullptr;
  pfnINSTALL_INIT installInit_ = nullptr;
  pfnUNINSTALL_INIT uninstallInit_ = nullptr;
  pfnUNINSTALL_EXIT uninstallExit_ = nullptr;
};

const std::string INSTALL_MESSAGE = "Install: Before installing please reset your device.";
const std::string UNINSTALL_MESSAGE = "Uninstall: Before uninstalling please reset your device.";

TEST_F(InstallHooks, TheLibraryTest) {
  struct Case {
    const char* name;
    const char* library;    // nullptr: none
    const char* leftover;   // an earlier run's temporary copy, nullptr: none
    bool leftoverStuck;     // the leftover cannot be deleted
    bool install;           // Install_Init, else Uninstall_Init
    int result;
    std::vector<std::string> messages;
    std::string libraryAfter;
    std::string leftoverAfter;
  } cases[] = {
      {"no library: a first installation", nullptr, nullptr, false, true, 0, {}, "(missing)",
       "(missing)"},
      {"free library, install", LIBRARY_BYTES, nullptr, false, true, 0, {}, LIBRARY_BYTES,
       "(missing)"},
      {"free library, uninstall", LIBRARY_BYTES, nullptr, false, false, 0, {}, LIBRARY_BYTES,
       "(missing)"},
      {"no library, uninstall", nullptr, nullptr, false, false, 1, {UNINSTALL_MESSAGE},
       "(missing)", "(missing)"},
      {"a leftover copy never replaces the library", LIBRARY_BYTES, "an older library", false,
       true, 0, {}, LIBRARY_BYTES, "(missing)"},
      {"a leftover that cannot go cancels", LIBRARY_BYTES, "an older library", true, true, 1,
       {INSTALL_MESSAGE}, LIBRARY_BYTES, "an older library"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(device_ / "Windows/tapora.dll");
    fs::remove(device_ / "Windows/tmptapora.dll");
    if (c.library) Write("Windows/tapora.dll", c.library);
    if (c.leftover) Write("Windows/tmptapora.dll", c.leftover);
    if (c.leftoverStuck)
      fs::permissions(device_ / "Windows/tmptapora.dll", fs::perms::owner_read);
    wince::host::ClearMessageBoxes();
    EXPECT_EQ(RunInit(c.install), c.result);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(Read("Windows/tapora.dll"), c.libraryAfter);
    EXPECT_EQ(Read("Windows/tmptapora.dll"), c.leftoverAfter);
    if (c.leftoverStuck)
      fs::permissions(device_ / "Windows/tmptapora.dll", fs::perms::owner_all);
  }
}

TEST_F(InstallHooks, ALoadedLibraryCancelsBothHooks) {
  fs::copy_file(TAPORA_DLL, device_ / "Windows/tapora.dll");
  const std::string bytes = Read("Windows/tapora.dll");
  HMODULE library = LoadLibraryW(u"\\Windows\\tapora.dll");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(installInit_(nullptr, TRUE, TRUE, u"\\Program Files"), codeINSTALL_INIT_CANCEL);
  EXPECT_EQ(uninstallInit_(nullptr, u"\\Program Files"), codeUNINSTALL_INIT_CANCEL);
  EXPECT_EQ(Messages(), (std::vector<std::string>{INSTALL_MESSAGE, UNINSTALL_MESSAGE}));
  EXPECT_EQ(Read("Windows/tmptapora.dll"), "(missing)");
  FreeLibrary(library);
  EXPECT_EQ(Read("Windows/tapora.dll"), bytes);
}

TEST_F(InstallHooks, UninstallExitRemovesOnlyAnEmptyProductFolder) {
  fs::create_directories(device_ / "Program Files/Tapora SIP");
  Write("Program Files/Tapora SIP/info", "left by the user");
  EXPECT_EQ(uninstallExit_(nullptr), codeUNINSTALL_EXIT_DONE);
  EXPECT_TRUE(fs::exists(device_ / "Program Files/Tapora SIP/info"));
  fs::remove(device_ / "Program Files/Tapora SIP/info");
  EXPECT_EQ(uninstallExit_(nullptr), codeUNINSTALL_EXIT_DONE);
  EXPECT_FALSE(fs::exists(device_ / "Program Files/Tapora SIP"));
}

// Whichever copy or delete fails, the library stays with its contents.
TEST_F(InstallHooks, NoFailingCopyOrDeleteLosesTheLibrary) {
  for (Call call : {Call::CopyFileW, Call::DeleteFileW}) {
    for (unsigned n = 1; n <= 4; ++n) {
      SCOPED_TRACE((call == Call::CopyFileW ? "copy " : "delete ") + std::to_string(n));
      for (bool install : {true, false}) {
        fs::remove(device_ / "Windows/tmptapora.dll");
        Write("Windows/tapora.dll", LIBRARY_BYTES);
        wince::host::FailNthCall(call, n);
        RunInit(install);
        wince::host::ClearFaults();
        EXPECT_EQ(Read("Windows/tapora.dll"), LIBRARY_BYTES);
      }
    }
  }
}

}  // namespace
