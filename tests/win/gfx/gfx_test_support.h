#pragma once
// Shared by the graphics layer's tests: a started library, canvases to draw on,
// and holders for the platform objects that have no class of their own.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "gfx/brush.h"
#include "gfx/graphics.h"
#include "gfx/graphics_object.h"
#include "gfx/image.h"

namespace tovel::test {

namespace gp = Gdiplus;

// A platform matrix held the way the layer takes matrices: any GraphicsObject.
class TestMatrix : public GraphicsObject {
 public:
  TestMatrix() {
    gp::GpMatrix* m = nullptr;
    gp::DllExports::GdipCreateMatrix(&m);
    SetNative(m);
  }
  ~TestMatrix() override { Destroy(); }
  // m11 m12 m21 m22 dx dy
  std::array<float, 6> Elements() const {
    std::array<float, 6> e{};
    gp::DllExports::GdipGetMatrixElements(static_cast<gp::GpMatrix*>(GetNative()), e.data());
    return e;
  }
  PointF Apply(PointF p) const {
    gp::PointF q(p.x, p.y);
    gp::DllExports::GdipTransformMatrixPoints(static_cast<gp::GpMatrix*>(GetNative()), &q, 1);
    return {q.X, q.Y};
  }

 protected:
  void ReleaseNative(void* h) override {
    gp::DllExports::GdipDeleteMatrix(static_cast<gp::GpMatrix*>(h));
  }
};

class TestCachedBitmap : public GraphicsObject {
 public:
  TestCachedBitmap(const Bitmap& bitmap, const Graphics& surface) {
    gp::GpCachedBitmap* c = nullptr;
    gp::DllExports::GdipCreateCachedBitmap(static_cast<gp::GpBitmap*>(bitmap.GetNative()),
                                           static_cast<gp::GpGraphics*>(surface.GetNative()), &c);
    SetNative(c);
  }
  ~TestCachedBitmap() override { Destroy(); }

 protected:
  void ReleaseNative(void* h) override {
    gp::DllExports::GdipDeleteCachedBitmap(static_cast<gp::GpCachedBitmap*>(h));
  }
};

// A transparent 32-bit ARGB bitmap with a surface drawing into it.
struct Canvas {
  Canvas(int width, int height) {
    EXPECT_TRUE(bitmap.CreateBlank(width, height));
    EXPECT_TRUE(surface.CreateFromImage(bitmap));
  }
  Argb At(int x, int y) { return bitmap.GetPixel(x, y); }
  Bitmap bitmap;
  Graphics surface;
};

inline int Alpha(Argb c) { return (c >> 24) & 0xFF; }
inline int Red(Argb c) { return (c >> 16) & 0xFF; }
inline int Green(Argb c) { return (c >> 8) & 0xFF; }
inline int Blue(Argb c) { return c & 0xFF; }

// A solid bitmap of one colour.
inline Bitmap Solid(int width, int height, Argb color) {
  Bitmap b;
  EXPECT_TRUE(b.CreateBlank(width, height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, color);
  return b;
}

// A top-down 32-bit DIB description.
inline BITMAPINFO Dib32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

constexpr int kWorldSpace = 0;   // CoordinateSpaceWorld
constexpr int kDeviceSpace = 2;  // CoordinateSpaceDevice
constexpr int kPrepend = 0;
constexpr int kAppend = 1;

}  // namespace tovel::test
