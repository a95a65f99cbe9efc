// Caption text and caption buttons on real windows: what they draw, how they fade,
// what a press does, and that nothing piles up over many rounds.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/dc.h"
#include "skin/caption_text.h"
#include "skin/helpers.h"
#include "tests/win/skin/skin_test_support.h"

namespace tovel::skin::test {
namespace {

constexpr int kWidth = 351;
constexpr POINT kMinimize{270, 10}, kMaximize{297, 10}, kClose{331, 10};

LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }

void UseSkin() {
  SetSkinArgs look;
  look.imageData = MakePicture(60, 40, [](int x, int y) { return 0x204060u + ((x + y) & 7); });
  look.mode = 3;
  look.highlightColour = 0x0051AE51;
  ASSERT_EQ(Engine().SetSkin(look), "");
}

std::vector<std::uint32_t> Area(const SkinnedWindow& w, const RECT& r) {
  std::vector<std::uint32_t> pixels;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) pixels.push_back(Composed(w, x, y));
  return pixels;
}

std::vector<std::uint32_t> Strip(const SkinnedWindow& w, const RECT& r) {
  std::vector<std::uint32_t> pixels;
  ::GdiFlush();
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      pixels.push_back(w.CaptionStrip().pixels()[y * w.CaptionStrip().width() + x] & 0xFFFFFF);
  return pixels;
}

bool FadeDone(const SkinnedWindow& w) { return !w.Fading(); }

// The white strokes of the maximize button's glyph as the window shows them, at the
// button's place for the window's size.
std::vector<bool> MaximizeGlyph(HWND hwnd, const SkinnedWindow& w) {
  const IntBox p = CaptionButtonPicture(w.Caption(), 2, 26, 18);
  std::vector<bool> strokes;
  for (int y = p.y; y < p.y + p.height; ++y)
    for (int x = p.x; x < p.x + p.width; ++x) {
      const std::uint32_t c = WindowPixel(hwnd, x, y);
      strokes.push_back(R(c) > 200 && G(c) > 200 && B(c) > 200);
    }
  return strokes;
}

class Caption : public ::testing::Test {
 protected:
  void SetUp() override {
    UseSkin();
    SkinWindowArgs args;
    args.captionHeight = 40;
    window_.Skin(args);
    w_ = window_.Record();
    ASSERT_NE(w_, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return static_cast<bool>(w_->Composed()); }));
  }
  // The pointer really goes there too: a window left by the pointer hears of it.
  void Send(UINT msg, POINT p) {
    POINT screen = p;
    ::ClientToScreen(window_.get(), &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::SendMessageW(window_.get(), msg, 0, At(p));
  }

  TestWindow window_{kWidth, 200};
  SkinnedWindow* w_ = nullptr;
};

TEST_F(Caption, ButtonsSitAtTheirPlacesAndTheBandIsRestoredBeforeNewText) {
  ASSERT_EQ(w_->Buttons().size(), 3u);
  // The close glyph's cross meets in its middle; its left neighbour's picture ends at 310.
  EXPECT_GT(R(Composed(*w_, 312 + 19, 1 + 9)), 200);
  EXPECT_EQ(Engine().HitTestCaptionButton(1, 0, 0), 0);

  const RECT text = CaptionTextBand(*w_);
  EXPECT_EQ(text.left, 29);
  EXPECT_LT(text.right, 258);  // never into the buttons
  ::SetWindowTextW(window_.get(), L"一个相当长的标题 with a long tail of words");
  const RECT tail{text.left + 40, text.top, text.right, text.top + 16};
  EXPECT_NE(Area(*w_, tail), Strip(*w_, tail));
  ::SetWindowTextW(window_.get(), L"短");
  EXPECT_EQ(Area(*w_, tail), Strip(*w_, tail));  // no trace of the long text

  // Drawn again and again, the icon stays as it was: nothing is blended twice.
  const RECT icon{9, 5, 26, 22};
  const auto once = Area(*w_, icon);
  for (int i = 0; i < 5; ++i) ::SetWindowTextW(window_.get(), L"短");
  EXPECT_EQ(Area(*w_, icon), once);
  // The default procedure drew no platform caption over the skin.
  EXPECT_EQ(Area(*w_, RECT{100, 20, 200, 30}), Strip(*w_, RECT{100, 20, 200, 30}));
}

