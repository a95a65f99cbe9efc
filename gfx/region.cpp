#include "gfx/gdiplus_flat.h"
#include "gfx/graphics.h"
#include "gfx/path.h"

namespace tovel {
using namespace gdip;

namespace {
gp::GpRegion* Rg(const Region& r) { return As<gp::GpRegion>(r); }
gp::GpGraphics* G(const Graphics& g) { return As<gp::GpGraphics>(g); }
gp::GpGraphics* G(const Graphics* g) { return As<gp::GpGraphics>(g); }
gp::CombineMode Combine(std::optional<int> mode) {
  return static_cast<gp::CombineMode>(mode.value_or(gp::CombineModeIntersect));
}

template <class Record, class Fn>
int ReadScans(const Region& region, Fn get, const GraphicsObject* matrix,
              std::vector<Record>& rects) {
  UINT n = region.GetRegionScansCount(matrix);
  if (lastStatus != 0) return 0;
  using Element = typename Packed<Record>::Element;
  std::vector<Element> scans(n);
  INT count = static_cast<INT>(n);
  if (!Ok(get(Rg(region), scans.data(), &count, As<gp::GpMatrix>(matrix)))) return 0;
  rects.clear();
  for (INT i = 0; i < count && i < static_cast<INT>(n); ++i) rects.push_back(Unpack(scans[i]));
  return static_cast<int>(rects.size());
}
}  // namespace

void Region::ReleaseNative(void* h) { GdipDeleteRegion(static_cast<gp::GpRegion*>(h)); }

bool Region::DeleteRegion() {
  if (!GetNative()) return false;
  Status s = GdipDeleteRegion(Rg(*this));
  ForgetNative();
  return Ok(s);
}

bool Region::CreateRegion() {
  gp::GpRegion* r = nullptr;
  bool ok = Ok(GdipCreateRegion(&r));
  SetNative(r);
  return ok;
}
bool Region::CreateRegionRect(const RectF& rect) {
  gp::RectF packed = Pack(rect);
  gp::GpRegion* r = nullptr;
  bool ok = Ok(GdipCreateRegionRect(&packed, &r));
  SetNative(r);
  return ok;
}
bool Region::CreateRegionRectI(const Rect& rect) {
  gp::Rect packed = Pack(rect);
  gp::GpRegion* r = nullptr;
  bool ok = Ok(GdipCreateRegionRectI(&packed, &r));
  SetNative(r);
  return ok;
}
bool Region::CreateRegionPath(const GraphicsPath& path) {
  gp::GpRegion* r = nullptr;
  bool ok = Ok(GdipCreateRegionPath(As<gp::GpPath>(path), &r));
  SetNative(r);
  return ok;
}
bool Region::CreateRegionHrgn(HRGN region) {
  gp::GpRegion* r = nullptr;
  bool ok = Ok(GdipCreateRegionHrgn(region, &r));
  SetNative(r);
  return ok;
}
bool Region::CreateRegionRgnData(const ByteSet& data, int size) {
  if (size < 0 || static_cast<size_t>(size) > data.size()) return Ok(kInvalidParameter);
  gp::GpRegion* r = nullptr;
  bool ok = Ok(GdipCreateRegionRgnData(data.data(), size, &r));
  SetNative(r);
  return ok;
}
bool Region::CloneRegion(Region& target) const {
  gp::GpRegion* clone = nullptr;
  if (!Ok(GdipCloneRegion(Rg(*this), &clone))) return false;
  target.SetNative(clone);
  return true;
}
bool Region::SetInfinite() { return Ok(GdipSetInfinite(Rg(*this))); }
bool Region::SetEmpty() { return Ok(GdipSetEmpty(Rg(*this))); }

bool Region::CombineRegionRect(const RectF& rect, std::optional<int> combineMode) {
  gp::RectF packed = Pack(rect);
  return Ok(GdipCombineRegionRect(Rg(*this), &packed, Combine(combineMode)));
}
bool Region::CombineRegionRectI(const Rect& rect, std::optional<int> combineMode) {
  gp::Rect packed = Pack(rect);
  return Ok(GdipCombineRegionRectI(Rg(*this), &packed, Combine(combineMode)));
}
bool Region::CombineRegionRegion(const Region& region, std::optional<int> combineMode) {
  return Ok(GdipCombineRegionRegion(Rg(*this), Rg(region), Combine(combineMode)));
}
bool Region::CombineRegionPath(const GraphicsPath& path, std::optional<int> combineMode) {
  return Ok(GdipCombineRegionPath(Rg(*this), As<gp::GpPath>(path), Combine(combineMode)));
}
bool Region::TranslateRegion(float dx, float dy) {
  return Ok(GdipTranslateRegion(Rg(*this), dx, dy));
}
bool Region::TranslateRegionI(int dx, int dy) {
  return Ok(GdipTranslateRegionI(Rg(*this), dx, dy));
}
bool Region::TransformRegion(const GraphicsObject& matrix) {
  return Ok(GdipTransformRegion(Rg(*this), As<gp::GpMatrix>(matrix)));
}
RectF Region::GetRegionBounds(const Graphics& surface) const {
  return Unpack(Read<gp::RectF>(GdipGetRegionBounds, Rg(*this), G(surface)));
}
Rect Region::GetRegionBoundsI(const Graphics& surface) const {
  return Unpack(Read<gp::Rect>(GdipGetRegionBoundsI, Rg(*this), G(surface)));
}
unsigned Region::GetRegionDataSize() const {
  return Read<UINT>(GdipGetRegionDataSize, Rg(*this));
}
ByteSet Region::GetRegionData(unsigned bufferSize, unsigned& filled) const {
  ByteSet data(bufferSize);
  UINT written = 0;
  lastStatus = GdipGetRegionData(Rg(*this), data.data(), bufferSize, &written);
  filled = written;
  return data;
}
HRGN Region::GetRegionHRgn(const Graphics& surface) const {
  return Read<HRGN>(GdipGetRegionHRgn, Rg(*this), G(surface));
}
bool Region::IsEmptyRegion(const Graphics& surface) const {
  return Read<BOOL>(GdipIsEmptyRegion, Rg(*this), G(surface)) != 0;
}
bool Region::IsInfiniteRegion(const Graphics& surface) const {
  return Read<BOOL>(GdipIsInfiniteRegion, Rg(*this), G(surface)) != 0;
}
bool Region::IsEqualRegion(const Region& other, const Graphics& surface) const {
  return Read<BOOL>(GdipIsEqualRegion, Rg(*this), Rg(other), G(surface)) != 0;
}
bool Region::IsVisibleRegionPoint(const PointF& point, const Graphics* surface) const {
  return Read<BOOL>(GdipIsVisibleRegionPoint, Rg(*this), point.x, point.y, G(surface)) != 0;
}
bool Region::IsVisibleRegionPointI(const Point& point, const Graphics* surface) const {
  return Read<BOOL>(GdipIsVisibleRegionPointI, Rg(*this), point.x, point.y, G(surface)) != 0;
}
bool Region::IsVisibleRegionRect(const RectF& r, const Graphics* surface) const {
  return Read<BOOL>(GdipIsVisibleRegionRect, Rg(*this), r.x, r.y, r.width, r.height,
                    G(surface)) != 0;
}
bool Region::IsVisibleRegionRectI(const Rect& r, const Graphics* surface) const {
  return Read<BOOL>(GdipIsVisibleRegionRectI, Rg(*this), r.x, r.y, r.width, r.height,
                    G(surface)) != 0;
}
unsigned Region::GetRegionScansCount(const GraphicsObject* matrix) const {
  // The count comes before the matrix in the platform's parameters.
  UINT n = 0;
  lastStatus = GdipGetRegionScansCount(Rg(*this), &n, As<gp::GpMatrix>(matrix));
  return n;
}
int Region::GetRegionScans(const GraphicsObject* matrix, std::vector<RectF>& rects) const {
  return ReadScans(*this, GdipGetRegionScans, matrix, rects);
}
int Region::GetRegionScansI(const GraphicsObject* matrix, std::vector<Rect>& rects) const {
  return ReadScans(*this, GdipGetRegionScansI, matrix, rects);
}

}  // namespace tovel
