#include <gtest/gtest.h>

#include <vector>

#include "skin/layout.h"
#include "skin/options.h"

namespace tovel::skin {
namespace {

CaptionGeometry PlayerCaption(int clientWidth = 351) {
  const std::vector<ButtonKind> kinds{ButtonKind::Minimize, ButtonKind::Maximize, ButtonKind::Close};
  const std::vector<int> widths{26, 26, 38};
  return LayoutCaptionButtons(clientWidth, kinds, widths);
}

TEST(SkinCaption, PlayerStripAndButtonPictures) {
  const CaptionGeometry g = PlayerCaption();
  EXPECT_EQ(g.stripWidth, 95);  // 26 + 26 + 38 + 2 gaps + 3
  EXPECT_EQ(g.stripLeft, 251);
  EXPECT_EQ(g.areaLeft, 257);
  const IntBox minimize = CaptionButtonPicture(g, 1, 26, 18);
  const IntBox maximize = CaptionButtonPicture(g, 2, 26, 18);
  const IntBox close = CaptionButtonPicture(g, 3, 38, 18);
  EXPECT_EQ(minimize, (IntBox{258, 1, 26, 18}));  // x 258..283
  EXPECT_EQ(maximize, (IntBox{285, 1, 26, 18}));  // x 285..310
  EXPECT_EQ(close, (IntBox{312, 1, 38, 18}));     // x 312..349
  EXPECT_EQ(g.buttons[2].width, 40);  // the close box is wider than its picture
  // Repaint rectangles of neighbours never overlap.
  const IntBox a = CaptionButtonBounds(g, 1, 26, 18), b = CaptionButtonBounds(g, 2, 26, 18);
  EXPECT_LE(a.x + a.width, b.x);
}

TEST(SkinCaption, BoardWithCloseOnlyAndAddedButtons) {
  const std::vector<ButtonKind> closeOnly{ButtonKind::Close};
  const std::vector<int> closeWidth{38};
  const CaptionGeometry board = LayoutCaptionButtons(351, closeOnly, closeWidth);
  EXPECT_EQ(CaptionButtonPicture(board, 1, 38, 18).x, 312);

  // Two added buttons go in front, 27 apart; the close button stays last.
  const std::vector<ButtonKind> three{ButtonKind::Custom, ButtonKind::Custom, ButtonKind::Close};
  const std::vector<int> widths{26, 26, 38};
  const CaptionGeometry g = LayoutCaptionButtons(351, three, widths);
  EXPECT_EQ(g.buttons[1].x - g.buttons[0].x, 27);
  EXPECT_EQ(g.buttons[2].x - g.buttons[1].x, 27);
  EXPECT_EQ(CaptionStripWidth(widths), CaptionStripWidth(closeWidth) + 54);

  // Help, minimize and close without a maximize box.
  const std::vector<int> noMaximize{26, 26, 38};
  EXPECT_EQ(CaptionStripWidth(noMaximize), 95);
}

TEST(SkinCaption, HitTestIsStrictlyInside) {
  const CaptionGeometry g = PlayerCaption();
  EXPECT_EQ(HitTestCaptionButton(g, 260, 10), 1);
  EXPECT_EQ(HitTestCaptionButton(g, 259, 10), 0);  // the left edge is outside
  EXPECT_EQ(HitTestCaptionButton(g, 260, 1), 0);   // so is the top edge
  EXPECT_EQ(HitTestCaptionButton(g, 260, 2), 1);
  EXPECT_EQ(HitTestCaptionButton(g, 287, 10), 2);
  EXPECT_EQ(HitTestCaptionButton(g, 340, 18), 3);
  EXPECT_EQ(HitTestCaptionButton(g, 340, 19), 0);  // below the buttons
  EXPECT_EQ(HitTestCaptionButton(g, 200, 10), 0);
  EXPECT_TRUE(InCaptionStrip(g, 349, 10));
  EXPECT_FALSE(InCaptionStrip(g, 200, 10));
}

TEST(SkinFrame, ResizeZonesFollowTheTableOrder) {
  EXPECT_EQ(ZoneAt(2, 50, 400, 300), Zone::Left);
  EXPECT_EQ(ZoneAt(2, 5, 400, 300), Zone::TopLeft);
  EXPECT_EQ(ZoneAt(200, 150, 400, 300), Zone::None);
  EXPECT_EQ(ZoneAt(397, 150, 400, 300), Zone::Right);
  EXPECT_EQ(ZoneAt(396, 150, 400, 300), Zone::None);
  EXPECT_EQ(ZoneAt(200, 3, 400, 300), Zone::Top);
  EXPECT_EQ(ZoneAt(200, 297, 400, 300), Zone::Bottom);
  EXPECT_EQ(ZoneAt(395, 5, 400, 300), Zone::TopRight);
  EXPECT_EQ(ZoneAt(5, 295, 400, 300), Zone::BottomLeft);
  EXPECT_EQ(ZoneAt(395, 295, 400, 300), Zone::BottomRight);
  EXPECT_EQ(ZoneAt(2, 290, 400, 300), Zone::BottomLeft);  // the left edge ends 10 above the bottom

  EXPECT_EQ(ZoneCursorId(Zone::Left), 32644);
  EXPECT_EQ(ZoneCursorId(Zone::Bottom), 32645);
  EXPECT_EQ(ZoneCursorId(Zone::TopLeft), 32642);
  EXPECT_EQ(ZoneCursorId(Zone::BottomLeft), 32643);
  EXPECT_EQ(ZoneCursorId(Zone::None), 0);
  EXPECT_EQ(ZoneSizeCommand(Zone::Left), 0xF001);
  EXPECT_EQ(ZoneSizeCommand(Zone::Bottom), 0xF006);
  EXPECT_EQ(ZoneSizeCommand(Zone::BottomRight), 0xF008);
}

TEST(SkinFrame, ItemBandAndUsableArea) {
  const std::vector<int> widths{50, -1, 30};
  const ItemLayout layout = LayoutItems(400, 300, 20, widths);
  EXPECT_EQ(layout.band, (IntBox{3, 276, 394, 20}));
  ASSERT_EQ(layout.items.size(), 3u);
  EXPECT_EQ(layout.items[0], (IntBox{3, 276, 50, 20}));
  EXPECT_EQ(layout.items[1], (IntBox{53, 276, 344, 20}));  // the rest: 400 - 50 - 6
  EXPECT_EQ(layout.items[2].x, 397);

  EXPECT_EQ(UsableArea(1024, 768, 40, true).height, 728);
  EXPECT_EQ(UsableArea(1024, 768, 40, false).height, 768);
  EXPECT_EQ(UsableArea(1024, 768, 40, true).width, 1024);
}

std::vector<int> AlphasOf(CaptionFade& fade, int button, int ticks) {
  std::vector<int> alphas;
  for (int i = 0; i < ticks; ++i)
    for (const FadeDraw& d : fade.Tick())
      if (d.button == button) alphas.push_back(d.alpha);
  return alphas;
}

TEST(SkinFade, InAndOutOverEightStepsThenTheTimerStops) {
  CaptionFade fade;
  EXPECT_TRUE(fade.Idle());
  EXPECT_FALSE(fade.Hover(0, 2).has_value());
  EXPECT_FALSE(fade.Idle());
  EXPECT_EQ(AlphasOf(fade, 2, 10), (std::vector<int>{30, 60, 90, 120, 150, 180, 210, 240}));
  EXPECT_TRUE(fade.Idle());
  EXPECT_EQ(fade.RestingAlpha(2, 2), 240);

  // Moving to the next button: the first fades out while the second fades in.
  fade.Hover(2, 3);
  std::vector<int> out, in;
  for (int i = 0; i < 8; ++i)
    for (const FadeDraw& d : fade.Tick()) (d.button == 2 ? out : in).push_back(d.alpha);
  EXPECT_EQ(out, (std::vector<int>{210, 180, 150, 120, 90, 60, 30, 0}));
  EXPECT_EQ(in.back(), 240);
  EXPECT_TRUE(fade.Idle());
  EXPECT_EQ(fade.RestingAlpha(2, 3), 0);
}

TEST(SkinFade, CutShortFadesLeaveNoButtonHalfLit) {
  CaptionFade fade;
  fade.Hover(0, 1);
  AlphasOf(fade, 1, 8);
  fade.Hover(1, 2);  // 1 starts fading out
  fade.Tick();
  const auto cut = fade.Hover(2, 3);  // 2 leaves before 1 has finished: 1 goes dark at once
  ASSERT_TRUE(cut.has_value());
  EXPECT_EQ(cut->button, 1);
  EXPECT_EQ(cut->alpha, 0);
  // Back onto a button that is fading out: it brightens from where it was.
  CaptionFade back;
  back.Hover(0, 1);
  AlphasOf(back, 1, 8);
  back.Hover(1, 0);
  EXPECT_EQ(AlphasOf(back, 1, 3), (std::vector<int>{210, 180, 150}));
  back.Hover(0, 1);
  EXPECT_EQ(AlphasOf(back, 1, 1), (std::vector<int>{180}));
}

TEST(SkinColours, ArgbConversionAndSkinRules) {
  EXPECT_EQ(ToArgb(0x00DDCA22, 60), 0x3C22CADDu);
  EXPECT_EQ(ToArgb(0x000000FF), 0xFFFF0000u);

  SkinOptions o;
  EXPECT_TRUE(o.skinControls);
  EXPECT_EQ(o.controlAlpha, 160);
  EXPECT_EQ(o.highlightColour, 0x00DDCA22u);
  ApplyOptions(o, true, std::nullopt, std::nullopt);
  EXPECT_FALSE(o.translucentControls);
  EXPECT_EQ(o.controlAlpha, 160);
  ApplyOptions(o, true, 0, std::nullopt);
  EXPECT_TRUE(o.translucentControls);
  EXPECT_EQ(o.controlAlpha, 0);

  // A picture: the main colour is its average, the mode is given or 4.
  SkinColours picture{true, Rgb(10, 20, 30), Rgb(212, 208, 200)};
  picture.highlight = 0x0051AE51;
  picture.mode = 3;
  ApplySkinColours(o, picture);
  EXPECT_EQ(o.mainColour, Rgb(10, 20, 30));
  EXPECT_EQ(o.highlightColour, 0x0051AE51u);
  EXPECT_EQ(o.imageMode, 3);

  // Neither file nor data: the face colour, the mode kept, the highlight reset.
  SkinColours none{false, 0, Rgb(212, 208, 200)};
  ApplySkinColours(o, none);
  EXPECT_EQ(o.mainColour, Rgb(212, 208, 200));
  EXPECT_EQ(o.imageMode, 3);
  EXPECT_EQ(o.highlightColour, 0x00DDCA22u);

  // -1: the highlight follows the main colour.
  SkinColours follow{true, Rgb(1, 2, 3), 0};
  follow.highlight = kHighlightFromMain;
  ApplySkinColours(o, follow);
  EXPECT_EQ(o.highlightColour, Rgb(1, 2, 3));
  EXPECT_EQ(o.imageMode, 4);
}

}  // namespace
}  // namespace tovel::skin

