#include "gfx/graphics.h"

#include "gfx/gdiplus_flat.h"
#include "gfx/image.h"
#include "gfx/path.h"

namespace tovel {
using namespace gdip;

namespace {
gp::GpGraphics* G(const Graphics& g) { return As<gp::GpGraphics>(g); }
}  // namespace

void Graphics::ReleaseNative(void* h) { GdipDeleteGraphics(static_cast<gp::GpGraphics*>(h)); }

bool Graphics::Delete() {
  if (!GetNative()) return false;
  Status s = GdipDeleteGraphics(G(*this));
  ForgetNative();
  return Ok(s);
}

int Graphics::Flush(std::optional<int> intention) {
  return GdipFlush(G(*this), static_cast<gp::FlushIntention>(intention.value_or(0)));
}

bool Graphics::CreateFromWindow(HWND window, bool useColorManagement) {
  gp::GpGraphics* g = nullptr;
  bool ok = Ok(useColorManagement ? GdipCreateFromHWNDICM(window, &g)
                                  : GdipCreateFromHWND(window, &g));
  SetNative(g);
  return ok;
}

bool Graphics::CreateFromDC(HDC dc, std::optional<HANDLE> device) {
  gp::GpGraphics* g = nullptr;
  bool ok = Ok(device ? GdipCreateFromHDC2(dc, *device, &g) : GdipCreateFromHDC(dc, &g));
  SetNative(g);
  return ok;
}

bool Graphics::CreateFromImage(const Image& image) {
  gp::GpGraphics* g = nullptr;
  bool ok = Ok(GdipGetImageGraphicsContext(As<gp::GpImage>(image), &g));
  SetNative(g);
  return ok;
}

HDC Graphics::GetDC() { return Read<HDC>(GdipGetDC, G(*this)); }
bool Graphics::ReleaseDC(HDC dc) { return Ok(GdipReleaseDC(G(*this), dc)); }

bool Graphics::GetRenderingOrigin(int& x, int& y) {
  return Ok(GdipGetRenderingOrigin(G(*this), &x, &y));
}
bool Graphics::SetRenderingOrigin(int x, int y) {
  return Ok(GdipSetRenderingOrigin(G(*this), x, y));
}
int Graphics::GetCompositingMode() {
  return Read<gp::CompositingMode>(GdipGetCompositingMode, G(*this));
}
bool Graphics::SetCompositingMode(int mode) {
  return Ok(GdipSetCompositingMode(G(*this), static_cast<gp::CompositingMode>(mode)));
}
int Graphics::GetCompositingQuality() {
  return Read<gp::CompositingQuality>(GdipGetCompositingQuality, G(*this));
}
bool Graphics::SetCompositingQuality(int quality) {
  return Ok(GdipSetCompositingQuality(G(*this), static_cast<gp::CompositingQuality>(quality)));
}
bool Graphics::SetTextRenderingHint(int hint) {
  return Ok(GdipSetTextRenderingHint(G(*this), static_cast<gp::TextRenderingHint>(hint)));
}
int Graphics::GetTextRenderingHint() {
  return Read<gp::TextRenderingHint>(GdipGetTextRenderingHint, G(*this));
}
bool Graphics::SetTextContrast(unsigned contrast) {
  return Ok(GdipSetTextContrast(G(*this), contrast));
}
unsigned Graphics::GetTextContrast() { return Read<UINT>(GdipGetTextContrast, G(*this)); }
bool Graphics::SetInterpolationMode(int mode) {
  return Ok(GdipSetInterpolationMode(G(*this), static_cast<gp::InterpolationMode>(mode)));
}
int Graphics::GetInterpolationMode() {
  return Read<gp::InterpolationMode>(GdipGetInterpolationMode, G(*this));
}
bool Graphics::SetSmoothingMode(int mode) {
  return Ok(GdipSetSmoothingMode(G(*this), static_cast<gp::SmoothingMode>(mode)));
}
int Graphics::GetSmoothingMode() {
  return Read<gp::SmoothingMode>(GdipGetSmoothingMode, G(*this));
}
bool Graphics::SetPixelOffsetMode(int mode) {
  return Ok(GdipSetPixelOffsetMode(G(*this), static_cast<gp::PixelOffsetMode>(mode)));
}
int Graphics::GetPixelOffsetMode() {
  return Read<gp::PixelOffsetMode>(GdipGetPixelOffsetMode, G(*this));
}

bool Graphics::SetWorldTransform(const GraphicsObject& matrix) {
  return Ok(GdipSetWorldTransform(G(*this), As<gp::GpMatrix>(matrix)));
}
bool Graphics::GetWorldTransform(const GraphicsObject& matrix) {
  return Ok(GdipGetWorldTransform(G(*this), As<gp::GpMatrix>(matrix)));
}
bool Graphics::ResetWorldTransform() { return Ok(GdipResetWorldTransform(G(*this))); }
bool Graphics::MultiplyWorldTransform(const GraphicsObject& matrix, int order) {
  return Ok(GdipMultiplyWorldTransform(G(*this), As<gp::GpMatrix>(matrix), Order(order)));
}
bool Graphics::TranslateWorldTransform(float dx, float dy, int order) {
  return Ok(GdipTranslateWorldTransform(G(*this), dx, dy, Order(order)));
}
bool Graphics::ScaleWorldTransform(float sx, float sy, int order) {
  return Ok(GdipScaleWorldTransform(G(*this), sx, sy, Order(order)));
}
bool Graphics::ScaleWorldTransformAt(float sx, float sy, const PointF& centre, int order) {
  return AboutCentre(
      centre, order,
      [&](float dx, float dy) { return GdipTranslateWorldTransform(G(*this), dx, dy, Order(order)); },
      [&] { return GdipScaleWorldTransform(G(*this), sx, sy, Order(order)); });
}
bool Graphics::RotateWorldTransform(float angle, int order) {
  return Ok(GdipRotateWorldTransform(G(*this), angle, Order(order)));
}
bool Graphics::RotateWorldTransformAt(float angle, const PointF& centre, int order) {
  return AboutCentre(
      centre, order,
      [&](float dx, float dy) { return GdipTranslateWorldTransform(G(*this), dx, dy, Order(order)); },
      [&] { return GdipRotateWorldTransform(G(*this), angle, Order(order)); });
}
bool Graphics::SetPageUnit(int unit) { return Ok(GdipSetPageUnit(G(*this), UnitOf(unit))); }
int Graphics::GetPageUnit() { return Read<gp::Unit>(GdipGetPageUnit, G(*this)); }
bool Graphics::SetPageScale(float scale) { return Ok(GdipSetPageScale(G(*this), scale)); }
float Graphics::GetPageScale() { return Read<float>(GdipGetPageScale, G(*this)); }
float Graphics::GetDpiX() { return Read<float>(GdipGetDpiX, G(*this)); }
float Graphics::GetDpiY() { return Read<float>(GdipGetDpiY, G(*this)); }

bool Graphics::TransformPoints(int destSpace, int srcSpace, std::span<PointF> points) {
  Packed<PointF> packed{std::span<const PointF>(points)};
  bool ok = Ok(GdipTransformPoints(G(*this), static_cast<gp::CoordinateSpace>(destSpace),
                                   static_cast<gp::CoordinateSpace>(srcSpace), packed.data(),
                                   packed.count()));
  packed.WriteBack(points);
  return ok;
}
bool Graphics::TransformPointsI(int destSpace, int srcSpace, std::span<Point> points) {
  Packed<Point> packed{std::span<const Point>(points)};
  bool ok = Ok(GdipTransformPointsI(G(*this), static_cast<gp::CoordinateSpace>(destSpace),
                                    static_cast<gp::CoordinateSpace>(srcSpace), packed.data(),
                                    packed.count()));
  packed.WriteBack(points);
  return ok;
}

Argb Graphics::GetNearestColor(Argb& color) {
  gp::ARGB c = color;
  lastStatus = GdipGetNearestColor(G(*this), &c);
  color = c;
  return c;
}

bool Graphics::SetClipGraphics(const Graphics& other, int combineMode) {
  return Ok(GdipSetClipGraphics(G(*this), G(other), static_cast<gp::CombineMode>(combineMode)));
}
bool Graphics::SetClipPath(const GraphicsPath& path, int combineMode) {
  return Ok(GdipSetClipPath(G(*this), As<gp::GpPath>(path),
                            static_cast<gp::CombineMode>(combineMode)));
}
bool Graphics::SetClipRect(float x, float y, float width, float height, int combineMode) {
  return Ok(GdipSetClipRect(G(*this), x, y, width, height,
                            static_cast<gp::CombineMode>(combineMode)));
}
bool Graphics::SetClipRectI(int x, int y, int width, int height, int combineMode) {
  return Ok(GdipSetClipRectI(G(*this), x, y, width, height,
                             static_cast<gp::CombineMode>(combineMode)));
}
bool Graphics::SetClipRegion(const Region& region, int combineMode) {
  return Ok(GdipSetClipRegion(G(*this), As<gp::GpRegion>(region),
                              static_cast<gp::CombineMode>(combineMode)));
}
bool Graphics::SetClipHrgn(HRGN region, int combineMode) {
  return Ok(GdipSetClipHrgn(G(*this), region, static_cast<gp::CombineMode>(combineMode)));
}
bool Graphics::ResetClip() { return Ok(GdipResetClip(G(*this))); }
bool Graphics::TranslateClip(float dx, float dy) { return Ok(GdipTranslateClip(G(*this), dx, dy)); }
bool Graphics::TranslateClipI(int dx, int dy) { return Ok(GdipTranslateClipI(G(*this), dx, dy)); }
bool Graphics::GetClip(const Region& region) {
  return Ok(GdipGetClip(G(*this), As<gp::GpRegion>(region)));
}
RectF Graphics::GetClipBounds() { return Unpack(Read<gp::RectF>(GdipGetClipBounds, G(*this))); }
Rect Graphics::GetClipBoundsI() { return Unpack(Read<gp::Rect>(GdipGetClipBoundsI, G(*this))); }
RectF Graphics::GetVisibleClipBounds() {
  return Unpack(Read<gp::RectF>(GdipGetVisibleClipBounds, G(*this)));
}
Rect Graphics::GetVisibleClipBoundsI() {
  return Unpack(Read<gp::Rect>(GdipGetVisibleClipBoundsI, G(*this)));
}
bool Graphics::IsClipEmpty() { return Read<BOOL>(GdipIsClipEmpty, G(*this)) != 0; }
bool Graphics::IsVisibleClipEmpty() { return Read<BOOL>(GdipIsVisibleClipEmpty, G(*this)) != 0; }
bool Graphics::IsVisiblePoint(float x, float y) {
  return Read<BOOL>(GdipIsVisiblePoint, G(*this), x, y) != 0;
}
bool Graphics::IsVisiblePointI(int x, int y) {
  return Read<BOOL>(GdipIsVisiblePointI, G(*this), x, y) != 0;
}
bool Graphics::IsVisibleRect(float x, float y, float width, float height) {
  return Read<BOOL>(GdipIsVisibleRect, G(*this), x, y, width, height) != 0;
}
bool Graphics::IsVisibleRectI(int x, int y, int width, int height) {
  return Read<BOOL>(GdipIsVisibleRectI, G(*this), x, y, width, height) != 0;
}

unsigned Graphics::Save() { return Read<gp::GraphicsState>(GdipSaveGraphics, G(*this)); }
bool Graphics::Restore(unsigned state) { return Ok(GdipRestoreGraphics(G(*this), state)); }
unsigned Graphics::BeginContainer(const RectF& dest, const RectF& src, int unit) {
  gp::RectF d = Pack(dest), s = Pack(src);
  return Read<gp::GraphicsContainer>(GdipBeginContainer, G(*this), &d, &s, UnitOf(unit));
}
unsigned Graphics::BeginContainerI(const Rect& dest, const Rect& src, int unit) {
  gp::Rect d = Pack(dest), s = Pack(src);
  return Read<gp::GraphicsContainer>(GdipBeginContainerI, G(*this), &d, &s, UnitOf(unit));
}
unsigned Graphics::BeginContainer2() {
  return Read<gp::GraphicsContainer>(GdipBeginContainer2, G(*this));
}
bool Graphics::EndContainer(unsigned state) { return Ok(GdipEndContainer(G(*this), state)); }
bool Graphics::Comment(const ByteSet& data) {
  return Ok(GdipComment(G(*this), static_cast<UINT>(data.size()), data.data()));
}

}  // namespace tovel