TEST_F(Caption, HoverGlowFadesInAndOutAndRestoresTheButton) {
  const RECT closeBox{312, 1, 350, 19}, minimizeBox{258, 1, 285, 19};
  const auto before = Area(*w_, closeBox);
  const auto minimizeBefore = Area(*w_, minimizeBox);
  Send(WM_MOUSEMOVE, kClose);
  EXPECT_TRUE(w_->Fading());
  ASSERT_TRUE(PumpUntil([&] { return FadeDone(*w_); }));
  EXPECT_GT(R(Composed(*w_, 314, 3)), R(before[2 * 38 + 2]) + 80);  // lit red near its top

  Send(WM_MOUSEMOVE, kMinimize);  // the glow moves on to minimize, in the green highlight
  ASSERT_TRUE(PumpUntil([&] { return FadeDone(*w_); }));
  EXPECT_EQ(Area(*w_, closeBox), before);
  const auto mean = [](const std::vector<std::uint32_t>& pixels, int (*channel)(std::uint32_t)) {
    int sum = 0;
    for (std::uint32_t p : pixels) sum += channel(p);
    return sum / static_cast<int>(pixels.size());
  };
  const auto lit = Area(*w_, minimizeBox);
  EXPECT_GT(mean(lit, G), mean(minimizeBefore, G) + 40);  // brighter, and not red like close
  EXPECT_GE(mean(lit, G), mean(lit, R));

  ::SendMessageW(window_.get(), WM_MOUSELEAVE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return FadeDone(*w_); }));
  EXPECT_EQ(w_->HotButton(), 0);
  EXPECT_EQ(Area(*w_, minimizeBox), minimizeBefore);
  EXPECT_EQ(Area(*w_, closeBox), before);
}

TEST_F(Caption, ButtonsActOnReleaseOnlyWhenThePressBeganThere) {
  HWND hwnd = window_.get();
  // A release over close with no press before it: nothing.
  Send(WM_LBUTTONUP, kClose);
  EXPECT_TRUE(::IsWindow(hwnd));
  // Pressed, slid off, released elsewhere: cancelled, and the pressed look is gone.
  const auto normal = Area(*w_, RECT{312, 1, 350, 19});
  Send(WM_LBUTTONDOWN, kClose);
  EXPECT_EQ(::GetCapture(), hwnd);
  EXPECT_GT(R(Composed(*w_, 314, 2)), 200);
  Send(WM_MOUSEMOVE, POINT{150, 100});
  Send(WM_LBUTTONUP, POINT{150, 100});
  EXPECT_TRUE(::IsWindow(hwnd));
  EXPECT_TRUE(PumpUntil([&] { return FadeDone(*w_); }));
  EXPECT_EQ(Area(*w_, RECT{312, 1, 350, 19}), normal);

  Send(WM_LBUTTONDOWN, kMinimize);
  Send(WM_LBUTTONUP, kMinimize);
  EXPECT_TRUE(::IsIconic(hwnd));
  ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(::IsIconic(hwnd));

  Send(WM_LBUTTONDOWN, kMaximize);
  Send(WM_LBUTTONUP, kMaximize);
  EXPECT_TRUE(::IsZoomed(hwnd));
  ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(::IsZoomed(hwnd));
  RECT rc;
  ::GetWindowRect(hwnd, &rc);
  EXPECT_EQ(rc.right - rc.left, kWidth);

  const int windows = Engine().WindowCount();
  Send(WM_LBUTTONDOWN, kClose);
  Send(WM_LBUTTONUP, kClose);
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(Engine().WindowCount(), windows - 1);
}

