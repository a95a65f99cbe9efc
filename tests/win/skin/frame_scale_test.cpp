// A skinned window taken to another DPI: its frame follows in one size change, the
// caption buttons are drawn and hit at their new places, and the size answers for a
// coming change go through the window's size at 96 DPI.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/scale.h"
#include "skin/skinned_window.h"
#include "tests/win/skin/skin_test_support.h"

namespace tovel::skin::test {
namespace {

constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE

// Below the skin, as a form's own procedure: it takes the suggested rectangle and
// counts the sizes it sees.
int g_sizes = 0;
SIZE g_lastSize{};
WNDPROC g_classProc = nullptr;

LRESULT CALLBACK FormLikeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SIZE) {
    ++g_sizes;
    g_lastSize = SIZE{LOWORD(lp), HIWORD(lp)};
  }
  if (msg == WM_DPICHANGED) {
    const RECT& r = *reinterpret_cast<const RECT*>(lp);
    ::SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
  }
  return ::CallWindowProcW(g_classProc, hwnd, msg, wp, lp);
}

RECT WindowRect(HWND h) {
  RECT rc{};
  ::GetWindowRect(h, &rc);
  return rc;
}

bool White(std::uint32_t c) { return R(c) > 220 && G(c) > 220 && B(c) > 220; }

class FrameScale : public ::testing::Test {
 protected:
  FrameScale() : window_(351, 391) {}
  void SetUp() override {
    g_sizes = 0;
    g_classProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FormLikeProc)));
    SkinWindowArgs args;
    args.captionHeight = 110;
    window_.Skin(args);
    w_ = window_.Record();
    ASSERT_NE(w_, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return static_cast<bool>(w_->Composed()); }));
  }

  // Sends the change as the system does when the window reaches a display of `dpi`.
  void ChangeDpi(int dpi, int width, int height) {
    const RECT before = WindowRect(window_.get());
    suggested_ = RECT{before.left + 10, before.top + 5, before.left + 10 + width, before.top + 5 + height};
    g_sizes = 0;
    ::SendMessageW(window_.get(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested_));
    PumpPending();
  }

  TestWindow window_;
  SkinnedWindow* w_ = nullptr;
  RECT suggested_{};
};

TEST_F(FrameScale, ADpiChangeResizesOnceAndTheCaptionFollowsTheNewScale) {
  ASSERT_EQ(w_->scale().dpi(), 96);
  const Scale s(144);
  ChangeDpi(144, s.Px(351), s.Px(391));
  EXPECT_EQ(g_sizes, 1) << "one size change, no loop";
  EXPECT_EQ(g_lastSize.cx, 527);
  EXPECT_EQ(g_lastSize.cy, 587);
  const RECT r = WindowRect(window_.get());
  EXPECT_EQ(r.left, suggested_.left);
  EXPECT_EQ(r.top, suggested_.top);
  EXPECT_EQ(r.right, suggested_.right);
  EXPECT_EQ(r.bottom, suggested_.bottom);

  w_ = window_.Record();
  ASSERT_NE(w_, nullptr);
  EXPECT_EQ(w_->scale().dpi(), 144);
  EXPECT_EQ(w_->Metrics().captionHeight, 165);
  ASSERT_TRUE(PumpUntil([&] { return w_->Composed().width() == 527 && !w_->Dirty(); }));

  // Every button at its scaled size, inside the caption, hit at its centre, and its
  // glyph's white strokes drawn at the new size (the close cross crosses at its centre).
  ASSERT_FALSE(w_->Buttons().empty());
  int right = 0;
  for (int b = 1; b <= static_cast<int>(w_->Buttons().size()); ++b) {
    const CaptionButton& button = w_->Buttons()[static_cast<size_t>(b - 1)];
    EXPECT_EQ(button.height, 27);
    const IntBox p = CaptionButtonPicture(w_->Caption(), b, button.width, button.height);
    EXPECT_GE(p.x, right);
    EXPECT_LE(p.y + p.height, w_->Metrics().captionHeight);
    EXPECT_LT(p.x + p.width, 527);
    EXPECT_EQ(w_->HitTestButton(p.x + p.width / 2, p.y + p.height / 2), b);
    right = p.x + p.width;
  }
  const CaptionButton& close = w_->Buttons().back();
  EXPECT_EQ(close.width, 57);
  const int last = static_cast<int>(w_->Buttons().size());
  const IntBox p = CaptionButtonPicture(w_->Caption(), last, close.width, close.height);
  EXPECT_TRUE(White(Composed(*w_, p.x + p.width / 2, p.y + p.height / 2)));
  // The cross's arms reach further from the centre than a 96-DPI glyph's would.
  EXPECT_TRUE(White(Composed(*w_, p.x + p.width / 2 + 5, p.y + p.height / 2 + 5)) ||
              White(Composed(*w_, p.x + p.width / 2 + 5, p.y + p.height / 2 + 4)));

  // The smallest size follows the scale too.
  ::SetWindowPos(window_.get(), nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT small = WindowRect(window_.get());
  EXPECT_EQ(small.right - small.left, 300);
  EXPECT_EQ(small.bottom - small.top, 225);
}

TEST_F(FrameScale, TheSizeAskedForANewDpiIsTheSizeAt96ScaledWithTheOneRule) {
  SIZE size{};
  EXPECT_TRUE(::SendMessageW(window_.get(), kGetDpiScaledSize, 144, reinterpret_cast<LPARAM>(&size)));
  EXPECT_EQ(size.cx, 527);
  EXPECT_EQ(size.cy, 587);
  ChangeDpi(120, 439, 489);
  EXPECT_EQ(g_sizes, 1);
  EXPECT_TRUE(::SendMessageW(window_.get(), kGetDpiScaledSize, 192, reinterpret_cast<LPARAM>(&size)));
  EXPECT_EQ(size.cx, 702);
  EXPECT_EQ(size.cy, 782);
  // Back at 96 DPI the frame is the frame it began as.
  ChangeDpi(96, 351, 391);
  w_ = window_.Record();
  ASSERT_NE(w_, nullptr);
  EXPECT_EQ(w_->Metrics().captionHeight, 110);
  EXPECT_EQ(w_->Buttons().back().width, 38);
}

}  // namespace
}  // namespace tovel::skin::test
