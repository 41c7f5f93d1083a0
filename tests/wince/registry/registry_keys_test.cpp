// Conformance of the registry's key and value functions: return codes,
// rights, names, enumeration order, the device's recursive delete and the
// handles of deleted keys.
#include <functional>

#include "tests/wince/registry/registry_fixture.h"

namespace {

using RegistryKeys = RegistryTest;

TEST_F(RegistryKeys, CreateMakesTheWholePathAndReportsWhatItDid) {
  DWORD disposition = 0;
  HKEY key = Create(HKEY_LOCAL_MACHINE, TEXT("Software\\Tapora\\Deep"), KEY_ALL_ACCESS, &disposition);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  RegCloseKey(key);
  key = Create(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\tapora\\deep"), KEY_ALL_ACCESS, &disposition);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  RegCloseKey(key);
  HKEY opened = NULL;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("software\\TAPORA"), 0, KEY_READ, &opened),
            ERROR_SUCCESS);
  EXPECT_EQ(Subkeys(opened), std::vector<std::u16string>{u"Deep"});  // case as created
  RegCloseKey(opened);
  EXPECT_EQ(Subkeys(HKEY_LOCAL_MACHINE), std::vector<std::u16string>{u"Software"});
}

TEST_F(RegistryKeys, ErrorCodes) {
  HKEY key = Create(HKEY_CURRENT_USER, TEXT("Present"));
  ASSERT_EQ(SetDword(key, TEXT("v"), 1), ERROR_SUCCESS);
  HKEY closed = Create(HKEY_CURRENT_USER, TEXT("Closed"));
  ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
  HKEY bogus = reinterpret_cast<HKEY>(uintptr_t{0x1234});
  HKEY out = reinterpret_cast<HKEY>(uintptr_t{1});
  DWORD reserved = 0, size = 4, value = 0;
  WCHAR name[8];
  struct Case {
    const char* what;
    std::function<LONG()> call;
    LONG expected;
  } cases[] = {
      {"open missing", [&] { return RegOpenKeyExW(key, TEXT("Nope"), 0, KEY_READ, &out); },
       ERROR_FILE_NOT_FOUND},
      {"open without result", [&] { return RegOpenKeyExW(key, NULL, 0, KEY_READ, NULL); },
       ERROR_INVALID_PARAMETER},
      {"create without result",
       [&] { return RegCreateKeyExW(key, TEXT("x"), 0, NULL, 0, 0, NULL, NULL, NULL); },
       ERROR_BADKEY},
      {"create reserved",
       [&] { return RegCreateKeyExW(key, TEXT("x"), 1, NULL, 0, 0, NULL, &out, NULL); },
       ERROR_INVALID_PARAMETER},
      {"open bogus", [&] { return RegOpenKeyExW(bogus, NULL, 0, 0, &out); }, ERROR_INVALID_HANDLE},
      {"open closed", [&] { return RegOpenKeyExW(closed, NULL, 0, 0, &out); }, ERROR_INVALID_HANDLE},
      {"set closed", [&] { return SetDword(closed, NULL, 1); }, ERROR_INVALID_HANDLE},
      {"query bogus", [&] { return RegQueryValueExW(bogus, NULL, NULL, NULL, NULL, NULL); },
       ERROR_INVALID_HANDLE},
      {"enum closed", [&] { return RegEnumKeyExW(closed, 0, name, &size, NULL, NULL, NULL, NULL); },
       ERROR_INVALID_HANDLE},
      {"delete key bogus", [&] { return RegDeleteKeyW(bogus, TEXT("x")); }, ERROR_INVALID_HANDLE},
      {"delete value closed", [&] { return RegDeleteValueW(closed, TEXT("v")); },
       ERROR_INVALID_HANDLE},
      {"close closed", [&] { return RegCloseKey(closed); }, ERROR_INVALID_HANDLE},
      {"close root", [&] { return RegCloseKey(HKEY_USERS); }, ERROR_SUCCESS},
      {"query missing value", [&] { return RegQueryValueExW(key, TEXT("w"), NULL, NULL, NULL, NULL); },
       ERROR_FILE_NOT_FOUND},
      {"query reserved",
       [&] { return RegQueryValueExW(key, TEXT("v"), &reserved, NULL, NULL, NULL); },
       ERROR_INVALID_PARAMETER},
      {"query data without size",
       [&] { return RegQueryValueExW(key, TEXT("v"), NULL, NULL, reinterpret_cast<BYTE*>(&value), NULL); },
       ERROR_INVALID_PARAMETER},
      {"set data NULL with a size",
       [&] { return RegSetValueExW(key, TEXT("v"), 0, REG_BINARY, NULL, 4); }, ERROR_NOACCESS},
      {"set a name with a line break", [&] { return SetDword(key, TEXT("a\nb"), 1); },
       ERROR_INVALID_PARAMETER},
      {"delete missing value", [&] { return RegDeleteValueW(key, TEXT("w")); }, ERROR_FILE_NOT_FOUND},
      {"delete missing key", [&] { return RegDeleteKeyW(key, TEXT("Nope")); }, ERROR_FILE_NOT_FOUND},
      {"delete a root key", [&] { return RegDeleteKeyW(HKEY_LOCAL_MACHINE, TEXT("")); },
       ERROR_ACCESS_DENIED},
      {"enum past the end",
       [&] { return RegEnumKeyExW(key, 0, name, &size, NULL, NULL, NULL, NULL); },
       ERROR_NO_MORE_ITEMS},
  };
  for (const Case& c : cases) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(c.call(), c.expected) << c.what;
    EXPECT_EQ(GetLastError(), 0xdeadbeefu) << c.what << ": the last error is left alone";
  }
  RegOpenKeyExW(key, TEXT("Nope"), 0, KEY_READ, &out);
  EXPECT_EQ(out, nullptr) << "a failed open clears the result";
  RegCloseKey(key);
}

