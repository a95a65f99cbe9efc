// Each skinned window is one object found from its handle; the entry points that
// take window numbers reach the same object, also after an earlier window ends and
// the numbers move up; a window let go of while it lives keeps nothing of ours.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "tests/win/skin/skin_test_support.h"

namespace tovel::skin::test {
namespace {

INT_PTR NumberProperty(HWND hwnd) { return reinterpret_cast<INT_PTR>(::GetPropW(hwnd, L"Hw_lbID")); }

// The middle of a window's last caption button (close), in client coordinates.
POINT CloseCentre(const SkinnedWindow& w) {
  const int last = static_cast<int>(w.Buttons().size());
  const IntBox b = CaptionButtonBounds(w.Caption(), last, w.Buttons().back().width, w.Buttons().back().height);
  return POINT{b.x + b.width / 2, b.y + b.height / 2};
}

TEST(SkinWindowTable, EachWindowIsFoundFromItsHandleAndNumbersFollowWhenAnEarlierOneEnds) {
  auto first = std::make_unique<TestWindow>(260, 150);
  TestWindow second(300, 150), third(351, 150);
  const int before = Engine().WindowCount();
  first->Skin();
  second.Skin();
  third.Skin();
  ASSERT_EQ(Engine().WindowCount(), before + 3);
  for (const HWND h : {first->get(), second.get(), third.get()}) {
    SkinnedWindow* w = SkinnedWindowOf(h);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->hwnd, h);
    EXPECT_EQ(Engine().Record(Engine().WindowNumber(h)), w);
    EXPECT_EQ(NumberProperty(h), Engine().WindowNumber(h));
  }
  const int secondBefore = Engine().WindowNumber(second.get());
  first.reset();
  const int n2 = Engine().WindowNumber(second.get()), n3 = Engine().WindowNumber(third.get());
  EXPECT_EQ(n2, secondBefore - 1);
  EXPECT_EQ(n3, n2 + 1);
  EXPECT_EQ(NumberProperty(second.get()), n2);
  EXPECT_EQ(NumberProperty(third.get()), n3);
  EXPECT_EQ(Engine().WindowCount(), before + 2);
  // The third window's close button lies beyond the second's width: only the third hits it.
  const POINT close = CloseCentre(*SkinnedWindowOf(third.get()));
  EXPECT_EQ(Engine().HitTestCaptionButton(n3, close.x, close.y),
            static_cast<int>(SkinnedWindowOf(third.get())->Buttons().size()));
  EXPECT_EQ(Engine().HitTestCaptionButton(n2, close.x, close.y), 0);
}

TEST(SkinWindowTable, AWindowLetGoOfWhileItLivesLosesItsPropertiesAndItsFadeTimer) {
  TestWindow window(351, 150);
  window.Skin();
  HWND hwnd = window.get();
  SkinnedWindow* w = SkinnedWindowOf(hwnd);
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return static_cast<bool>(w->Composed()); }));
  const POINT close = CloseCentre(*w);
  ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(close.x, close.y));
  ASSERT_TRUE(w->Fading()) << "hovering the close button starts its glow";

  Engine().ReleaseWindow(hwnd, false);
  EXPECT_EQ(SkinnedWindowOf(hwnd), nullptr);
  EXPECT_EQ(Engine().WindowNumber(hwnd), 0);
  EXPECT_EQ(::GetPropW(hwnd, L"Hw_hProc"), nullptr);
  EXPECT_EQ(::GetPropW(hwnd, L"Hw_lbID"), nullptr);
  // The fade's timer went with the window object: there is none left to kill.
  EXPECT_FALSE(::KillTimer(hwnd, kFadeTimerId));
  // The window goes on working, its messages passed on.
  EXPECT_TRUE(::SetWindowTextW(hwnd, L"放开了"));
  EXPECT_TRUE(::IsWindow(hwnd));
}

}  // namespace
}  // namespace tovel::skin::test
