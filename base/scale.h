#pragma once

#include <cstdint>

namespace tovel {

// Edges of a rectangle in pixels.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A window's display scale. Every size is written at 96 DPI and becomes pixels here,
// with one rounding rule (half away from zero), so all places agree to the pixel.
class Scale {
 public:
  static constexpr int kBaseDpi = 96;

  constexpr Scale() = default;
  // A dpi of 0 or less is no answer from the platform: taken as 96.
  constexpr explicit Scale(int dpi) : dpi_(dpi > 0 ? dpi : kBaseDpi) {}

  constexpr int dpi() const { return dpi_; }

  constexpr int Px(int at96) const {
    const std::int64_t n = static_cast<std::int64_t>(at96) * dpi_;
    const std::int64_t q = n / kBaseDpi;
    const std::int64_t r = n % kBaseDpi;
    if (2 * (r < 0 ? -r : r) < kBaseDpi) return static_cast<int>(q);
    return static_cast<int>(n < 0 ? q - 1 : q + 1);
  }

  // Each edge is scaled on its own, so controls that touch at 96 DPI still touch and a
  // control's right edge is where its neighbour's left edge is; the size follows from them.
  constexpr PixelRect Rect(int left, int top, int width, int height) const {
    return {Px(left), Px(top), Px(left + width), Px(top + height)};
  }

  friend constexpr bool operator==(Scale, Scale) = default;

 private:
  int dpi_ = kBaseDpi;
};

}  // namespace tovel
