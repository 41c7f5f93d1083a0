// The in-memory registry tree: lookups by name without regard to case,
// insertion in name order, deletion that marks whole subtrees.
#include "wince/registry/tree.h"

#include <algorithm>

#include "wince/kernel/case_map.h"

namespace wince::registry {

Hive EmptyHive() {
  Hive hive;
  for (size_t i = 0; i < hive.roots.size(); ++i) {
    hive.roots[i] = std::make_shared<Key>();
    hive.roots[i]->name = std::u16string(kRootNames[i]);
  }
  return hive;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (text::ToUpper(a[i]) != text::ToUpper(b[i])) return false;
  }
  return true;
}

bool NameLess(std::u16string_view a, std::u16string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) {
                                        return text::ToUpper(x) < text::ToUpper(y);
                                      });
}

namespace {

template <class Subkeys>
auto LowerBound(Subkeys& subkeys, std::u16string_view name) {
  return std::lower_bound(
      subkeys.begin(), subkeys.end(), name,
      [](const std::shared_ptr<Key>& k, std::u16string_view n) { return NameLess(k->name, n); });
}

}  // namespace

std::shared_ptr<Key> FindSubkey(const Key& key, std::u16string_view name) {
  auto it = LowerBound(key.subkeys, name);
  if (it != key.subkeys.end() && SameName((*it)->name, name)) return *it;
  return nullptr;
}

std::shared_ptr<Key> AddSubkey(Key& key, std::u16string_view name) {
  auto added = std::make_shared<Key>();
  added->name = std::u16string(name);
  added->parent = &key;
  key.subkeys.insert(LowerBound(key.subkeys, name), added);
  return added;
}

void MarkDeleted(Key& key) {
  key.deleted = true;
  for (auto& sub : key.subkeys) MarkDeleted(*sub);
}

void RemoveSubkey(Key& key, const Key& subkey) {
  auto it = std::find_if(key.subkeys.begin(), key.subkeys.end(),
                         [&](const std::shared_ptr<Key>& k) { return k.get() == &subkey; });
  if (it == key.subkeys.end()) return;
  std::shared_ptr<Key> removed = *it;
  key.subkeys.erase(it);
  removed->parent = nullptr;
  MarkDeleted(*removed);
}

void RestoreSubkey(Key& key, std::shared_ptr<Key> subkey) {
  std::vector<Key*> stack{subkey.get()};
  while (!stack.empty()) {
    Key* k = stack.back();
    stack.pop_back();
    k->deleted = false;
    for (auto& sub : k->subkeys) stack.push_back(sub.get());
  }
  subkey->parent = &key;
  auto at = LowerBound(key.subkeys, subkey->name);
  key.subkeys.insert(at, std::move(subkey));
}

size_t Depth(const Key& key) {
  size_t depth = 0;
  for (const Key* k = key.parent; k; k = k->parent) ++depth;
  return depth;
}

Value* FindValue(Key& key, std::u16string_view name) {
  for (Value& v : key.values) {
    if (SameName(v.name, name)) return &v;
  }
  return nullptr;
}

void PutValue(Key& key, std::u16string_view name, DWORD type, std::vector<BYTE> data) {
  Value* v = FindValue(key, name);
  if (!v) {
    key.values.push_back(Value{std::u16string(name), type, {}});
    v = &key.values.back();
  }
  v->type = type;
  v->data = std::move(data);
}

bool EraseValue(Key& key, std::u16string_view name) {
  auto it = std::find_if(key.values.begin(), key.values.end(),
                         [&](const Value& v) { return SameName(v.name, name); });
  if (it == key.values.end()) return false;
  key.values.erase(it);
  return true;
}

std::vector<std::u16string_view> SplitPath(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace wince::registry
