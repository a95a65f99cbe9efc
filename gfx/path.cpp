#include "gfx/path.h"

#include <algorithm>

#include "gfx/font.h"
#include "gfx/gdiplus_flat.h"
#include "gfx/graphics.h"
#include "gfx/pen.h"

namespace tovel {
using namespace gdip;

namespace {
gp::GpPath* Pa(const GraphicsPath& p) { return As<gp::GpPath>(p); }
gp::FillMode Fill(std::optional<int> mode) { return static_cast<gp::FillMode>(mode.value_or(0)); }
constexpr float kFlatness = 0.25f;

template <class Record, class Fn>
bool Create2(GraphicsPath& path, Fn create, std::span<const Record> points, const ByteSet& types,
             std::optional<int> fillMode) {
  // The platform reads one point per type.
  if (points.size() < types.size()) return Ok(kInvalidParameter);
  auto p = Pack(points);
  gp::GpPath* h = nullptr;
  bool ok = Ok(create(p.data(), types.empty() ? nullptr : types.data(),
                      static_cast<INT>(types.size()), Fill(fillMode), &h));
  path.SetNative(h);
  return ok;
}

template <class Record, class Fn>
bool ReadPoints(const GraphicsPath& path, Fn get, std::vector<Record>& out) {
  INT n = Read<INT>(GdipGetPointCount, Pa(path));
  if (lastStatus != 0) return false;
  using Element = typename Packed<Record>::Element;
  std::vector<Element> points(static_cast<size_t>(n));
  if (n > 0 && !Ok(get(Pa(path), points.data(), n))) return false;
  out.clear();
  for (const Element& e : points) out.push_back(Unpack(e));
  return true;
}
}  // namespace

void GraphicsPath::ReleaseNative(void* h) { GdipDeletePath(static_cast<gp::GpPath*>(h)); }

bool GraphicsPath::DeletePath() {
  if (!GetNative()) return false;
  Status s = GdipDeletePath(Pa(*this));
  ForgetNative();
  return Ok(s);
}

bool GraphicsPath::CreatePath(std::optional<int> fillMode) {
  gp::GpPath* h = nullptr;
  bool ok = Ok(GdipCreatePath(Fill(fillMode), &h));
  SetNative(h);
  return ok;
}
bool GraphicsPath::CreatePath2(std::span<const PointF> points, const ByteSet& types,
                               std::optional<int> fillMode) {
  return Create2(*this, GdipCreatePath2, points, types, fillMode);
}
bool GraphicsPath::CreatePath2I(std::span<const Point> points, const ByteSet& types,
                                std::optional<int> fillMode) {
  return Create2(*this, GdipCreatePath2I, points, types, fillMode);
}
bool GraphicsPath::ClonePath(GraphicsPath& target) const {
  gp::GpPath* clone = nullptr;
  if (!Ok(GdipClonePath(Pa(*this), &clone))) return false;
  target.SetNative(clone);
  return true;
}
bool GraphicsPath::ResetPath() { return Ok(GdipResetPath(Pa(*this))); }
int GraphicsPath::GetPathFillMode() const {
  return Read<gp::FillMode>(GdipGetPathFillMode, Pa(*this));
}
bool GraphicsPath::SetPathFillMode(int fillMode) {
  return Ok(GdipSetPathFillMode(Pa(*this), static_cast<gp::FillMode>(fillMode)));
}

bool GraphicsPath::GetPathData(std::vector<PointF>& points, ByteSet& types) const {
  INT n = Read<INT>(GdipGetPointCount, Pa(*this));
  if (lastStatus != 0) return false;
  std::vector<gp::PointF> packed(static_cast<size_t>(n));
  ByteSet kinds(static_cast<size_t>(n));
  // The platform fills a block that points at our arrays.
  struct {
    INT Count;
    gp::PointF* Points;
    BYTE* Types;
  } data{n, packed.data(), kinds.data()};
  static_assert(sizeof(data) == sizeof(gp::PathData));
  if (n > 0 && !Ok(GdipGetPathData(Pa(*this), reinterpret_cast<gp::GpPathData*>(&data))))
    return false;
  points.clear();
  for (const gp::PointF& p : packed) points.push_back(Unpack(p));
  types = std::move(kinds);
  return true;
}

bool GraphicsPath::GetPathTypes(ByteSet& types) const {
  INT n = Read<INT>(GdipGetPointCount, Pa(*this));
  if (lastStatus != 0) return false;
  ByteSet kinds(static_cast<size_t>(n));
  if (n > 0 && !Ok(GdipGetPathTypes(Pa(*this), kinds.data(), n))) return false;
  types = std::move(kinds);
  return true;
}
bool GraphicsPath::GetPathPoints(std::vector<PointF>& points) const {
  return ReadPoints(*this, GdipGetPathPoints, points);
}
bool GraphicsPath::GetPathPointsI(std::vector<Point>& points) const {
  return ReadPoints(*this, GdipGetPathPointsI, points);
}
bool GraphicsPath::StartPathFigure() { return Ok(GdipStartPathFigure(Pa(*this))); }
bool GraphicsPath::ClosePathFigure() { return Ok(GdipClosePathFigure(Pa(*this))); }
bool GraphicsPath::ClosePathFigures() { return Ok(GdipClosePathFigures(Pa(*this))); }
bool GraphicsPath::SetPathMarker() { return Ok(GdipSetPathMarker(Pa(*this))); }
bool GraphicsPath::ClearPathMarkers() { return Ok(GdipClearPathMarkers(Pa(*this))); }
bool GraphicsPath::ReversePath() { return Ok(GdipReversePath(Pa(*this))); }
PointF GraphicsPath::GetPathLastPoint() const {
  return Unpack(Read<gp::PointF>(GdipGetPathLastPoint, Pa(*this)));
}

bool GraphicsPath::AddPathLine(float x1, float y1, float x2, float y2) {
  return Ok(GdipAddPathLine(Pa(*this), x1, y1, x2, y2));
}
bool GraphicsPath::AddPathLineI(int x1, int y1, int x2, int y2) {
  return Ok(GdipAddPathLineI(Pa(*this), x1, y1, x2, y2));
}
bool GraphicsPath::AddPathLine2(std::span<const PointF> points) {
  auto p = Pack(points);
  return Ok(GdipAddPathLine2(Pa(*this), p.data(), p.count()));
}
bool GraphicsPath::AddPathLine2I(std::span<const Point> points) {
  auto p = Pack(points);
  return Ok(GdipAddPathLine2I(Pa(*this), p.data(), p.count()));
}
bool GraphicsPath::AddPathArc(float x, float y, float width, float height, float startAngle,
                              float sweepAngle) {
  return Ok(GdipAddPathArc(Pa(*this), x, y, width, height, startAngle, sweepAngle));
}
bool GraphicsPath::AddPathArcI(int x, int y, int width, int height, float startAngle,
                               float sweepAngle) {
  return Ok(GdipAddPathArcI(Pa(*this), x, y, width, height, startAngle, sweepAngle));
}
bool GraphicsPath::AddPathBezier(float x1, float y1, float x2, float y2, float x3, float y3,
                                 float x4, float y4) {
  return Ok(GdipAddPathBezier(Pa(*this), x1, y1, x2, y2, x3, y3, x4, y4));
}
bool GraphicsPath::AddPathBezierI(int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                                  int y4) {
  return Ok(GdipAddPathBezierI(Pa(*this), x1, y1, x2, y2, x3, y3, x4, y4));
}
bool GraphicsPath::AddPathBeziers(std::span<const PointF> points) {
  auto p = Pack(points);
  return Ok(GdipAddPathBeziers(Pa(*this), p.data(), p.count()));
}
bool GraphicsPath::AddPathBeziersI(std::span<const Point> points) {
  auto p = Pack(points);
  return Ok(GdipAddPathBeziersI(Pa(*this), p.data(), p.count()));
}
bool GraphicsPath::AddPathCurve(std::span<const PointF> points) {
  auto p = Pack(points);
  return Ok(GdipAddPathCurve(Pa(*this), p.data(), p.count()));
}
bool GraphicsPath::AddPathCurve2(std::span<const PointF> points, float tension) {
  auto p = Pack(points);
  return Ok(GdipAddPathCurve2(Pa(*this), p.data(), p.count(), tension));
}
bool GraphicsPath::AddPathCurve3(std::span<const PointF> points, int offset, int segments,
                                 float tension) {
  auto p = Pack(points);
  return Ok(GdipAddPathCurve3(Pa(*this), p.data(), p.count(), offset, segments, tension));
}
bool GraphicsPath::AddPathCurveI(std::span<const Point> points) {
  auto p = Pack(points);
  return Ok(GdipAddPathCurveI(Pa(*this), p.data(), p.count()));
}
bool GraphicsPath::AddPathCurve2I(std::span<const Point> points, float tension) {
  auto p = Pack(points);
  return Ok(GdipAddPathCurve2I(Pa(*this), p.data(), p.count(), tension));
}
bool GraphicsPath::AddPathCurve3I(std::span<const Point> points, int offset, int segments,
                                  float tension) {
  auto p = Pack(points);
  return Ok(GdipAddPathCurve3I(Pa(*this), p.data(), p.count(), offset, segments, tension));
}
bool GraphicsPath::AddPathClosedCurve(std::span<const PointF> points) {
  auto p = Pack(points);
  return Ok(GdipAddPathClosedCurve(Pa(*this), p.data(), p.count()));
}
bool GraphicsPath::AddPathClosedCurve2(std::span<const PointF> points, float tension) {
  auto p = Pack(points);
  return Ok(GdipAddPathClosedCurve2(Pa(*this), p.data(), p.count(), tension));
}
bool GraphicsPath::AddPathClosedCurveI(std::span<const Point> points) {
  auto p = Pack(points);
  return Ok(GdipAddPathClosedCurveI(Pa(*this), p.data(), p.count()));
}
bool GraphicsPath::AddPathClosedCurve2I(std::span<const Point> points, float tension) {
  auto p = Pack(points);
  return Ok(GdipAddPathClosedCurve2I(Pa(*this), p.data(), p.count(), tension));
}
bool GraphicsPath::AddPathRectangle(float x, float y, float width, float height) {
  return Ok(GdipAddPathRectangle(Pa(*this), x, y, width, height));
}

bool GraphicsPath::AddPathRoundRect(float x, float y, float width, float height, int roundness) {
  const int percent = std::clamp(roundness, 1, 100);
  const float aw = static_cast<float>(static_cast<int>(double{width} * percent / 100));
  const float ah = static_cast<float>(static_cast<int>(double{height} * percent / 100));
  const float right = (x + width) - aw;
  const float bottom = (y + height) - ah;
  gp::GpPath* p = Pa(*this);
  // Every step is reported: a failed arc must not pass as a finished outline.
  const Status steps[] = {
      GdipAddPathArc(p, right, y, aw, ah, 270, 90), GdipAddPathArc(p, right, bottom, aw, ah, 0, 90),
      GdipAddPathArc(p, x, bottom, aw, ah, 90, 90), GdipAddPathArc(p, x, y, aw, ah, 180, 90),
      GdipClosePathFigure(p)};
  for (Status s : steps)
    if (s != gp::Ok) return Ok(s);
  return Ok(gp::Ok);
}

bool GraphicsPath::AddPathRectangles(std::span<const RectF> rects) {
  auto r = Pack(rects);
  return Ok(GdipAddPathRectangles(Pa(*this), r.data(), r.count()));
}
bool GraphicsPath::AddPathRectangleI(int x, int y, int width, int height) {
  return Ok(GdipAddPathRectangleI(Pa(*this), x, y, width, height));
}
bool GraphicsPath::AddPathRectanglesI(std::span<const Rect> rects) {
  auto r = Pack(rects);
  return Ok(GdipAddPathRectanglesI(Pa(*this), r.data(), r.count()));
}
bool GraphicsPath::AddPathEllipse(float x, float y, float width, float height) {
  return Ok(GdipAddPathEllipse(Pa(*this), x, y, width, height));
}
bool GraphicsPath::AddPathEllipseI(int x, int y, int width, int height) {
  return Ok(GdipAddPathEllipseI(Pa(*this), x, y, width, height));
}
bool GraphicsPath::AddPathPie(float x, float y, float width, float height, float startAngle,
                              float sweepAngle) {
  return Ok(GdipAddPathPie(Pa(*this), x, y, width, height, startAngle, sweepAngle));
}
bool GraphicsPath::AddPathPieI(int x, int y, int width, int height, float startAngle,
                               float sweepAngle) {
  return Ok(GdipAddPathPieI(Pa(*this), x, y, width, height, startAngle, sweepAngle));
}
bool GraphicsPath::AddPathPolygon(std::span<const PointF> points) {
  auto p = Pack(points);
  return Ok(GdipAddPathPolygon(Pa(*this), p.data(), p.count()));
}
bool GraphicsPath::AddPathPolygonI(std::span<const Point> points) {
  auto p = Pack(points);
  return Ok(GdipAddPathPolygonI(Pa(*this), p.data(), p.count()));
}
bool GraphicsPath::AddPathPath(const GraphicsPath& path, bool connect) {
  return Ok(GdipAddPathPath(Pa(*this), Pa(path), connect));
}

namespace {
bool AddString(gp::GpPath* path, const std::wstring& text, const FontFamily& family, int emSize,
               const gp::RectF& layout, int style, const StringFormat& format) {
  return Ok(GdipAddPathString(path, text.c_str(), WideLength(text),
                              As<gp::GpFontFamily>(family), style, static_cast<REAL>(emSize),
                              &layout, As<gp::GpStringFormat>(format)));
}
bool AddStringI(gp::GpPath* path, const std::wstring& text, const FontFamily& family, int emSize,
                const gp::Rect& layout, int style, const StringFormat& format) {
  return Ok(GdipAddPathStringI(path, text.c_str(), WideLength(text),
                               As<gp::GpFontFamily>(family), style, static_cast<REAL>(emSize),
                               &layout, As<gp::GpStringFormat>(format)));
}
}  // namespace

bool GraphicsPath::AddPathString(const Text& text, const FontFamily& family, int emSize,
                                 const RectF& layout, int style, const StringFormat& format) {
  return AddString(Pa(*this), WideFromText(text), family, emSize, Pack(layout), style, format);
}
bool GraphicsPath::AddPathStringWide(const ByteSet& text, const FontFamily& family, int emSize,
                                     const RectF& layout, int style,
                                     const StringFormat& format) {
  return AddString(Pa(*this), WideFromBytes(text), family, emSize, Pack(layout), style, format);
}
bool GraphicsPath::AddPathStringI(const Text& text, const FontFamily& family, int emSize,
                                  const Rect& layout, int style, const StringFormat& format) {
  return AddStringI(Pa(*this), WideFromText(text), family, emSize, Pack(layout), style, format);
}
bool GraphicsPath::AddPathStringIWide(const ByteSet& text, const FontFamily& family, int emSize,
                                      const Rect& layout, int style,
                                      const StringFormat& format) {
  return AddStringI(Pa(*this), WideFromBytes(text), family, emSize, Pack(layout), style, format);
}

bool GraphicsPath::TransformPath(const GraphicsObject* matrix) {
  return Ok(GdipTransformPath(Pa(*this), As<gp::GpMatrix>(matrix)));
}
RectF GraphicsPath::GetPathWorldBounds(const GraphicsObject* matrix, const Pen* pen) const {
  gp::RectF r;
  lastStatus = GdipGetPathWorldBounds(Pa(*this), &r, As<gp::GpMatrix>(matrix), As<gp::GpPen>(pen));
  return Unpack(r);
}
Rect GraphicsPath::GetPathWorldBoundsI(const GraphicsObject* matrix, const Pen* pen) const {
  gp::Rect r;
  lastStatus =
      GdipGetPathWorldBoundsI(Pa(*this), &r, As<gp::GpMatrix>(matrix), As<gp::GpPen>(pen));
  return Unpack(r);
}
bool GraphicsPath::FlattenPath(const GraphicsObject* matrix, std::optional<float> flatness) {
  return Ok(GdipFlattenPath(Pa(*this), As<gp::GpMatrix>(matrix), flatness.value_or(kFlatness)));
}
bool GraphicsPath::WidenPath(const Pen& pen, const GraphicsObject* matrix,
                             std::optional<float> flatness) {
  return Ok(GdipWidenPath(Pa(*this), As<gp::GpPen>(pen), As<gp::GpMatrix>(matrix),
                          flatness.value_or(kFlatness)));
}
bool GraphicsPath::WindingModeOutline(const GraphicsObject* matrix,
                                      std::optional<float> flatness) {
  return Ok(GdipWindingModeOutline(Pa(*this), As<gp::GpMatrix>(matrix),
                                   flatness.value_or(kFlatness)));
}
bool GraphicsPath::WarpPath(std::span<const PointF> destPoints, const RectF& src,
                            const GraphicsObject* matrix, std::optional<int> warpMode,
                            std::optional<float> flatness) {
  auto p = Pack(destPoints);
  return Ok(GdipWarpPath(Pa(*this), As<gp::GpMatrix>(matrix), p.data(), p.count(), src.x, src.y,
                         src.width, src.height, static_cast<gp::WarpMode>(warpMode.value_or(0)),
                         flatness.value_or(kFlatness)));
}
int GraphicsPath::GetPointCount() const { return Read<INT>(GdipGetPointCount, Pa(*this)); }
bool GraphicsPath::IsVisiblePathPoint(float x, float y, const Graphics* surface) const {
  return Read<BOOL>(GdipIsVisiblePathPoint, Pa(*this), x, y, As<gp::GpGraphics>(surface)) != 0;
}
bool GraphicsPath::IsVisiblePathPointI(int x, int y, const Graphics* surface) const {
  return Read<BOOL>(GdipIsVisiblePathPointI, Pa(*this), x, y, As<gp::GpGraphics>(surface)) != 0;
}
bool GraphicsPath::IsOutlineVisiblePathPoint(float x, float y, const Pen& pen,
                                             const Graphics* surface) const {
  return Read<BOOL>(GdipIsOutlineVisiblePathPoint, Pa(*this), x, y, As<gp::GpPen>(pen),
                    As<gp::GpGraphics>(surface)) != 0;
}
bool GraphicsPath::IsOutlineVisiblePathPointI(int x, int y, const Pen& pen,
                                              const Graphics* surface) const {
  return Read<BOOL>(GdipIsOutlineVisiblePathPointI, Pa(*this), x, y, As<gp::GpPen>(pen),
                    As<gp::GpGraphics>(surface)) != 0;
}

}  // namespace tovel
