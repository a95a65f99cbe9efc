#include <vector>

#include "gfx/font.h"
#include "gfx/path.h"
#include "gfx/pen.h"
#include "gfx_test_support.h"
#include "base/handle.h"

namespace tovel::test {
namespace {

std::vector<PointF> Points(const GraphicsPath& path) {
  std::vector<PointF> points;
  EXPECT_TRUE(path.GetPathPoints(points));
  return points;
}

std::vector<PointF> RoundRect(float w, float h, int roundness, bool* ok = nullptr) {
  GraphicsPath path;
  EXPECT_TRUE(path.CreatePath());
  bool added = path.AddPathRoundRect(0, 0, w, h, roundness);
  if (ok) *ok = added;
  return Points(path);
}

void ExpectNear(PointF p, float x, float y) {
  EXPECT_NEAR(p.x, x, 1e-3);
  EXPECT_NEAR(p.y, y, 1e-3);
}

void ExpectSame(const std::vector<PointF>& a, const std::vector<PointF>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) ExpectNear(a[i], b[i].x, b[i].y);
}

TEST(GraphicsPath, RoundRectPlacesFourArcsAtTheCorners) {
  bool ok = false;
  const auto p = RoundRect(100, 50, 10, &ok);
  EXPECT_TRUE(ok);
  // Arcs of 10 by 5 at (90, 0) from 270, (90, 45) from 0, (0, 45) from 90, (0, 0) from 180.
  ASSERT_EQ(p.size(), 16u);
  ExpectNear(p[0], 95, 0);
  ExpectNear(p[3], 100, 2.5f);
  ExpectNear(p[4], 100, 47.5f);
  ExpectNear(p[7], 95, 50);
  ExpectNear(p[8], 5, 50);
  ExpectNear(p[11], 0, 47.5f);
  ExpectNear(p[12], 0, 2.5f);
  ExpectNear(p[15], 5, 0);
}

TEST(GraphicsPath, RoundRectClampsTheRoundness) {
  ExpectSame(RoundRect(200, 100, 0), RoundRect(200, 100, 1));
  ExpectSame(RoundRect(100, 50, 250), RoundRect(100, 50, 100));
  // At 100 the arcs span the whole rectangle: an ellipse.
  const auto full = RoundRect(100, 50, 100);
  ASSERT_FALSE(full.empty());
  ExpectNear(full[0], 50, 0);
  GraphicsPath path;
  path.CreatePath();
  path.AddPathRoundRect(0, 0, 100, 50, 100);
  const RectF bounds = path.GetPathWorldBounds();
  EXPECT_NEAR(bounds.width, 100, 1e-3);
  EXPECT_NEAR(bounds.height, 50, 1e-3);
}

TEST(GraphicsPath, RoundedRectangleFillsAndOutlines) {
  GraphicsPath path;
  ASSERT_TRUE(path.CreatePath());
  ASSERT_TRUE(path.AddPathRoundRect(0, 0, 40, 30, 50));
  SolidBrush green;
  Pen red;
  green.CreateSolidFill(0xFF00FF00);
  red.CreatePen1(0xFFFF0000, 2);
  Canvas c(40, 30);
  ASSERT_TRUE(c.surface.FillPath(green, path));
  EXPECT_EQ(c.At(0, 0), 0u);  // the corner is cut away
  EXPECT_EQ(c.At(39, 29), 0u);
  EXPECT_EQ(c.At(20, 15), 0xFF00FF00u);
  ASSERT_TRUE(c.surface.DrawPath(red, path));
  EXPECT_GT(Red(c.At(20, 0)), 100);
  EXPECT_EQ(c.At(20, 15), 0xFF00FF00u);
  EXPECT_TRUE(path.IsVisiblePathPoint(20, 15));
  EXPECT_FALSE(path.IsVisiblePathPointI(0, 0));
  EXPECT_TRUE(path.IsOutlineVisiblePathPoint(20, 0, red));
}

TEST(GraphicsPath, DefaultsForFillModeAndFlatness) {
  GraphicsPath path;
  ASSERT_TRUE(path.CreatePath());
  EXPECT_EQ(path.GetPathFillMode(), 0);  // alternate
  ASSERT_TRUE(path.CreatePath(1));
  EXPECT_EQ(path.GetPathFillMode(), 1);

  Pen pen;
  pen.CreatePen1(0xFF000000, 4);
  auto widened = [&](std::optional<float> flatness) {
    GraphicsPath circle;
    circle.CreatePath();
    circle.AddPathEllipse(0, 0, 200, 200);
    EXPECT_TRUE(circle.WidenPath(pen, nullptr, flatness));
    return circle.GetPointCount();
  };
  EXPECT_EQ(widened({}), widened(0.25f));
  EXPECT_NE(widened({}), widened(20.0f));

  auto flattened = [&](std::optional<float> flatness) {
    GraphicsPath circle;
    circle.CreatePath();
    circle.AddPathEllipse(0, 0, 200, 200);
    EXPECT_TRUE(circle.FlattenPath(nullptr, flatness));
    return circle.GetPointCount();
  };
  EXPECT_EQ(flattened({}), flattened(0.25f));
  EXPECT_NE(flattened({}), flattened(20.0f));
}

TEST(GraphicsPath, LinesArcsAndRectanglesAddTheirPoints) {
  GraphicsPath path;
  ASSERT_TRUE(path.CreatePath());
  ASSERT_TRUE(path.AddPathLine(0, 0, 10, 5));
  auto p = Points(path);
  ASSERT_EQ(p.size(), 2u);
  ExpectNear(p[1], 10, 5);

  ASSERT_TRUE(path.ResetPath());
  ASSERT_TRUE(path.AddPathArc(0, 0, 20, 10, 0, 90));  // from the right end to the bottom
  p = Points(path);
  ASSERT_EQ(p.size(), 4u);
  ExpectNear(p[0], 20, 5);
  ExpectNear(p[3], 10, 10);

  ASSERT_TRUE(path.ResetPath());
  ASSERT_TRUE(path.AddPathRectangle(1, 2, 3, 4));
  p = Points(path);
  ASSERT_EQ(p.size(), 4u);
  ExpectNear(p[0], 1, 2);
  ExpectNear(p[2], 4, 6);
  EXPECT_TRUE(path.DeletePath());
  EXPECT_FALSE(path.DeletePath());
}

TEST(GraphicsPath, FiguresPointsAndTypes) {
  GraphicsPath path;
  ASSERT_TRUE(path.CreatePath());
  const PointF line[] = {{0, 0}, {10, 0}, {10, 10}};
  ASSERT_TRUE(path.AddPathLine2(line));
  ASSERT_TRUE(path.ClosePathFigure());
  ExpectNear(path.GetPathLastPoint(), 10, 10);
  std::vector<PointF> points;
  ByteSet types;
  ASSERT_TRUE(path.GetPathData(points, types));
  ASSERT_EQ(points.size(), 3u);
  ExpectNear(points[1], 10, 0);
  EXPECT_EQ(types, (ByteSet{0, 1, 0x81}));  // start, line, line closing the figure
  ByteSet typesOnly;
  ASSERT_TRUE(path.GetPathTypes(typesOnly));
  EXPECT_EQ(typesOnly, types);

  GraphicsPath rebuilt;
  ASSERT_TRUE(rebuilt.CreatePath2(points, types));
  EXPECT_EQ(rebuilt.GetPointCount(), 3);
  lastStatus = 0;
  EXPECT_FALSE(rebuilt.CreatePath2(std::span(points).first(2), types));  // too few points
  EXPECT_EQ(lastStatus, 2);

  GraphicsPath copy;
  ASSERT_TRUE(path.ClonePath(copy));
  ASSERT_TRUE(path.ResetPath());
  EXPECT_EQ(path.GetPointCount(), 0);
  EXPECT_EQ(copy.GetPointCount(), 3);

  FontFamily family;
  ASSERT_TRUE(family.CreateFontFamilyFromName("宋体", FontCollection()));
  StringFormat format;
  format.CreateStringFormat();
  ASSERT_TRUE(path.AddPathString("中", family, 20, {0, 0, 100, 100}, 0, format));
  EXPECT_GT(path.GetPointCount(), 8);
}

TEST(Region, CombineRegionRectIntersectsByDefault) {
  Canvas c(4, 4);
  Region region;
  ASSERT_TRUE(region.CreateRegionRect({0, 0, 10, 10}));
  ASSERT_TRUE(region.CombineRegionRect({5, 5, 10, 10}));
  RectF b = region.GetRegionBounds(c.surface);
  EXPECT_FLOAT_EQ(b.x, 5);
  EXPECT_FLOAT_EQ(b.width, 5);
  ASSERT_TRUE(region.CombineRegionRectI({0, 0, 20, 20}, 2));  // union
  b = region.GetRegionBounds(c.surface);
  EXPECT_FLOAT_EQ(b.x, 0);
  EXPECT_FLOAT_EQ(b.width, 20);
}

TEST(Region, TestsDataAndWindowSystemRegions) {
  Canvas c(4, 4);
  Region region;
  ASSERT_TRUE(region.CreateRegion());
  EXPECT_TRUE(region.IsInfiniteRegion(c.surface));
  ASSERT_TRUE(region.SetEmpty());
  EXPECT_TRUE(region.IsEmptyRegion(c.surface));
  ASSERT_TRUE(region.CreateRegionRectI({2, 3, 4, 5}));
  EXPECT_TRUE(region.IsVisibleRegionPoint({3, 4}));
  EXPECT_FALSE(region.IsVisibleRegionPointI({1, 1}));
  EXPECT_TRUE(region.IsVisibleRegionRect({0, 0, 3, 4}));

  UniqueRegion hrgn(region.GetRegionHRgn(c.surface));
  ASSERT_TRUE(hrgn);
  RECT box{};
  ::GetRgnBox(hrgn.get(), &box);
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.bottom, 8);
  Region fromHrgn;
  ASSERT_TRUE(fromHrgn.CreateRegionHrgn(hrgn.get()));
  EXPECT_TRUE(fromHrgn.IsEqualRegion(region, c.surface));

  unsigned filled = 0;
  const ByteSet data = region.GetRegionData(region.GetRegionDataSize(), filled);
  EXPECT_EQ(filled, data.size());
  Region fromData;
  ASSERT_TRUE(fromData.CreateRegionRgnData(data, static_cast<int>(data.size())));
  EXPECT_TRUE(fromData.IsEqualRegion(region, c.surface));
  EXPECT_FALSE(fromData.CreateRegionRgnData(data, static_cast<int>(data.size()) + 1));

  std::vector<Rect> scans;
  TestMatrix identity;
  EXPECT_EQ(region.GetRegionScansCount(&identity), 1u);
  EXPECT_EQ(region.GetRegionScansI(&identity, scans), 1);
  ASSERT_EQ(scans.size(), 1u);
  EXPECT_EQ(scans[0].width, 4);
  ASSERT_TRUE(region.TranslateRegionI(10, 0));
  EXPECT_FLOAT_EQ(region.GetRegionBounds(c.surface).x, 12);
  Region copy;
  ASSERT_TRUE(region.CloneRegion(copy));
  EXPECT_TRUE(copy.IsEqualRegion(region, c.surface));
}

}  // namespace
}  // namespace tovel::test
