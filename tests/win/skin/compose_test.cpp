// Composition on real windows under the skin, read back pixel by pixel.
#include <gtest/gtest.h>

#include "base/dc.h"
#include "skin/helpers.h"
#include "tests/win/skin/skin_test_support.h"

namespace tovel::skin::test {
namespace {

constexpr std::uint32_t kMagenta = 0xFF00FF;
constexpr std::uint32_t kBlue = 0x2850A0;  // 40, 80, 160

void UseSolidSkin(std::uint32_t colour, int mode = 3) {
  SetSkinArgs look;
  look.imageData = MakePicture(60, 40, [colour](int, int) { return colour; });
  look.mode = mode;
  ASSERT_EQ(Engine().SetSkin(look), "");
}

TEST(SkinCompose, WholeWindowIsClientWithCutCornersAndADoubleFrame) {
  UseSolidSkin(kBlue);
  TestWindow window(200, 150);
  SkinWindowArgs args;
  args.captionHeight = 30;
  window.Skin(args);
  SkinnedWindow* w = window.Record();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return static_cast<bool>(w->Composed()); }));

  RECT client, outer;
  ::GetClientRect(window.get(), &client);
  ::GetWindowRect(window.get(), &outer);
  EXPECT_EQ(client.right, outer.right - outer.left);
  EXPECT_EQ(client.bottom, outer.bottom - outer.top);

  // Every pixel the picture leaves as key lies outside the window region.
  UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(window.get(), region.get()), ERROR);
  int keyed = 0;
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 200; ++x)
      if (Composed(*w, x, y) == kMagenta) {
        ++keyed;
        EXPECT_FALSE(::PtInRegion(region.get(), x, y)) << x << "," << y;
      }
  EXPECT_GE(keyed, 4);
  EXPECT_EQ(Composed(*w, 0, 0), kMagenta);
  EXPECT_EQ(Composed(*w, 199, 149), kMagenta);
  EXPECT_TRUE(::PtInRegion(region.get(), 100, 75));

  // The outer line is dark, the inner one light, the middle the picture itself.
  EXPECT_LT(R(Composed(*w, 0, 75)), 20);
  EXPECT_GT(R(Composed(*w, 1, 75)), 170);
  EXPECT_TRUE(Near(Composed(*w, 100, 100), kBlue, 2));
  EXPECT_TRUE(Near(Screen(100 + 100, 100 + 100), kBlue, 2));
  EXPECT_NE(Screen(100, 100), kMagenta);

  // A second attach changes nothing.
  const int windows = Engine().WindowCount();
  const auto proc = ::GetWindowLongPtrW(window.get(), GWLP_WNDPROC);
  Engine().SkinWindow(window.get(), args);
  EXPECT_EQ(Engine().WindowCount(), windows);
  EXPECT_EQ(::GetWindowLongPtrW(window.get(), GWLP_WNDPROC), proc);
}

