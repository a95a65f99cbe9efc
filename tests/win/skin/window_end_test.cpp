// A skinned window may end inside any call that runs code of its own: its text
// handler, its capture change, a caption button's callback. The skin looks the
// window up again after each such call; records live on guarded pages here
// (guarded_records.cpp), so a read of a freed record stops the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "tests/win/skin/skin_test_support.h"

namespace tovel::skin::test {
namespace {

UINT gEndOn = 0;  // the message at which the window's own procedure destroys it

LRESULT CALLBACK EndingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == gEndOn) {
    ::DestroyWindow(hwnd);
    return TRUE;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

// A window whose own procedure destroys it at `message`, skinned over that procedure.
class EndingWindow {
 public:
  explicit EndingWindow(UINT message) : before_(Engine().Counts().windows) {
    gEndOn = message;
    ::SetWindowLongPtrW(window_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EndingProc));
    window_.Skin();
    EXPECT_TRUE(PumpUntil([&] { return window_.Record() && static_cast<bool>(window_.Record()->Composed()); }));
  }
  ~EndingWindow() { gEndOn = 0; }
  HWND get() const { return window_.get(); }
  // The middle of a caption button (1 the leftmost), in client coordinates.
  LPARAM ButtonCentre(int button) const {
    const SkinnedWindow* w = window_.Record();
    const int width = w->Buttons()[static_cast<size_t>(button - 1)].width;
    const IntBox b = CaptionButtonBounds(w->Caption(), button, width, 18);
    return MAKELPARAM(b.x + b.width / 2, b.y + b.height / 2);
  }
  int ButtonCount() const { return static_cast<int>(window_.Record()->Buttons().size()); }
  // The window is gone, and so is everything the skin held for it.
  void ExpectEnded() const {
    EXPECT_FALSE(::IsWindow(window_.get()));
    EXPECT_EQ(Engine().Counts().windows, before_);
    EXPECT_EQ(Engine().WindowNumber(window_.get()), 0);
  }

 private:
  int before_;
  TestWindow window_{351, 200};
};

TEST(SkinWindowEnd, AWindowEndingInsideItsOwnTextOrCaptureHandlerIsLetGoOfCleanly) {
  {
    EndingWindow w(WM_SETTEXT);
    ::SetWindowTextW(w.get(), L"新的标题");
    w.ExpectEnded();
  }
  {
    // The release on a caption button gives the capture back first: the window ends there.
    EndingWindow w(WM_CAPTURECHANGED);
    const LPARAM close = w.ButtonCentre(w.ButtonCount());
    ::SendMessageW(w.get(), WM_LBUTTONDOWN, MK_LBUTTON, close);
    ASSERT_EQ(::GetCapture(), w.get());
    ::SendMessageW(w.get(), WM_LBUTTONUP, 0, close);
    w.ExpectEnded();
  }
}

TEST(SkinWindowEnd, ACaptionButtonWhoseCallbackDestroysTheWindowEndsItOnce) {
  EndingWindow w(WM_APP + 99);  // never sent: only the callback ends it
  HWND hwnd = w.get();
  int calls = 0;
  ASSERT_TRUE(Engine().AddCaptionButton(hwnd, MakePicture(8, 8, [](int, int) { return 0xFFFFFFu; }), "走",
                                        [&] {
                                          ++calls;
                                          ::DestroyWindow(hwnd);
                                        }));
  ASSERT_TRUE(PumpUntil([&] { return static_cast<bool>(Engine().Record(Engine().WindowNumber(hwnd))->Composed()); }));
  const LPARAM at = w.ButtonCentre(1);
  ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(calls, 1);
  w.ExpectEnded();
}

HWND gEnds = nullptr;  // the window that the next WM_SIZE or lost capture below ends

LRESULT CALLBACK EndsAnotherProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if ((msg == WM_SIZE || msg == WM_CAPTURECHANGED) && gEnds) ::DestroyWindow(std::exchange(gEnds, nullptr));
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

// A child window whose procedure ends `gEnds` when it is sized.
HWND MakeChild(HWND parent) {
  constexpr wchar_t kClass[] = L"TovelEndsAnother";
  WNDCLASSEXW wc{sizeof(wc)};
  if (!::GetClassInfoExW(::GetModuleHandleW(nullptr), kClass, &wc)) {
    wc = WNDCLASSEXW{sizeof(wc)};
    wc.lpfnWndProc = EndsAnotherProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    ::RegisterClassExW(&wc);
  }
  return ::CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE, 2, 40, 100, 50, parent, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}

TEST(SkinWindowEnd, AWindowEndedByADockedWindowsMoveOrByTheWindowLosingTheCaptureIsLetGoOfCleanly) {
  {
    // The docked window hears of its move while the skin lays the window out anew.
    EndingWindow w(WM_APP + 99);
    HWND docked = MakeChild(w.get());
    ASSERT_TRUE(Engine().DockWindow(w.get(), docked, 40));
    gEnds = w.get();
    ::SetWindowPos(w.get(), nullptr, 0, 0, 380, 220, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    w.ExpectEnded();
  }
  {
    // The window that held the capture hears that it lost it while the caption button is pressed.
    TestWindow holder(120, 80);
    ::SetWindowLongPtrW(holder.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EndsAnotherProc));
    EndingWindow w(WM_APP + 99);
    ::SetCapture(holder.get());
    ASSERT_EQ(::GetCapture(), holder.get());
    gEnds = w.get();
    ::SendMessageW(w.get(), WM_LBUTTONDOWN, MK_LBUTTON, w.ButtonCentre(w.ButtonCount()));
    w.ExpectEnded();
    ::ReleaseCapture();
  }
  gEnds = nullptr;
}

}  // namespace
}  // namespace tovel::skin::test