TEST_F(Caption, AddedButtonsGoInFrontAndRunTheirCallbacksAndCaptionSettingsKeepWhatIsNotGiven) {
  int clicks = 0;
  const ByteSet glyph = MakePicture(26, 18, [](int, int) { return 0xFFFFFFu; });
  EXPECT_FALSE(Engine().AddCaptionButton(nullptr, glyph, "x", [&] { ++clicks; }));
  EXPECT_TRUE(Engine().AddCaptionButton(window_.get(), glyph, "设置", [&] { ++clicks; }));
  ASSERT_EQ(w_->Buttons().size(), 4u);
  EXPECT_EQ(w_->Buttons()[0].kind, ButtonKind::Custom);
  EXPECT_EQ(w_->Buttons()[3].kind, ButtonKind::Close);
  EXPECT_EQ(w_->Caption().buttons[1].x - w_->Caption().buttons[0].x, 27);
  const POINT added{static_cast<LONG>(w_->Caption().buttons[0].x) + 5, 10};
  Send(WM_LBUTTONDOWN, added);
  Send(WM_LBUTTONUP, added);
  EXPECT_EQ(clicks, 1);

  CaptionTextArgs colourOnly;
  colourOnly.textColour = 0x0000FF00;
  EXPECT_EQ(Engine().SetCaptionText(nullptr, colourOnly), 0);
  EXPECT_EQ(Engine().SetCaptionText(window_.get(), colourOnly), 1);
  EXPECT_EQ(w_->CaptionLook().text, 0x0000FF00u);
  EXPECT_EQ(w_->CaptionLook().shadow, 0x00808080u);
  EXPECT_EQ(w_->CaptionLook().size, 12.0f);
}

// The tip text of a caption button (numbered from 1) as the window's tip holds it; "" when none.
std::wstring TipText(HWND owner, UINT_PTR button) {
  std::wstring found;
  struct Query {
    HWND owner;
    UINT_PTR button;
    std::wstring* found;
  } q{owner, button, &found};
  ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND h, LPARAM lp) -> BOOL {
    auto& q = *reinterpret_cast<Query*>(lp);
    wchar_t cls[64] = {};
    ::GetClassNameW(h, cls, 64);
    if (std::wstring(cls) != TOOLTIPS_CLASSW) return TRUE;
    wchar_t text[80] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = q.owner;
    info.uId = q.button;
    info.lpszText = text;
    ::SendMessageW(h, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
    if (text[0]) *q.found = text;
    return !text[0];
  }, reinterpret_cast<LPARAM>(&q));
  return found;
}

TEST_F(Caption, AProgramGlyphButtonChangesItsGlyphAndTipInPlace) {
  int clicks = 0;
  EXPECT_FALSE(Engine().AddGlyphCaptionButton(window_.get(), 0, GlyphKind::CaptionShuffle, "x", {}));
  ASSERT_TRUE(Engine().AddGlyphCaptionButton(window_.get(), 7, GlyphKind::CaptionInOrder, "顺序播放", [&] { ++clicks; }));
  ASSERT_EQ(w_->Buttons().size(), 4u);
  const BoxF b = w_->Caption().buttons[0];
  const RECT box{static_cast<LONG>(b.x), static_cast<LONG>(b.y), static_cast<LONG>(b.x + b.width),
                 static_cast<LONG>(b.y + b.height)};
  const auto whites = [](const std::vector<std::uint32_t>& pixels) {
    return std::count_if(pixels.begin(), pixels.end(), [](std::uint32_t c) { return R(c) > 200 && G(c) > 200 && B(c) > 200; });
  };
  ASSERT_TRUE(PumpUntil([&] { return whites(Area(*w_, box)) > 5; })) << "the glyph is drawn";
  const auto inOrder = Area(*w_, box);

  const POINT centre{static_cast<LONG>(b.x + b.width / 2), 10};
  Send(WM_MOUSEMOVE, centre);  // the tip and its tools are made on the first hover
  ASSERT_TRUE(PumpUntil([&] { return FadeDone(*w_); }));
  EXPECT_EQ(TipText(window_.get(), 1), L"顺序播放");

  EXPECT_FALSE(Engine().SetCaptionButtonGlyph(window_.get(), 8, GlyphKind::CaptionShuffle, "随机播放"));
  EXPECT_TRUE(Engine().SetCaptionButtonGlyph(window_.get(), 7, GlyphKind::CaptionShuffle, "随机播放"));
  EXPECT_EQ(TipText(window_.get(), 1), L"随机播放");
  ::SendMessageW(window_.get(), WM_MOUSELEAVE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return FadeDone(*w_) && Area(*w_, box) != inOrder && whites(Area(*w_, box)) > 5; }))
      << "the new glyph replaces the old one";
  EXPECT_EQ(w_->Buttons().size(), 4u);

  Send(WM_LBUTTONDOWN, centre);
  Send(WM_LBUTTONUP, centre);
  EXPECT_EQ(clicks, 1);
}

