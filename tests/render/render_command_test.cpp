// `kbf render`: its arguments, and pictures of keyboards as the device shows
// them, read back from the PNG files it writes.
#include <png.h>

#include <filesystem>

#include "tests/render/render_fixture.h"
#include "tools/kbf/render/render_command.h"

namespace render_test {
namespace {

namespace fs = std::filesystem;

constexpr COLORREF LIGHT_GREY = RGB(192, 192, 192);

TEST(RenderArgumentsTest, StatesScaleAndErrors) {
  kbf::RenderArguments a;
  std::string error;
  ASSERT_TRUE(kbf::ParseRenderArguments({"k.kbf", "-o", "k.png", "--state", "shift,caps",
                                         "--state", "altgr", "--scale", "3"},
                                        &a, &error))
      << error;
  EXPECT_EQ(a.picture.keyboard, "k.kbf");
  EXPECT_EQ(a.output, "k.png");
  EXPECT_EQ(a.picture.shiftState, 0x0112);
  EXPECT_TRUE(a.picture.showState);
  EXPECT_EQ(a.scale, 3);

  ASSERT_TRUE(kbf::ParseRenderArguments({"-o", "k.png", "k.kbf", "--state", "alt,ctrl"}, &a,
                                        &error));
  EXPECT_EQ(a.picture.shiftState, 0x000C);
  ASSERT_TRUE(kbf::ParseRenderArguments({"k.kbf", "-o", "k.png"}, &a, &error));
  EXPECT_FALSE(a.picture.showState);
  EXPECT_EQ(a.scale, 1);

  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"k.kbf"},
                                             {"-o", "k.png"},
                                             {"a.kbf", "b.kbf", "-o", "k.png"},
                                             {"k.kbf", "-o", "k.png", "--state", "hyper"},
                                             {"k.kbf", "-o", "k.png", "--state", ","},
                                             {"k.kbf", "-o", "k.png", "--scale", "0"},
                                             {"k.kbf", "-o", "k.png", "--scale", "17"},
                                             {"k.kbf", "-o", "k.png", "--scale", "2x"},
                                             {"k.kbf", "-o", "k.png", "--scale"},
                                             {"k.kbf", "-o", "k.png", "--shadow"}}) {
    error.clear();
    EXPECT_FALSE(kbf::ParseRenderArguments(bad, &a, &error)) << bad.back();
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(kbf::RunRenderCommand({"k.kbf"}), 2);
  EXPECT_EQ(kbf::RunRenderCommand({"--help"}), 0);
}

struct Png {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
  COLORREF At(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return RGB(p[0], p[1], p[2]);
  }
};

Png ReadPng(const fs::path& file) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  Png png;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return png;
  image.format = PNG_FORMAT_RGB;
  png.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, png.rgb.data(), 0, nullptr)) return {};
  png.width = static_cast<int>(image.width);
  png.height = static_cast<int>(image.height);
  return png;
}

class RenderCommandTest : public RenderTest {
 protected:
  // A 60 x 24 panel with a Shift key at (10, 2) and a letter at (34, 2).
  static kbf::Keyboard Small() {
    kbf::Keyboard keyboard;
    kbf::Panel panel;
    panel.record.width = 60;
    panel.record.height = 24;
    panel.placements.push_back(
        {kbf::AddKey(keyboard, kbf::MakeKey(20, 20, 18, u"Shift", u"[Shift-Down]")), 10, 2});
    panel.placements.push_back({kbf::AddKey(keyboard, kbf::MakeKey(20, 20, 33, u"a")), 34, 2});
    keyboard.panels.push_back(panel);
    return keyboard;
  }
  fs::path Write(const kbf::Keyboard& keyboard) {
    const fs::path file = deviceFolder_ / "source" / "small.kbf";
    kbf::WriteFileBytes(file, kbf::WriteContainer(kbf::Members(keyboard)));
    return file;
  }
};

TEST_F(RenderCommandTest, PictureIsTheWindowOnItsGreyBackground) {
  const fs::path keyboard = Write(Small());
  const fs::path png = deviceFolder_ / "out.png";
  ASSERT_EQ(kbf::RunRenderCommand({keyboard.string(), "-o", png.string()}), 0);
  const Png p = ReadPng(png);
  ASSERT_EQ(p.width, 62);  // panel 0's width + 2
  ASSERT_EQ(p.height, 24);
  EXPECT_EQ(p.At(0, 0), LIGHT_GREY);
  EXPECT_EQ(p.At(61, 23), LIGHT_GREY);
  EXPECT_EQ(p.At(10, 2), RGB(255, 255, 255));  // the Shift key, raised

  // Latched, the Shift key shows down; scaled, every pixel is a 2 x 2 block.
  const fs::path shifted = deviceFolder_ / "shifted.png";
  ASSERT_EQ(kbf::RunRenderCommand(
                {keyboard.string(), "-o", shifted.string(), "--state", "shift", "--scale", "2"}),
            0);
  const Png s = ReadPng(shifted);
  ASSERT_EQ(s.width, 124);
  ASSERT_EQ(s.height, 48);
  EXPECT_EQ(s.At(20, 4), RGB(0, 0, 0));
  EXPECT_EQ(s.At(21, 5), RGB(0, 0, 0));
  EXPECT_EQ(s.At(2 * 40, 2 * 12), p.At(40, 12));  // the letter key is unchanged
}

TEST_F(RenderCommandTest, LooseFilesDrawTheSameAsTheContainer) {
  const kbf::Keyboard keyboard = Small();
  kbf::PictureOptions options;
  options.keyboard = Write(keyboard);
  kbf::Picture fromContainer, fromFolder, fromSetFile;
  std::string error;
  ASSERT_TRUE(kbf::DrawKeyboardPicture(options, &fromContainer, &error)) << error;

  const fs::path folder = deviceFolder_ / "loose";
  kbf::WriteLooseFolder(folder, kbf::Members(keyboard));
  options.keyboard = folder;
  ASSERT_TRUE(kbf::DrawKeyboardPicture(options, &fromFolder, &error)) << error;
  options.keyboard = folder / "PNL00001.PNL";
  ASSERT_TRUE(kbf::DrawKeyboardPicture(options, &fromSetFile, &error)) << error;
  EXPECT_EQ(fromFolder.pixels, fromContainer.pixels);
  EXPECT_EQ(fromSetFile.pixels, fromContainer.pixels);
}

TEST_F(RenderCommandTest, BrokenKeyboardReportsTheLoadersMessage) {
  const fs::path file = deviceFolder_ / "broken.kbf";
  kbf::WriteFileBytes(file, {'P', '*', 0, 0, 0, 10, 0, 0, 0, 1});  // no members at all
  kbf::PictureOptions options;
  options.keyboard = file;
  kbf::Picture picture;
  std::string error;
  EXPECT_FALSE(kbf::DrawKeyboardPicture(options, &picture, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(kbf::RunRenderCommand({file.string(), "-o", (deviceFolder_ / "x.png").string()}), 1);
  EXPECT_FALSE(fs::exists(deviceFolder_ / "x.png"));
  EXPECT_EQ(kbf::RunRenderCommand(
                {(deviceFolder_ / "missing.kbf").string(), "-o", (deviceFolder_ / "x.png").string()}),
            1);
}

}  // namespace
}  // namespace render_test
