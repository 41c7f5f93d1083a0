// The registry's keys and values in memory, shared by the Win32 functions,
// the file reader and writer. Four root keys (HKEY_CLASSES_ROOT,
// HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, in handle order) own
// their subkeys. Subkeys are kept in case-insensitive name order, which is
// the order RegEnumKeyExW and the file see; names keep the case they were
// created with. Values keep the order they were first set in. A key taken
// out of the tree is marked deleted, so handles that still hold it fail.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

namespace wince::registry {

// Deeper paths are refused, so recursion over the tree stays shallow.
constexpr size_t kMaxDepth = 512;

struct Value {
  std::u16string name;  // "" is the default value
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

struct Key {
  std::u16string name;
  Key* parent = nullptr;
  std::vector<std::shared_ptr<Key>> subkeys;
  std::vector<Value> values;
  bool deleted = false;
};

constexpr std::array<std::u16string_view, 4> kRootNames = {
    u"HKEY_CLASSES_ROOT", u"HKEY_CURRENT_USER", u"HKEY_LOCAL_MACHINE", u"HKEY_USERS"};

struct Hive {
  std::array<std::shared_ptr<Key>, 4> roots;
};

// The four root keys, empty.
Hive EmptyHive();

bool SameName(std::u16string_view a, std::u16string_view b);
// Case-insensitive order of key names.
bool NameLess(std::u16string_view a, std::u16string_view b);

std::shared_ptr<Key> FindSubkey(const Key& key, std::u16string_view name);
// Inserts a new subkey in name order; the name must not be there yet.
std::shared_ptr<Key> AddSubkey(Key& key, std::u16string_view name);
// Takes a subkey out of the tree and marks it and its subkeys deleted.
void RemoveSubkey(Key& key, const Key& subkey);
// Puts back a subkey taken out by RemoveSubkey (a change that could not be
// saved is undone so), live again.
void RestoreSubkey(Key& key, std::shared_ptr<Key> subkey);
// Marks a key and everything below it deleted.
void MarkDeleted(Key& key);
size_t Depth(const Key& key);  // 0 for a root key

Value* FindValue(Key& key, std::u16string_view name);
// Replaces the value of that name (which keeps its first spelling) or adds it.
void PutValue(Key& key, std::u16string_view name, DWORD type, std::vector<BYTE> data);
bool EraseValue(Key& key, std::u16string_view name);

// The components of a subkey path, split at backslashes. Empty components are
// skipped, so a leading backslash leaves the path relative to the key given,
// as callers on the device write "\CLSID\..." under HKEY_CLASSES_ROOT.
std::vector<std::u16string_view> SplitPath(std::u16string_view path);

}  // namespace wince::registry
