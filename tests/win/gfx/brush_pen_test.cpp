#include <functional>
#include <vector>

#include "gfx/path.h"
#include "gfx/pen.h"
#include "gfx_test_support.h"

namespace tovel::test {
namespace {

constexpr Argb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

// Fills a 10 by 100 canvas with the brush and returns the colours at three heights.
std::array<Argb, 3> FillColumn(const Brush& brush) {
  Canvas c(10, 100);
  EXPECT_TRUE(c.surface.FillRectangle(brush, 0, 0, 10, 100));
  return {c.At(5, 2), c.At(5, 50), c.At(5, 97)};
}

TEST(LinearGradientBrush, FillsFromStartToEndColour) {
  LinearGradientBrush brush;
  ASSERT_TRUE(brush.CreateLineBrush({0, 0}, {0, 100}, kRed, kBlue));
  EXPECT_EQ(brush.GetBrushType(), 4);  // BrushTypeLinearGradient
  auto column = FillColumn(brush);
  EXPECT_GT(Red(column[0]), 230);
  EXPECT_GT(Blue(column[2]), 230);
  EXPECT_NEAR(Red(column[1]), 128, 30);
  EXPECT_NEAR(Blue(column[1]), 128, 30);

  // A linear blend peaking in the middle brings the start colour back at the end.
  ASSERT_TRUE(brush.SetLineLinearBlend(0.5f, 1.0f));
  column = FillColumn(brush);
  EXPECT_GT(Red(column[2]), 200);
  EXPECT_GT(Blue(column[1]), 200);

  Argb start = 0, end = 0;
  ASSERT_TRUE(brush.GetLineColors(start, end));
  EXPECT_EQ(start, kRed);
  EXPECT_EQ(end, kBlue);
  const RectF rect = brush.GetLineRect();
  EXPECT_FLOAT_EQ(rect.height, 100);
}

TEST(LinearGradientBrush, PresetBlendPassesEveryColour) {
  LinearGradientBrush brush;
  ASSERT_TRUE(brush.CreateLineBrushI({0, 0}, {0, 100}, kRed, kBlue));
  const Argb colors[] = {kRed, kGreen, kBlue};
  const float positions[] = {0, 0.5f, 1};
  ASSERT_TRUE(brush.SetLinePresetBlend(colors, positions));
  EXPECT_EQ(brush.GetLinePresetBlendCount(), 3);
  std::vector<Argb> gotColors;
  std::vector<float> gotPositions;
  ASSERT_TRUE(brush.GetLinePresetBlend(gotColors, gotPositions));
  EXPECT_EQ(gotColors, (std::vector<Argb>{kRed, kGreen, kBlue}));
  EXPECT_EQ(gotPositions, (std::vector<float>{0, 0.5f, 1}));
  EXPECT_GT(Green(FillColumn(brush)[1]), 200);

  const float two[] = {0, 1};
  lastStatus = 0;
  EXPECT_FALSE(brush.SetLinePresetBlend(colors, two));
  EXPECT_EQ(lastStatus, 2);

  const float factors[] = {0, 1, 0};
  ASSERT_TRUE(brush.SetLineBlend(factors, positions));
  std::vector<float> gotFactors;
  ASSERT_TRUE(brush.GetLineBlend(gotFactors, gotPositions));
  EXPECT_EQ(gotFactors, (std::vector<float>{0, 1, 0}));
}

TEST(LinearGradientBrush, RectangleFormsAndSettings) {
  LinearGradientBrush brush;
  ASSERT_TRUE(brush.CreateLineBrushFromRect({0, 0, 10, 100}, kRed, kBlue, 1));  // vertical
  EXPECT_GT(Blue(FillColumn(brush)[2]), 230);
  ASSERT_TRUE(brush.CreateLineBrushFromRectWithAngleI({0, 0, 10, 100}, kRed, kBlue, 90, false));
  const auto column = FillColumn(brush);
  EXPECT_GT(Red(column[0]), Blue(column[0]));
  EXPECT_GT(Blue(column[2]), Red(column[2]));
  EXPECT_EQ(brush.GetLineWrapMode(), 0);
  EXPECT_TRUE(brush.SetLineWrapMode(1));
  EXPECT_EQ(brush.GetLineWrapMode(), 1);
  EXPECT_TRUE(brush.SetLineGammaCorrection(true));
  EXPECT_TRUE(brush.GetLineGammaCorrection());
}

// The three calls of a TransformAt method are checked through the transform they
// leave. After a shift of (5, 0), turning 90 degrees about (10, 20) takes (11, 20) to
// (15, 21) when prepended (the turn happens first) and to (10, 26) when appended;
// scaling by (2, 3) about (10, 20) takes (11, 21) to (17, 23) or (22, 23).
struct TransformForms {
  std::function<bool()> reset;
  std::function<bool(float, float, int)> translate;
  std::function<bool(int)> aboutCentre;  // the At form under test, with the given order
  std::function<bool(const GraphicsObject&)> get;
};

void ExpectAboutCentre(const TransformForms& f, PointF from, PointF prepended, PointF appended) {
  for (int order : {kPrepend, kAppend}) {
    ASSERT_TRUE(f.reset()) << lastStatus;
    ASSERT_TRUE(f.translate(5, 0, kPrepend)) << lastStatus;
    ASSERT_TRUE(f.aboutCentre(order)) << lastStatus;
    TestMatrix m;
    ASSERT_TRUE(f.get(m)) << lastStatus;
    const PointF to = m.Apply(from);
    const PointF want = order == kPrepend ? prepended : appended;
    EXPECT_NEAR(to.x, want.x, 1e-3) << order;
    EXPECT_NEAR(to.y, want.y, 1e-3) << order;
  }
}

TEST(Brushes, TransformAtFormsTranslateOperateAndTranslateBack) {
  LinearGradientBrush line;
  ASSERT_TRUE(line.CreateLineBrush({0, 0}, {0, 100}, kRed, kBlue));
  ExpectAboutCentre(
      {[&] { return line.ResetLineTransform(); },
       [&](float x, float y, int o) { return line.TranslateLineTransform(x, y, o); },
       [&](int o) { return line.ScaleLineTransformAt(2, 3, {10, 20}, o); },
       [&](const GraphicsObject& m) { return line.GetLineTransform(m); }},
      {11, 21}, {17, 23}, {22, 23});

  PathGradientBrush path;
  const PointF triangle[] = {{0, 0}, {40, 0}, {20, 40}};
  ASSERT_TRUE(path.CreatePathGradient(triangle));
  TransformForms pathForms{
      [&] { return path.ResetPathGradientTransform(); },
      [&](float x, float y, int o) { return path.TranslatePathGradientTransform(x, y, o); },
      [&](int o) { return path.RotatePathGradientTransformAt(90, {10, 20}, o); },
      [&](const GraphicsObject& m) { return path.GetPathGradientTransform(m); }};
  ExpectAboutCentre(pathForms, {11, 20}, {15, 21}, {10, 26});
  pathForms.aboutCentre = [&](int o) { return path.ScalePathGradientTransformAt(2, 3, {10, 20}, o); };
  ExpectAboutCentre(pathForms, {11, 21}, {17, 23}, {22, 23});

  Pen pen;
  ASSERT_TRUE(pen.CreatePen1(kRed, 2));
  TransformForms penForms{
      [&] { return pen.ResetPenTransform(); },
      [&](float x, float y, int o) { return pen.TranslatePenTransform(x, y, o); },
      [&](int o) { return pen.RotatePenTransformAt(90, {10, 20}, o); },
      [&](const GraphicsObject& m) { return pen.GetPenTransform(m); }};
  ExpectAboutCentre(penForms, {11, 20}, {15, 21}, {10, 26});
  penForms.aboutCentre = [&](int o) { return pen.ScalePenTransformAt(2, 3, {10, 20}, o); };
  ExpectAboutCentre(penForms, {11, 21}, {17, 23}, {22, 23});
}

TEST(PathGradientBrush, FillFromAPathRunsFromCentreToEdge) {
  GraphicsPath ellipse;
  ASSERT_TRUE(ellipse.CreatePath());
  ASSERT_TRUE(ellipse.AddPathEllipse(0, 0, 40, 40));
  PathGradientBrush brush;
  ASSERT_TRUE(brush.CreatePathGradientFromPath(ellipse));
  EXPECT_EQ(brush.GetBrushType(), 3);  // BrushTypePathGradient
  ASSERT_TRUE(brush.SetPathGradientCenterColor(0xFFFFFFFF));
  const Argb black[] = {0xFF000000};
  ASSERT_TRUE(brush.SetPathGradientSurroundColorsWithCount(black));
  EXPECT_EQ(brush.GetPathGradientCenterColor(), 0xFFFFFFFFu);

  Canvas c(40, 40);
  ASSERT_TRUE(c.surface.FillPath(brush, ellipse));
  EXPECT_GT(Red(c.At(20, 20)), 200);
  EXPECT_LT(Red(c.At(20, 2)), 100);
  EXPECT_EQ(c.At(0, 0), 0u);
}

TEST(PathGradientBrush, SurroundColourCountsAndDefaults) {
  const PointF square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  PathGradientBrush brush;
  ASSERT_TRUE(brush.CreatePathGradient(square));
  EXPECT_EQ(brush.GetPathGradientWrapMode(), 4);  // clamp
  EXPECT_EQ(brush.GetPathGradientPointCount(), 4);

  const Argb colors[] = {kRed, kGreen, kBlue};
  int count = 2;
  ASSERT_TRUE(brush.SetPathGradientSurroundColorsWithCount(colors, &count));
  EXPECT_EQ(count, 2);
  std::vector<Argb> got;
  int wanted = 4;  // room for one colour per point
  ASSERT_TRUE(brush.GetPathGradientSurroundColorsWithCount(got, wanted)) << lastStatus;
  ASSERT_GE(got.size(), 2u);
  EXPECT_EQ(got[0], kRed);
  EXPECT_EQ(got[1], kGreen);
  count = 4;  // more than the array holds
  lastStatus = 0;
  EXPECT_FALSE(brush.SetPathGradientSurroundColorsWithCount(colors, &count));
  EXPECT_EQ(lastStatus, 2);

  ASSERT_TRUE(brush.SetPathGradientCenterPoint({3, 4}));
  const PointF centre = brush.GetPathGradientCenterPoint();
  EXPECT_FLOAT_EQ(centre.x, 3);
  EXPECT_FLOAT_EQ(centre.y, 4);
  ASSERT_TRUE(brush.SetPathGradientFocusScales(0.5f, 0.25f));
  float fx = 0, fy = 0;
  ASSERT_TRUE(brush.GetPathGradientFocusScales(fx, fy));
  EXPECT_FLOAT_EQ(fx, 0.5f);
  EXPECT_FLOAT_EQ(fy, 0.25f);
  EXPECT_FLOAT_EQ(brush.GetPathGradientRect().width, 10);

  PathGradientBrush tiled;
  const Point triangle[] = {{0, 0}, {10, 0}, {5, 10}};
  ASSERT_TRUE(tiled.CreatePathGradientI(triangle, 0));
  EXPECT_EQ(tiled.GetPathGradientWrapMode(), 0);
}

TEST(SolidBrush, ColourAndClone) {
  SolidBrush brush;
  ASSERT_TRUE(brush.CreateSolidFill(kRed));
  EXPECT_EQ(brush.GetBrushType(), 0);
  ASSERT_TRUE(brush.SetSolidFillColor(kGreen));
  EXPECT_EQ(brush.GetSolidFillColor(), kGreen);
  SolidBrush copy;
  ASSERT_TRUE(brush.CloneBrush(copy));
  EXPECT_NE(copy.GetNative(), brush.GetNative());
  EXPECT_EQ(copy.GetSolidFillColor(), kGreen);
}

TEST(Pen, CreatePen1DefaultsToWorldUnits) {
  Pen pen;
  ASSERT_TRUE(pen.CreatePen1(0xFF000000, 1));
  EXPECT_EQ(pen.GetPenUnit(), 0);
  EXPECT_FLOAT_EQ(pen.GetPenWidth(), 1);
  EXPECT_EQ(pen.GetPenColor(), 0xFF000000u);
  ASSERT_TRUE(pen.CreatePen1(kRed, 3, 2));
  EXPECT_EQ(pen.GetPenUnit(), 2);
  EXPECT_FLOAT_EQ(pen.GetPenWidth(), 3);

  SolidBrush green;
  green.CreateSolidFill(kGreen);
  Pen brushPen;
  ASSERT_TRUE(brushPen.CreatePen2(green, 2));
  EXPECT_EQ(brushPen.GetPenUnit(), 0);
  SolidBrush fill;
  ASSERT_TRUE(brushPen.GetPenBrushFill(fill));
  EXPECT_EQ(fill.GetSolidFillColor(), kGreen);
}

TEST(Pen, SettingsReadBackAsSet) {
  Pen pen;
  ASSERT_TRUE(pen.CreatePen1(kRed, 1));
  EXPECT_TRUE(pen.SetPenWidth(4));
  EXPECT_FLOAT_EQ(pen.GetPenWidth(), 4);
  EXPECT_TRUE(pen.SetPenStartCap(2));
  EXPECT_EQ(pen.GetPenStartCap(), 2);
  EXPECT_TRUE(pen.SetPenEndCap(3));
  EXPECT_EQ(pen.GetPenEndCap(), 3);
  EXPECT_TRUE(pen.SetPenLineCap197819(1, 2, 2));
  EXPECT_EQ(pen.GetPenStartCap(), 1);
  EXPECT_EQ(pen.GetPenEndCap(), 2);
  EXPECT_EQ(pen.GetPenDashCap197819(), 2);
  EXPECT_TRUE(pen.SetPenLineJoin(2));
  EXPECT_EQ(pen.GetPenLineJoin(), 2);
  EXPECT_TRUE(pen.SetPenMiterLimit(7));
  EXPECT_FLOAT_EQ(pen.GetPenMiterLimit(), 7);
  EXPECT_TRUE(pen.SetPenMode(1));
  EXPECT_EQ(pen.GetPenMode(), 1);
  EXPECT_TRUE(pen.SetPenColor(kBlue));
  EXPECT_EQ(pen.GetPenColor(), kBlue);
  EXPECT_TRUE(pen.SetPenDashStyle(1));
  EXPECT_EQ(pen.GetPenDashStyle(), 1);
  EXPECT_TRUE(pen.SetPenDashOffset(1.5f));
  EXPECT_FLOAT_EQ(pen.GetPenDashOffset(), 1.5f);
  const float dashes[] = {2, 1, 3, 1};
  EXPECT_TRUE(pen.SetPenDashArray(dashes));
  std::vector<float> got;
  EXPECT_TRUE(pen.GetPenDashArray(got));
  EXPECT_EQ(got, (std::vector<float>{2, 1, 3, 1}));
  const float compounds[] = {0, 0.25f, 0.75f, 1};
  EXPECT_TRUE(pen.SetPenCompoundArray(compounds));
  EXPECT_TRUE(pen.GetPenCompoundArray(got));
  EXPECT_EQ(got, (std::vector<float>{0, 0.25f, 0.75f, 1}));
  Pen copy;
  ASSERT_TRUE(pen.ClonePen(copy));
  EXPECT_EQ(copy.GetPenColor(), kBlue);
  EXPECT_TRUE(pen.DeletePen());
  EXPECT_FALSE(pen.DeletePen());
}

}  // namespace
}  // namespace tovel::test
