#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <vector>

#include "gfx/graphics_object.h"

namespace tovel {

class Graphics;
class Pen;
class FontFamily;
class StringFormat;

// An outline of figures. Fill modes are the platform's (0 = alternate); matrices
// are any GraphicsObject holding one and may be null where the platform allows.
class GraphicsPath : public GraphicsObject {
 public:
  GraphicsPath() = default;
  GraphicsPath(GraphicsPath&&) noexcept = default;
  GraphicsPath& operator=(GraphicsPath&&) noexcept = default;
  ~GraphicsPath() override { Destroy(); }

  bool DeletePath();
  bool CreatePath(std::optional<int> fillMode = {});
  // One type per point; the points beyond the types are not used.
  bool CreatePath2(std::span<const PointF> points, const ByteSet& types,
                   std::optional<int> fillMode = {});
  bool CreatePath2I(std::span<const Point> points, const ByteSet& types,
                    std::optional<int> fillMode = {});
  bool ClonePath(GraphicsPath& target) const;
  bool ResetPath();
  int GetPathFillMode() const;
  bool SetPathFillMode(int fillMode);
  bool GetPathData(std::vector<PointF>& points, ByteSet& types) const;
  bool GetPathTypes(ByteSet& types) const;
  bool GetPathPoints(std::vector<PointF>& points) const;
  bool GetPathPointsI(std::vector<Point>& points) const;
  bool StartPathFigure();
  bool ClosePathFigure();
  bool ClosePathFigures();
  bool SetPathMarker();
  bool ClearPathMarkers();
  bool ReversePath();
  PointF GetPathLastPoint() const;
  bool AddPathLine(float x1, float y1, float x2, float y2);
  bool AddPathLineI(int x1, int y1, int x2, int y2);
  bool AddPathLine2(std::span<const PointF> points);
  bool AddPathLine2I(std::span<const Point> points);
  bool AddPathArc(float x, float y, float width, float height, float startAngle,
                  float sweepAngle);
  bool AddPathArcI(int x, int y, int width, int height, float startAngle, float sweepAngle);
  bool AddPathBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                     float y4);
  bool AddPathBezierI(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  bool AddPathBeziers(std::span<const PointF> points);
  bool AddPathBeziersI(std::span<const Point> points);
  bool AddPathCurve(std::span<const PointF> points);
  bool AddPathCurve2(std::span<const PointF> points, float tension);
  bool AddPathCurve3(std::span<const PointF> points, int offset, int segments, float tension);
  bool AddPathCurveI(std::span<const Point> points);
  bool AddPathCurve2I(std::span<const Point> points, float tension);
  bool AddPathCurve3I(std::span<const Point> points, int offset, int segments, float tension);
  bool AddPathClosedCurve(std::span<const PointF> points);
  bool AddPathClosedCurve2(std::span<const PointF> points, float tension);
  bool AddPathClosedCurveI(std::span<const Point> points);
  bool AddPathClosedCurve2I(std::span<const Point> points, float tension);
  bool AddPathRectangle(float x, float y, float width, float height);
  // A closed figure of four quarter arcs, each roundness percent (1..100) of the size.
  bool AddPathRoundRect(float x, float y, float width, float height, int roundness);
  bool AddPathRectangles(std::span<const RectF> rects);
  bool AddPathRectangleI(int x, int y, int width, int height);
  bool AddPathRectanglesI(std::span<const Rect> rects);
  bool AddPathEllipse(float x, float y, float width, float height);
  bool AddPathEllipseI(int x, int y, int width, int height);
  bool AddPathPie(float x, float y, float width, float height, float startAngle,
                  float sweepAngle);
  bool AddPathPieI(int x, int y, int width, int height, float startAngle, float sweepAngle);
  bool AddPathPolygon(std::span<const PointF> points);
  bool AddPathPolygonI(std::span<const Point> points);
  bool AddPathPath(const GraphicsPath& path, bool connect);
  bool AddPathString(const Text& text, const FontFamily& family, int emSize, const RectF& layout,
                     int style, const StringFormat& format);
  bool AddPathStringWide(const ByteSet& text, const FontFamily& family, int emSize,
                         const RectF& layout, int style, const StringFormat& format);
  bool AddPathStringI(const Text& text, const FontFamily& family, int emSize, const Rect& layout,
                      int style, const StringFormat& format);
  bool AddPathStringIWide(const ByteSet& text, const FontFamily& family, int emSize,
                          const Rect& layout, int style, const StringFormat& format);
  bool TransformPath(const GraphicsObject* matrix);
  RectF GetPathWorldBounds(const GraphicsObject* matrix = nullptr,
                           const Pen* pen = nullptr) const;
  Rect GetPathWorldBoundsI(const GraphicsObject* matrix = nullptr,
                           const Pen* pen = nullptr) const;
  // Flatness 0.25 when omitted.
  bool FlattenPath(const GraphicsObject* matrix = nullptr, std::optional<float> flatness = {});
  bool WidenPath(const Pen& pen, const GraphicsObject* matrix = nullptr,
                 std::optional<float> flatness = {});
  bool WindingModeOutline(const GraphicsObject* matrix = nullptr,
                          std::optional<float> flatness = {});
  // Warp mode 0 (perspective) and flatness 0.25 when omitted.
  bool WarpPath(std::span<const PointF> destPoints, const RectF& src,
                const GraphicsObject* matrix = nullptr, std::optional<int> warpMode = {},
                std::optional<float> flatness = {});
  int GetPointCount() const;
  bool IsVisiblePathPoint(float x, float y, const Graphics* surface = nullptr) const;
  bool IsVisiblePathPointI(int x, int y, const Graphics* surface = nullptr) const;
  bool IsOutlineVisiblePathPoint(float x, float y, const Pen& pen,
                                 const Graphics* surface = nullptr) const;
  bool IsOutlineVisiblePathPointI(int x, int y, const Pen& pen,
                                  const Graphics* surface = nullptr) const;

 protected:
  void ReleaseNative(void* h) override;
};

// An area. Combine modes are the platform's; 1 (intersect) when omitted.
class Region : public GraphicsObject {
 public:
  Region() = default;
  Region(Region&&) noexcept = default;
  Region& operator=(Region&&) noexcept = default;
  ~Region() override { Destroy(); }