TEST_F(Caption, DoubleClickInTheCaptionMaximizesAndBelowItDoesNothing) {
  HWND hwnd = window_.get();
  ::SetCursorPos(0, 0);  // no glow over the buttons, here or over the maximized window
  ASSERT_TRUE(PumpUntil([&] { return FadeDone(*w_) && !::GetUpdateRect(hwnd, nullptr, FALSE); }));
  const auto maximizeGlyph = MaximizeGlyph(hwnd, *w_);
  ASSERT_GT(std::count(maximizeGlyph.begin(), maximizeGlyph.end(), true), 20);
  ::SendMessageW(hwnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 60));  // below the 40-pixel caption
  EXPECT_FALSE(::IsZoomed(hwnd));
  ::SendMessageW(hwnd, WM_LBUTTONDBLCLK, 0, MAKELPARAM(100, 30));
  EXPECT_TRUE(::IsZoomed(hwnd));
  MONITORINFO mi{sizeof(mi)};
  ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi);
  RECT rc;
  ::GetWindowRect(hwnd, &rc);
  EXPECT_EQ(rc.right - rc.left, mi.rcWork.right - mi.rcWork.left);
  EXPECT_EQ(rc.bottom - rc.top, mi.rcWork.bottom - mi.rcWork.top);
  // The restore glyph replaces the maximize glyph while maximized, and goes again
  // with the restore.
  ::UpdateWindow(hwnd);
  EXPECT_TRUE(PumpUntil([&] {
    const auto glyph = MaximizeGlyph(hwnd, *w_);
    return glyph != maximizeGlyph && std::count(glyph.begin(), glyph.end(), true) > 20;
  }));
  ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(::IsZoomed(hwnd));
  EXPECT_TRUE(PumpUntil([&] { return MaximizeGlyph(hwnd, *w_) == maximizeGlyph; }));
}

void Round(HWND hwnd, SkinnedWindow& w, int i) {
  const auto send = [&](UINT msg, POINT p) { ::SendMessageW(hwnd, msg, 0, At(p)); };
  const auto tick = [&] {
    for (int t = 0; t < 9; ++t) ::SendMessageW(hwnd, WM_TIMER, kFadeTimerId, 0);
  };
  send(WM_MOUSEMOVE, kMinimize);
  tick();
  send(WM_MOUSEMOVE, kMaximize);
  tick();
  send(WM_LBUTTONDOWN, kMaximize);
  send(WM_MOUSEMOVE, POINT{150, 100});
  send(WM_LBUTTONUP, POINT{150, 100});
  ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
  tick();
  if (i % 10 == 0) ::SetWindowTextW(hwnd, i % 20 ? L"标题" : L"another caption");
  if (i % 50 == 0) w.MarkDirty();
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST(SkinLeaks, ThousandRoundsOfHoverPressAndRepaintLeaveEverythingFlat) {
  UseSkin();
  TestWindow first(kWidth, 200), second(kWidth, 120);
  first.Skin();
  second.Skin();
  SkinnedWindow& a = *first.Record();
  SkinnedWindow& b = *second.Record();
  for (int i = 0; i < 20; ++i) {  // warm up the library's own caches
    Round(first.get(), a, i);
    Round(second.get(), b, i);
  }
  PumpPending();
  const int gdi = LiveGdiObjects();
  const int dibs = DibDc::LiveCount();
  const int properties = LivePropertyCount();
  const EngineCounts counts = Engine().Counts();
  const SIZE_T memory = PrivateBytes();
  for (int i = 0; i < 1000; ++i) {
    Round(first.get(), a, i);
    Round(second.get(), b, i);
    PumpPending();
  }
  EXPECT_EQ(LiveGdiObjects(), gdi);
  EXPECT_EQ(DibDc::LiveCount(), dibs);
  EXPECT_EQ(LivePropertyCount(), properties);
  EXPECT_EQ(Engine().Counts().windows, counts.windows);
  // A leaked graphics object per round would be far more than this.
  EXPECT_LT(PrivateBytes(), memory + (4u << 20));
}

}  // namespace
}  // namespace tovel::skin::test
