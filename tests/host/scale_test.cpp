#include <gtest/gtest.h>

#include "base/scale.h"

namespace tovel {
namespace {

TEST(Scale, LengthsAtTheCommonScalesRoundHalfAwayFromZero) {
  const Scale s100(96), s125(120), s150(144), s200(192);
  EXPECT_EQ(s100.Px(351), 351);
  EXPECT_EQ(s125.Px(351), 439);  // 438.75
  EXPECT_EQ(s150.Px(351), 527);  // 526.5: a half goes up
  EXPECT_EQ(s150.Px(391), 587);  // 586.5
  EXPECT_EQ(s150.Px(184), 276);
  EXPECT_EQ(s200.Px(391), 782);
  EXPECT_EQ(s125.Px(2), 3);      // 2.5
  EXPECT_EQ(s125.Px(1), 1);      // 1.25
  EXPECT_EQ(s150.Px(1), 2);      // 1.5
  EXPECT_EQ(s150.Px(0), 0);
  // Negative lengths (a font's character height) mirror the positive ones.
  EXPECT_EQ(s150.Px(-1), -2);
  EXPECT_EQ(s125.Px(-2), -3);
  EXPECT_EQ(s150.Px(-14), -21);
  EXPECT_EQ(s125.Px(-14), -18);  // -17.5
}

TEST(Scale, OddDpisAndNoAnswerFromThePlatform) {
  EXPECT_EQ(Scale(97).Px(96), 97);
  EXPECT_EQ(Scale(97).Px(48), 49);    // 48.5
  EXPECT_EQ(Scale(72).Px(351), 263);  // 263.25
  EXPECT_EQ(Scale(168).Px(391), 684); // 684.25
  EXPECT_EQ(Scale(1).Px(48), 1);      // 0.5
  EXPECT_EQ(Scale(0).dpi(), 96);
  EXPECT_EQ(Scale(-120).Px(351), 351);
  EXPECT_EQ(Scale(), Scale(96));
  // No overflow on the way: the product is taken wide.
  EXPECT_EQ(Scale(480).Px(100000000), 500000000);
}

TEST(Scale, RectanglesScaleTheirEdgesSoNeighboursStillTouch) {
  for (int dpi : {96, 120, 144, 192, 101, 137}) {
    SCOPED_TRACE(dpi);
    const Scale s(dpi);
    const PixelRect a = s.Rect(3, 105, 344, 223);
    EXPECT_EQ(a.left, s.Px(3));
    EXPECT_EQ(a.right, s.Px(347));
    EXPECT_EQ(a.bottom, s.Px(328));
    // Two controls sharing an edge at 96 DPI share it at every scale.
    const PixelRect left = s.Rect(184, 76, 40, 20), right = s.Rect(224, 76, 40, 20);
    EXPECT_EQ(left.right, right.left);
    EXPECT_EQ(left.top, right.top);
    EXPECT_EQ(left.bottom, right.bottom);
  }
  // At 125 % a width of 35 from 2 is 3..46 from the edges, 43 pixels, where the width
  // alone would give 44: the edges decide.
  const PixelRect r = Scale(120).Rect(2, 0, 35, 10);
  EXPECT_EQ(r.left, 3);
  EXPECT_EQ(r.right, 46);
  EXPECT_EQ(r.width(), 43);
  EXPECT_EQ(Scale(144).Rect(50, 50, 351, 391), (PixelRect{75, 75, 602, 662}));
}

}  // namespace
}  // namespace tovel
