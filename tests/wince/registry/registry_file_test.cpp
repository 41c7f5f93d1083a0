// The registry's file: "registry.reg" in the device folder, written after
// every change (atomically), read on first use, refused whole when it cannot
// be parsed, and read again for another device folder.
#include <functional>

#include "tests/wince/registry/registry_fixture.h"
#include "wince/host/text.h"

namespace {

using RegistryFile = RegistryTest;

std::string Crlf(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

TEST_F(RegistryFile, NewDeviceHasAnEmptyClsidKeyAndNoFileUntilAChange) {
  HKEY clsid = NULL;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, TEXT("CLSID"), 0, KEY_READ, &clsid), ERROR_SUCCESS);
  RegCloseKey(clsid);
  EXPECT_FALSE(std::filesystem::exists(Host("registry.reg")));
  EXPECT_EQ(wince::host::RegistryText(), Crlf({"REGEDIT4", "", "[HKEY_CLASSES_ROOT\\CLSID]", ""}));
}

TEST_F(RegistryFile, WrittenAsRegeditWritesItAndReadBack) {
  HKEY server = Create(HKEY_CLASSES_ROOT, TEXT("\\CLSID\\{5AB}\\InprocServer32"));
  ASSERT_EQ(SetSz(server, NULL, u"\\Windows\\tapora.dll"), ERROR_SUCCESS);
  ASSERT_EQ(SetSz(server, TEXT("ThreadingModel"), u"Say \"hi\""), ERROR_SUCCESS);
  RegCloseKey(server);
  HKEY app = Create(HKEY_LOCAL_MACHINE, TEXT("Software\\App"));
  ASSERT_EQ(SetDword(app, TEXT("Count"), 30), ERROR_SUCCESS);
  std::vector<BYTE> bits(30);
  for (size_t i = 0; i < bits.size(); ++i) bits[i] = static_cast<BYTE>(i * 9);
  ASSERT_EQ(RegSetValueExW(app, TEXT("Bits"), 0, REG_BINARY, bits.data(), 30), ERROR_SUCCESS);
  BYTE multi[] = {'a', 0, 0, 0, 0, 0};
  ASSERT_EQ(RegSetValueExW(app, TEXT("List"), 0, REG_MULTI_SZ, multi, 6), ERROR_SUCCESS);
  RegCloseKey(Create(app, TEXT("Empty")));
  RegCloseKey(app);
  ASSERT_EQ(SetDword(HKEY_CURRENT_USER, TEXT("Root"), 1), ERROR_SUCCESS);

  std::string expected = Crlf({
      "REGEDIT4",
      "",
      "[HKEY_CLASSES_ROOT\\CLSID]",
      "",
      "[HKEY_CLASSES_ROOT\\CLSID\\{5AB}]",
      "",
      "[HKEY_CLASSES_ROOT\\CLSID\\{5AB}\\InprocServer32]",
      "@=\"\\\\Windows\\\\tapora.dll\"",
      "\"ThreadingModel\"=\"Say \\\"hi\\\"\"",
      "",
      "[HKEY_CURRENT_USER]",
      "\"Root\"=dword:00000001",
      "",
      "[HKEY_LOCAL_MACHINE\\Software]",
      "",
      "[HKEY_LOCAL_MACHINE\\Software\\App]",
      "\"Count\"=dword:0000001e",
      "\"Bits\"=hex:00,09,12,1b,24,2d,36,3f,48,51,5a,63,6c,75,7e,87,90,99,a2,ab,b4,bd,\\",
      "  c6,cf,d8,e1,ea,f3,fc,05",
      "\"List\"=hex(7):61,00,00,00,00,00",
      "",
      "[HKEY_LOCAL_MACHINE\\Software\\App\\Empty]",
      "",
  });
  EXPECT_EQ(ReadHost("registry.reg"), expected);
  EXPECT_FALSE(std::filesystem::exists(Host("registry.reg.tmp")));

  wince::host::ReloadRegistry();
  EXPECT_EQ(wince::host::RegistryError(), "");
  EXPECT_EQ(wince::host::RegistryText(), expected);
  HKEY key = NULL;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("software\\app"), 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0;
  EXPECT_EQ(Query(key, TEXT("Bits"), &type), bits);
  EXPECT_EQ(type, REG_BINARY);
  EXPECT_EQ(Query(key, TEXT("List"), &type), std::vector<BYTE>(multi, multi + 6));
  EXPECT_EQ(type, REG_MULTI_SZ);
  EXPECT_EQ(Subkeys(key), std::vector<std::u16string>{u"Empty"});
  RegCloseKey(key);
}

