// Lines, shapes and fills of Graphics.
#include "gfx/brush.h"
#include "gfx/gdiplus_flat.h"
#include "gfx/graphics.h"
#include "gfx/path.h"
#include "gfx/pen.h"

namespace tovel {
using namespace gdip;

namespace {
gp::GpGraphics* G(const Graphics& g) { return As<gp::GpGraphics>(g); }
gp::GpPen* P(const Pen& p) { return As<gp::GpPen>(p); }
gp::GpBrush* B(const Brush& b) { return As<gp::GpBrush>(b); }
gp::FillMode Fill(int mode) { return static_cast<gp::FillMode>(mode); }
}  // namespace

bool Graphics::DrawLine(const Pen& pen, float x1, float y1, float x2, float y2) {
  return Ok(GdipDrawLine(G(*this), P(pen), x1, y1, x2, y2));
}
bool Graphics::DrawLineI(const Pen& pen, int x1, int y1, int x2, int y2) {
  return Ok(GdipDrawLineI(G(*this), P(pen), x1, y1, x2, y2));
}
bool Graphics::DrawLines(const Pen& pen, std::span<const PointF> points) {
  auto p = Pack(points);
  return Ok(GdipDrawLines(G(*this), P(pen), p.data(), p.count()));
}
bool Graphics::DrawLinesI(const Pen& pen, std::span<const Point> points) {
  auto p = Pack(points);
  return Ok(GdipDrawLinesI(G(*this), P(pen), p.data(), p.count()));
}
bool Graphics::DrawArc(const Pen& pen, float x, float y, float width, float height,
                       float startAngle, float sweepAngle) {
  return Ok(GdipDrawArc(G(*this), P(pen), x, y, width, height, startAngle, sweepAngle));
}
bool Graphics::DrawArcI(const Pen& pen, int x, int y, int width, int height, float startAngle,
                        float sweepAngle) {
  return Ok(GdipDrawArcI(G(*this), P(pen), x, y, width, height, startAngle, sweepAngle));
}
bool Graphics::DrawBezier(const Pen& pen, float x1, float y1, float x2, float y2, float x3,
                          float y3, float x4, float y4) {
  return Ok(GdipDrawBezier(G(*this), P(pen), x1, y1, x2, y2, x3, y3, x4, y4));
}
bool Graphics::DrawBezierI(const Pen& pen, int x1, int y1, int x2, int y2, int x3, int y3,
                           int x4, int y4) {
  return Ok(GdipDrawBezierI(G(*this), P(pen), x1, y1, x2, y2, x3, y3, x4, y4));
}
bool Graphics::DrawBeziers(const Pen& pen, std::span<const PointF> points) {
  auto p = Pack(points);
  return Ok(GdipDrawBeziers(G(*this), P(pen), p.data(), p.count()));
}
bool Graphics::DrawBeziersI(const Pen& pen, std::span<const Point> points) {
  auto p = Pack(points);
  return Ok(GdipDrawBeziersI(G(*this), P(pen), p.data(), p.count()));
}
bool Graphics::DrawRectangle(const Pen& pen, float x, float y, float width, float height) {
  return Ok(GdipDrawRectangle(G(*this), P(pen), x, y, width, height));
}
bool Graphics::DrawRectangleI(const Pen& pen, int x, int y, int width, int height) {
  return Ok(GdipDrawRectangleI(G(*this), P(pen), x, y, width, height));
}
bool Graphics::DrawRectangles(const Pen& pen, std::span<const RectF> rects) {
  auto r = Pack(rects);
  return Ok(GdipDrawRectangles(G(*this), P(pen), r.data(), r.count()));
}
bool Graphics::DrawRectanglesI(const Pen& pen, std::span<const Rect> rects) {
  auto r = Pack(rects);
  return Ok(GdipDrawRectanglesI(G(*this), P(pen), r.data(), r.count()));
}
bool Graphics::DrawEllipse(const Pen& pen, float x, float y, float width, float height) {
  return Ok(GdipDrawEllipse(G(*this), P(pen), x, y, width, height));
}
bool Graphics::DrawEllipseI(const Pen& pen, int x, int y, int width, int height) {
  return Ok(GdipDrawEllipseI(G(*this), P(pen), x, y, width, height));
}
bool Graphics::DrawPie(const Pen& pen, float x, float y, float width, float height,
                       float startAngle, float sweepAngle) {
  return Ok(GdipDrawPie(G(*this), P(pen), x, y, width, height, startAngle, sweepAngle));
}
bool Graphics::DrawPieI(const Pen& pen, int x, int y, int width, int height, float startAngle,
                        float sweepAngle) {
  return Ok(GdipDrawPieI(G(*this), P(pen), x, y, width, height, startAngle, sweepAngle));
}
bool Graphics::DrawPolygon(const Pen& pen, std::span<const PointF> points) {
  auto p = Pack(points);
  return Ok(GdipDrawPolygon(G(*this), P(pen), p.data(), p.count()));
}
bool Graphics::DrawPolygonI(const Pen& pen, std::span<const Point> points) {
  auto p = Pack(points);
  return Ok(GdipDrawPolygonI(G(*this), P(pen), p.data(), p.count()));
}
bool Graphics::DrawPath(const Pen& pen, const GraphicsPath& path) {
  return Ok(GdipDrawPath(G(*this), P(pen), As<gp::GpPath>(path)));
}
bool Graphics::DrawCurve(const Pen& pen, std::span<const PointF> points) {
  auto p = Pack(points);
  return Ok(GdipDrawCurve(G(*this), P(pen), p.data(), p.count()));
}
bool Graphics::DrawCurveI(const Pen& pen, std::span<const Point> points) {
  auto p = Pack(points);
  return Ok(GdipDrawCurveI(G(*this), P(pen), p.data(), p.count()));
}
bool Graphics::DrawCurve2(const Pen& pen, std::span<const PointF> points, float tension) {
  auto p = Pack(points);
  return Ok(GdipDrawCurve2(G(*this), P(pen), p.data(), p.count(), tension));
}
bool Graphics::DrawCurve2I(const Pen& pen, std::span<const Point> points, float tension) {
  auto p = Pack(points);
  return Ok(GdipDrawCurve2I(G(*this), P(pen), p.data(), p.count(), tension));
}
bool Graphics::DrawCurve3(const Pen& pen, std::span<const PointF> points, int offset,
                          int segments, float tension) {
  auto p = Pack(points);
  return Ok(GdipDrawCurve3(G(*this), P(pen), p.data(), p.count(), offset, segments, tension));
}
bool Graphics::DrawCurve3I(const Pen& pen, std::span<const Point> points, int offset,
                           int segments, float tension) {
  auto p = Pack(points);
  return Ok(GdipDrawCurve3I(G(*this), P(pen), p.data(), p.count(), offset, segments, tension));
}
bool Graphics::DrawClosedCurve(const Pen& pen, std::span<const PointF> points) {
  auto p = Pack(points);
  return Ok(GdipDrawClosedCurve(G(*this), P(pen), p.data(), p.count()));
}
bool Graphics::DrawClosedCurveI(const Pen& pen, std::span<const Point> points) {
  auto p = Pack(points);
  return Ok(GdipDrawClosedCurveI(G(*this), P(pen), p.data(), p.count()));
}
bool Graphics::DrawClosedCurve2(const Pen& pen, std::span<const PointF> points, float tension) {
  auto p = Pack(points);
  return Ok(GdipDrawClosedCurve2(G(*this), P(pen), p.data(), p.count(), tension));
}
bool Graphics::DrawClosedCurve2I(const Pen& pen, std::span<const Point> points, float tension) {
  auto p = Pack(points);
  return Ok(GdipDrawClosedCurve2I(G(*this), P(pen), p.data(), p.count(), tension));
}

bool Graphics::Clear(Argb color) { return Ok(GdipGraphicsClear(G(*this), color)); }
bool Graphics::FillRectangle(const Brush& brush, float x, float y, float width, float height) {
  return Ok(GdipFillRectangle(G(*this), B(brush), x, y, width, height));
}
bool Graphics::FillRectangleRect(const Brush& brush, const RectF& rect) {
  return FillRectangle(brush, rect.x, rect.y, rect.width, rect.height);
}
bool Graphics::FillRectangleI(const Brush& brush, int x, int y, int width, int height) {
  return Ok(GdipFillRectangleI(G(*this), B(brush), x, y, width, height));
}
bool Graphics::FillRectangles(const Brush& brush, std::span<const RectF> rects) {
  auto r = Pack(rects);
  return Ok(GdipFillRectangles(G(*this), B(brush), r.data(), r.count()));
}
bool Graphics::FillRectanglesI(const Brush& brush, std::span<const Rect> rects) {
  auto r = Pack(rects);
  return Ok(GdipFillRectanglesI(G(*this), B(brush), r.data(), r.count()));
}
bool Graphics::FillPolygon(const Brush& brush, std::span<const PointF> points, int fillMode) {
  auto p = Pack(points);
  return Ok(GdipFillPolygon(G(*this), B(brush), p.data(), p.count(), Fill(fillMode)));
}
bool Graphics::FillPolygonI(const Brush& brush, std::span<const Point> points, int fillMode) {
  auto p = Pack(points);
  return Ok(GdipFillPolygonI(G(*this), B(brush), p.data(), p.count(), Fill(fillMode)));
}
bool Graphics::FillEllipse(const Brush& brush, float x, float y, float width, float height) {
  return Ok(GdipFillEllipse(G(*this), B(brush), x, y, width, height));
}
bool Graphics::FillEllipseI(const Brush& brush, int x, int y, int width, int height) {
  return Ok(GdipFillEllipseI(G(*this), B(brush), x, y, width, height));
}
bool Graphics::FillPie(const Brush& brush, float x, float y, float width, float height,
                       float startAngle, float sweepAngle) {
  return Ok(GdipFillPie(G(*this), B(brush), x, y, width, height, startAngle, sweepAngle));
}
bool Graphics::FillPieI(const Brush& brush, int x, int y, int width, int height,
                        float startAngle, float sweepAngle) {
  return Ok(GdipFillPieI(G(*this), B(brush), x, y, width, height, startAngle, sweepAngle));
}
bool Graphics::FillPath(const Brush& brush, const GraphicsPath& path) {
  return Ok(GdipFillPath(G(*this), B(brush), As<gp::GpPath>(path)));
}
bool Graphics::FillClosedCurve(const Brush& brush, std::span<const PointF> points) {
  auto p = Pack(points);
  return Ok(GdipFillClosedCurve(G(*this), B(brush), p.data(), p.count()));
}
bool Graphics::FillClosedCurve2(const Brush& brush, std::span<const PointF> points,
                                float tension, int fillMode) {
  auto p = Pack(points);
  return Ok(GdipFillClosedCurve2(G(*this), B(brush), p.data(), p.count(), tension,
                                 Fill(fillMode)));
}
bool Graphics::FillClosedCurveI(const Brush& brush, std::span<const Point> points) {
  auto p = Pack(points);
  return Ok(GdipFillClosedCurveI(G(*this), B(brush), p.data(), p.count()));
}
bool Graphics::FillClosedCurve2I(const Brush& brush, std::span<const Point> points,
                                 float tension, int fillMode) {
  auto p = Pack(points);
  return Ok(GdipFillClosedCurve2I(G(*this), B(brush), p.data(), p.count(), tension,
                                  Fill(fillMode)));
}
bool Graphics::FillRegion(const Brush& brush, const Region& region) {
  return Ok(GdipFillRegion(G(*this), B(brush), As<gp::GpRegion>(region)));
}

}  // namespace tovel
