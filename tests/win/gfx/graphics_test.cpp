#include <vector>

#include "gfx/font.h"
#include "gfx/path.h"
#include "gfx/pen.h"
#include "gfx_test_support.h"
#include "base/handle.h"

namespace tovel::test {
namespace {

constexpr float kEps = 1e-3f;
constexpr int kNearestNeighbor = 5;
constexpr int kPixelOffsetHalf = 4;

void ExpectPoint(PointF p, float x, float y) {
  EXPECT_NEAR(p.x, x, kEps);
  EXPECT_NEAR(p.y, y, kEps);
}

TEST(Graphics, RotateWorldTransformAtKeepsTheCentreInEitherOrder) {
  Canvas c(4, 4);
  TestMatrix m;
  // Prepend: the turn about (10, 20) happens in world space, before the existing shift.
  ASSERT_TRUE(c.surface.TranslateWorldTransform(5, 0, kPrepend));
  ASSERT_TRUE(c.surface.RotateWorldTransformAt(90, {10, 20}, kPrepend));
  std::vector<PointF> points = {{10, 20}, {11, 20}};
  ASSERT_TRUE(c.surface.TransformPoints(kDeviceSpace, kWorldSpace, points));
  ExpectPoint(points[0], 15, 20);
  ExpectPoint(points[1], 15, 21);
  ASSERT_TRUE(c.surface.GetWorldTransform(m));
  const auto e = m.Elements();
  const float expected[6] = {0, 1, -1, 0, 35, 10};
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(e[i], expected[i], kEps) << i;

  // Append: the turn about (10, 20) happens after the shift, in device space.
  ASSERT_TRUE(c.surface.ResetWorldTransform());
  ASSERT_TRUE(c.surface.TranslateWorldTransform(5, 0, kPrepend));
  ASSERT_TRUE(c.surface.RotateWorldTransformAt(90, {10, 20}, kAppend));
  points = {{10, 20}, {11, 20}};
  ASSERT_TRUE(c.surface.TransformPoints(kDeviceSpace, kWorldSpace, points));
  ExpectPoint(points[0], 10, 25);
  ExpectPoint(points[1], 10, 26);
}

TEST(Graphics, ScaleWorldTransformAtKeepsTheCentre) {
  Canvas c(4, 4);
  ASSERT_TRUE(c.surface.ScaleWorldTransformAt(2, 3, {10, 20}, kPrepend));
  std::vector<Point> points = {{10, 20}, {11, 21}};
  ASSERT_TRUE(c.surface.TransformPointsI(kDeviceSpace, kWorldSpace, points));
  EXPECT_EQ(points[0].x, 10);
  EXPECT_EQ(points[0].y, 20);
  EXPECT_EQ(points[1].x, 12);
  EXPECT_EQ(points[1].y, 23);
  // An empty array is passed as none and changes nothing.
  std::vector<PointF> none;
  c.surface.TransformPoints(kDeviceSpace, kWorldSpace, none);
  EXPECT_TRUE(none.empty());
}

TEST(Graphics, DrawImageStretchedScalesTheWholeImageIntoTheRectangle) {
  Bitmap source;
  ASSERT_TRUE(source.CreateBlank(2, 1));
  source.SetPixel(0, 0, 0xFFFF0000);
  source.SetPixel(1, 0, 0xFF0000FF);
  for (bool integer : {false, true}) {
    Canvas c(40, 40);
    c.surface.Clear(0xFFFFFFFF);
    c.surface.SetInterpolationMode(kNearestNeighbor);
    c.surface.SetPixelOffsetMode(kPixelOffsetHalf);
    ASSERT_TRUE(integer ? c.surface.DrawImageStretchedI(source, 10, 10, 20, 10)
                        : c.surface.DrawImageStretched(source, 10, 10, 20, 10));
    EXPECT_EQ(c.At(12, 15), 0xFFFF0000u) << integer;
    EXPECT_EQ(c.At(27, 15), 0xFF0000FFu) << integer;
    EXPECT_EQ(c.At(27, 11), 0xFF0000FFu) << integer;
    EXPECT_EQ(c.At(5, 5), 0xFFFFFFFFu) << integer;
    EXPECT_EQ(c.At(15, 25), 0xFFFFFFFFu) << integer;
  }
}

TEST(Graphics, DrawImageFormsPlaceTheImage) {
  Bitmap red = Solid(4, 4, 0xFFFF0000);
  Canvas c(20, 20);
  c.surface.Clear(0xFFFFFFFF);
  ASSERT_TRUE(c.surface.DrawImage(red, 2, 2));
  ASSERT_TRUE(c.surface.DrawImageI(red, 10, 2));
  ASSERT_TRUE(c.surface.DrawImagePointRectI(red, 2, 10, 0, 0, 2, 2));
  ASSERT_TRUE(c.surface.DrawImageRectRect(red, 10, 10, 8, 8, 0, 0, 4, 4));
  EXPECT_EQ(c.At(3, 3), 0xFFFF0000u);
  EXPECT_EQ(c.At(11, 3), 0xFFFF0000u);
  EXPECT_EQ(c.At(3, 11), 0xFFFF0000u);
  EXPECT_EQ(c.At(5, 11), 0xFFFFFFFFu);  // only a 2 by 2 part was drawn
  EXPECT_EQ(c.At(16, 16), 0xFFFF0000u);
  EXPECT_EQ(c.At(7, 7), 0xFFFFFFFFu);
}

TEST(Graphics, DrawCachedBitmapTruncatesTowardZero) {
  Bitmap red = Solid(4, 4, 0xFFFF0000);
  Canvas c(10, 10);
  c.surface.Clear(0xFFFFFFFF);
  TestCachedBitmap cached(red, c.surface);
  ASSERT_NE(cached.GetNative(), nullptr);
  ASSERT_TRUE(c.surface.DrawCachedBitmap(cached, 2.9f, -2.9f));
  // Drawn at (2, -2): columns 2..5, rows 0..1.
  EXPECT_EQ(c.At(2, 0), 0xFFFF0000u);
  EXPECT_EQ(c.At(5, 1), 0xFFFF0000u);
  EXPECT_EQ(c.At(1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(c.At(6, 0), 0xFFFFFFFFu);
  EXPECT_EQ(c.At(2, 2), 0xFFFFFFFFu);
}

TEST(Graphics, ClipSetFromAPathLimitsDrawing) {
  Canvas c(20, 20);
  GraphicsPath ellipse;
  ASSERT_TRUE(ellipse.CreatePath());
  ASSERT_TRUE(ellipse.AddPathEllipse(0, 0, 20, 20));
  ASSERT_TRUE(c.surface.SetClipPath(ellipse, 0));
  ASSERT_TRUE(c.surface.Clear(0xFFFF0000));
  EXPECT_EQ(c.At(10, 10), 0xFFFF0000u);
  EXPECT_EQ(c.At(0, 0), 0u);
  EXPECT_EQ(c.At(19, 19), 0u);

  ASSERT_TRUE(c.surface.ResetClip());
  ASSERT_TRUE(c.surface.SetClipRect(0, 0, 5, 5, 0));
  const RectF bounds = c.surface.GetClipBounds();
  EXPECT_FLOAT_EQ(bounds.width, 5);
  ASSERT_TRUE(c.surface.Clear(0xFF00FF00));
  EXPECT_EQ(c.At(2, 2), 0xFF00FF00u);
  EXPECT_EQ(c.At(10, 10), 0xFFFF0000u);
  EXPECT_TRUE(c.surface.IsVisiblePoint(2, 2));
  EXPECT_FALSE(c.surface.IsVisiblePointI(10, 10));
  ASSERT_TRUE(c.surface.ResetClip());
  ASSERT_TRUE(c.surface.Clear(0xFF0000FF));
  EXPECT_EQ(c.At(0, 19), 0xFF0000FFu);
}

TEST(Graphics, LinesRectanglesAndFillsLandWhereAsked) {
  Canvas c(30, 30);
  c.surface.Clear(0xFFFFFFFF);
  Pen pen;
  SolidBrush brush;
  ASSERT_TRUE(pen.CreatePen1(0xFF000000, 1));
  ASSERT_TRUE(brush.CreateSolidFill(0xFF00FF00));
  ASSERT_TRUE(c.surface.FillRectangle(brush, 2, 2, 6, 6));
  ASSERT_TRUE(c.surface.FillRectangleRect(brush, {20, 2, 6, 6}));
  ASSERT_TRUE(c.surface.DrawLine(pen, 0, 15, 29, 15));
  ASSERT_TRUE(c.surface.DrawRectangle(pen, 10, 20, 7, 7));
  ASSERT_TRUE(c.surface.DrawLineI(pen, 28, 0, 28, 10));
  const std::vector<Rect> more = {{2, 20, 3, 3}};
  ASSERT_TRUE(c.surface.FillRectanglesI(brush, more));
  EXPECT_EQ(c.At(4, 4), 0xFF00FF00u);
  EXPECT_EQ(c.At(22, 4), 0xFF00FF00u);
  EXPECT_EQ(c.At(14, 4), 0xFFFFFFFFu);
  EXPECT_EQ(c.At(14, 15), 0xFF000000u);
  EXPECT_EQ(c.At(10, 24), 0xFF000000u);
  EXPECT_EQ(c.At(17, 24), 0xFF000000u);
  EXPECT_EQ(c.At(28, 5), 0xFF000000u);
  EXPECT_EQ(c.At(14, 24), 0xFFFFFFFFu);  // inside the outline
  EXPECT_EQ(c.At(3, 21), 0xFF00FF00u);
}

TEST(Graphics, SettingsReadBackAsSet) {
  Canvas c(4, 4);
  Graphics& g = c.surface;
  EXPECT_TRUE(g.SetSmoothingMode(4));
  EXPECT_EQ(g.GetSmoothingMode(), 4);
  EXPECT_TRUE(g.SetInterpolationMode(5));
  EXPECT_EQ(g.GetInterpolationMode(), 5);
  EXPECT_TRUE(g.SetPixelOffsetMode(4));
  EXPECT_EQ(g.GetPixelOffsetMode(), 4);
  EXPECT_TRUE(g.SetCompositingMode(1));
  EXPECT_EQ(g.GetCompositingMode(), 1);
  EXPECT_TRUE(g.SetCompositingQuality(2));
  EXPECT_EQ(g.GetCompositingQuality(), 2);
  EXPECT_TRUE(g.SetTextRenderingHint(4));
  EXPECT_EQ(g.GetTextRenderingHint(), 4);
  EXPECT_TRUE(g.SetTextContrast(6));
  EXPECT_EQ(g.GetTextContrast(), 6u);
  EXPECT_TRUE(g.SetPageUnit(2));
  EXPECT_EQ(g.GetPageUnit(), 2);
  EXPECT_TRUE(g.SetPageScale(2.5f));
  EXPECT_FLOAT_EQ(g.GetPageScale(), 2.5f);
  EXPECT_TRUE(g.SetRenderingOrigin(3, 4));
  int x = 0, y = 0;
  EXPECT_TRUE(g.GetRenderingOrigin(x, y));
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 4);
  EXPECT_GT(g.GetDpiX(), 0);
  EXPECT_GT(g.GetDpiY(), 0);

  // A saved state comes back.
  const unsigned state = g.Save();
  EXPECT_TRUE(g.SetSmoothingMode(3));
  EXPECT_TRUE(g.Restore(state));
  EXPECT_EQ(g.GetSmoothingMode(), 4);
  const unsigned container = g.BeginContainer2();
  EXPECT_TRUE(g.EndContainer(container));
}

TEST(Graphics, CreateFromDCDrawsIntoTheDeviceContext) {
  BITMAPINFO info = Dib32(8, 8);
  void* bits = nullptr;
  UniqueBitmap dib(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueDc dc(::CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dib && dc);
  HGDIOBJ old = ::SelectObject(dc.get(), dib.get());
  {
    Graphics g;
    ASSERT_TRUE(g.CreateFromDC(dc.get()));
    SolidBrush red;
    red.CreateSolidFill(0xFFFF0000);
    ASSERT_TRUE(g.FillRectangle(red, 0, 0, 4, 8));
    EXPECT_EQ(g.Flush(), 0);
    EXPECT_TRUE(g.Delete());
  }
  ::SelectObject(dc.get(), old);
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  EXPECT_EQ(pixels[8 * 3 + 1] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(pixels[8 * 3 + 6] & 0xFFFFFF, 0u);
}

class TextTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(font_.CreateFontFromName("宋体", 16, 0, 2));
    ASSERT_TRUE(format_.CreateStringFormat());
    ASSERT_TRUE(black_.CreateSolidFill(0xFF000000));
    canvas_.surface.Clear(0xFFFFFFFF);
  }
  int Changed(int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += canvas_.At(x, y) != 0xFFFFFFFFu;
    return n;
  }
  Canvas canvas_{100, 60};
  Font font_;
  StringFormat format_;
  SolidBrush black_;
};

TEST_F(TextTest, CjkTextInSongTiChangesPixelsOnlyInsideItsRectangle) {
  ASSERT_TRUE(canvas_.surface.DrawString("中文", font_, black_, {10, 10, 60, 30}, format_));
  EXPECT_GT(Changed(10, 10, 70, 40), 20);
  EXPECT_EQ(Changed(0, 0, 100, 10) + Changed(0, 40, 100, 60) + Changed(70, 0, 100, 60), 0);

  RectF bounds;
  ASSERT_TRUE(canvas_.surface.MeasureString("中文", font_, {0, 0, 200, 100}, format_, bounds));
  EXPECT_GT(bounds.width, 16);
  EXPECT_GT(bounds.height, 8);
}

TEST_F(TextTest, EmptyAndWideTexts) {
  ASSERT_TRUE(canvas_.surface.DrawString("", font_, black_, {0, 0, 100, 60}, format_));
  EXPECT_EQ(Changed(0, 0, 100, 60), 0);
  // Wide bytes without a terminator are read only up to their end.
  const ByteSet wide = {'W', 0, 'W', 0};
  ASSERT_TRUE(canvas_.surface.DrawStringWide(wide, font_, black_, {0, 0, 100, 60}, format_));
  EXPECT_GT(Changed(0, 0, 100, 60), 0);
}

TEST_F(TextTest, MeasureCharacterRangesGivesOneRegionPerRange) {
  std::vector<Region> regions(1);
  lastStatus = 0;
  EXPECT_FALSE(canvas_.surface.MeasureCharacterRanges("AB", font_, {0, 0, 100, 60}, format_, 0,
                                                       regions));
  EXPECT_EQ(lastStatus, 2);
  EXPECT_EQ(regions.size(), 1u);

  const CharacterRange ranges[] = {{0, 1}, {1, 1}};
  ASSERT_TRUE(format_.SetStringFormatMeasurableCharacterRanges(ranges));
  EXPECT_EQ(format_.GetStringFormatMeasurableCharacterRangeCount(), 2);
  ASSERT_TRUE(canvas_.surface.MeasureCharacterRanges("AB", font_, {0, 0, 100, 60}, format_, 2,
                                                      regions));
  ASSERT_EQ(regions.size(), 2u);
  const RectF a = regions[0].GetRegionBounds(canvas_.surface);
  const RectF b = regions[1].GetRegionBounds(canvas_.surface);
  EXPECT_GT(a.width, 0);
  EXPECT_GT(b.x, a.x);
}

TEST_F(TextTest, DriverStringNeedsAPositionPerCharacter) {
  const PointF one[] = {{10, 30}};
  lastStatus = 0;
  EXPECT_FALSE(canvas_.surface.DrawDriverString("AB", font_, black_, one));
  EXPECT_EQ(lastStatus, 2);
  EXPECT_EQ(Changed(0, 0, 100, 60), 0);
  const PointF two[] = {{10, 30}, {30, 30}};
  EXPECT_TRUE(canvas_.surface.DrawDriverString("AB", font_, black_, two));
  EXPECT_GT(Changed(0, 0, 100, 60), 0);
}

}  // namespace
}  // namespace tovel::test
