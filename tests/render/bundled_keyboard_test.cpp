// Golden pictures of the bundled keyboard in its modifier states, compared by
// a hash of their pixels. A deliberate change to the keyboard, the fonts or
// the drawing changes a hash: the failure prints the new value to paste in,
// and the pictures are written beside the test binary for a look first.
#include <cinttypes>
#include <cstdio>
#include <filesystem>

#include "tests/render/render_fixture.h"
#include "tools/kbf/render/keyboard_picture.h"

namespace render_test {
namespace {

namespace fs = std::filesystem;

uint64_t PixelHash(const kbf::Picture& picture) {
  uint64_t hash = 1469598103934665603ull;  // FNV-1a
  auto mix = [&hash](uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      hash ^= (value >> (8 * i)) & 0xFF;
      hash *= 1099511628211ull;
    }
  };
  mix(static_cast<uint32_t>(picture.width));
  mix(static_cast<uint32_t>(picture.height));
  for (uint32_t pixel : picture.pixels) mix(pixel);
  return hash;
}

struct Golden {
  const char* name;
  uint16_t shiftState;
  bool showState;
  uint64_t hash;
};

const Golden GOLDEN[] = {
    {"keyboard", 0, false, 0xb6832e3774a27ab4ull},
    {"keyboard_shift", 0x0002, true, 0x6482c6c4d3e35a74ull},
    {"keyboard_caps", 0x0100, true, 0xd3297177c2a96764ull},
    {"keyboard_caps_shift", 0x0102, true, 0xf7327df29239c824ull},
    {"keyboard_ctrl_alt", 0x000C, true, 0x1a67f4e885991f5cull},
};

TEST(BundledKeyboardTest, PicturesMatchTheirHashes) {
  const fs::path keyboard =
      fs::path(TAPORA_DEVICE_DIR) / "Program Files" / "Tapora SIP" / "Keyboard" / "keyboard.kbf";
  if (!fs::exists(keyboard)) GTEST_SKIP() << "not built: " << keyboard;
  const fs::path pictures = RENDER_TEST_OUTPUT_DIR;
  fs::create_directories(pictures);
  for (const Golden& g : GOLDEN) {
    SCOPED_TRACE(g.name);
    kbf::PictureOptions options;
    options.keyboard = keyboard;
    options.shiftState = g.shiftState;
    options.showState = g.showState;
    options.stockLibrary = kbf::DefaultStockLibrary();
    kbf::Picture picture;
    std::string error;
    ASSERT_TRUE(kbf::DrawKeyboardPicture(options, &picture, &error)) << error;
    EXPECT_EQ(picture.width, 240);
    EXPECT_EQ(picture.height, 80);
    const fs::path png = pictures / (std::string(g.name) + ".png");
    EXPECT_TRUE(kbf::SavePicturePng(kbf::Enlarge(picture, 3), png, &error)) << error;
    const uint64_t hash = PixelHash(picture);
    EXPECT_EQ(hash, g.hash) << "new hash of " << g.name << ": 0x" << std::hex << hash
                            << " (picture: " << png.string() << ")";
  }
}

}  // namespace
}  // namespace render_test