TEST(SkinCompose, LayoutModesAndAnUnknownModeShowThePlainColour) {
  UseSolidSkin(kBlue);
  // Red on the left half, blue on the right: mirroring shows.
  const ByteSet halves = MakePicture(100, 40, [](int x, int) { return x < 50 ? 0xFF0000u : 0x0000FFu; });
  const auto modeOf = [&](int mode) {
    auto window = std::make_unique<TestWindow>(250, 120);
    SkinWindowArgs args;
    args.image = halves;
    args.mode = mode;
    args.framed = false;
    window->Skin(args);
    EXPECT_TRUE(PumpUntil([&] { return static_cast<bool>(window->Record()->Composed()); }));
    return window;
  };
  {
    auto tiled = modeOf(4);
    const SkinnedWindow& w = *tiled->Record();
    EXPECT_TRUE(Near(Composed(w, 10, 20), 0xFF0000, 8));   // plain at 0
    EXPECT_TRUE(Near(Composed(w, 110, 20), 0x0000FF, 8));  // mirrored at 100
    EXPECT_TRUE(Near(Composed(w, 190, 20), 0xFF0000, 8));
    EXPECT_TRUE(Near(Composed(w, 210, 20), 0xFF0000, 8));  // plain again at 200
    // Below the strip: the picture's own average colour.
    EXPECT_TRUE(Near(Composed(w, 125, 100), 0x7F007F, 3));
  }
  {
    auto centred = modeOf(2);
    const SkinnedWindow& w = *centred->Record();
    EXPECT_TRUE(Near(Composed(w, 75 + 10, 60), 0xFF0000, 8));
    EXPECT_TRUE(Near(Composed(w, 75 + 90, 60), 0x0000FF, 8));
    EXPECT_TRUE(Near(Composed(w, 20, 60), 0x7F007F, 3));
  }
  {
    auto unknown = modeOf(7);
    const SkinnedWindow& w = *unknown->Record();
    EXPECT_TRUE(Near(Composed(w, 10, 20), 0x7F007F, 3));
    EXPECT_TRUE(Near(Composed(w, 125, 60), 0x7F007F, 3));
  }
}

TEST(SkinCompose, PictureThatDoesNotDecodePaintsTheFaceColour) {
  TestWindow window(200, 150);
  window.Skin();
  SetSkinArgs broken;
  const char junk[] = "this is not a picture";
  broken.imageData.assign(junk, junk + sizeof junk);
  broken.mode = 3;
  EXPECT_NE(Engine().SetSkin(broken), "");
  EXPECT_EQ(Engine().GetMainColour(), ::GetSysColor(COLOR_BTNFACE));
  SkinnedWindow* w = window.Record();
  ASSERT_TRUE(PumpUntil([&] { return static_cast<bool>(w->Composed()) && !w->Dirty(); }));
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  EXPECT_TRUE(Near(Composed(*w, 100, 100), (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face), 1));
  EXPECT_EQ(Engine().SetWindowImage(window.get(), broken.imageData), 0);
  EXPECT_EQ(Engine().SetWindowImage(nullptr, MakePicture(4, 4, [](int, int) { return 0u; })), 0);
}

