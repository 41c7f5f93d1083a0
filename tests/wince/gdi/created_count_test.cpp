// The count of GDI objects created: every creating call adds one object or
// one DC, whatever is deleted afterwards; stock objects, system colour
// brushes, refused creations and mere selection add nothing.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <windows.h>

#include "wince/host/surface.h"
#include "wince/host/windows.h"

namespace {

struct Counts {
  size_t objects;
  size_t dcs;
  bool operator==(const Counts&) const = default;
};

Counts Now() { return {wince::host::GdiObjectsCreated(), wince::host::DeviceContextsCreated()}; }

// What one call adds to the counters; the call cleans up after itself, so
// that a count that followed the live objects would show 0.
struct Case {
  std::string what;
  std::function<void()> call;
  Counts added;
};

TEST(GdiCreatedCount, EachCreatingCallCountsOnceAndNothingElseCounts) {
  LOGFONTW font{};
  font.lfHeight = -12;
  const std::vector<Case> cases = {
      {"CreatePen", [] { DeleteObject(CreatePen(PS_SOLID, 1, RGB(1, 2, 3))); }, {1, 0}},
      {"CreateSolidBrush", [] { DeleteObject(CreateSolidBrush(RGB(1, 2, 3))); }, {1, 0}},
      {"CreateFontIndirectW", [&] { DeleteObject(CreateFontIndirectW(&font)); }, {1, 0}},
      {"CreateBitmap", [] { DeleteObject(CreateBitmap(4, 4, 1, 32, nullptr)); }, {1, 0}},
      {"CreateCompatibleDC", [] { DeleteDC(CreateCompatibleDC(nullptr)); }, {0, 1}},
      {"CreateCompatibleBitmap",
       [] {
         HDC dc = CreateCompatibleDC(nullptr);
         DeleteObject(CreateCompatibleBitmap(dc, 4, 4));
         DeleteDC(dc);
       },
       {1, 1}},
      {"one bevelled key: a brush and three pens",
       [] {
         HGDIOBJ made[] = {CreateSolidBrush(0), CreatePen(PS_SOLID, 1, 0),
                           CreatePen(PS_SOLID, 1, 1), CreatePen(PS_SOLID, 1, 2)};
         for (HGDIOBJ object : made) DeleteObject(object);
       },
       {4, 0}},
      {"stock objects", [] { GetStockObject(BLACK_PEN); GetStockObject(SYSTEM_FONT); }, {0, 0}},
      {"system colour brush", [] { GetSysColorBrush(COLOR_WINDOW); }, {0, 0}},
      {"a bitmap too large", [] { CreateBitmap(1 << 20, 1 << 20, 1, 32, nullptr); }, {0, 0}},
      {"a DC compatible with no DC", [] { CreateCompatibleDC(reinterpret_cast<HDC>(0x1234)); }, {0, 0}},
      {"selecting and deleting a stock object",
       [] {
         HDC dc = CreateCompatibleDC(nullptr);
         SelectObject(dc, GetStockObject(WHITE_BRUSH));
         DeleteObject(GetStockObject(WHITE_BRUSH));
         DeleteDC(dc);
       },
       {0, 1}},
  };
  for (const Case& c : cases) {
    const Counts before = Now();
    c.call();
    const Counts after = Now();
    EXPECT_EQ(after.objects - before.objects, c.added.objects) << c.what;
    EXPECT_EQ(after.dcs - before.dcs, c.added.dcs) << c.what;
  }
}

TEST(GdiCreatedCount, WindowDcsCountEachTimeTheyAreHandedOut) {
  HWND screen = wince::host::CreateScreen(40, 30);
  ASSERT_NE(screen, nullptr);
  wince::host::PumpMessages();
  const Counts before = Now();
  for (int i = 0; i < 3; ++i) ReleaseDC(screen, GetDC(screen));
  EXPECT_EQ(Now(), (Counts{before.objects, before.dcs + 3}));
  wince::host::ResetWindows();
}

}  // namespace
