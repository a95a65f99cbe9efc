// Spin controls and list-view headers on the gallery, lit by the real pointer and
// read back from the screen.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "skin/header.h"
#include "skin/glyphs.h"
#include "skin/spin.h"
#include "tests/win/skin/family_test_support.h"
#include "tests/win/skin/painted.h"

namespace tovel::skin::test {
namespace {

RECT OnScreen(HWND control, const RECT& local) {
  const RECT r = ScreenRect(control);
  return RECT{r.left + local.left, r.top + local.top, r.left + local.right, r.top + local.bottom};
}

std::vector<std::uint32_t> Part(HWND control, const RECT& local) { return ScreenArea(OnScreen(control, local)); }

TEST(SkinSpin, SixteenByTwentyTwoSplitsAtElevenAndLightsOnlyTheHalfUnderThePointer) {
  PointAt(900, 900);
  Gallery gallery;
  HWND spin = gallery.Item(gallery::kSpin);
  const RECT r = ScreenRect(spin);
  ASSERT_EQ(r.right - r.left, 16);
  ASSERT_EQ(r.bottom - r.top, 22);
  EXPECT_EQ(SpinHalfAt(16, 22, false, POINT{8, 10}), 0);
  EXPECT_EQ(SpinHalfAt(16, 22, false, POINT{8, 11}), 1);
  EXPECT_EQ(SpinHalfAt(16, 22, true, POINT{8, 2}), 1);
  EXPECT_EQ(SpinHalfAt(16, 22, true, POINT{7, 20}), 0);

  // Beside the arrows, inside each half's outline.
  const RECT top{1, 1, 4, 10}, bottom{1, 12, 4, 21};
  const RECT topEdge{0, 3, 1, 8};  // the top half's outline
  const auto topIdle = Settled(OnScreen(spin, top)), bottomIdle = Settled(OnScreen(spin, bottom));
  const auto topEdgeIdle = Part(spin, topEdge);

  PointAt(r.left + 8, r.top + 10);
  EXPECT_TRUE(PumpUntil([&] { return Part(spin, top) != topIdle; }, 2000));
  EXPECT_EQ(Part(spin, bottom), bottomIdle);
  const auto topEdgeLit = Part(spin, topEdge);

  PointAt(r.left + 8, r.top + 11);
  EXPECT_TRUE(PumpUntil([&] { return Part(spin, bottom) != bottomIdle; }, 2000));
  EXPECT_EQ(Part(spin, top), topIdle);
  // Lit, the half's outline is the highlight colour: the green gallery's, where
  // the idle outline is a dark line.
  const auto green = [](const std::vector<std::uint32_t>& area) {
    int sum = 0;
    for (std::uint32_t p : area) sum += G(p) - R(p);
    return sum / static_cast<int>(area.size());
  };
  EXPECT_GT(green(topEdgeLit), green(topEdgeIdle) + 20);

  PointAt(900, 900);
  EXPECT_TRUE(PumpUntil([&] { return Part(spin, bottom) == bottomIdle; }, 2000));
  EXPECT_EQ(Part(spin, top), topIdle);
}

TEST(SkinHeader, PointerWithinFivePixelsOfADividerLightsNoItem) {
  PointAt(900, 900);
  Gallery gallery;
  HWND view = gallery.Item(gallery::kListView);
  HWND header = ::FindWindowExW(view, nullptr, WC_HEADERW, nullptr);
  ASSERT_NE(header, nullptr);
  ASSERT_TRUE(::GetWindowLongPtrW(header, GWL_STYLE) & HDS_BUTTONS);
  RECT first{}, second{};
  Header_GetItemRect(header, 0, &first);
  Header_GetItemRect(header, 1, &second);
  ASSERT_EQ(first.right, 110);
  EXPECT_EQ(HeaderItemAt(header, 50), 1);
  EXPECT_EQ(HeaderItemAt(header, 105), 1);
  EXPECT_EQ(HeaderItemAt(header, 106), 0);
  EXPECT_EQ(HeaderItemAt(header, 114), 0);
  EXPECT_EQ(HeaderItemAt(header, 115), 2);

  // Above the text, across each item short of the divider.
  const RECT one{first.left + 2, 1, first.right - 2, 4}, two{second.left + 2, 1, second.right - 2, 4};
  const auto oneIdle = Settled(OnScreen(header, one)), twoIdle = Settled(OnScreen(header, two));
  const RECT h = ScreenRect(header);
  const int y = h.top + (h.bottom - h.top) / 2;

  PointAt(h.left + 50, y);
  EXPECT_TRUE(PumpUntil([&] { return Part(header, one) != oneIdle; }, 2000));
  EXPECT_EQ(Part(header, two), twoIdle);

  PointAt(h.left + 107, y);  // 3 pixels left of the divider
  EXPECT_TRUE(PumpUntil([&] { return Part(header, one) == oneIdle; }, 2000));
  EXPECT_EQ(Part(header, two), twoIdle);

  PointAt(h.left + 140, y);
  EXPECT_TRUE(PumpUntil([&] { return Part(header, two) != twoIdle; }, 2000));
  EXPECT_EQ(Part(header, one), oneIdle);
  PointAt(900, 900);
  EXPECT_TRUE(PumpUntil([&] { return Part(header, two) == twoIdle; }, 2000));
}

TEST(SkinHeader, ImageListStaysTheHeadersAndLastColumnReachesTheViewsEdge) {
  Gallery gallery;
  HWND view = gallery.Item(gallery::kListView);
  HWND header = ::FindWindowExW(view, nullptr, WC_HEADERW, nullptr);
  HIMAGELIST images = ::ImageList_Create(8, 8, ILC_COLOR32, 1, 0);
  ASSERT_NE(images, nullptr);
  {
    DibDc dot(8, 8);
    for (int i = 0; i < 64; ++i) dot.pixels()[i] = 0xFFFF0000;
    ::GdiFlush();
    ASSERT_EQ(::ImageList_Add(images, dot.bitmap(), nullptr), 0);
  }
  Header_SetImageList(header, images);
  HDITEMW item{};
  item.mask = HDI_IMAGE | HDI_FORMAT;
  item.fmt = HDF_STRING | HDF_IMAGE | HDF_LEFT;
  item.iImage = 0;
  Header_SetItem(header, 0, &item);
  ::UpdateWindow(header);

  // The face runs on past the last column: the skin alone would differ from it.
  RECT last{}, client{};
  Header_GetItemRect(header, 1, &last);
  ::GetClientRect(view, &client);
  ASSERT_LT(last.right + 10, client.right);
  const RECT h = ScreenRect(header);
  const POINT beyond{h.left + client.right - 5, h.top + 3};
  EXPECT_TRUE(PumpUntil([&] { return Screen(beyond.x, beyond.y) != SkinAt(*gallery.Record(), beyond); }, 2000));

  // The header's end leaves the image list to whoever made it.
  ::DestroyWindow(view);
  PumpPending();
  EXPECT_EQ(::ImageList_GetImageCount(images), 1);  // still the list it was
  EXPECT_TRUE(::ImageList_Destroy(images));
}

}  // namespace
}  // namespace tovel::skin::test