TEST(SkinCompose, ItemBandIsPaintedAndDockedWindowsFollowTheSize) {
  UseSolidSkin(kBlue);
  TestWindow window(300, 200);
  window.Skin();
  HWND docked = ::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window.get(), nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
  EXPECT_FALSE(Engine().DockWindow(window.get(), nullptr, 40));
  ASSERT_TRUE(Engine().DockWindow(window.get(), docked, 40));
  ASSERT_TRUE(Engine().SetItemArea(window.get(), 20, {100, -1}));
  ::SetWindowPos(window.get(), nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER);
  RECT r;
  ::GetWindowRect(docked, &r);
  ::MapWindowPoints(nullptr, window.get(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right - r.left, 320 - 4);
  EXPECT_EQ(r.bottom - r.top, 240 - 40 - 20 - 3);
  SkinnedWindow* w = window.Record();
  ASSERT_TRUE(PumpUntil([&] { return static_cast<bool>(w->Composed()) && w->Composed().width() == 320 && !w->Dirty(); }));
  // The items are cells over the skin in the band along the bottom.
  EXPECT_EQ(w->Items().items[1].width, 320 - 100 - 6);
  const IntBox cell = w->Items().items[0];
  EXPECT_FALSE(Near(Composed(*w, cell.x + 10, cell.y + 10), kBlue, 2));
  EXPECT_TRUE(Near(Composed(*w, 150, 100), kBlue, 2));
}

// Win+Up, a snap to the top edge and a "run maximized" shortcut all come as
// ShowWindow(SW_MAXIMIZE), with no WM_SYSCOMMAND before it. The system hit-tests
// through the window region, so a point the region leaves out is not the window's.
TEST(SkinCompose, RegionFollowsAMaximizeByShowWindowAndTheRestoreAndTheWindowStaysMaximized) {
  UseSolidSkin(kBlue);
  TestWindow window(351, 200);
  window.Skin();
  SkinnedWindow* w = window.Record();
  HWND hwnd = window.get();
  const auto regionBox = [&] {
    UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (::GetWindowRgn(hwnd, region.get()) != ERROR) ::GetRgnBox(region.get(), &box);
    return box;
  };
  const auto ownedPoints = [&] {
    RECT r;
    ::GetWindowRect(hwnd, &r);
    int owned = 0;
    for (int i = 1; i <= 3; ++i)
      for (int j = 1; j <= 3; ++j)
        if (::WindowFromPoint(POINT{r.left + (r.right - r.left) * i / 4, r.top + (r.bottom - r.top) * j / 4}) == hwnd)
          ++owned;
    return owned;
  };

  ::ShowWindow(hwnd, SW_MAXIMIZE);
  MONITORINFO mi{sizeof(mi)};
  ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi);
  const int width = mi.rcWork.right - mi.rcWork.left, height = mi.rcWork.bottom - mi.rcWork.top;
  // Painted at the new size: whatever the paint did to the region has happened.
  ASSERT_TRUE(PumpUntil([&] {
    return w->Composed().width() == width && !w->Dirty() && !::GetUpdateRect(hwnd, nullptr, FALSE);
  }));
  EXPECT_TRUE(::IsZoomed(hwnd));  // Wine drops the state when a maximized window gets a new region
  const RECT maximized = regionBox();
  EXPECT_EQ(maximized.right, width);
  EXPECT_EQ(maximized.bottom, height);
  EXPECT_EQ(ownedPoints(), 9);

  ::ShowWindow(hwnd, SW_RESTORE);
  ASSERT_TRUE(PumpUntil([&] { return w->Composed().width() == 351 && !w->Dirty(); }));
  EXPECT_FALSE(::IsZoomed(hwnd));
  const RECT restored = regionBox();
  EXPECT_EQ(restored.right, 351);
  EXPECT_EQ(restored.bottom, 200);
  EXPECT_EQ(ownedPoints(), 9);
  RECT r;
  ::GetWindowRect(hwnd, &r);
  EXPECT_NE(::WindowFromPoint(POINT{r.left, r.top}), hwnd);  // the rounded corner is cut again
}

TEST(SkinWindowList, ReleasingAWindowRenumbersTheRestAndRemovesWhatItSet) {
  UseSolidSkin(kBlue);
  const int windowsBefore = Engine().WindowCount();
  const int propertiesBefore = LivePropertyCount();
  const int bitmapsBefore = DibDc::LiveCount();
  auto first = std::make_unique<TestWindow>();
  TestWindow second, third;
  first->Skin();
  second.Skin();
  third.Skin();
  EXPECT_EQ(Engine().WindowCount(), windowsBefore + 3);
  const int perWindow = (LivePropertyCount() - propertiesBefore) / 3;
  EXPECT_GE(perWindow, 2);  // at least the replaced procedure and the window number
  EXPECT_NE(::GetPropW(second.get(), kPropOldProc), nullptr);

  first.reset();  // destroyed: released at its WM_NCDESTROY
  EXPECT_EQ(Engine().WindowCount(), windowsBefore + 2);
  EXPECT_EQ(Engine().WindowNumber(second.get()), windowsBefore + 1);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(::GetPropW(second.get(), kPropNumber)), windowsBefore + 1);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(::GetPropW(third.get(), kPropNumber)), windowsBefore + 2);
  EXPECT_EQ(LivePropertyCount(), propertiesBefore + 2 * perWindow);

  ::DestroyWindow(second.get());
  ::DestroyWindow(third.get());
  PumpPending();
  EXPECT_EQ(Engine().WindowCount(), windowsBefore);
  EXPECT_EQ(LivePropertyCount(), propertiesBefore);
  EXPECT_EQ(DibDc::LiveCount(), bitmapsBefore);
}

}  // namespace
}  // namespace tovel::skin::test
