// The installer hooks of setup.dll against the installed library, loaded by
// the SIP manager and free: a loaded library cannot be deleted, which is what
// the hooks test for.
#include <gtest/gtest.h>

#include "tests/win32/sip_manager.h"

namespace wine_test {
namespace {

// The hooks as the cabinet installer calls them; their arguments are not used.
using InstallInit = int (*)(HWND, BOOL, BOOL, LPCWSTR);
using InstallExit = int (*)(HWND, LPCWSTR, WORD, WORD, WORD, WORD, WORD);
using UninstallInit = int (*)(HWND, LPCWSTR);
using UninstallExit = int (*)(HWND);

class InstallHooks : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InstallProduct());
    setup_ = LoadLibraryW((ModulesFolder() + L"\\setup.dll").c_str());
    ASSERT_NE(setup_, nullptr);
  }
  void TearDown() override { FreeLibrary(setup_); }

  template <typename Hook>
  Hook Find(const char* name) {
    return reinterpret_cast<Hook>(reinterpret_cast<void*>(GetProcAddress(setup_, name)));
  }
  int Call(const char* name) {
    const std::string hook(name);
    if (hook == "Install_Init") return Find<InstallInit>(name)(nullptr, FALSE, FALSE, L"");
    if (hook == "Install_Exit") return Find<InstallExit>(name)(nullptr, L"", 0, 0, 0, 0, 0);
    if (hook == "Uninstall_Init") return Find<UninstallInit>(name)(nullptr, L"");
    return Find<UninstallExit>(name)(nullptr);
  }

  static DWORD Size(const wchar_t* path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return 0;
    return data.nFileSizeLow;
  }

  MessageBoxCatcher boxes_;
  HMODULE setup_ = nullptr;
};

TEST_F(InstallHooks, LoadedLibraryCancelsInstallAndUninstall) {
  const DWORD size = Size(L"C:\\Windows\\tapora.dll");
  HMODULE library = LoadLibraryW(L"C:\\Windows\\tapora.dll");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(Call("Install_Init"), 1);
  EXPECT_EQ(Call("Uninstall_Init"), 1);
  EXPECT_EQ(boxes_.boxes,
            (std::vector<std::string>{"Install: Before installing please reset your device.",
                                      "Uninstall: Before uninstalling please reset your device."}));
  EXPECT_EQ(Size(L"C:\\Windows\\tapora.dll"), size);
  EXPECT_EQ(GetFileAttributesW(L"C:\\Windows\\tmptapora.dll"), INVALID_FILE_ATTRIBUTES);
  FreeLibrary(library);
}

TEST_F(InstallHooks, FreeLibraryLetsThemGoOnAndIsPutBack) {
  const DWORD size = Size(L"C:\\Windows\\tapora.dll");
  ASSERT_GT(size, 0u);
  EXPECT_EQ(Call("Install_Init"), 0);
  EXPECT_EQ(Size(L"C:\\Windows\\tapora.dll"), size);
  EXPECT_EQ(Call("Uninstall_Init"), 0);
  EXPECT_EQ(Size(L"C:\\Windows\\tapora.dll"), size);
  EXPECT_EQ(GetFileAttributesW(L"C:\\Windows\\tmptapora.dll"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(Call("Install_Exit"), 0);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(InstallHooks, FirstInstallGoesAheadAndUninstallExitKeepsAFullFolder) {
  ASSERT_TRUE(DeleteFileW(L"C:\\Windows\\tapora.dll"));
  EXPECT_EQ(Call("Install_Init"), 0);
  EXPECT_EQ(GetFileAttributesW(L"C:\\Windows\\tmptapora.dll"), INVALID_FILE_ATTRIBUTES);
  // The product folder still holds the language tree.
  EXPECT_EQ(Call("Uninstall_Exit"), 0);
  EXPECT_NE(GetFileAttributesW(L"C:\\Program Files\\Tapora SIP"), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(boxes_.boxes.empty());
  ASSERT_TRUE(InstallProduct());
}

}  // namespace
}  // namespace wine_test
