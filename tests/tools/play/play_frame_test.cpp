// The play window's layout and frame: which device pixel a window pixel is,
// what lies under it, and the frame put together at a scale.
#include "tools/tapora-sim/play_frame.h"

#include <gtest/gtest.h>

namespace sim::play {
namespace {

TEST(PlayLayout, MapsWindowPixelsToThePanelTheFieldAndAnOpenDialog) {
  const struct {
    const char* name;
    Layout layout;
    int x, y;
    Region region;
    Point onPanel;  // the same pixel relative to the panel
  } cases[] = {
      {"the panel's first pixel", LayOut(240, 80, 2), 0, 0, Region::Panel, {0, 0}},
      {"the last window pixel of the panel's last pixel", LayOut(240, 80, 2), 479, 159,
       Region::Panel, {239, 79}},
      {"the gap after the panel", LayOut(240, 80, 2), 480, 10, Region::None, {240, 5}},
      {"the field's first pixel", LayOut(240, 80, 2), 2 * (240 + kGap), 0, Region::Field,
       {240 + kGap, 0}},
      {"scale 3 rounds down", LayOut(240, 80, 3), 8, 5, Region::Panel, {2, 1}},
      {"left of the window rounds down too", LayOut(240, 80, 2), -1, -3, Region::None, {-1, -2}},
      {"no panel: the field starts the window", LayOut(0, 0, 1), 0, 0, Region::Field, {0, 0}},
      {"a dialog lies over the panel", LayOut(240, 80, 1, Box{0, 0, 200, 100}), 150, 10,
       Region::Dialog, {150, 10}},
      {"beside the dialog the panel shows", LayOut(240, 80, 1, Box{0, 0, 200, 100}), 50, 10,
       Region::Panel, {50, 10}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RegionAt(c.layout, c.x, c.y), c.region);
    EXPECT_EQ(Relative(c.layout, c.layout.panel, c.x, c.y), c.onPanel);
  }
}

TEST(PlayLayout, TheCanvasGrowsToHoldADialogCentredOnIt) {
  const Layout plain = LayOut(240, 80, 2);
  EXPECT_EQ(plain.canvas, (Box{0, 0, 240 + kGap + kFieldWidth, kFieldMinHeight}));
  EXPECT_EQ(plain.WindowWidth(), 2 * (240 + kGap + kFieldWidth));
  EXPECT_FALSE(plain.dialog);
  const Layout tall = LayOut(240, 120, 1);
  EXPECT_EQ(tall.field.height, 120);

  const Layout withDialog = LayOut(240, 80, 2, Box{0, 0, 222, 171});
  EXPECT_EQ(withDialog.canvas, (Box{0, 0, 404, 171}));
  EXPECT_EQ(withDialog.dialog, (Box{91, 0, 222, 171}));
  EXPECT_EQ(Relative(withDialog, *withDialog.dialog, 2 * 91, 2 * 170), (Point{0, 170}));
}

TEST(PlayFrame, PutsEachPictureAtItsPlaceScaledWithTheDialogOnTop) {
  // A 3 by 2 panel, a field of 1 by 1 in a field box of kFieldWidth by 2,
  // and a 2 by 2 dialog over the middle.
  Layout layout = LayOut(3, 2, 2, Box{0, 0, 2, 2});
  const Pixels panel{3, 2, {1, 2, 3, 4, 5, 6}};
  const Pixels field{1, 1, {7}};
  const Pixels dialog{2, 2, {8, 9, 10, 11}};
  const Pixels frame = Compose(layout, &panel, field, &dialog);
  ASSERT_EQ(frame.width, layout.WindowWidth());
  ASSERT_EQ(frame.height, layout.WindowHeight());
  const int fieldX = 2 * layout.field.left;
  const int dialogX = 2 * layout.dialog->left;
  const int dialogY = 2 * layout.dialog->top;
  const struct {
    int x, y;
    uint32_t colour;
  } expected[] = {
      {0, 0, 1}, {1, 1, 1}, {2, 0, 2}, {5, 3, 6},  // the panel, each pixel a 2 by 2 block
      {6, 0, kBackground},                         // the gap
      {fieldX, 0, 7}, {fieldX + 1, 1, 7},          // the field's picture
      {fieldX + 2, 0, kBackground},                // past the field's picture: background
      {dialogX, dialogY, 8}, {dialogX + 3, dialogY + 3, 11},  // the dialog over what lies there
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(testing::Message() << "(" << e.x << ", " << e.y << ")");
    EXPECT_EQ(frame.At(e.x, e.y), e.colour);
  }

  // No panel: nothing drawn where it would be; a picture larger than its box is cut.
  layout = LayOut(0, 0, 1);
  const Pixels wide{kFieldWidth + 5, 1, std::vector<uint32_t>(kFieldWidth + 5, 7)};
  const Pixels alone = Compose(layout, nullptr, wide, nullptr);
  EXPECT_EQ(alone.width, kFieldWidth);
  EXPECT_EQ(alone.At(kFieldWidth - 1, 0), 7u);
  EXPECT_EQ(alone.At(0, 1), kBackground);
}

}  // namespace
}  // namespace sim::play
