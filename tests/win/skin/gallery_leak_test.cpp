// Every control of the gallery hovered, focused and repainted a thousand times, and
// the gallery opened and closed twenty times: the engine's lists, its window
// properties and the GDI objects stay where they were.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "skin/helpers.h"
#include "tests/win/skin/family_test_support.h"

namespace tovel::skin::test {
namespace {

// The pointer comes and goes, the control takes the focus and paints whole.
void Round(HWND control) {
  RECT r;
  ::GetClientRect(control, &r);
  ::SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(r.right / 2, r.bottom / 2));
  ::SetFocus(control);
  ::RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  ::SendMessageW(control, WM_MOUSELEAVE, 0, 0);
  PumpPending();
}

struct Snapshot {
  int gdi, dibs, properties, windows, controls;
  static Snapshot Take() {
    PumpPending();
    const EngineCounts c = Engine().Counts();
    return {LiveGdiObjects(), DibDc::LiveCount(), LivePropertyCount(), c.windows, c.controls};
  }
};

void ExpectSame(const Snapshot& now, const Snapshot& before) {
  EXPECT_EQ(now.gdi, before.gdi);
  EXPECT_EQ(now.dibs, before.dibs);
  EXPECT_EQ(now.properties, before.properties);
  EXPECT_EQ(now.windows, before.windows);
  EXPECT_EQ(now.controls, before.controls);
}

TEST(SkinGalleryLeaks, ThousandRoundsOfHoverFocusAndRepaintOverEveryControlLeaveEverythingFlat) {
  PointAt(900, 900);
  Gallery gallery;
  const std::vector<HWND> controls = gallery::VisibleControls(gallery.get());
  ASSERT_GE(controls.size(), 25u);
  for (int i = 0; i < 2; ++i)  // warm up the libraries' own caches
    for (HWND c : controls) Round(c);
  const Snapshot before = Snapshot::Take();
  const SIZE_T memory = PrivateBytes();
  for (size_t i = 0; i < 1000; ++i) Round(controls[i % controls.size()]);
  ExpectSame(Snapshot::Take(), before);
  // A leaked graphics object per round would be far more than this.
  EXPECT_LT(PrivateBytes(), memory + (4u << 20));
}

// What the platform's own IP address control keeps of a life, shown and painted in
// a window the skin does not know: Wine's keeps one GDI object each time.
int GdiKeptByAddressControls(int lives) {
  TestWindow plain(200, 100);
  const auto life = [&] {
    HWND address = ::CreateWindowExW(0, WC_IPADDRESSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 160, 24, plain.get(),
                                     nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::UpdateWindow(address);
    ::DestroyWindow(address);
    PumpPending();
  };
  life();
  const int before = LiveGdiObjects();
  for (int i = 0; i < lives; ++i) life();
  return LiveGdiObjects() - before;
}

TEST(SkinGalleryLeaks, TwentyOpenCloseCyclesLeaveNothingBehind) {
  PointAt(900, 900);
  const int platformKeeps = GdiKeptByAddressControls(20);
  const auto cycle = [] { Gallery gallery; };
  cycle();
  cycle();
  const Snapshot before = Snapshot::Take();
  for (int i = 0; i < 20; ++i) cycle();
  const Snapshot after = Snapshot::Take();
  EXPECT_EQ(before.windows, 0);
  EXPECT_EQ(before.controls, 0);
  // The gallery holds one IP address control: what that keeps is the platform's.
  ExpectSame(Snapshot{after.gdi - platformKeeps, after.dibs, after.properties, after.windows, after.controls},
             before);
}

}  // namespace
}  // namespace tovel::skin::test
