#include <algorithm>
#include <cmath>
#include <memory>

#include "gfx/brush.h"
#include "gfx/gdiplus_flat.h"
#include "gfx/graphics.h"
#include "gfx/image.h"

namespace tovel {
using namespace gdip;

namespace {
gp::GpBitmap* Bm(const Bitmap& b) { return As<gp::GpBitmap>(b); }

struct MatrixDeleter {
  void operator()(gp::GpMatrix* m) const { GdipDeleteMatrix(m); }
};
using MatrixOwner = std::unique_ptr<gp::GpMatrix, MatrixDeleter>;
}  // namespace

bool Bitmap::CreateFromFile(const Text& fileName, bool icm) {
  return LoadFromWideName(WideFromText(fileName), icm, true);
}
bool Bitmap::CreateFromFileWide(const ByteSet& fileName, bool icm) {
  return LoadFromWideName(WideFromBytes(fileName), icm, true);
}
bool Bitmap::CreateFromBytes(ByteView bytes, bool icm) { return LoadFromStream(bytes, icm, true); }

bool Bitmap::CreateFromPixels(int width, int height, int stride, int pixelFormat, void* pixels) {
  gp::GpBitmap* b = nullptr;
  bool ok = Ok(GdipCreateBitmapFromScan0(width, height, stride, pixelFormat,
                                         static_cast<BYTE*>(pixels), &b));
  SetNative(b);
  return ok;
}

bool Bitmap::CreateBlank(int width, int height, std::optional<int> pixelFormat) {
  return CreateFromPixels(width, height, 0, pixelFormat.value_or(kPixelFormat32bppArgb), nullptr);
}

bool Bitmap::CreateFromGraphics(int width, int height, const Graphics& surface) {
  gp::GpBitmap* b = nullptr;
  bool ok = Ok(GdipCreateBitmapFromGraphics(width, height, As<gp::GpGraphics>(surface), &b));
  SetNative(b);
  return ok;
}

bool Bitmap::CreateFromDib(const BITMAPINFO* info, void* bits) {
  gp::GpBitmap* b = nullptr;
  bool ok = Ok(GdipCreateBitmapFromGdiDib(info, bits, &b));
  SetNative(b);
  return ok;
}

bool Bitmap::CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette) {
  gp::GpBitmap* b = nullptr;
  bool ok = Ok(GdipCreateBitmapFromHBITMAP(bitmap, palette, &b));
  SetNative(b);
  return ok;
}

bool Bitmap::CreateFromHICON(HICON icon) {
  gp::GpBitmap* b = nullptr;
  bool ok = Ok(GdipCreateBitmapFromHICON(icon, &b));
  SetNative(b);
  return ok;
}

bool Bitmap::CreateFromResource(HINSTANCE module, const wchar_t* name) {
  gp::GpBitmap* b = nullptr;
  bool ok = Ok(GdipCreateBitmapFromResource(module, name, &b));
  SetNative(b);
  return ok;
}

HBITMAP Bitmap::GetHBITMAP(std::optional<Argb> background) const {
  HBITMAP h = nullptr;
  lastStatus = GdipCreateHBITMAPFromBitmap(Bm(*this), &h, background.value_or(0));
  return h;
}

HICON Bitmap::GetHICON() const { return Read<HICON>(GdipCreateHICONFromBitmap, Bm(*this)); }

bool Bitmap::CloneArea(const RectF& area, int pixelFormat, Bitmap& target) const {
  gp::GpBitmap* b = nullptr;
  if (!Ok(GdipCloneBitmapArea(area.x, area.y, area.width, area.height, pixelFormat, Bm(*this),
                              &b)))
    return false;
  target.SetNative(b);
  return true;
}

bool Bitmap::CloneAreaI(const Rect& area, int pixelFormat, Bitmap& target) const {
  gp::GpBitmap* b = nullptr;
  if (!Ok(GdipCloneBitmapAreaI(area.x, area.y, area.width, area.height, pixelFormat, Bm(*this),
                               &b)))
    return false;
  target.SetNative(b);
  return true;
}

bool Bitmap::LockBits(const Rect& area, unsigned flags, int pixelFormat, BitmapData& data) {
  gp::Rect rect = Pack(area);
  gp::BitmapData locked{};
  if (!Ok(GdipBitmapLockBits(Bm(*this), &rect, flags, pixelFormat, &locked))) return false;
  data = {locked.Width, locked.Height, locked.Stride, locked.PixelFormat, locked.Scan0,
          locked.Reserved};
  return true;
}

