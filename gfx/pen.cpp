#include "gfx/pen.h"

#include "gfx/brush.h"
#include "gfx/gdiplus_flat.h"

namespace tovel {
using namespace gdip;

namespace {
gp::GpPen* P(const Pen& p) { return As<gp::GpPen>(p); }

bool ReadFloats(Status(WINGDIPAPI* count)(gp::GpPen*, INT*),
                Status(WINGDIPAPI* get)(gp::GpPen*, REAL*, INT), gp::GpPen* pen,
                std::vector<float>& out) {
  INT n = 0;
  if (!Ok(count(pen, &n))) return false;
  std::vector<float> values(static_cast<size_t>(n));
  if (n > 0 && !Ok(get(pen, values.data(), n))) return false;
  out = std::move(values);
  return true;
}
}  // namespace

void Pen::ReleaseNative(void* h) { GdipDeletePen(static_cast<gp::GpPen*>(h)); }

bool Pen::DeletePen() {
  if (!GetNative()) return false;
  Status s = GdipDeletePen(P(*this));
  ForgetNative();
  return Ok(s);
}

bool Pen::CreatePen1(Argb color, float width, std::optional<int> unit) {
  gp::GpPen* p = nullptr;
  bool ok = Ok(GdipCreatePen1(color, width, UnitOf(unit.value_or(0)), &p));
  SetNative(p);
  return ok;
}
bool Pen::CreatePen2(const Brush& brush, float width, std::optional<int> unit) {
  gp::GpPen* p = nullptr;
  bool ok = Ok(GdipCreatePen2(As<gp::GpBrush>(brush), width, UnitOf(unit.value_or(0)), &p));
  SetNative(p);
  return ok;
}
bool Pen::ClonePen(Pen& target) const {
  gp::GpPen* clone = nullptr;
  if (!Ok(GdipClonePen(P(*this), &clone))) return false;
  target.SetNative(clone);
  return true;
}

float Pen::GetPenWidth() const { return Read<REAL>(GdipGetPenWidth, P(*this)); }
bool Pen::SetPenWidth(float width) { return Ok(GdipSetPenWidth(P(*this), width)); }
int Pen::GetPenUnit() const { return Read<gp::Unit>(GdipGetPenUnit, P(*this)); }
bool Pen::SetPenUnit(double unit) {
  return Ok(GdipSetPenUnit(P(*this), UnitOf(static_cast<int>(unit))));
}
bool Pen::SetPenLineCap197819(int startCap, int endCap, int dashCap) {
  return Ok(GdipSetPenLineCap197819(P(*this), static_cast<gp::LineCap>(startCap),
                                    static_cast<gp::LineCap>(endCap),
                                    static_cast<gp::DashCap>(dashCap)));
}
bool Pen::SetPenStartCap(int cap) {
  return Ok(GdipSetPenStartCap(P(*this), static_cast<gp::LineCap>(cap)));
}
bool Pen::SetPenEndCap(int cap) {
  return Ok(GdipSetPenEndCap(P(*this), static_cast<gp::LineCap>(cap)));
}
bool Pen::SetPenDashCap197819(int cap) {
  return Ok(GdipSetPenDashCap197819(P(*this), static_cast<gp::DashCap>(cap)));
}
int Pen::GetPenStartCap() const { return Read<gp::LineCap>(GdipGetPenStartCap, P(*this)); }
int Pen::GetPenEndCap() const { return Read<gp::LineCap>(GdipGetPenEndCap, P(*this)); }
int Pen::GetPenDashCap197819() const {
  return Read<gp::DashCap>(GdipGetPenDashCap197819, P(*this));
}
bool Pen::SetPenLineJoin(int join) {
  return Ok(GdipSetPenLineJoin(P(*this), static_cast<gp::LineJoin>(join)));
}
int Pen::GetPenLineJoin() const { return Read<gp::LineJoin>(GdipGetPenLineJoin, P(*this)); }

bool Pen::SetPenCustomStartCap(const GraphicsObject& cap) {
  return Ok(GdipSetPenCustomStartCap(P(*this), As<gp::GpCustomLineCap>(cap)));
}
bool Pen::GetPenCustomStartCap(GraphicsObject& target) const {
  gp::GpCustomLineCap* cap = nullptr;
  if (!Ok(GdipGetPenCustomStartCap(P(*this), &cap))) return false;
  target.SetNative(cap);
  return true;
}
bool Pen::SetPenCustomEndCap(const GraphicsObject& cap) {
  return Ok(GdipSetPenCustomEndCap(P(*this), As<gp::GpCustomLineCap>(cap)));
}
bool Pen::GetPenCustomEndCap(GraphicsObject& target) const {
  gp::GpCustomLineCap* cap = nullptr;
  if (!Ok(GdipGetPenCustomEndCap(P(*this), &cap))) return false;
  target.SetNative(cap);
  return true;
}
bool Pen::SetPenMiterLimit(float limit) { return Ok(GdipSetPenMiterLimit(P(*this), limit)); }
float Pen::GetPenMiterLimit() const { return Read<REAL>(GdipGetPenMiterLimit, P(*this)); }
bool Pen::SetPenMode(int alignment) {
  return Ok(GdipSetPenMode(P(*this), static_cast<gp::PenAlignment>(alignment)));
}
int Pen::GetPenMode() const { return Read<gp::PenAlignment>(GdipGetPenMode, P(*this)); }

bool Pen::SetPenTransform(const GraphicsObject& matrix) {
  return Ok(GdipSetPenTransform(P(*this), As<gp::GpMatrix>(matrix)));
}
bool Pen::GetPenTransform(const GraphicsObject& matrix) const {
  return Ok(GdipGetPenTransform(P(*this), As<gp::GpMatrix>(matrix)));
}
bool Pen::ResetPenTransform() { return Ok(GdipResetPenTransform(P(*this))); }
bool Pen::MultiplyPenTransform(const GraphicsObject& matrix, int order) {
  return Ok(GdipMultiplyPenTransform(P(*this), As<gp::GpMatrix>(matrix), Order(order)));
}
bool Pen::RotatePenTransform(float angle, int order) {
  return Ok(GdipRotatePenTransform(P(*this), angle, Order(order)));
}
bool Pen::RotatePenTransformAt(float angle, const PointF& centre, int order) {
  return AboutCentre(
      centre, order,
      [&](float dx, float dy) { return GdipTranslatePenTransform(P(*this), dx, dy, Order(order)); },
      [&] { return GdipRotatePenTransform(P(*this), angle, Order(order)); });
}
bool Pen::ScalePenTransform(float sx, float sy, int order) {
  return Ok(GdipScalePenTransform(P(*this), sx, sy, Order(order)));
}
bool Pen::ScalePenTransformAt(float sx, float sy, const PointF& centre, int order) {
  return AboutCentre(
      centre, order,
      [&](float dx, float dy) { return GdipTranslatePenTransform(P(*this), dx, dy, Order(order)); },
      [&] { return GdipScalePenTransform(P(*this), sx, sy, Order(order)); });
}
bool Pen::TranslatePenTransform(float dx, float dy, int order) {
  return Ok(GdipTranslatePenTransform(P(*this), dx, dy, Order(order)));
}

Argb Pen::GetPenColor() const { return Read<gp::ARGB>(GdipGetPenColor, P(*this)); }
bool Pen::SetPenColor(Argb color) { return Ok(GdipSetPenColor(P(*this), color)); }
bool Pen::SetPenBrushFill(const Brush& brush) {
  return Ok(GdipSetPenBrushFill(P(*this), As<gp::GpBrush>(brush)));
}
bool Pen::GetPenBrushFill(Brush& target) const {
  gp::GpBrush* brush = nullptr;
  if (!Ok(GdipGetPenBrushFill(P(*this), &brush))) return false;
  target.SetNative(brush);
  return true;
}
int Pen::GetPenFillType() const { return Read<gp::PenType>(GdipGetPenFillType, P(*this)); }
bool Pen::SetPenDashStyle(int style) {
  return Ok(GdipSetPenDashStyle(P(*this), static_cast<gp::DashStyle>(style)));
}
int Pen::GetPenDashStyle() const { return Read<gp::DashStyle>(GdipGetPenDashStyle, P(*this)); }
float Pen::GetPenDashOffset() const { return Read<REAL>(GdipGetPenDashOffset, P(*this)); }
bool Pen::SetPenDashOffset(float offset) { return Ok(GdipSetPenDashOffset(P(*this), offset)); }
bool Pen::GetPenDashArray(std::vector<float>& dashes) const {
  return ReadFloats(GdipGetPenDashCount, GdipGetPenDashArray, P(*this), dashes);
}
bool Pen::SetPenDashArray(std::span<const float> dashes) {
  return Ok(GdipSetPenDashArray(P(*this), dashes.data(), static_cast<INT>(dashes.size())));
}
bool Pen::SetPenCompoundArray(std::span<const float> compounds) {
  return Ok(
      GdipSetPenCompoundArray(P(*this), compounds.data(), static_cast<INT>(compounds.size())));
}
bool Pen::GetPenCompoundArray(std::vector<float>& compounds) const {
  return ReadFloats(GdipGetPenCompoundCount, GdipGetPenCompoundArray, P(*this), compounds);
}

}  // namespace tovel
