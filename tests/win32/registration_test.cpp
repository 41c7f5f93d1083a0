// The modules' exports and the server's registration, read back from Wine's
// registry: the SIP manager finds the input method by these keys.
#include <gtest/gtest.h>

#include "tests/win32/platform_differences.h"
#include "tests/win32/sip_manager.h"

namespace wine_test {
namespace {

const std::wstring CLASS_KEY = std::wstring(L"CLSID\\") + CLSID_TEXT;

TEST(Modules, ExportExactlyTheirEntryPoints) {
  const std::wstring modules = ModulesFolder();
  EXPECT_EQ(ExportNames(modules + L"\\tapora.dll"),
            (std::vector<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                      "DllUnregisterServer"}));
  EXPECT_EQ(ExportNames(modules + L"\\setup.dll"),
            (std::vector<std::string>{"Install_Exit", "Install_Init", "Uninstall_Exit",
                                      "Uninstall_Init"}));
  EXPECT_EQ(ExportNames(modules + L"\\STOCK.DLL"), std::vector<std::string>{});
}

TEST(Modules, StockLibraryHoldsBothKeyFaces) {
  HMODULE stock = LoadLibraryExW(L"C:\\Windows\\STOCK.DLL", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(stock, nullptr);
  for (int id : {101, 103}) {
    HBITMAP face = LoadBitmapW(stock, MAKEINTRESOURCEW(id));
    ASSERT_NE(face, nullptr) << id;
    BITMAP info{};
    GetObjectW(face, sizeof info, &info);
    EXPECT_GT(info.bmWidth, 0) << id;
    DeleteObject(face);
  }
  FreeLibrary(stock);
}

TEST(Registration, WritesTheKeysTheSipManagerLooksFor) {
  ASSERT_EQ(RegisterInstalledServer(), S_OK);
  // A second registration succeeds and changes nothing.
  ASSERT_EQ(RegisterInstalledServer(), S_OK);
  const struct {
    std::wstring key;
    std::wstring value;
  } expected[] = {
      {CLASS_KEY, L"Tapora"},
      {CLASS_KEY + L"\\InprocServer32", L"\\windows\\tapora.dll"},
      {CLASS_KEY + L"\\IsSIPInputMethod", L"1"},
      {CLASS_KEY + L"\\DefaultIcon", L"\\windows\\tapora.dll,0"},
  };
  for (const auto& entry : expected) {
    bool found = false;
    EXPECT_EQ(ReadClassesValue(entry.key, &found), entry.value);
    EXPECT_TRUE(found);
  }
}

TEST(Registration, UnregisteringRemovesEveryKeyAndMaySayItTwice) {
  ASSERT_EQ(RegisterInstalledServer(), S_OK);
  HMODULE library = LoadLibraryW(L"C:\\Windows\\tapora.dll");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(CallExport(library, "DllUnregisterServer"), S_OK);
  // On the desktop every one of the four deletions is refused, so all stay.
  const bool kept = DesktopRefusesLeadingBackslash();
  for (const wchar_t* sub : {L"", L"\\DefaultIcon", L"\\InprocServer32", L"\\IsSIPInputMethod"}) {
    EXPECT_EQ(ClassesKeyExists(CLASS_KEY + sub), kept) << (kept ? "kept" : "deleted");
  }
  EXPECT_TRUE(ClassesKeyExists(L"CLSID"));
  EXPECT_EQ(CallExport(library, "DllUnregisterServer"), S_OK);
  FreeLibrary(library);
  ASSERT_EQ(RegisterInstalledServer(), S_OK);
}

TEST(Registration, ServerUnloadsOnlyWhenNothingIsOutstanding) {
  ASSERT_EQ(RegisterInstalledServer(), S_OK);
  HMODULE library = LoadLibraryW(L"C:\\Windows\\tapora.dll");
  ASSERT_NE(library, nullptr);
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto getClassObject = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
  ASSERT_NE(getClassObject, nullptr);
  EXPECT_EQ(CallExport(library, "DllCanUnloadNow"), S_OK);
  IClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(InputMethodClsid(), IID_IClassFactory,
                           reinterpret_cast<void**>(&factory)),
            S_OK);
  EXPECT_EQ(CallExport(library, "DllCanUnloadNow"), S_FALSE);
  // Never called: aggregation is refused before the outer object is used.
  IUnknown* outer = reinterpret_cast<IUnknown*>(factory);
  void* object = outer;
  EXPECT_EQ(factory->CreateInstance(outer, IID_IInputMethod, &object), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(object, nullptr);
  IInputMethod* method = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IInputMethod, reinterpret_cast<void**>(&method)),
            S_OK);
  factory->Release();
  EXPECT_EQ(CallExport(library, "DllCanUnloadNow"), S_FALSE);
  EXPECT_EQ(method->GetImData(0, nullptr), E_NOTIMPL);
  method->Release();
  EXPECT_EQ(CallExport(library, "DllCanUnloadNow"), S_OK);
  FreeLibrary(library);
}

}  // namespace
}  // namespace wine_test