namespace tovel::skin {
namespace {

// The caption's and the zones' sizes come from the metrics given, the defaults
// being the sizes at 96 DPI.
TEST(SkinMetrics, CaptionButtonsAndZonesFollowTheMetricsGiven) {
  const std::vector<ButtonKind> kinds{ButtonKind::Minimize, ButtonKind::Close};
  const std::vector<int> widths{26, 38}, wide{39, 57};
  const CaptionGeometry plain = LayoutCaptionButtons(351, kinds, widths);
  EXPECT_EQ(plain.stripHeight, 22);
  EXPECT_EQ(plain.buttons[1].width, 40);
  CaptionMetrics m;
  m.buttonWidth = 39;
  m.closeWidth = 60;
  m.buttonHeight = 27;
  m.gap = 2;
  m.margin = 5;
  m.stripHeight = 33;
  m.areaHeight = 33;
  const CaptionGeometry big = LayoutCaptionButtons(527, kinds, wide, m);
  EXPECT_EQ(big.stripWidth, 39 + 57 + 2 + 5);
  EXPECT_EQ(big.buttons[1].x - big.buttons[0].x, 41);
  EXPECT_EQ(big.buttons[1].width, 60);
  EXPECT_EQ(big.buttons[0].height, 27);
  EXPECT_EQ(big.stripHeight, 33);
  EXPECT_EQ(HitTestCaptionButton(big, big.buttons[1].x + 30, 24), 2);
  EXPECT_EQ(HitTestCaptionButton(plain, plain.buttons[1].x + 30, 24), 0);  // below the plain area

  ZoneMetrics zones;
  EXPECT_EQ(ZoneAt(4, 50, 400, 300, zones), Zone::None);
  zones.margin = 5;
  zones.corner = 15;
  zones.edgeStart = 16;
  EXPECT_EQ(ZoneAt(4, 50, 400, 300, zones), Zone::Left);
  EXPECT_EQ(ZoneAt(2, 14, 400, 300, zones), Zone::TopLeft);
  EXPECT_EQ(ZoneAt(2, 14, 400, 300), Zone::Left);  // the default corner ends at 10
}

}  // namespace
}  // namespace tovel::skin

