// Keys of the loaded keyboard, their tap points, rows and names (see key_places.h).
#include "tools/kbf/coverage/key_places.h"

#include <algorithm>
#include <map>

#include <windows.h>

#include "input/key_types.h"
#include "layout/keyboard_memory.h"
#include "layout/records.h"
#include "render/key_glyph.h"
#include "render/key_label.h"
#include "wince/host/text.h"

namespace kbf::coverage {

std::vector<KeyAt> KeysOfLoadedKeyboard() {
  std::vector<KeyAt> keys;
  std::vector<int> tops;
  std::vector<int> lefts;
  for (DWORD p = 0; tapora::PanelHandle(p) != 0; ++p) {
    const DWORD panel = tapora::PanelHandle(p);
    tapora::PanelPlace place{};
    if (!tapora::ReadPanelPlace(panel, &place)) continue;
    tapora::KeyEntry entry{};
    for (DWORD k = 0; tapora::ReadKeyEntry(panel, k, &entry); ++k) {
      KeyAt key;
      key.record.resize(tapora::KEY_RECORD_SIZE);
      if (entry.keyHandle == 0 || !tapora::ReadKeyRecord(entry.keyHandle, key.record.data())) continue;
      key.panel = static_cast<long>(p);
      key.index = static_cast<long>(k);
      const int left = place.left + entry.x;
      const int top = place.top + entry.y;
      key.x = left + tapora::ReadU16(key.record.data(), tapora::KEY_WIDTH) / 2;
      key.y = top + tapora::ReadU16(key.record.data(), tapora::KEY_HEIGHT) / 2;
      keys.push_back(std::move(key));
      tops.push_back(top);
      lefts.push_back(left);
    }
  }
  std::vector<int> rowTops = tops;
  std::sort(rowTops.begin(), rowTops.end());
  rowTops.erase(std::unique(rowTops.begin(), rowTops.end()), rowTops.end());
  for (size_t i = 0; i < keys.size(); ++i) {
    keys[i].row = static_cast<int>(std::lower_bound(rowTops.begin(), rowTops.end(), tops[i]) - rowTops.begin()) + 1;
    int column = 1;
    for (size_t j = 0; j < keys.size(); ++j) {
      if (j != i && tops[j] == tops[i] && (lefts[j] < lefts[i] || (lefts[j] == lefts[i] && j < i))) ++column;
    }
    keys[i].column = column;
  }
  return keys;
}

std::string ShownLabel(const std::vector<uint8_t>& record) {
  WCHAR primary[tapora::LABEL_UNITS];
  WCHAR secondary[tapora::LABEL_UNITS];
  tapora::PrepareKeyLabels(record.data(), primary, secondary);
  const BYTE keyType = record[tapora::KEY_TYPE];
  std::u16string shown(
      tapora::ChooseKeyLabel(primary, secondary, tapora::IsCapsAffectedKeyType(keyType), keyType));
  const std::u16string prefix(tapora::GLYPH_PREFIX);
  if (shown.rfind(prefix, 0) == 0) {
    static const std::map<char16_t, std::string> glyphs = {
        {u'M', "space"}, {u'L', "Left"}, {u'R', "Right"}, {u'U', "Up"}, {u'D', "Down"}};
    const std::u16string name = shown.substr(prefix.size());
    if (!name.empty() && glyphs.count(name[0]) != 0) return glyphs.at(name[0]);
    return wince::host::Utf8(name);
  }
  while (!shown.empty() && shown.back() == u' ') shown.pop_back();
  if (!shown.empty()) return wince::host::Utf8(shown);
  std::u16string output;
  for (DWORD u = 0; u < tapora::KEY_OUTPUT_UNITS; ++u) {
    const char16_t unit = tapora::ReadU16(record.data(), tapora::KEY_OUTPUT + 2 * u);
    if (unit == 0) break;
    output.push_back(unit);
  }
  if (output == u" ") return "space";
  return output.empty() ? "(blank key)" : wince::host::Utf8(output);
}

std::string VirtualKeyName(uint8_t vk) {
  static const std::map<uint8_t, std::string> names = {
      {8, "Back"},    {9, "Tab"},      {13, "Enter"},  {27, "Escape"}, {33, "PgUp"},
      {34, "PgDn"},   {35, "End"},     {36, "Home"},   {37, "Left"},   {38, "Up"},
      {39, "Right"},  {40, "Down"},    {45, "Insert"}, {46, "Delete"}};
  if (names.count(vk) != 0) return names.at(vk);
  if (vk >= 112 && vk <= 123) return "F" + std::to_string(vk - 111);
  return "VK " + std::to_string(vk);
}

}  // namespace kbf::coverage
