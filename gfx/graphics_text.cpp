// Texts, images and metafiles drawn through Graphics.
#include "gfx/brush.h"
#include "gfx/font.h"
#include "gfx/gdiplus_flat.h"
#include "gfx/graphics.h"
#include "gfx/image.h"
#include "gfx/path.h"

namespace tovel {
using namespace gdip;

namespace {
gp::GpGraphics* G(const Graphics& g) { return As<gp::GpGraphics>(g); }
gp::GpImage* I(const Image& i) { return As<gp::GpImage>(i); }
gp::GpImageAttributes* Attr(const GraphicsObject* a) { return As<gp::GpImageAttributes>(a); }
gp::GpMetafile* Meta(const GraphicsObject& m) { return As<gp::GpMetafile>(m); }
gp::EnumerateMetafileProc Proc(MetafileRecordProc p) {
  return reinterpret_cast<gp::EnumerateMetafileProc>(p);
}
constexpr int kUnitPixel = 2;
constexpr int kRealizedAdvance = 4;

bool DrawWide(gp::GpGraphics* g, const std::wstring& text, const Font& font, const Brush& brush,
              const RectF& layout, const StringFormat& format) {
  gp::RectF rect = Pack(layout);
  return Ok(GdipDrawString(g, text.c_str(), WideLength(text), As<gp::GpFont>(font), &rect,
                           As<gp::GpStringFormat>(format), As<gp::GpBrush>(brush)));
}

bool MeasureWide(gp::GpGraphics* g, const std::wstring& text, const Font& font,
                 const RectF& layout, const StringFormat& format, RectF& bounds) {
  gp::RectF rect = Pack(layout), out;
  bool ok = Ok(GdipMeasureString(g, text.c_str(), WideLength(text), As<gp::GpFont>(font), &rect,
                                 As<gp::GpStringFormat>(format), &out, nullptr, nullptr));
  if (ok) bounds = Unpack(out);
  return ok;
}

bool MeasureRangesWide(gp::GpGraphics* g, const std::wstring& text, const Font& font,
                       const RectF& layout, const StringFormat& format, int count,
                       std::vector<Region>& regions) {
  if (count < 1) return Ok(kInvalidParameter);
  std::vector<Region> made(static_cast<size_t>(count));
  std::vector<gp::GpRegion*> handles;
  for (Region& r : made) {
    if (!r.CreateRegion()) return false;
    handles.push_back(As<gp::GpRegion>(r));
  }
  gp::RectF rect = Pack(layout);
  if (!Ok(GdipMeasureCharacterRanges(g, text.c_str(), WideLength(text), As<gp::GpFont>(font),
                                     rect, As<gp::GpStringFormat>(format), count,
                                     handles.data())))
    return false;
  regions = std::move(made);
  return true;
}

bool DrawDriverWide(gp::GpGraphics* g, const std::wstring& text, const Font& font,
                    const Brush& brush, std::span<const PointF> positions, int flags,
                    const GraphicsObject* matrix) {
  // The platform reads one position per character (one in all with realized
  // advance); fewer would make it read past the caller's array.
  size_t needed = (flags & kRealizedAdvance) ? 1 : text.size();
  if (positions.size() < needed) return Ok(kInvalidParameter);
  auto p = Pack(positions);
  return Ok(GdipDrawDriverString(g, reinterpret_cast<const UINT16*>(text.c_str()),
                                 WideLength(text), As<gp::GpFont>(font), As<gp::GpBrush>(brush),
                                 p.data(), flags, As<gp::GpMatrix>(matrix)));
}
}  // namespace

bool Graphics::DrawString(const Text& text, const Font& font, const Brush& brush,
                          const RectF& layout, const StringFormat& format) {
  return DrawWide(G(*this), WideFromText(text), font, brush, layout, format);
}
bool Graphics::DrawStringWide(const ByteSet& text, const Font& font, const Brush& brush,
                              const RectF& layout, const StringFormat& format) {
  return DrawWide(G(*this), WideFromBytes(text), font, brush, layout, format);
}
bool Graphics::MeasureString(const Text& text, const Font& font, const RectF& layout,
                             const StringFormat& format, RectF& bounds) {
  return MeasureWide(G(*this), WideFromText(text), font, layout, format, bounds);
}
bool Graphics::MeasureStringWide(const ByteSet& text, const Font& font, const RectF& layout,
                                 const StringFormat& format, RectF& bounds) {
  return MeasureWide(G(*this), WideFromBytes(text), font, layout, format, bounds);
}
bool Graphics::MeasureCharacterRanges(const Text& text, const Font& font, const RectF& layout,
                                      const StringFormat& format, int count,
                                      std::vector<Region>& regions) {
  return MeasureRangesWide(G(*this), WideFromText(text), font, layout, format, count, regions);
}
bool Graphics::MeasureCharacterRangesWide(const ByteSet& text, const Font& font,
                                          const RectF& layout, const StringFormat& format,
                                          int count, std::vector<Region>& regions) {
  return MeasureRangesWide(G(*this), WideFromBytes(text), font, layout, format, count, regions);
}
bool Graphics::DrawDriverString(const Text& text, const Font& font, const Brush& brush,
                                std::span<const PointF> positions, int flags,
                                const GraphicsObject* matrix) {
  return DrawDriverWide(G(*this), WideFromText(text), font, brush, positions, flags, matrix);
}
bool Graphics::DrawDriverStringWide(const ByteSet& text, const Font& font, const Brush& brush,
                                    std::span<const PointF> positions, int flags,
                                    const GraphicsObject* matrix) {
  return DrawDriverWide(G(*this), WideFromBytes(text), font, brush, positions, flags, matrix);
}

bool Graphics::DrawImage(const Image& image, float x, float y) {
  return Ok(GdipDrawImage(G(*this), I(image), x, y));
}
bool Graphics::DrawImageI(const Image& image, int x, int y) {
  return Ok(GdipDrawImageI(G(*this), I(image), x, y));
}
bool Graphics::DrawCachedBitmap(const GraphicsObject& cachedBitmap, float x, float y) {
  // The platform takes whole pixels; the conversion truncates toward zero.
  return Ok(GdipDrawCachedBitmap(G(*this), As<gp::GpCachedBitmap>(cachedBitmap),
                                 static_cast<INT>(x), static_cast<INT>(y)));
}
bool Graphics::DrawImageStretched(const Image& image, float x, float y, float width,
                                  float height, std::optional<int> srcUnit) {
  float w = static_cast<float>(image.GetWidth());
  float h = static_cast<float>(image.GetHeight());
  return Ok(GdipDrawImageRectRect(G(*this), I(image), x, y, width, height, 0, 0, w, h,
                                  UnitOf(srcUnit.value_or(kUnitPixel)), nullptr, nullptr,
                                  nullptr));
}
bool Graphics::DrawImageStretchedI(const Image& image, int x, int y, int width, int height,
                                   std::optional<int> srcUnit) {
  INT w = static_cast<INT>(image.GetWidth());
  INT h = static_cast<INT>(image.GetHeight());
  return Ok(GdipDrawImageRectRectI(G(*this), I(image), x, y, width, height, 0, 0, w, h,
                                   UnitOf(srcUnit.value_or(kUnitPixel)), nullptr, nullptr,
                                   nullptr));
}
bool Graphics::DrawImagePoints(const Image& image, float x1, float y1, float x2, float y2,
                               float x3, float y3) {
  gp::PointF p[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
  return Ok(GdipDrawImagePoints(G(*this), I(image), p, 3));
}
bool Graphics::DrawImagePointsI(const Image& image, int x1, int y1, int x2, int y2, int x3,
                                int y3) {
  gp::Point p[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
  return Ok(GdipDrawImagePointsI(G(*this), I(image), p, 3));
}
bool Graphics::DrawImagePointRect(const Image& image, float x, float y, float srcX, float srcY,
                                  float srcWidth, float srcHeight, std::optional<int> srcUnit) {
  return Ok(GdipDrawImagePointRect(G(*this), I(image), x, y, srcX, srcY, srcWidth, srcHeight,
                                   UnitOf(srcUnit.value_or(kUnitPixel))));
}
bool Graphics::DrawImagePointRectI(const Image& image, int x, int y, int srcX, int srcY,
                                   int srcWidth, int srcHeight, std::optional<int> srcUnit) {
  return Ok(GdipDrawImagePointRectI(G(*this), I(image), x, y, srcX, srcY, srcWidth, srcHeight,
                                    UnitOf(srcUnit.value_or(kUnitPixel))));
}
bool Graphics::DrawImageRectRect(const Image& image, float x, float y, float width,
                                 float height, float srcX, float srcY, float srcWidth,
                                 float srcHeight, std::optional<int> srcUnit,
                                 const GraphicsObject* attributes) {
  return Ok(GdipDrawImageRectRect(G(*this), I(image), x, y, width, height, srcX, srcY, srcWidth,
                                  srcHeight, UnitOf(srcUnit.value_or(kUnitPixel)),
                                  Attr(attributes), nullptr, nullptr));
}
bool Graphics::DrawImageRectRectI(const Image& image, int x, int y, int width, int height,
                                  int srcX, int srcY, int srcWidth, int srcHeight,
                                  std::optional<int> srcUnit, const GraphicsObject* attributes) {
  return Ok(GdipDrawImageRectRectI(G(*this), I(image), x, y, width, height, srcX, srcY,
                                   srcWidth, srcHeight, UnitOf(srcUnit.value_or(kUnitPixel)),
                                   Attr(attributes), nullptr, nullptr));
}
bool Graphics::DrawImagePointsRect(const Image& image, float x1, float y1, float x2, float y2,
                                   float x3, float y3, const RectF& src,
                                   std::optional<int> srcUnit, const GraphicsObject* attributes) {
  gp::PointF p[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
  return Ok(GdipDrawImagePointsRect(G(*this), I(image), p, 3, src.x, src.y, src.width,
                                    src.height, UnitOf(srcUnit.value_or(kUnitPixel)),
                                    Attr(attributes), nullptr, nullptr));
}
bool Graphics::DrawImagePointsRectI(const Image& image, int x1, int y1, int x2, int y2, int x3,
                                    int y3, const Rect& src, std::optional<int> srcUnit,
                                    const GraphicsObject* attributes) {
  gp::Point p[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
  return Ok(GdipDrawImagePointsRectI(G(*this), I(image), p, 3, src.x, src.y, src.width,
                                     src.height, UnitOf(srcUnit.value_or(kUnitPixel)),
                                     Attr(attributes), nullptr, nullptr));
}

bool Graphics::EnumerateMetafileDestPoint(const GraphicsObject& metafile, const PointF& dest,
                                          MetafileRecordProc callback, void* callbackData,
                                          const GraphicsObject* attributes) {
  return Ok(GdipEnumerateMetafileDestPoint(G(*this), Meta(metafile), Pack(dest), Proc(callback),
                                           callbackData, Attr(attributes)));
}
bool Graphics::EnumerateMetafileDestPointI(const GraphicsObject& metafile, const Point& dest,
                                           MetafileRecordProc callback, void* callbackData,
                                           const GraphicsObject* attributes) {
  return Ok(GdipEnumerateMetafileDestPointI(G(*this), Meta(metafile), Pack(dest),
                                            Proc(callback), callbackData, Attr(attributes)));
}
bool Graphics::EnumerateMetafileDestPoints(const GraphicsObject& metafile,
                                           std::span<const PointF> dest,
                                           MetafileRecordProc callback, void* callbackData,
                                           const GraphicsObject* attributes) {
  auto p = Pack(dest);
  return Ok(GdipEnumerateMetafileDestPoints(G(*this), Meta(metafile), p.data(), p.count(),
                                            Proc(callback), callbackData, Attr(attributes)));
}
bool Graphics::EnumerateMetafileDestPointsI(const GraphicsObject& metafile,
                                            std::span<const Point> dest,
                                            MetafileRecordProc callback, void* callbackData,
                                            const GraphicsObject* attributes) {
  auto p = Pack(dest);
  return Ok(GdipEnumerateMetafileDestPointsI(G(*this), Meta(metafile), p.data(), p.count(),
                                             Proc(callback), callbackData, Attr(attributes)));
}
bool Graphics::EnumerateMetafileDestRect(const GraphicsObject& metafile, const RectF& dest,
                                         MetafileRecordProc callback, void* callbackData,
                                         const GraphicsObject* attributes) {
  return Ok(GdipEnumerateMetafileDestRect(G(*this), Meta(metafile), Pack(dest), Proc(callback),
                                          callbackData, Attr(attributes)));
}
bool Graphics::EnumerateMetafileDestRectI(const GraphicsObject& metafile, const Rect& dest,
                                          MetafileRecordProc callback, void* callbackData,
                                          const GraphicsObject* attributes) {
  return Ok(GdipEnumerateMetafileDestRectI(G(*this), Meta(metafile), Pack(dest), Proc(callback),
                                           callbackData, Attr(attributes)));
}
bool Graphics::EnumerateMetafileSrcRectDestPoint(const GraphicsObject& metafile,
                                                 const PointF& dest, const RectF& src,
                                                 int srcUnit, MetafileRecordProc callback,
                                                 void* callbackData,
                                                 const GraphicsObject* attributes) {
  return Ok(GdipEnumerateMetafileSrcRectDestPoint(G(*this), Meta(metafile), Pack(dest),
                                                  Pack(src), UnitOf(srcUnit), Proc(callback),
                                                  callbackData, Attr(attributes)));
}
bool Graphics::EnumerateMetafileSrcRectDestPointI(const GraphicsObject& metafile,
                                                  const Point& dest, const Rect& src,
                                                  int srcUnit, MetafileRecordProc callback,
                                                  void* callbackData,
                                                  const GraphicsObject* attributes) {
  return Ok(GdipEnumerateMetafileSrcRectDestPointI(G(*this), Meta(metafile), Pack(dest),
                                                   Pack(src), UnitOf(srcUnit), Proc(callback),
                                                   callbackData, Attr(attributes)));
}
bool Graphics::EnumerateMetafileSrcRectDestPoints(const GraphicsObject& metafile,
                                                  std::span<const PointF> dest, const RectF& src,
                                                  int srcUnit, MetafileRecordProc callback,
                                                  void* callbackData,
                                                  const GraphicsObject* attributes) {
  auto p = Pack(dest);
  return Ok(GdipEnumerateMetafileSrcRectDestPoints(G(*this), Meta(metafile), p.data(),
                                                   p.count(), Pack(src), UnitOf(srcUnit),
                                                   Proc(callback), callbackData,
                                                   Attr(attributes)));
}
bool Graphics::EnumerateMetafileSrcRectDestPointsI(const GraphicsObject& metafile,
                                                   std::span<const Point> dest, const Rect& src,
                                                   int srcUnit, MetafileRecordProc callback,
                                                   void* callbackData,
                                                   const GraphicsObject* attributes) {
  auto p = Pack(dest);
  return Ok(GdipEnumerateMetafileSrcRectDestPointsI(G(*this), Meta(metafile), p.data(),
                                                    p.count(), Pack(src), UnitOf(srcUnit),
                                                    Proc(callback), callbackData,
                                                    Attr(attributes)));
}
bool Graphics::EnumerateMetafileSrcRectDestRect(const GraphicsObject& metafile,
                                                const RectF& dest, const RectF& src,
                                                int srcUnit, MetafileRecordProc callback,
                                                void* callbackData,
                                                const GraphicsObject* attributes) {
  return Ok(GdipEnumerateMetafileSrcRectDestRect(G(*this), Meta(metafile), Pack(dest), Pack(src),
                                                 UnitOf(srcUnit), Proc(callback), callbackData,
                                                 Attr(attributes)));
}
bool Graphics::EnumerateMetafileSrcRectDestRectI(const GraphicsObject& metafile,
                                                 const Rect& dest, const Rect& src, int srcUnit,
                                                 MetafileRecordProc callback, void* callbackData,
                                                 const GraphicsObject* attributes) {
  return Ok(GdipEnumerateMetafileSrcRectDestRectI(G(*this), Meta(metafile), Pack(dest),
                                                  Pack(src), UnitOf(srcUnit), Proc(callback),
                                                  callbackData, Attr(attributes)));
}

}  // namespace tovel
