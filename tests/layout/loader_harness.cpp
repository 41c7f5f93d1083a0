#include "tests/layout/loader_harness.h"

#include <stdlib.h>

#include "apicalls/api_memory.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "layout/records.h"
#include "wince/host/device.h"
#include "wince/host/faults.h"
#include "wince/host/heap.h"
#include "wince/host/message_box.h"

namespace layout_test {

namespace {

std::vector<uint8_t> CopyBlock(DWORD handle, DWORD size) {
  std::vector<uint8_t> bytes;
  BYTE* block = tapora::api::Lock(handle);
  if (block == nullptr) return bytes;
  bytes.assign(block, block + size);
  tapora::api::Unlock(handle);
  return bytes;
}

}  // namespace

LoadedKeyboard WalkKeyboardMemory() {
  using namespace tapora;
  LoadedKeyboard loaded;
  if (KeyboardMemory.setHeaderHandle != 0) {
    loaded.hasHeader = true;
    loaded.header = CopyBlock(KeyboardMemory.setHeaderHandle, PANEL_SET_HEADER_SIZE);
    ++loaded.blocks;
  }
  if (KeyboardMemory.panelArrayHandle == 0) return loaded;
  loaded.hasPanelArray = true;
  ++loaded.blocks;
  for (DWORD i = 0;; ++i) {
    DWORD panel = PanelHandle(i);
    if (panel == 0) break;
    ++loaded.blocks;
    LoadedPanel lp;
    lp.record = CopyBlock(panel, PANEL_RECORD_SIZE);
    PanelPlace place{};
    EXPECT_TRUE(ReadPanelPlace(panel, &place));
    for (DWORD k = 0; k < place.keyCount; ++k) {
      KeyEntry entry{};
      EXPECT_TRUE(ReadKeyEntry(panel, k, &entry));
      LoadedKey key;
      key.handle = entry.keyHandle;
      key.x = entry.x;
      key.y = entry.y;
      key.record = CopyBlock(entry.keyHandle, KEY_RECORD_SIZE);
      ++loaded.blocks;
      lp.keys.push_back(std::move(key));
    }
    loaded.panels.push_back(std::move(lp));
  }
  return loaded;
}

LoadedKeyboard Expected(const kbf::Keyboard& keyboard) {
  LoadedKeyboard expected;
  for (size_t i = 0; i < keyboard.panels.size(); ++i) {
    const kbf::Panel& panel = keyboard.panels[i];
    kbf::PanelRecord record = panel.record;
    bool unnamed = true;
    for (uint8_t b : record.keyListName) unnamed = unnamed && b == 0;
    if (unnamed) record.keyListName = kbf::RawMemberName(kbf::KeyListFileName(keyboard, i));
    record.keyCount = static_cast<uint32_t>(panel.placements.size());
    LoadedPanel lp;
    lp.record = record.Encode();
    for (const kbf::Placement& p : panel.placements) {
      LoadedKey key;
      key.x = p.x;
      key.y = p.y;
      key.record = keyboard.keys.at(p.keyFile).Encode();
      lp.keys.push_back(std::move(key));
    }
    expected.panels.push_back(std::move(lp));
  }
  return expected;
}

kbf::Keyboard TwoPanelKeyboard() {
  kbf::Keyboard keyboard;
  kbf::KeyRecord q = kbf::MakeKey(20, 20, 1, u"q", u"q");
  kbf::KeyRecord w = kbf::MakeKey(20, 20, 1, u"w", u"w");
  kbf::KeyRecord shift = kbf::MakeKey(36, 20, 18, u"Shift", u"[Shift-Down]");
  shift.SetColours(3, 15, 11, 1);
  kbf::KeyRecord space = kbf::MakeKey(120, 20, 1, u" ", u" ");
  space.down = 1;
  kbf::AddPanelOfRows(keyboard, 0, 0, 236, 80, {{q, w}, {shift, space}});
  kbf::Panel& second = kbf::AddPanelOfRows(keyboard, 0, 80, 120, 40, {});
  std::string dot = kbf::AddKey(keyboard, kbf::MakeKey(10, 10, 1, u".", u"."), "DOT.KEY");
  second.placements.push_back({dot, 3, 4});
  second.placements.push_back({dot, 50, 7});
  keyboard.header.positionX = 5;
  keyboard.header.unknown92 = 0xA1B2C3D4;
  return keyboard;
}

std::u16string LoadErrorText(std::u16string_view progress) {
  return u"Error Allocating Memory or Reading File!\r\nCannot continue...\r\nProcess reporting: " +
         std::u16string(progress);
}

void LoaderTest::SetUp() {
  char pattern[] = "/tmp/layout_test_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  device_ = pattern;
  wince::host::SetDeviceFolder(device_);
  wince::host::ClearFaults();
  tapora::ResetKeyboard();
  wince::host::ClearMessageBoxes();
  baselineBlocks_ = wince::host::LiveHeapBlocks();
  baselineFiles_ = wince::host::OpenFileHandles();
}

void LoaderTest::TearDown() {
  wince::host::ClearFaults();
  tapora::ResetKeyboard();
  EXPECT_EQ(wince::host::LiveHeapBlocks(), baselineBlocks_) << "heap blocks leaked";
  EXPECT_EQ(wince::host::OpenFileHandles(), baselineFiles_) << "file handles left open";
  std::error_code ignored;
  std::filesystem::remove_all(device_, ignored);
}

std::filesystem::path LoaderTest::Host(std::u16string_view devicePath) const {
  std::filesystem::path path = device_;
  std::u16string part;
  for (char16_t c : devicePath) {
    if (c == u'\\') {
      if (!part.empty()) path /= std::filesystem::path(part);
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  if (!part.empty()) path /= std::filesystem::path(part);
  return path;
}

void LoaderTest::PutFile(std::u16string_view devicePath, const std::vector<uint8_t>& bytes) const {
  kbf::WriteFileBytes(Host(devicePath), bytes);
}

void LoaderTest::PutContainer(std::u16string_view devicePath, const std::vector<kbf::Member>& members,
                              const kbf::ContainerOptions& options) const {
  PutFile(devicePath, kbf::WriteContainer(members, options));
}

void LoaderTest::PutLoose(std::u16string_view deviceFolder,
                          const std::vector<kbf::Member>& members) const {
  kbf::WriteLooseFolder(Host(deviceFolder), members);
}

LoadResult LoaderTest::Load(std::u16string_view devicePath, LONG height, LONG width) const {
  WCHAR buffer[260] = {};
  size_t n = std::min<size_t>(devicePath.size(), 259);
  for (size_t i = 0; i < n; ++i) buffer[i] = devicePath[i];
  LoadResult result;
  result.height = height;
  result.width = width;
  result.ok = tapora::LoadKeyboard(buffer, &result.height, &result.width);
  result.path = std::u16string(buffer);
  return result;
}

std::vector<std::u16string> LoaderTest::MessageTexts() const {
  std::vector<std::u16string> texts;
  for (const auto& box : wince::host::MessageBoxes()) texts.push_back(box.text);
  return texts;
}

}  // namespace layout_test
