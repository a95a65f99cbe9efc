// Sliders of the gallery: the thumb that grows under the pointer, and ranges that
// divide nothing by zero.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "skin/slider.h"
#include "tests/gallery/gallery_window.h"
#include "tests/win/skin/painted.h"
#include "tests/win/skin/skin_test_support.h"

namespace tovel::skin::test {
namespace {

using namespace gallery;

std::vector<std::uint32_t> Pixels(HWND control) {
  RECT r;
  ::GetWindowRect(control, &r);
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < r.bottom - r.top; ++y)
    for (int x = 0; x < r.right - r.left; ++x) pixels.push_back(WindowPixel(control, x, y));
  return pixels;
}

TEST(GallerySliders, LargeThumbUnderThePointerAndTheDotAfter) {
  HWND window = OpenGallery(Engine());
  PumpPending();
  HWND slider = ::GetDlgItem(window, kSliderHorizontal);
  RECT thumb{}, channel{};
  ::SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  ::SendMessageW(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  const POINT edge{thumb.left + 8, (channel.top + channel.bottom) / 2};  // in the circle, not the dot
  const auto dot = Pixels(slider);
  EXPECT_LT(R(WindowPixel(slider, edge.x, edge.y)), 200);

  ::SendMessageW(slider, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
  EXPECT_GT(R(WindowPixel(slider, edge.x, edge.y)), 200);
  const auto large = Pixels(slider);
  ::SendMessageW(slider, WM_MOUSEMOVE, 0, MAKELPARAM(30, 10));
  EXPECT_EQ(Pixels(slider), large);  // moving inside repaints nothing new
  ::SendMessageW(slider, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Pixels(slider), dot);

  // Crossed fast: the move is handled after the pointer has gone on. The slider
  // still hears that it was left, and the dot comes back.
  RECT r;
  ::GetWindowRect(slider, &r);
  ::SetCursorPos(r.left - 1, r.top - 1);
  ::SendMessageW(slider, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
  EXPECT_TRUE(PumpUntil([&] { return Pixels(slider) == dot; }));

  // Disabled, it ignores the pointer and shows no highlight.
  ::EnableWindow(slider, FALSE);
  const auto disabled = Pixels(slider);
  EXPECT_NE(disabled, dot);
  ::SendMessageW(slider, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
  EXPECT_EQ(Pixels(slider), disabled);
  ::EnableWindow(slider, TRUE);

  // A range of nothing paints, and divides nothing by zero.
  ::SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(5, 5));
  ::SendMessageW(slider, TBM_SETSEL, TRUE, MAKELPARAM(5, 5));
  ::UpdateWindow(slider);
  HWND vertical = ::GetDlgItem(window, kSliderVertical);
  ::SendMessageW(vertical, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  ::UpdateWindow(vertical);
  EXPECT_TRUE(::IsWindow(slider));
  ::DestroyWindow(window);
  PumpPending();
}

}  // namespace
}  // namespace tovel::skin::test

namespace tovel::skin::test {
namespace {

// A horizontal slider's look as the platform would lay it out at this scale.
SliderLook LaidOut(Scale scale, bool hot) {
  SliderLook look;
  look.width = scale.Px(150);
  look.height = scale.Px(30);
  look.hot = hot;
  look.frame = false;
  look.channel = RECT{scale.Px(8), scale.Px(13), scale.Px(142), scale.Px(17)};
  look.thumb = RECT{scale.Px(70), scale.Px(5), scale.Px(80), scale.Px(25)};
  look.minimum = 0;
  look.maximum = 100;
  look.position = 50;
  return look;
}

// Only the thumb is opaque: the channel and the highlight are translucent.
bool ThumbInk(Argb c) { return AlphaOf(c) == 255; }

TEST(SliderPainter, ThumbAndItsHoverGrowthFollowTheScale) {
  for (int dpi : kTriedDpis) {
    SCOPED_TRACE(AtDpi(dpi));
    const Scale scale(dpi);
    for (const auto& [hot, diameter] : {std::pair{true, 11}, std::pair{false, 4}}) {
      SCOPED_TRACE(hot ? "under the pointer" : "the dot");
      const SliderLook look = LaidOut(scale, hot);
      const Painted p(look.width, look.height, [&](Graphics& g) { PaintSlider(g, look, scale); });
      const RECT thumb = p.Bounds(ThumbInk);
      const int size = scale.Px(diameter);
      // The anti-aliased rim is not opaque: the solid part is the diameter or a pixel or two less.
      EXPECT_GE(thumb.right - thumb.left, size - 2);
      EXPECT_LE(thumb.right - thumb.left, size);
      EXPECT_GE(thumb.bottom - thumb.top, size - 2);
      EXPECT_LE(thumb.bottom - thumb.top, size);
      // It starts at the platform's thumb and sits on the channel's middle line.
      EXPECT_NEAR(thumb.left, look.thumb.left, 1);
      EXPECT_NEAR((thumb.top + thumb.bottom) / 2.0, (look.channel.top + look.channel.bottom) / 2.0, 1.0);
    }
  }
}

}  // namespace
}  // namespace tovel::skin::test