// Text goes to the file as UTF-8; data that text would not give back byte
// for byte goes as hex(1).
TEST_F(RegistryFile, StringsRoundTripByteForByte) {
  const std::u16string name = u"Fran\u00E7ais \u0416 \U0001F600";
  struct Case {
    const char* what;
    std::vector<BYTE> data;
  } cases[] = {
      {"UTF-16 text", Sz(u"\u00E9t\u00E9 \u4E2D \U0001F600 \\ \"")},
      {"no NUL", {'a', 0, 'b', 0}},
      {"odd count", {'a', 0, 0}},
      {"NUL inside", {'a', 0, 0, 0, 'b', 0, 0, 0}},
      {"line break", Sz(u"a\r\nb")},
      {"lone surrogate", Sz(u"\xD800x")},
      {"empty", {}},
  };
  HKEY key = Create(HKEY_LOCAL_MACHINE, name.c_str());
  for (const Case& c : cases) {
    std::u16string valueName = wince::host::Utf16(c.what);
    ASSERT_EQ(RegSetValueExW(key, valueName.c_str(), 0, REG_SZ, c.data.data(),
                             static_cast<DWORD>(c.data.size())),
              ERROR_SUCCESS);
  }
  RegCloseKey(key);
  std::string file = ReadHost("registry.reg");
  EXPECT_NE(file.find("[HKEY_LOCAL_MACHINE\\Fran\xC3\xA7" "ais \xD0\x96 \xF0\x9F\x98\x80]"),
            std::string::npos);
  EXPECT_NE(file.find("\"UTF-16 text\"=\"\xC3\xA9t\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80 \\\\ \\\"\""),
            std::string::npos);
  EXPECT_NE(file.find("\"no NUL\"=hex(1):61,00,62,00\r\n"), std::string::npos);

  wince::host::ReloadRegistry();
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, name.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  for (const Case& c : cases) {
    DWORD type = 0;
    EXPECT_EQ(Query(key, wince::host::Utf16(c.what).c_str(), &type), c.data) << c.what;
    EXPECT_EQ(type, REG_SZ) << c.what;
  }
  RegCloseKey(key);
}

// A person may write the file: CRLF or LF, comments, a BOM, folded hex with
// spaces, short dwords, names in any case.
TEST_F(RegistryFile, ReadsWhatAPersonWrites) {
  WriteHost("Registry.REG",
            "\xEF\xBB\xBFREGEDIT4\n"
            "; made by hand\n"
            "[hkey_local_machine\\A\\B]\n"
            "\"d\" = dword:1f\n"
            "\"h\"=hex:01, 02,\\\n"
            "      03\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\a]  \r\n"
            "@=\"top\"\r\n");
  HKEY key = NULL;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("A\\B"), 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, TEXT("d")), (std::vector<BYTE>{0x1f, 0, 0, 0}));
  EXPECT_EQ(Query(key, TEXT("h")), (std::vector<BYTE>{1, 2, 3}));
  RegCloseKey(key);
  EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, TEXT("")), std::vector<BYTE>{}) << "no stray default value";
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("A"), 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(Query(key, NULL), Sz(u"top"));
  RegCloseKey(key);
  // The file keeps its host name when written back.
  ASSERT_EQ(SetDword(HKEY_LOCAL_MACHINE, TEXT("x"), 1), ERROR_SUCCESS);
  EXPECT_NE(ReadHost("Registry.REG").find("\"x\"=dword:00000001"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Host("registry.reg")));
}