bool Bitmap::UnlockBits(BitmapData& data) {
  gp::BitmapData locked{};
  locked.Width = data.width;
  locked.Height = data.height;
  locked.Stride = data.stride;
  locked.PixelFormat = data.pixelFormat;
  locked.Scan0 = data.scan0;
  locked.Reserved = data.reserved;
  return Ok(GdipBitmapUnlockBits(Bm(*this), &locked));
}

Argb Bitmap::GetPixel(int x, int y) const {
  return Read<gp::ARGB>(GdipBitmapGetPixel, Bm(*this), x, y);
}
bool Bitmap::SetPixel(int x, int y, Argb color) {
  return Ok(GdipBitmapSetPixel(Bm(*this), x, y, color));
}
bool Bitmap::SetResolution(float dpiX, float dpiY) {
  return Ok(GdipBitmapSetResolution(Bm(*this), dpiX, dpiY));
}

bool Bitmap::ApplyEffect(const GraphicsObject& effect, EffectAuxData& aux, const RECT* area) {
  aux.Reset();
  RECT r = area ? *area : RECT{};
  return Ok(GdipBitmapApplyEffect(Bm(*this), As<gp::CGpEffect>(effect), area ? &r : nullptr,
                                  TRUE, &aux.data, &aux.size));
}

SizeF Bitmap::GetRotatedSize(float width, float height, int angle) {
  const float r = static_cast<float>(angle * 3.1415926535 / 180);
  const float c = static_cast<float>(std::cos(r));
  const float s = static_cast<float>(std::sin(r));
  // Corner pixel centres around the picture's centre.
  const float hx = (width - 1) / 2, hy = (height - 1) / 2;
  const PointF corners[4] = {{-hx, hy}, {hx, hy}, {-hx, -hy}, {hx, -hy}};
  PointF turned[4];
  for (int i = 0; i < 4; ++i)
    turned[i] = {corners[i].x * c + corners[i].y * s, -corners[i].x * s + corners[i].y * c};
  return {std::max(std::fabs(turned[3].x - turned[0].x), std::fabs(turned[2].x - turned[1].x)),
          std::max(std::fabs(turned[3].y - turned[0].y), std::fabs(turned[2].y - turned[1].y))};
}

bool Bitmap::RotateInto(float angle, Bitmap& target, std::optional<Argb> background,
                        std::optional<int> interpolationMode, std::optional<SizeF> size) const {
  const float w = static_cast<float>(GetWidth()), h = static_cast<float>(GetHeight());
  const SizeF out = size.value_or(GetRotatedSize(w, h, static_cast<int>(angle)));
  Bitmap made;
  if (!made.CreateBlank(static_cast<int>(out.width), static_cast<int>(out.height))) return false;
  made.SetResolution(GetHorizontalResolution(), GetVerticalResolution());
  Status drawn;
  {
    Graphics surface;
    if (!surface.CreateFromImage(made)) return false;
    if (background) {
      SolidBrush brush;
      if (!brush.CreateSolidFill(*background) ||
          !surface.FillRectangle(brush, 0, 0, out.width, out.height))
        return false;
    }
    if (interpolationMode) surface.SetInterpolationMode(*interpolationMode);
    gp::GpMatrix* m = nullptr;
    if (!Ok(GdipCreateMatrix(&m))) return false;
    MatrixOwner matrix(m);
    // Prepended, so the picture is first centred on the new one, then turned about its centre.
    GdipTranslateMatrix(m, out.width / 2, out.height / 2, gp::MatrixOrderPrepend);
    GdipRotateMatrix(m, angle, gp::MatrixOrderPrepend);
    GdipTranslateMatrix(m, -out.width / 2, -out.height / 2, gp::MatrixOrderPrepend);
    GdipTranslateMatrix(m, (out.width - w) / 2, (out.height - h) / 2, gp::MatrixOrderPrepend);
    gp::GpGraphics* g = As<gp::GpGraphics>(surface);
    if (!Ok(GdipSetWorldTransform(g, m))) return false;
    drawn = GdipDrawImage(g, As<gp::GpImage>(*this), 0, 0);
    GdipResetWorldTransform(g);
  }
  if (!Ok(drawn)) return false;
  target.SetNative(made.Detach());
  return true;
}

}  // namespace tovel