  bool DeleteRegion();
  // An infinite region.
  bool CreateRegion();
  bool CreateRegionRect(const RectF& rect);
  bool CreateRegionRectI(const Rect& rect);
  bool CreateRegionPath(const GraphicsPath& path);
  bool CreateRegionHrgn(HRGN region);
  // At most the data's own length is read.
  bool CreateRegionRgnData(const ByteSet& data, int size);
  bool CloneRegion(Region& target) const;
  bool SetInfinite();
  bool SetEmpty();
  bool CombineRegionRect(const RectF& rect, std::optional<int> combineMode = {});
  bool CombineRegionRectI(const Rect& rect, std::optional<int> combineMode = {});
  bool CombineRegionRegion(const Region& region, std::optional<int> combineMode = {});
  bool CombineRegionPath(const GraphicsPath& path, std::optional<int> combineMode = {});
  bool TranslateRegion(float dx, float dy);
  bool TranslateRegionI(int dx, int dy);
  bool TransformRegion(const GraphicsObject& matrix);
  RectF GetRegionBounds(const Graphics& surface) const;
  Rect GetRegionBoundsI(const Graphics& surface) const;
  unsigned GetRegionDataSize() const;
  // Up to bufferSize bytes of region data; filled receives how many the platform wrote.
  ByteSet GetRegionData(unsigned bufferSize, unsigned& filled) const;
  // A new window-system region that the caller deletes.
  HRGN GetRegionHRgn(const Graphics& surface) const;
  bool IsEmptyRegion(const Graphics& surface) const;
  bool IsInfiniteRegion(const Graphics& surface) const;
  bool IsEqualRegion(const Region& other, const Graphics& surface) const;
  bool IsVisibleRegionPoint(const PointF& point, const Graphics* surface = nullptr) const;
  bool IsVisibleRegionPointI(const Point& point, const Graphics* surface = nullptr) const;
  bool IsVisibleRegionRect(const RectF& rect, const Graphics* surface = nullptr) const;
  bool IsVisibleRegionRectI(const Rect& rect, const Graphics* surface = nullptr) const;
  unsigned GetRegionScansCount(const GraphicsObject* matrix) const;
  // Replaces rects by the scan rectangles; returns their number (0 on failure).
  int GetRegionScans(const GraphicsObject* matrix, std::vector<RectF>& rects) const;
  int GetRegionScansI(const GraphicsObject* matrix, std::vector<Rect>& rects) const;

 protected:
  void ReleaseNative(void* h) override;
};

}  // namespace tovel