TEST_F(RegistryFile, AFileThatCannotBeParsedIsRefusedWholeAndKept) {
  struct Case {
    std::string text;
    std::string error;
  } cases[] = {
      {"[HKEY_CLASSES_ROOT\\CLSID]\n", "line 1: the first line must be REGEDIT4"},
      {"REGEDIT4\n\n[HKEY_CLASSES_ROOT\\CLSID\n", "line 3: unterminated section (no closing ])"},
      {"REGEDIT4\n\n[HKEY_CLASSES_ROOT\\CLSID]\n\"a\"=wrong\n",
       "line 4: unknown value data (expected \"text\", dword: or hex:)"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE]\n\"a\"=hex:01,02,\\\n  0g\n",
       "line 4: bad hex byte (two hex digits each, separated by commas)"},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE]\n\"a\"=hex:01,\\\n", "line 3: hex bytes continue past the end of the file"},
      {"REGEDIT4\n\"a\"=\"b\"\n", "line 2: a value before the first section"},
      {"REGEDIT4\n[HKEY_NOWHERE\\x]\n", "line 2: unknown root key (HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, ...)"},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=\"b\\n\"\n", "line 3: bad escape in a string (only \\\\ and \\\")"},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=dword:123456789\n", "line 3: a dword needs one to eight hex digits"},
      {"REGEDIT4\n[HKEY_USERS]\n\"\xFF\"=\"b\"\n", "line 3: the text is not UTF-8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    WriteHost("registry.reg", c.text);
    wince::host::ReloadRegistry();
    testing::internal::CaptureStderr();
    EXPECT_EQ(wince::host::RegistryError(), "registry.reg line " + c.error.substr(5));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "wince: registry.reg line " + c.error.substr(5) + "\n");
    HKEY key = NULL;
    DWORD size = 8;
    WCHAR name[8];
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, TEXT("CLSID"), 0, 0, &key), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("x"), 0, NULL, 0, 0, NULL, &key, NULL),
              ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(SetDword(HKEY_LOCAL_MACHINE, TEXT("x"), 1), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegQueryValueExW(HKEY_LOCAL_MACHINE, TEXT("x"), NULL, NULL, NULL, NULL),
              ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegEnumKeyExW(HKEY_USERS, 0, name, &size, NULL, NULL, NULL, NULL), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, TEXT("x")), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegDeleteValueW(HKEY_LOCAL_MACHINE, TEXT("x")), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(ReadHost("registry.reg"), c.text) << "the file is left for the person to mend";
    EXPECT_EQ(wince::host::RegistryText(), "");
  }
  // Mended, it is read.
  WriteHost("registry.reg", "REGEDIT4\n");
  wince::host::ReloadRegistry();
  EXPECT_EQ(wince::host::RegistryError(), "");
  EXPECT_EQ(SetDword(HKEY_LOCAL_MACHINE, TEXT("x"), 1), ERROR_SUCCESS);
}

// The write goes to registry.reg.tmp, then replaces the file. When it cannot
// (here the temporary name is taken by a folder), the old file stays as it
// was and the change is undone, so memory and file agree.
TEST_F(RegistryFile, AFailedWriteLeavesTheOldFileAndUndoesTheChange) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, TEXT("K\\Sub"));
  ASSERT_EQ(SetDword(key, TEXT("v"), 1), ERROR_SUCCESS);
  std::string before = ReadHost("registry.reg");
  MakeHostFolder("registry.reg.tmp");
  struct Case {
    const char* what;
    std::function<LONG()> change;
  } cases[] = {
      {"set new", [&] { return SetDword(key, TEXT("w"), 2); }},
      {"set existing", [&] { return SetDword(key, TEXT("v"), 2); }},
      {"delete value", [&] { return RegDeleteValueW(key, TEXT("v")); }},
      {"create", [&] {
         HKEY out = NULL;
         return RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("New\\Deeper"), 0, NULL, 0, 0, NULL, &out, NULL);
       }},
      {"delete key", [&] { return RegDeleteKeyW(HKEY_LOCAL_MACHINE, TEXT("K")); }},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.change(), ERROR_ACCESS_DENIED) << c.what;
    EXPECT_EQ(ReadHost("registry.reg"), before) << c.what;
    EXPECT_EQ(wince::host::RegistryText(), before) << c.what;
  }
  EXPECT_EQ(Query(key, TEXT("v")), (std::vector<BYTE>{1, 0, 0, 0})) << "the handle still works";
  std::filesystem::remove(Host("registry.reg.tmp"));
  EXPECT_EQ(SetDword(key, TEXT("v"), 3), ERROR_SUCCESS);
  EXPECT_FALSE(std::filesystem::exists(Host("registry.reg.tmp")));
  RegCloseKey(key);
}

// Another device folder is another device: its own registry, read on first
// use; handles from the one before are dead.
TEST_F(RegistryFile, EachDeviceFolderHasItsOwnRegistry) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, TEXT("First"));
  std::filesystem::path second = root_ / "second";
  std::filesystem::create_directories(second);
  std::ofstream(second / "registry.reg", std::ios::binary) << "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Second]\n";
  wince::host::SetDeviceFolder(second);
  EXPECT_EQ(Subkeys(HKEY_LOCAL_MACHINE), std::vector<std::u16string>{u"Second"});
  EXPECT_EQ(SetDword(key, TEXT("v"), 1), ERROR_KEY_DELETED);
  wince::host::SetDeviceFolder(root_);
  EXPECT_EQ(Subkeys(HKEY_LOCAL_MACHINE), std::vector<std::u16string>{u"First"});
  EXPECT_EQ(SetDword(key, TEXT("v"), 1), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

}  // namespace
