#include "tests/render/render_fixture.h"

#include <atomic>
#include <unistd.h>

#include "input/shift_state.h"
#include "layout/keyboard_memory.h"
#include "layout/load_keyboard.h"
#include "render/paint_keyboard.h"
#include "wince/host/device.h"

namespace render_test {

Surface::Surface(int width, int height) : width_(width), height_(height) {
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateBitmap(width, height, 1, 32, nullptr);
  previous_ = SelectObject(dc_, bitmap_);
  Fill(PAPER);
}

Surface::~Surface() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

COLORREF Surface::Pixel(int x, int y) const { return GetPixel(dc_, x, y); }

std::vector<COLORREF> Surface::Pixels() const {
  std::vector<COLORREF> pixels;
  pixels.reserve(static_cast<size_t>(width_) * height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) pixels.push_back(Pixel(x, y));
  return pixels;
}

std::vector<POINT> Surface::PixelsOf(COLORREF c) const {
  std::vector<POINT> points;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (Pixel(x, y) == c) points.push_back({x, y});
  return points;
}

void Surface::Fill(COLORREF c) {
  HBRUSH brush = CreateSolidBrush(c);
  RECT all = {0, 0, width_, height_};
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
}

RECT BoundsOf(const Surface& s, COLORREF c) {
  RECT r = {0, 0, 0, 0};
  bool any = false;
  for (const POINT& p : s.PixelsOf(c)) {
    if (!any) {
      r = {p.x, p.y, p.x + 1, p.y + 1};
      any = true;
    }
    r.left = std::min(r.left, p.x);
    r.top = std::min(r.top, p.y);
    r.right = std::max(r.right, p.x + 1);
    r.bottom = std::max(r.bottom, p.y + 1);
  }
  return r;
}

void RenderTest::SetUp() {
  static std::atomic<int> counter{0};
  deviceFolder_ = std::filesystem::temp_directory_path() /
                  ("render_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
  std::filesystem::remove_all(deviceFolder_);
  std::filesystem::create_directories(deviceFolder_);
  wince::host::SetDeviceFolder(deviceFolder_);
  tapora::ShiftState = 0;
}

void RenderTest::TearDown() {
  tapora::ResetKeyboard();
  tapora::ShiftState = 0;
  std::error_code ignored;
  std::filesystem::remove_all(deviceFolder_, ignored);
}

void RenderTest::Load(const kbf::Keyboard& keyboard) {
  tapora::ResetKeyboard();
  kbf::WriteFileBytes(deviceFolder_ / "keys.kbf", kbf::WriteContainer(kbf::Members(keyboard)));
  WCHAR path[MAX_PATH] = u"\\keys.kbf";
  LONG height = 0, width = 0;
  ASSERT_TRUE(tapora::LoadKeyboard(path, &height, &width));
}

kbf::Keyboard RenderTest::OneKey(const kbf::KeyRecord& key, uint16_t x, uint16_t y,
                                 uint16_t panelWidth, uint16_t panelHeight) {
  kbf::Keyboard keyboard;
  kbf::Panel panel;
  panel.record.width = panelWidth;
  panel.record.height = panelHeight;
  panel.placements.push_back({kbf::AddKey(keyboard, key), x, y});
  keyboard.panels.push_back(panel);
  return keyboard;
}

DWORD RenderTest::KeyHandle(DWORD panel, DWORD k) {
  tapora::KeyEntry entry = {};
  EXPECT_TRUE(tapora::ReadKeyEntry(tapora::PanelHandle(panel), k, &entry));
  return entry.keyHandle;
}

BYTE RenderTest::Down(DWORD panel, DWORD k) {
  BYTE down = 0xEE;
  EXPECT_TRUE(tapora::KeyDown(KeyHandle(panel, k), &down));
  return down;
}

std::vector<COLORREF> RenderTest::DrawAlone(const kbf::KeyRecord& key, WORD shiftState) {
  Load(OneKey(key));
  Surface s(100, 60);
  tapora::ShiftState = shiftState;
  tapora::DrawKeyboard(s.dc(), tapora::AllKeys, true);
  tapora::ShiftState = 0;
  return s.Pixels();
}

}  // namespace render_test
