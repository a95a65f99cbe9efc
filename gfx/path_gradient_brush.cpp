#include "gfx/brush.h"
#include "gfx/brush_private.h"
#include "gfx/path.h"

namespace tovel {
using namespace gdip;

namespace {
gp::GpPathGradient* PG(const PathGradientBrush& b) { return As<gp::GpPathGradient>(b); }
constexpr int kClamp = 4;
}  // namespace

bool PathGradientBrush::CreatePathGradient(std::span<const PointF> points,
                                           std::optional<int> wrapMode) {
  auto p = Pack(points);
  gp::GpPathGradient* b = nullptr;
  bool ok = Ok(GdipCreatePathGradient(p.data(), p.count(),
                                      static_cast<gp::WrapMode>(wrapMode.value_or(kClamp)), &b));
  SetNative(b);
  return ok;
}
bool PathGradientBrush::CreatePathGradientI(std::span<const Point> points,
                                            std::optional<int> wrapMode) {
  auto p = Pack(points);
  gp::GpPathGradient* b = nullptr;
  bool ok = Ok(GdipCreatePathGradientI(p.data(), p.count(),
                                       static_cast<gp::WrapMode>(wrapMode.value_or(kClamp)), &b));
  SetNative(b);
  return ok;
}
bool PathGradientBrush::CreatePathGradientFromPath(const GraphicsPath& path) {
  gp::GpPathGradient* b = nullptr;
  bool ok = Ok(GdipCreatePathGradientFromPath(As<gp::GpPath>(path), &b));
  SetNative(b);
  return ok;
}

Argb PathGradientBrush::GetPathGradientCenterColor() const {
  return Read<gp::ARGB>(GdipGetPathGradientCenterColor, PG(*this));
}
bool PathGradientBrush::SetPathGradientCenterColor(Argb color) {
  return Ok(GdipSetPathGradientCenterColor(PG(*this), color));
}
int PathGradientBrush::GetPathGradientPointCount() const {
  return Read<INT>(GdipGetPathGradientPointCount, PG(*this));
}
int PathGradientBrush::GetPathGradientSurroundColorCount() const {
  return Read<INT>(GdipGetPathGradientSurroundColorCount, PG(*this));
}
bool PathGradientBrush::GetPathGradientSurroundColorsWithCount(std::vector<Argb>& colors,
                                                               int& count) const {
  if (count < 0) return Ok(kInvalidParameter);
  std::vector<gp::ARGB> got(static_cast<size_t>(count));
  INT n = count;
  if (!Ok(GdipGetPathGradientSurroundColorsWithCount(PG(*this), got.data(), &n))) return false;
  count = n;
  colors.assign(got.begin(), got.begin() + std::min<size_t>(got.size(), static_cast<size_t>(n)));
  return true;
}
bool PathGradientBrush::SetPathGradientSurroundColorsWithCount(std::span<const Argb> colors,
                                                               int* count) {
  INT n = count ? *count : static_cast<INT>(colors.size());
  // The platform reads n colours from the array.
  if (n < 0 || static_cast<size_t>(n) > colors.size()) return Ok(kInvalidParameter);
  std::vector<gp::ARGB> packed(colors.begin(), colors.end());
  bool ok = Ok(GdipSetPathGradientSurroundColorsWithCount(PG(*this), packed.data(), &n));
  if (count) *count = n;
  return ok;
}
bool PathGradientBrush::GetPathGradientPath(const GraphicsPath& path) const {
  return Ok(GdipGetPathGradientPath(PG(*this), As<gp::GpPath>(path)));
}
bool PathGradientBrush::SetPathGradientPath(const GraphicsPath& path) {
  return Ok(GdipSetPathGradientPath(PG(*this), As<gp::GpPath>(path)));
}
PointF PathGradientBrush::GetPathGradientCenterPoint() const {
  return Unpack(Read<gp::PointF>(GdipGetPathGradientCenterPoint, PG(*this)));
}
Point PathGradientBrush::GetPathGradientCenterPointI() const {
  return Unpack(Read<gp::Point>(GdipGetPathGradientCenterPointI, PG(*this)));
}
bool PathGradientBrush::SetPathGradientCenterPoint(const PointF& point) {
  gp::PointF p = Pack(point);
  return Ok(GdipSetPathGradientCenterPoint(PG(*this), &p));
}
bool PathGradientBrush::SetPathGradientCenterPointI(const Point& point) {
  gp::Point p = Pack(point);
  return Ok(GdipSetPathGradientCenterPointI(PG(*this), &p));
}
RectF PathGradientBrush::GetPathGradientRect() const {
  return Unpack(Read<gp::RectF>(GdipGetPathGradientRect, PG(*this)));
}
Rect PathGradientBrush::GetPathGradientRectI() const {
  return Unpack(Read<gp::Rect>(GdipGetPathGradientRectI, PG(*this)));
}
bool PathGradientBrush::SetPathGradientGammaCorrection(bool useGamma) {
  return Ok(GdipSetPathGradientGammaCorrection(PG(*this), useGamma));
}
bool PathGradientBrush::GetPathGradientGammaCorrection() const {
  return Read<BOOL>(GdipGetPathGradientGammaCorrection, PG(*this)) != 0;
}
int PathGradientBrush::GetPathGradientBlendCount() const {
  return Read<INT>(GdipGetPathGradientBlendCount, PG(*this));
}
bool PathGradientBrush::SetPathGradientBlend(std::span<const float> factors,
                                             std::span<const float> positions) {
  return SetBlend(GdipSetPathGradientBlend, PG(*this), factors, positions);
}
bool PathGradientBrush::GetPathGradientBlend(std::vector<float>& factors,
                                             std::vector<float>& positions) const {
  return GetBlend(GdipGetPathGradientBlendCount, GdipGetPathGradientBlend, PG(*this), factors,
                  positions);
}
int PathGradientBrush::GetPathGradientPresetBlendCount() const {
  return Read<INT>(GdipGetPathGradientPresetBlendCount, PG(*this));
}
bool PathGradientBrush::SetPathGradientPresetBlend(std::span<const Argb> colors,
                                                   std::span<const float> positions) {
  return SetBlend(GdipSetPathGradientPresetBlend, PG(*this), colors, positions);
}
bool PathGradientBrush::GetPathGradientPresetBlend(std::vector<Argb>& colors,
                                                   std::vector<float>& positions) const {
  return GetBlend(GdipGetPathGradientPresetBlendCount, GdipGetPathGradientPresetBlend, PG(*this),
                  colors, positions);
}
bool PathGradientBrush::SetPathGradientSigmaBlend(float focus, float scale) {
  return Ok(GdipSetPathGradientSigmaBlend(PG(*this), focus, scale));
}
bool PathGradientBrush::SetPathGradientLinearBlend(float focus, float scale) {
  return Ok(GdipSetPathGradientLinearBlend(PG(*this), focus, scale));
}
bool PathGradientBrush::GetPathGradientFocusScales(float& xScale, float& yScale) const {
  return Ok(GdipGetPathGradientFocusScales(PG(*this), &xScale, &yScale));
}
bool PathGradientBrush::SetPathGradientFocusScales(float xScale, float yScale) {
  return Ok(GdipSetPathGradientFocusScales(PG(*this), xScale, yScale));
}
int PathGradientBrush::GetPathGradientWrapMode() const {
  return Read<gp::WrapMode>(GdipGetPathGradientWrapMode, PG(*this));
}
bool PathGradientBrush::SetPathGradientWrapMode(int mode) {
  return Ok(GdipSetPathGradientWrapMode(PG(*this), static_cast<gp::WrapMode>(mode)));
}
bool PathGradientBrush::GetPathGradientTransform(const GraphicsObject& matrix) const {
  return Ok(GdipGetPathGradientTransform(PG(*this), As<gp::GpMatrix>(matrix)));
}
bool PathGradientBrush::SetPathGradientTransform(const GraphicsObject& matrix) {
  return Ok(GdipSetPathGradientTransform(PG(*this), As<gp::GpMatrix>(matrix)));
}
bool PathGradientBrush::ResetPathGradientTransform() {
  return Ok(GdipResetPathGradientTransform(PG(*this)));
}
bool PathGradientBrush::MultiplyPathGradientTransform(const GraphicsObject& matrix, int order) {
  return Ok(GdipMultiplyPathGradientTransform(PG(*this), As<gp::GpMatrix>(matrix), Order(order)));
}
bool PathGradientBrush::TranslatePathGradientTransform(float dx, float dy, int order) {
  return Ok(GdipTranslatePathGradientTransform(PG(*this), dx, dy, Order(order)));
}
bool PathGradientBrush::ScalePathGradientTransform(float sx, float sy, int order) {
  return Ok(GdipScalePathGradientTransform(PG(*this), sx, sy, Order(order)));
}
bool PathGradientBrush::ScalePathGradientTransformAt(float sx, float sy, const PointF& centre,
                                                     int order) {
  return AboutCentre(
      centre, order,
      [&](float dx, float dy) {
        return GdipTranslatePathGradientTransform(PG(*this), dx, dy, Order(order));
      },
      [&] { return GdipScalePathGradientTransform(PG(*this), sx, sy, Order(order)); });
}
bool PathGradientBrush::RotatePathGradientTransform(float angle, int order) {
  return Ok(GdipRotatePathGradientTransform(PG(*this), angle, Order(order)));
}
bool PathGradientBrush::RotatePathGradientTransformAt(float angle, const PointF& centre,
                                                      int order) {
  return AboutCentre(
      centre, order,
      [&](float dx, float dy) {
        return GdipTranslatePathGradientTransform(PG(*this), dx, dy, Order(order));
      },
      [&] { return GdipRotatePathGradientTransform(PG(*this), angle, Order(order)); });
}

}  // namespace tovel
