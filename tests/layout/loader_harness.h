// Shared fixture of the loader tests: a fresh device folder per test, helpers
// that put a keyboard there (as a container or loose files) and load it, and
// a walk of KeyboardMemory back into plain bytes that tests compare with what
// the writer encoded. Every test ends with the keyboard released and checks
// that no heap block and no file handle outlived it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <windows.h>

#include "tools/kbf/writer/kbf_writer.h"

namespace layout_test {

struct LoadedKey {
  DWORD handle = 0;
  uint16_t x = 0;
  uint16_t y = 0;
  std::vector<uint8_t> record;  // 71 bytes
};

struct LoadedPanel {
  std::vector<uint8_t> record;  // the 37-byte PanelRecord as held
  std::vector<LoadedKey> keys;
};

struct LoadedKeyboard {
  bool hasHeader = false;
  std::vector<uint8_t> header;  // 96 bytes
  bool hasPanelArray = false;
  std::vector<LoadedPanel> panels;
  size_t blocks = 0;  // heap blocks reachable from KeyboardMemory
};

// Reads KeyboardMemory through the system's own handles and accessors.
LoadedKeyboard WalkKeyboardMemory();

// The panel record and key records a load of `keyboard` should hold: each
// panel's record with keyCount = its number of placements, each placement's
// key record.
LoadedKeyboard Expected(const kbf::Keyboard& keyboard);

// A small keyboard of two panels: panel 0 at (0, 0) 236 x 80 with two rows,
// panel 1 at (0, 80) 120 x 40 placing one key file twice.
kbf::Keyboard TwoPanelKeyboard();

// The text of the load failure message for a progress text.
std::u16string LoadErrorText(std::u16string_view progress);

struct LoadResult {
  bool ok = false;
  LONG height = 0;
  LONG width = 0;
  std::u16string path;  // the path buffer after the load
};

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Host path of a device path below this test's device folder.
  std::filesystem::path Host(std::u16string_view devicePath) const;
  void PutFile(std::u16string_view devicePath, const std::vector<uint8_t>& bytes) const;
  void PutContainer(std::u16string_view devicePath, const std::vector<kbf::Member>& members,
                    const kbf::ContainerOptions& options = {}) const;
  void PutLoose(std::u16string_view deviceFolder, const std::vector<kbf::Member>& members) const;

  // Calls LoadKeyboard with a 260-unit path buffer; the window size starts
  // at (height, width) so that a failed load can be seen to leave it.
  LoadResult Load(std::u16string_view devicePath, LONG height = 10, LONG width = 10) const;

  // The recorded message boxes' texts, in order.
  std::vector<std::u16string> MessageTexts() const;

  std::filesystem::path device_;
  size_t baselineBlocks_ = 0;
  int baselineFiles_ = 0;
};

}  // namespace layout_test
