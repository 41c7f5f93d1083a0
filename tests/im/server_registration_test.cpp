// Self-registration through the library's exports, as an installer calls them:
// the exact keys and values the SIP manager looks for, twice over, undone
// twice over, and refused without a "CLSID" key.
#include <windows.h>

#include "tests/im/server_fixture.h"
#include "wince/host/debug_output.h"
#include "wince/host/registry.h"
#include "wince/host/text.h"

namespace server_test {
namespace {

constexpr char16_t CLASS_KEY[] = u"CLSID\\{26CA1951-5391-48C1-AC94-17CF92B65759}";

class ServerRegistration : public ServerTest {
 protected:
  HRESULT Call(const char* name) {
    auto function = reinterpret_cast<HRESULT (*)()>(
        reinterpret_cast<void*>(GetProcAddress(library_, name)));
    return function();
  }
  // The default value of a key below HKEY_CLASSES_ROOT with its stored size
  // in bytes, or "(no key)".
  static std::string DefaultValue(const std::u16string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
      return "(no key)";
    WCHAR text[64] = {};
    DWORD size = sizeof text;
    DWORD type = 0;
    LONG result = RegQueryValueExW(opened, nullptr, nullptr, &type,
                                   reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS || type != REG_SZ) return "(no text)";
    return wince::host::Utf8(text) + " [" + std::to_string(size) + "]";
  }
  static std::vector<std::string> ClassKeys() {
    const std::u16string base(CLASS_KEY);
    return {DefaultValue(base), DefaultValue(base + u"\\InprocServer32"),
            DefaultValue(base + u"\\IsSIPInputMethod"), DefaultValue(base + u"\\DefaultIcon")};
  }
};

TEST_F(ServerRegistration, RegistersTheClassTheSipManagerLooksFor) {
  const std::vector<std::string> registered = {
      "Tapora [14]", "\\windows\\tapora.dll [40]", "1 [4]", "\\windows\\tapora.dll,0 [44]"};
  EXPECT_EQ(Call("DllRegisterServer"), S_OK);
  EXPECT_EQ(Call("DllRegisterServer"), S_OK);
  EXPECT_EQ(ClassKeys(), registered);
  EXPECT_EQ(wince::host::OpenRegistryHandles(), 0);
  // It outlives the process: the file holds it.
  wince::host::ReloadRegistry();
  EXPECT_EQ(ClassKeys(), registered);

  EXPECT_EQ(Call("DllUnregisterServer"), S_OK);
  EXPECT_EQ(Call("DllUnregisterServer"), S_OK);
  EXPECT_EQ(DefaultValue(CLASS_KEY), "(no key)");
  HKEY clsid = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"CLSID", 0, KEY_READ, &clsid), ERROR_SUCCESS);
  WCHAR name[64];
  DWORD length = 64;
  EXPECT_EQ(RegEnumKeyExW(clsid, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
            ERROR_NO_MORE_ITEMS);
  RegCloseKey(clsid);
}

TEST_F(ServerRegistration, WithoutACLSIDKeyNothingIsWritten) {
  ASSERT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, u"CLSID"), ERROR_SUCCESS);
  wince::host::ClearDebugOutput();
  EXPECT_EQ(Call("DllRegisterServer"), E_FAIL);
  EXPECT_EQ(wince::host::DebugOutput(),
            std::vector<std::u16string>{u"Failed to create the CLSID key"});
  EXPECT_EQ(DefaultValue(u"CLSID"), "(no key)");
  EXPECT_EQ(wince::host::OpenRegistryHandles(), 0);
}

}  // namespace
}  // namespace server_test
