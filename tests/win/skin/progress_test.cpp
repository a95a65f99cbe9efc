// Progress bars on the gallery, read back from the screen: the share of the range
// that is done, from the left or from the bottom.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "skin/progress.h"
#include "tests/win/skin/family_test_support.h"

namespace tovel::skin::test {
namespace {

// The bar is drawn in the gallery's green highlight, strongest along its far
// side; the trough is grey over the blue skin.
bool Lit(std::uint32_t p) { return G(p) > R(p) + 50 && G(p) > B(p) + 30; }

std::uint32_t At(HWND bar, int x, int y) {
  const RECT r = ScreenRect(bar);
  return Screen(r.left + x, r.top + y);
}

void Show(HWND bar, int position) {
  ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  ::UpdateWindow(bar);
}

// The row near the bottom, where the bar's shade is nearly the highlight itself.
int Row(HWND bar) { return ScreenRect(bar).bottom - ScreenRect(bar).top - 4; }

int LitAlongRow(HWND bar) {
  const RECT r = ScreenRect(bar);
  const int y = r.top + Row(bar);
  int lit = 0;
  for (std::uint32_t p : ScreenArea(RECT{r.left, y, r.right, y + 1})) lit += Lit(p);
  return lit;
}

TEST(SkinProgress, ShareIsWhatIsDoneOfTheRangeClampedAndNothingForAnEmptyRange) {
  EXPECT_DOUBLE_EQ(ProgressShare(70, 20, 120), 0.5);
  EXPECT_DOUBLE_EQ(ProgressShare(20, 20, 120), 0.0);
  EXPECT_DOUBLE_EQ(ProgressShare(200, 20, 120), 1.0);
  EXPECT_DOUBLE_EQ(ProgressShare(0, 20, 120), 0.0);
  EXPECT_DOUBLE_EQ(ProgressShare(50, 50, 50), 0.0);
  EXPECT_DOUBLE_EQ(ProgressShare(70, 120, 20), 0.0);
}

TEST(SkinProgress, BarOfTwentyToHundredTwentyFillsHalfAtSeventyNothingAtTwentyAllAtTwoHundred) {
  Gallery gallery;
  HWND bar = gallery.Item(gallery::kProgress);
  const RECT r = ScreenRect(bar);
  ASSERT_EQ(r.right - r.left, 200);
  const int row = Row(bar);
  // What Wine shows on the screen follows the drawing a moment later.
  const auto shows = [&](const std::function<bool()>& done) { return PumpUntil(done, 2000); };

  Show(bar, 70);
  EXPECT_TRUE(shows([&] { return Lit(At(bar, 95, row)) && !Lit(At(bar, 105, row)); }));
  EXPECT_NEAR(LitAlongRow(bar), 100, 4);

  Show(bar, 20);
  EXPECT_TRUE(shows([&] { return LitAlongRow(bar) == 0; }));

  // Past the range: the whole trough, and never past its end.
  Show(bar, 200);
  EXPECT_TRUE(shows([&] { return Lit(At(bar, 5, row)) && Lit(At(bar, 194, row)); }));
  EXPECT_FALSE(Lit(At(bar, 199, row)));
  EXPECT_NEAR(LitAlongRow(bar), 200, 6);

  // An empty range paints an empty trough.
  ::SendMessageW(bar, PBM_SETRANGE32, 50, 50);
  Show(bar, 50);
  EXPECT_TRUE(shows([&] { return LitAlongRow(bar) == 0; }));
  // The skin's frame lies on the window's edge, where the platform's border was.
  const std::uint32_t skin = SkinAt(*gallery.Record(), POINT{r.left + 100, r.top});
  EXPECT_TRUE(Near(At(bar, 100, 0), Blend(skin, 0x000000, 50), 3));
}

TEST(SkinProgress, UprightBarFillsFromTheBottom) {
  Gallery gallery;
  HWND bar = gallery.Item(gallery::kProgressVertical);
  const RECT r = ScreenRect(bar);
  const int h = r.bottom - r.top, x = r.right - r.left - 4;  // where the shade is strongest
  ASSERT_EQ(h, 110);
  Show(bar, 40);  // of 0..100: the lowest 44 pixels
  EXPECT_TRUE(PumpUntil([&] { return Lit(At(bar, x, h - 5)) && Lit(At(bar, x, h - 40)); }, 2000));
  EXPECT_FALSE(Lit(At(bar, x, h - 50)));
  EXPECT_FALSE(Lit(At(bar, x, 5)));
  Show(bar, 100);
  EXPECT_TRUE(PumpUntil([&] { return Lit(At(bar, x, 5)); }, 2000));
  Show(bar, 0);
  EXPECT_TRUE(PumpUntil([&] { return !Lit(At(bar, x, h - 5)); }, 2000));
}

}  // namespace
}  // namespace tovel::skin::test
