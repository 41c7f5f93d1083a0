// Stock-bitmap faces: found beside the input method's module, stretched whole
// or in three parts for wide keys, and what happens without the library or
// without one of its bitmaps. The test library's bitmaps are three flat
// vertical bands, so each part of a wide key shows one colour.
#include <windows.h>

#include <string>

#include "im/input_method_state.h"
#include "layout/keyboard_memory.h"
#include "render/key_face.h"
#include "render/paint_keyboard.h"
#include "tests/render/render_fixture.h"
#include "wince/host/device.h"
#include "wince/host/modules.h"
#include "wince/host/surface.h"

namespace render_test {
namespace {

namespace fs = std::filesystem;

constexpr COLORREF UP_LEFT = RGB(250, 10, 10), UP_MIDDLE = RGB(10, 250, 10),
                   UP_RIGHT = RGB(10, 10, 250);
constexpr COLORREF DOWN_LEFT = RGB(120, 0, 0), DOWN_MIDDLE = RGB(0, 120, 0),
                   DOWN_RIGHT = RGB(0, 0, 120);
constexpr COLORREF RED = RGB(255, 0, 0);

class StockFaceTest : public RenderTest {
 protected:
  // The input method's module as "<folder>\tapora.dll", and optionally a
  // stock library beside it.
  void InstallModule(const std::u16string& folder, const char* stockLibrary) {
    const fs::path host = wince::host::HostPath(folder);
    fs::create_directories(host);
    fs::copy_file(STOCK_BANDS_MODULE, host / "tapora.dll");
    if (stockLibrary != nullptr) fs::copy_file(stockLibrary, host / "STOCK.DLL");
    module_ = LoadLibraryW((folder + u"\\tapora.dll").c_str());
    ASSERT_NE(module_, nullptr);
    tapora::InputMethodState.resourceInstance = module_;
  }
  void TearDown() override {
    tapora::InputMethodState.resourceInstance = nullptr;
    if (module_ != nullptr) FreeLibrary(module_);
    RenderTest::TearDown();
  }
  // A stock key at (4, 4), drawn on a 100 x 50 surface.
  void DrawStockKey(Surface& s, uint16_t width, uint16_t height, uint8_t down,
                    std::u16string_view label = u"") {
    kbf::KeyRecord key = kbf::MakeKey(width, height, 5, u"");
    key.SetLabel8(std::string(label.begin(), label.end()));
    key.SetColours(7, 12, 15, 8);
    key.down = down;
    Load(OneKey(key, 4, 4, 100, 50));
    tapora::DrawKeyboard(s.dc(), tapora::AllKeys, true);
  }
  // Every pixel of columns [from, to) of the key's rows is c.
  static void ExpectColumns(const Surface& s, LONG from, LONG to, LONG top, LONG bottom,
                            COLORREF c) {
    int wrong = 0;
    for (LONG y = top; y < bottom; ++y)
      for (LONG x = from; x < to; ++x) wrong += s.Pixel(x, y) != c;
    EXPECT_EQ(wrong, 0) << "columns " << from << " to " << to;
  }
  HMODULE module_ = nullptr;
};

TEST_F(StockFaceTest, WideKeyKeepsItsCapsAndStretchesTheMiddle) {
  InstallModule(u"\\Windows", STOCK_BANDS_MODULE);
  Surface up(100, 50);
  DrawStockKey(up, 90, 30, 0);
  // cap = 90 / 15 = 6, middle 78.
  ExpectColumns(up, 4, 10, 4, 34, UP_LEFT);
  ExpectColumns(up, 10, 88, 4, 34, UP_MIDDLE);
  ExpectColumns(up, 88, 94, 4, 34, UP_RIGHT);
  ExpectColumns(up, 94, 100, 0, 50, PAPER);
  ExpectColumns(up, 0, 100, 34, 50, PAPER);

  Surface down(100, 50);
  DrawStockKey(down, 90, 30, 1);
  ExpectColumns(down, 4, 10, 4, 34, DOWN_LEFT);
  ExpectColumns(down, 10, 88, 4, 34, DOWN_MIDDLE);
  ExpectColumns(down, 88, 94, 4, 34, DOWN_RIGHT);
}

TEST_F(StockFaceTest, NarrowWideKeyIsAllMiddle) {
  InstallModule(u"\\Windows", STOCK_BANDS_MODULE);
  Surface s(100, 50);
  DrawStockKey(s, 14, 6, 0);  // wide, but 14 / 15 = 0: no caps
  ExpectColumns(s, 4, 18, 4, 10, UP_MIDDLE);
  ExpectColumns(s, 18, 100, 0, 50, PAPER);
}

TEST_F(StockFaceTest, KeyNoMoreThanTwiceAsWideAsHighTakesTheWholeBitmap) {
  InstallModule(u"\\Windows", STOCK_BANDS_MODULE);
  Surface s(100, 50);
  DrawStockKey(s, 40, 20, 0);  // 40 is not more than 2 x 20

  // The same bitmap stretched whole onto the key's rectangle.
  Surface expected(100, 50);
  HDC bitmapDc = CreateCompatibleDC(expected.dc());
  HBITMAP bitmap = LoadBitmapW(module_, MAKEINTRESOURCEW(101));
  ASSERT_NE(bitmap, nullptr);
  HGDIOBJ previous = SelectObject(bitmapDc, bitmap);
  StretchBlt(expected.dc(), 4, 4, 40, 20, bitmapDc, 0, 0, 100, 100, SRCCOPY);
  SelectObject(bitmapDc, previous);
  DeleteObject(bitmap);
  DeleteDC(bitmapDc);
  EXPECT_EQ(s.Pixels(), expected.Pixels());
  EXPECT_EQ(s.Pixel(4, 4), UP_LEFT);
  EXPECT_EQ(s.Pixel(24, 14), UP_MIDDLE);
  EXPECT_EQ(s.Pixel(43, 23), UP_RIGHT);
}

TEST_F(StockFaceTest, WithoutTheLibraryOnlyTheLabelIsDrawn) {
  InstallModule(u"\\Windows", nullptr);
  Surface s(100, 50);
  DrawStockKey(s, 30, 20, 0, u"H");
  size_t red = 0, paper = 0;
  for (COLORREF c : s.Pixels()) {
    red += c == RED;
    paper += c == PAPER;
  }
  EXPECT_GT(red, 0u);
  EXPECT_EQ(red + paper, size_t{100 * 50});
}

TEST_F(StockFaceTest, MissingBitmapDrawsNoFace) {
  InstallModule(u"\\Windows", STOCK_UP_ONLY_MODULE);
  Surface s(100, 50);
  DrawStockKey(s, 30, 20, 1);
  EXPECT_EQ(s.PixelsOf(PAPER).size(), size_t{100 * 50});
  DrawStockKey(s, 30, 20, 0);
  EXPECT_EQ(s.Pixel(4, 4), UP_LEFT);
  EXPECT_EQ(s.Pixel(19, 14), UP_MIDDLE);
}

TEST_F(StockFaceTest, LibraryIsLookedForBesideTheModule) {
  WCHAR path[MAX_PATH];
  InstallModule(u"\\Program Files\\Tapora SIP", STOCK_BANDS_MODULE);
  EXPECT_EQ(std::u16string(tapora::StockLibraryPath(path)),
            u"\\Program Files\\Tapora SIP\\STOCK.DLL");
}

TEST_F(StockFaceTest, LongModuleNameIsCutAtTwoHundredCharacters) {
  // A backslash at unit 150 and the next one past unit 200.
  const std::u16string first(149, u'a');
  const std::u16string second(70, u'b');
  InstallModule(u"\\" + first + u"\\" + second, STOCK_BANDS_MODULE);
  WCHAR path[MAX_PATH];
  EXPECT_EQ(std::u16string(tapora::StockLibraryPath(path)), u"\\" + first + u"\\STOCK.DLL");
}

TEST_F(StockFaceTest, DrawingReleasesEveryObjectAndLibrary) {
  InstallModule(u"\\Windows", STOCK_BANDS_MODULE);
  kbf::Keyboard keyboard;
  kbf::Panel panel;
  panel.record.width = 200;
  panel.record.height = 40;
  const kbf::KeyRecord keys[] = {kbf::MakeKey(90, 30, 5, u"Space"), kbf::MakeKey(30, 30, 5, u"x"),
                                 kbf::MakeKey(30, 30, 18, u"{NQXU"),
                                 kbf::MakeKey(30, 30, 1, u"Ab")};
  uint16_t x = 0;
  for (const kbf::KeyRecord& key : keys) {
    panel.placements.push_back({kbf::AddKey(keyboard, key), x, 0});
    x += 45;
  }
  keyboard.panels.push_back(panel);
  Load(keyboard);
  Surface s(200, 40);
  const size_t objects = wince::host::LiveGdiObjects();
  const size_t modules = wince::host::LoadedModules();
  tapora::DrawKeyboard(s.dc(), tapora::AllKeys, true);
  tapora::SetKeyDown(KeyHandle(0, 0), 1);
  tapora::DrawKeyboard(s.dc(), tapora::AllKeys, true);
  EXPECT_EQ(wince::host::LiveGdiObjects(), objects);
  EXPECT_EQ(wince::host::LoadedModules(), modules);
  EXPECT_EQ(wince::host::ModuleReferences(module_), 1);
}

}  // namespace
}  // namespace render_test
