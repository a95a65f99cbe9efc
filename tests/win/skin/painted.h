#pragma once
// A painter drawn into a transparent bitmap and read back, so its sizes can be
// measured at any scale without a window.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/scale.h"
#include "gfx/graphics.h"
#include "gfx/image.h"

namespace tovel::skin::test {

// Scales the painters are tried at: 1, 1.5 and 2.
inline constexpr int kTriedDpis[] = {96, 144, 192};

class Painted {
 public:
  Painted(int width, int height, const std::function<void(Graphics&)>& paint) : width_(width), height_(height) {
    StartGraphics();
    Bitmap canvas;
    Graphics g;
    EXPECT_TRUE(canvas.CreateBlank(width, height));
    EXPECT_TRUE(g.CreateFromImage(canvas));
    paint(g);
    g.Delete();
    BitmapData data;
    EXPECT_TRUE(canvas.LockBits(Rect{0, 0, width, height}, 1, kPixelFormat32bppArgb, data));
    for (int y = 0; y < height; ++y) {
      const auto* row =
          reinterpret_cast<const Argb*>(static_cast<const std::uint8_t*>(data.scan0) + y * data.stride);
      pixels_.insert(pixels_.end(), row, row + width);
    }
    canvas.UnlockBits(data);
  }

  int width() const { return width_; }
  int height() const { return height_; }
  Argb At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

  // The smallest rectangle holding every pixel `ink` accepts; empty when none does.
  RECT Bounds(const std::function<bool(Argb)>& ink) const { return Bounds(ink, RECT{0, 0, width_, height_}); }
  // The same, looking only within `area`.
  RECT Bounds(const std::function<bool(Argb)>& ink, const RECT& area) const {
    RECT r{width_, height_, 0, 0};
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (ink(At(x, y))) r = {std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x + 1),
                                std::max<LONG>(r.bottom, y + 1)};
    return r.right > r.left ? r : RECT{};
  }

 private:
  int width_, height_;
  std::vector<Argb> pixels_;
};

inline int AlphaOf(Argb c) { return static_cast<int>(c >> 24); }
inline bool AnyInk(Argb c) { return AlphaOf(c) > 0; }
// Opaque and dark: a glyph's black ink, not the translucent faces and borders around it.
inline bool DarkInk(Argb c) {
  return AlphaOf(c) > 200 && ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) < 3 * 60;
}

inline float FactorOf(int dpi) { return static_cast<float>(dpi) / Scale::kBaseDpi; }

// A glyph's ink is its full size, inside `box`, with margins that differ by a pixel at most.
inline void ExpectCentredIn(const RECT& ink, const RECT& box, SIZE size) {
  ASSERT_LT(ink.left, ink.right) << "no glyph drawn";
  EXPECT_EQ(ink.right - ink.left, size.cx);
  EXPECT_EQ(ink.bottom - ink.top, size.cy);
  EXPECT_GE(ink.left, box.left);
  EXPECT_LE(ink.right, box.right);
  EXPECT_GE(ink.top, box.top);
  EXPECT_LE(ink.bottom, box.bottom);
  EXPECT_LE(std::abs((ink.left - box.left) - (box.right - ink.right)), 1);
  EXPECT_LE(std::abs((ink.top - box.top) - (box.bottom - ink.bottom)), 1);
}

// What a failed check was drawn at.
inline std::string AtDpi(int dpi) { return "at " + std::to_string(dpi) + " DPI"; }

}  // namespace tovel::skin::test