TEST_F(RegistryKeys, RightsAreThoseTheHandleWasOpenedWith) {
  HKEY full = Create(HKEY_LOCAL_MACHINE, TEXT("K"));
  RegCloseKey(Create(full, TEXT("Existing")));
  WCHAR name[16];
  constexpr LONG ok = ERROR_SUCCESS, denied = ERROR_ACCESS_DENIED;
  struct Case {
    REGSAM access;
    LONG set, query, create, createExisting, enumerate, deleteValue;
  } cases[] = {
      {KEY_READ, denied, ok, denied, ok, ok, denied},
      {KEY_WRITE, ok, denied, ok, ok, denied, ok},
      {KEY_SET_VALUE, ok, denied, denied, ok, denied, ok},
      {KEY_ALL_ACCESS, ok, ok, ok, ok, ok, ok},
      {0, ok, ok, ok, ok, ok, ok},  // the device ignores the mask: 0 is what its callers pass
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "access 0x" << std::hex << c.access);
    ASSERT_EQ(SetDword(full, TEXT("v"), 1), ERROR_SUCCESS);
    HKEY key = NULL;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("K"), 0, c.access, &key), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(key, TEXT("v"), 2), c.set);
    EXPECT_EQ(RegQueryValueExW(key, TEXT("v"), NULL, NULL, NULL, NULL), c.query);
    HKEY sub = NULL;
    EXPECT_EQ(RegCreateKeyExW(key, TEXT("New"), 0, NULL, 0, 0, NULL, &sub, NULL), c.create);
    if (sub) RegCloseKey(sub);
    EXPECT_EQ(RegOpenKeyExW(full, TEXT("New"), 0, 0, &sub), c.create == ok ? ok : ERROR_FILE_NOT_FOUND);
    if (sub) RegCloseKey(sub);
    RegDeleteKeyW(full, TEXT("New"));
    EXPECT_EQ(RegCreateKeyExW(key, TEXT("Existing"), 0, NULL, 0, 0, NULL, &sub, NULL),
              c.createExisting);
    if (sub) RegCloseKey(sub);
    DWORD size = 16;
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &size, NULL, NULL, NULL, NULL), c.enumerate);
    EXPECT_EQ(RegDeleteValueW(key, TEXT("v")), c.deleteValue);
    RegCloseKey(key);
  }
  RegCloseKey(full);
}

TEST_F(RegistryKeys, LeadingBackslashIsRelativeToTheKeyGiven) {
  DWORD disposition = 0;
  HKEY server = Create(HKEY_CLASSES_ROOT, TEXT("\\CLSID\\{1234}\\InprocServer32"), 0, &disposition);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  RegCloseKey(server);
  HKEY clsid = NULL;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, TEXT("\\CLSID"), 0, KEY_READ, &clsid), ERROR_SUCCESS);
  EXPECT_EQ(Subkeys(clsid), std::vector<std::u16string>{u"{1234}"});
  HKEY server2 = NULL;
  EXPECT_EQ(RegOpenKeyExW(clsid, TEXT("\\{1234}\\InprocServer32"), 0, KEY_READ, &server2),
            ERROR_SUCCESS);
  RegCloseKey(server2);
  RegCloseKey(clsid);
  EXPECT_EQ(Subkeys(HKEY_CLASSES_ROOT), std::vector<std::u16string>{u"CLSID"});
}

TEST_F(RegistryKeys, EnumerationIsInCaseInsensitiveOrder) {
  HKEY key = Create(HKEY_CURRENT_USER, TEXT("E"));
  for (LPCWSTR name : {TEXT("b"), TEXT("C"), TEXT("a10"), TEXT("A2"), TEXT("_")}) {
    RegCloseKey(Create(key, name));
  }
  // Upper case is compared, so '_' comes after the letters.
  EXPECT_EQ(Subkeys(key), (std::vector<std::u16string>{u"a10", u"A2", u"b", u"C", u"_"}));
  WCHAR name[4] = {u'x', u'x', u'x', u'x'};
  DWORD size = 3;  // "a10" and its NUL need 4
  EXPECT_EQ(RegEnumKeyExW(key, 0, name, &size, NULL, NULL, NULL, NULL), ERROR_MORE_DATA);
  EXPECT_EQ(size, 3u) << "the count stays as it was";
  size = 4;
  EXPECT_EQ(RegEnumKeyExW(key, 0, name, &size, NULL, NULL, NULL, NULL), ERROR_SUCCESS);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(std::u16string(name), u"a10");
  RegCloseKey(key);
}