namespace tovel::skin::test {
namespace {

TEST(SpinPainter, EachArrowIsScaledAndCentredInItsHalf) {
  for (int dpi : kTriedDpis) {
    for (bool horizontal : {false, true}) {
      SCOPED_TRACE(AtDpi(dpi) + (horizontal ? ", across" : ", upright"));
      const Scale scale(dpi);
      SpinLook look;
      look.horizontal = horizontal;
      look.width = scale.Px(horizontal ? 22 : 16);
      look.height = scale.Px(horizontal ? 16 : 22);
      const Painted p(look.width, look.height, [&](Graphics& g) { PaintSpinControl(g, look, scale); });
      const int split = SpinSplit(look.width, look.height, horizontal);
      const RECT first = horizontal ? RECT{0, 0, split, look.height} : RECT{0, 0, look.width, split};
      const RECT second = horizontal ? RECT{split, 0, look.width, look.height} : RECT{0, split, look.width, look.height};
      const float f = FactorOf(dpi);
      ExpectCentredIn(p.Bounds(DarkInk, first), first, GlyphExtent(horizontal ? GlyphKind::ArrowLeft : GlyphKind::ArrowUp, f));
      ExpectCentredIn(p.Bounds(DarkInk, second), second, GlyphExtent(horizontal ? GlyphKind::ArrowRight : GlyphKind::ArrowDown, f));
    }
  }
}

}  // namespace
}  // namespace tovel::skin::test