namespace tovel::skin {
namespace {

// The frame at 96 DPI is the frame as drawn before there were scales; at 144 and
// 192 every size goes through the one rounding rule, so the caption buttons stay
// in the caption and touch their neighbours as at 96.
TEST(SkinFrameScale, EverySizeOfTheFrameFollowsTheScale) {
  const FrameMetrics at96 = FrameMetricsAt(Scale(96), 110);
  const FrameMetrics plain;
  EXPECT_EQ(at96.captionHeight, 110);
  EXPECT_EQ(at96.minimumSize, plain.minimumSize);
  EXPECT_EQ(at96.caption.closeWidth, plain.caption.closeWidth);
  EXPECT_EQ(at96.caption.stripHeight, plain.caption.stripHeight);
  EXPECT_EQ(at96.zones.corner, plain.zones.corner);
  EXPECT_EQ(at96.zones.edgeStart, plain.zones.edgeStart);
  EXPECT_EQ(at96.textLeft, plain.textLeft);
  EXPECT_EQ(at96.captionBandBottom, plain.captionBandBottom);
  EXPECT_EQ(at96.regionCorner, 5);
  EXPECT_FLOAT_EQ(at96.penWidth, 1.0f);
  EXPECT_EQ(FrameMetricsAt(Scale(96), 3).captionHeight, kMinimumCaptionHeight);

  const FrameMetrics at144 = FrameMetricsAt(Scale(144), 110);
  EXPECT_EQ(at144.captionHeight, 165);
  EXPECT_EQ(at144.minimumSize, (Extent{300, 225}));
  EXPECT_EQ(at144.buttonWidth, 39);
  EXPECT_EQ(at144.closeButtonWidth, 57);
  EXPECT_EQ(at144.buttonHeight, 27);
  EXPECT_EQ(at144.caption.margin, 5);  // 4.5 rounds away from zero
  EXPECT_EQ(at144.zones.margin, 5);
  EXPECT_EQ(at144.iconSize, 26);
  EXPECT_EQ(at144.outerCorner, 11);
  EXPECT_FLOAT_EQ(at144.penWidth, 1.5f);
  EXPECT_EQ(FrameMetricsAt(Scale(192), 3).captionHeight, 50);

  // The player's buttons at 144 DPI on its 527-pixel width: inside the caption and
  // the window, left to right without overlap, each hit at its own centre.
  const std::vector<ButtonKind> kinds{ButtonKind::Minimize, ButtonKind::Maximize, ButtonKind::Close};
  const std::vector<int> widths{at144.buttonWidth, at144.buttonWidth, at144.closeButtonWidth};
  const CaptionGeometry g = LayoutCaptionButtons(527, kinds, widths, at144.caption);
  int lastRight = 0;
  for (int b = 1; b <= 3; ++b) {
    const IntBox p = CaptionButtonPicture(g, b, widths[static_cast<size_t>(b - 1)], at144.buttonHeight);
    EXPECT_GE(p.x, lastRight);
    EXPECT_LE(p.x + p.width, 527);
    EXPECT_LE(p.y + p.height, at144.captionHeight);
    EXPECT_EQ(HitTestCaptionButton(g, static_cast<float>(p.x) + p.width / 2.0f, p.y + p.height / 2.0f), b);
    lastRight = p.x + p.width;
  }
  EXPECT_GE(527 - lastRight, 1);  // clear of the frame's outline, as at 96
}

// A window keeps being whole pixels of its 96-DPI size across DPI changes, and a
// change there and back gives the size it began with.
TEST(SkinFrameScale, RescaledSizeGoesThroughTheSizeAt96) {
  EXPECT_EQ(RescaledSize(Extent{351, 391}, Scale(96), Scale(144)), (Extent{527, 587}));
  EXPECT_EQ(RescaledSize(Extent{527, 587}, Scale(144), Scale(96)), (Extent{351, 391}));
  EXPECT_EQ(RescaledSize(Extent{527, 587}, Scale(144), Scale(192)), (Extent{702, 782}));
  EXPECT_EQ(RescaledSize(Extent{439, 489}, Scale(120), Scale(144)), (Extent{527, 587}));
  EXPECT_EQ(RescaledSize(Extent{351, 184}, Scale(96), Scale(120)), (Extent{439, 230}));
  EXPECT_EQ(RescaledSize(Extent{0, -5}, Scale(96), Scale(192)), (Extent{0, 0}));
}

}  // namespace
}  // namespace tovel::skin
