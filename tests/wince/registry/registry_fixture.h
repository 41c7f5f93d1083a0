// A fresh device folder per test (so a fresh registry), with helpers that
// keep the registry calls short, and a check that every key handle is closed.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "tests/wince/kernel/device_fixture.h"
#include "wince/host/registry.h"

class RegistryTest : public DeviceFolderTest {
 protected:
  void SetUp() override {
    DeviceFolderTest::SetUp();
    keysAtStart_ = wince::host::OpenRegistryHandles();
  }
  void TearDown() override {
    EXPECT_EQ(wince::host::OpenRegistryHandles(), keysAtStart_) << "a key handle left open";
    DeviceFolderTest::TearDown();
  }

  static HKEY Create(HKEY parent, LPCWSTR path, REGSAM access = KEY_ALL_ACCESS,
                     DWORD* disposition = nullptr) {
    HKEY key = NULL;
    EXPECT_EQ(RegCreateKeyExW(parent, path, 0, NULL, 0, access, NULL, &key, disposition),
              ERROR_SUCCESS);
    return key;
  }
  static LONG SetSz(HKEY key, LPCWSTR name, std::u16string text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * 2));
  }
  static LONG SetDword(HKEY key, LPCWSTR name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
  }
  // The value's bytes; empty with *error set when the query fails.
  static std::vector<BYTE> Query(HKEY key, LPCWSTR name, DWORD* type = nullptr,
                                 LONG* error = nullptr) {
    BYTE buffer[1024];
    DWORD size = sizeof buffer;
    LONG e = RegQueryValueExW(key, name, NULL, type, buffer, &size);
    if (error) *error = e;
    return e == ERROR_SUCCESS ? std::vector<BYTE>(buffer, buffer + size) : std::vector<BYTE>();
  }
  static std::vector<BYTE> Sz(std::u16string text) {
    std::vector<BYTE> bytes;
    for (char16_t c : text) {
      bytes.push_back(static_cast<BYTE>(c & 0xFF));
      bytes.push_back(static_cast<BYTE>(c >> 8));
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
  }
  // The subkey names in enumeration order.
  static std::vector<std::u16string> Subkeys(HKEY key) {
    std::vector<std::u16string> names;
    WCHAR name[256];
    for (DWORD i = 0;; ++i) {
      DWORD size = 256;
      LONG e = RegEnumKeyExW(key, i, name, &size, NULL, NULL, NULL, NULL);
      if (e != ERROR_SUCCESS) {
        EXPECT_EQ(e, ERROR_NO_MORE_ITEMS);
        return names;
      }
      names.emplace_back(name, size);
    }
  }

  int keysAtStart_ = 0;
};
