#include "gfx/brush.h"

#include "gfx/brush_private.h"

namespace tovel {
using namespace gdip;

namespace {
gp::GpBrush* Br(const Brush& b) { return As<gp::GpBrush>(b); }
gp::GpSolidFill* Solid(const SolidBrush& b) { return As<gp::GpSolidFill>(b); }
gp::GpLineGradient* L(const LinearGradientBrush& b) { return As<gp::GpLineGradient>(b); }
constexpr gp::WrapMode kTile = gp::WrapModeTile;
}  // namespace

void Brush::ReleaseNative(void* h) { GdipDeleteBrush(static_cast<gp::GpBrush*>(h)); }

bool Brush::DeleteBrush() {
  if (!GetNative()) return false;
  Status s = GdipDeleteBrush(Br(*this));
  ForgetNative();
  return Ok(s);
}

bool Brush::CloneBrush(Brush& target) const {
  gp::GpBrush* clone = nullptr;
  if (!Ok(GdipCloneBrush(Br(*this), &clone))) return false;
  target.SetNative(clone);
  return true;
}

int Brush::GetBrushType() const { return Read<gp::BrushType>(GdipGetBrushType, Br(*this)); }

bool SolidBrush::CreateSolidFill(Argb color) {
  gp::GpSolidFill* b = nullptr;
  bool ok = Ok(GdipCreateSolidFill(color, &b));
  SetNative(b);
  return ok;
}
bool SolidBrush::SetSolidFillColor(Argb color) {
  return Ok(GdipSetSolidFillColor(Solid(*this), color));
}
Argb SolidBrush::GetSolidFillColor() const {
  return Read<gp::ARGB>(GdipGetSolidFillColor, Solid(*this));
}

bool LinearGradientBrush::CreateLineBrush(const PointF& start, const PointF& end, Argb c1,
                                          Argb c2) {
  gp::PointF p1 = Pack(start), p2 = Pack(end);
  gp::GpLineGradient* b = nullptr;
  bool ok = Ok(GdipCreateLineBrush(&p1, &p2, c1, c2, kTile, &b));
  SetNative(b);
  return ok;
}
bool LinearGradientBrush::CreateLineBrushI(const Point& start, const Point& end, Argb c1,
                                           Argb c2) {
  gp::Point p1 = Pack(start), p2 = Pack(end);
  gp::GpLineGradient* b = nullptr;
  bool ok = Ok(GdipCreateLineBrushI(&p1, &p2, c1, c2, kTile, &b));
  SetNative(b);
  return ok;
}
bool LinearGradientBrush::CreateLineBrushFromRect(const RectF& rect, Argb c1, Argb c2, int mode) {
  gp::RectF r = Pack(rect);
  gp::GpLineGradient* b = nullptr;
  bool ok = Ok(GdipCreateLineBrushFromRect(&r, c1, c2, static_cast<gp::LinearGradientMode>(mode),
                                           kTile, &b));
  SetNative(b);
  return ok;
}
bool LinearGradientBrush::CreateLineBrushFromRectI(const Rect& rect, Argb c1, Argb c2, int mode) {
  gp::Rect r = Pack(rect);
  gp::GpLineGradient* b = nullptr;
  bool ok = Ok(GdipCreateLineBrushFromRectI(
      &r, c1, c2, static_cast<gp::LinearGradientMode>(mode), kTile, &b));
  SetNative(b);
  return ok;
}
bool LinearGradientBrush::CreateLineBrushFromRectWithAngle(const RectF& rect, Argb c1, Argb c2,
                                                           float angle, bool scalable) {
  gp::RectF r = Pack(rect);
  gp::GpLineGradient* b = nullptr;
  bool ok = Ok(GdipCreateLineBrushFromRectWithAngle(&r, c1, c2, angle, scalable, kTile, &b));
  SetNative(b);
  return ok;
}
bool LinearGradientBrush::CreateLineBrushFromRectWithAngleI(const Rect& rect, Argb c1, Argb c2,
                                                            float angle, bool scalable) {
  gp::Rect r = Pack(rect);
  gp::GpLineGradient* b = nullptr;
  bool ok = Ok(GdipCreateLineBrushFromRectWithAngleI(&r, c1, c2, angle, scalable, kTile, &b));
  SetNative(b);
  return ok;
}

bool LinearGradientBrush::GetLineColors(Argb& startColor, Argb& endColor) const {
  gp::ARGB colors[2] = {};
  if (!Ok(GdipGetLineColors(L(*this), colors))) return false;
  startColor = colors[0];
  endColor = colors[1];
  return true;
}
bool LinearGradientBrush::SetLineColors(Argb startColor, Argb endColor) {
  return Ok(GdipSetLineColors(L(*this), startColor, endColor));
}
RectF LinearGradientBrush::GetLineRect() const {
  return Unpack(Read<gp::RectF>(GdipGetLineRect, L(*this)));
}
Rect LinearGradientBrush::GetLineRectI() const {
  return Unpack(Read<gp::Rect>(GdipGetLineRectI, L(*this)));
}
bool LinearGradientBrush::SetLineGammaCorrection(bool useGamma) {
  return Ok(GdipSetLineGammaCorrection(L(*this), useGamma));
}
bool LinearGradientBrush::GetLineGammaCorrection() const {
  return Read<BOOL>(GdipGetLineGammaCorrection, L(*this)) != 0;
}
bool LinearGradientBrush::SetLineBlend(std::span<const float> factors,
                                       std::span<const float> positions) {
  return SetBlend(GdipSetLineBlend, L(*this), factors, positions);
}
int LinearGradientBrush::GetLineBlendCount() const {
  return Read<INT>(GdipGetLineBlendCount, L(*this));
}
bool LinearGradientBrush::GetLineBlend(std::vector<float>& factors,
                                       std::vector<float>& positions) const {
  return GetBlend(GdipGetLineBlendCount, GdipGetLineBlend, L(*this), factors, positions);
}
bool LinearGradientBrush::SetLinePresetBlend(std::span<const Argb> colors,
                                             std::span<const float> positions) {
  return SetBlend(GdipSetLinePresetBlend, L(*this), colors, positions);
}
int LinearGradientBrush::GetLinePresetBlendCount() const {
  return Read<INT>(GdipGetLinePresetBlendCount, L(*this));
}
bool LinearGradientBrush::GetLinePresetBlend(std::vector<Argb>& colors,
                                             std::vector<float>& positions) const {
  return GetBlend(GdipGetLinePresetBlendCount, GdipGetLinePresetBlend, L(*this), colors,
                  positions);
}
bool LinearGradientBrush::SetLineSigmaBlend(float focus, float scale) {
  return Ok(GdipSetLineSigmaBlend(L(*this), focus, scale));
}
bool LinearGradientBrush::SetLineLinearBlend(float focus, float scale) {
  return Ok(GdipSetLineLinearBlend(L(*this), focus, scale));
}
int LinearGradientBrush::GetLineWrapMode() const {
  return Read<gp::WrapMode>(GdipGetLineWrapMode, L(*this));
}
bool LinearGradientBrush::SetLineWrapMode(int mode) {
  return Ok(GdipSetLineWrapMode(L(*this), static_cast<gp::WrapMode>(mode)));
}
bool LinearGradientBrush::GetLineTransform(const GraphicsObject& matrix) const {
  return Ok(GdipGetLineTransform(L(*this), As<gp::GpMatrix>(matrix)));
}
bool LinearGradientBrush::SetLineTransform(const GraphicsObject& matrix) {
  return Ok(GdipSetLineTransform(L(*this), As<gp::GpMatrix>(matrix)));
}
bool LinearGradientBrush::ResetLineTransform() { return Ok(GdipResetLineTransform(L(*this))); }
bool LinearGradientBrush::MultiplyLineTransform(const GraphicsObject& matrix, int order) {
  return Ok(GdipMultiplyLineTransform(L(*this), As<gp::GpMatrix>(matrix), Order(order)));
}
bool LinearGradientBrush::TranslateLineTransform(float dx, float dy, int order) {
  return Ok(GdipTranslateLineTransform(L(*this), dx, dy, Order(order)));
}
bool LinearGradientBrush::ScaleLineTransform(float sx, float sy, int order) {
  return Ok(GdipScaleLineTransform(L(*this), sx, sy, Order(order)));
}
bool LinearGradientBrush::ScaleLineTransformAt(float sx, float sy, const PointF& centre,
                                               int order) {
  return AboutCentre(
      centre, order,
      [&](float dx, float dy) { return GdipTranslateLineTransform(L(*this), dx, dy, Order(order)); },
      [&] { return GdipScaleLineTransform(L(*this), sx, sy, Order(order)); });
}
bool LinearGradientBrush::RotateLineTransform(float angle, int order) {
  return Ok(GdipRotateLineTransform(L(*this), angle, Order(order)));
}
bool LinearGradientBrush::RotateLineTransformAt(float angle, const PointF& centre, int order) {
  return AboutCentre(
      centre, order,
      [&](float dx, float dy) { return GdipTranslateLineTransform(L(*this), dx, dy, Order(order)); },
      [&] { return GdipRotateLineTransform(L(*this), angle, Order(order)); });
}

}  // namespace tovel