TEST_F(RegistryKeys, RootKeysOpenAsThemselves) {
  HKEY key = NULL;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, NULL, 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(key, HKEY_LOCAL_MACHINE);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, TEXT(""), 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(key, HKEY_CLASSES_ROOT);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

// The device deletes a key with everything below it (the desktop refuses a
// key that has subkeys); handles still open on the deleted keys then fail.
TEST_F(RegistryKeys, DeleteTakesSubkeysAndLeavesTheirHandlesDead) {
  HKEY deep = Create(HKEY_LOCAL_MACHINE, TEXT("Top\\Mid\\Leaf"));
  ASSERT_EQ(SetDword(deep, TEXT("v"), 7), ERROR_SUCCESS);
  HKEY top = Create(HKEY_LOCAL_MACHINE, TEXT("Top"));
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, TEXT("Topless")));
  EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, TEXT("TOP")), ERROR_SUCCESS);
  EXPECT_EQ(Subkeys(HKEY_LOCAL_MACHINE), std::vector<std::u16string>{u"Topless"});
  HKEY out = NULL;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("Top\\Mid"), 0, 0, &out), ERROR_FILE_NOT_FOUND);
  WCHAR name[8];
  DWORD size = 8;
  for (HKEY dead : {deep, top}) {
    EXPECT_EQ(SetDword(dead, TEXT("v"), 1), ERROR_KEY_DELETED);
    EXPECT_EQ(RegQueryValueExW(dead, TEXT("v"), NULL, NULL, NULL, NULL), ERROR_KEY_DELETED);
    EXPECT_EQ(RegEnumKeyExW(dead, 0, name, &size, NULL, NULL, NULL, NULL), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCreateKeyExW(dead, TEXT("x"), 0, NULL, 0, 0, NULL, &out, NULL), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteKeyW(dead, NULL), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(dead), ERROR_SUCCESS);
  }
  // A key made again under the old name is a new key, empty.
  HKEY again = Create(HKEY_LOCAL_MACHINE, TEXT("Top\\Mid\\Leaf"));
  EXPECT_EQ(RegQueryValueExW(again, TEXT("v"), NULL, NULL, NULL, NULL), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyW(again, TEXT("")), ERROR_SUCCESS);  // a key deletes itself
  EXPECT_EQ(RegQueryValueExW(again, TEXT("v"), NULL, NULL, NULL, NULL), ERROR_KEY_DELETED);
  RegCloseKey(again);
}

TEST_F(RegistryKeys, ValuesAreKeptAsGiven) {
  HKEY key = Create(HKEY_CURRENT_USER, TEXT("V"));
  ASSERT_EQ(SetSz(key, NULL, u"default"), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, TEXT("")), Sz(u"default")) << "NULL and \"\" name the default value";
  BYTE noNul[] = {'a', 0, 'b'};  // an odd count and no NUL are kept too
  ASSERT_EQ(RegSetValueExW(key, TEXT("Raw"), 0, REG_SZ, noNul, 3), ERROR_SUCCESS);
  DWORD type = 0;
  EXPECT_EQ(Query(key, TEXT("RAW"), &type), std::vector<BYTE>(noNul, noNul + 3));
  EXPECT_EQ(type, REG_SZ);
  ASSERT_EQ(SetDword(key, TEXT("raw"), 30), ERROR_SUCCESS);  // replaced, type and all
  EXPECT_EQ(Query(key, TEXT("Raw"), &type), (std::vector<BYTE>{30, 0, 0, 0}));
  EXPECT_EQ(type, REG_DWORD);
  ASSERT_EQ(RegSetValueExW(key, TEXT("Empty"), 0, REG_BINARY, NULL, 0), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, TEXT("Empty"), &type), std::vector<BYTE>{});
  EXPECT_EQ(type, REG_BINARY);

  // Sizes: a query without a buffer, a short buffer, an exact one.
  DWORD size = 0;
  type = 0;
  EXPECT_EQ(RegQueryValueExW(key, NULL, NULL, &type, NULL, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 16u);
  EXPECT_EQ(type, REG_SZ);
  BYTE buffer[16];
  size = 15;
  type = 0;
  EXPECT_EQ(RegQueryValueExW(key, NULL, NULL, &type, buffer, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 16u);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(RegQueryValueExW(key, NULL, NULL, NULL, buffer, &size), ERROR_SUCCESS);
  EXPECT_EQ(std::vector<BYTE>(buffer, buffer + 16), Sz(u"default"));

  EXPECT_EQ(RegDeleteValueW(key, NULL), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(key, TEXT(""), NULL, NULL, NULL, NULL), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

}  // namespace
