#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/scale.h"
#include "runtime/forms.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/shared_rect.h"
#include "tests/support/display_scale.h"

namespace tovel::e2e {
namespace {

RECT Rect(HWND h) {
  RECT rc{};
  ::GetWindowRect(h, &rc);
  return rc;
}

PixelRect InParent(HWND parent, HWND child) {
  RECT rc = Rect(child);
  ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
  return {rc.left, rc.top, rc.right, rc.bottom};
}

// The player's and the board's sizes at the common scales, as a user would check them.
struct WindowSizes {
  int dpi, width, playerHeight, boardHeight;
};
constexpr WindowSizes kSizes[] = {
    {96, 351, 391, 184}, {120, 439, 489, 230}, {144, 527, 587, 276}, {192, 702, 782, 368}};

// The awareness the program runs with, read from its window: 2 is per-monitor.
int Awareness(HWND window) {
  using WindowContextFn = HANDLE(WINAPI*)(HWND);
  using AwarenessFn = int(WINAPI*)(HANDLE);
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  const auto context = reinterpret_cast<WindowContextFn>(
      reinterpret_cast<void*>(::GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
  const auto awareness = reinterpret_cast<AwarenessFn>(
      reinterpret_cast<void*>(::GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  return context && awareness ? awareness(context(window)) : -1;
}

// The real program at the display's DPI; the runs at 120, 144 and 192 DPI set it first.
class DisplayScale : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tovel::testing::MakeThreadDpiAware());
    RemoveMarker(PrimaryMarker());
    RemoveMarker(FallbackMarker());
  }
  void TearDown() override {
    RemoveMarker(PrimaryMarker());
    RemoveMarker(FallbackMarker());
  }

  static void ExpectControlsAt(HWND window, const FormDesc& form, Scale s) {
    for (const ControlDesc& c : form.controls) {
      if (!HasChildWindow(c.type)) continue;
      SCOPED_TRACE(::testing::Message() << std::string(c.name) << " at " << s.dpi() << " DPI");
      HWND h = ::GetDlgItem(window, ChildId(c.id));
      ASSERT_NE(h, nullptr);
      EXPECT_EQ(InParent(window, h), s.Rect(c.left, c.top, c.width, c.height));
    }
  }
};

TEST_F(DisplayScale, BothWindowsAndEveryControlAreScaledAndTheBoardDocksBelow) {
  const int dpi = tovel::testing::ConfiguredDpi();
  const Scale s(dpi);
  RunningProgram app = Launch(ProgramPath());
  ASSERT_TRUE(app.started());
  HWND player = WaitForWindow(app.pid(), kPlayerTitle, 20000);
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(Awareness(player), 2) << "the manifest asks for per-monitor awareness";

  RECT p = Rect(player);
  EXPECT_EQ(p.left, 50);
  EXPECT_EQ(p.top, 50);
  EXPECT_EQ(p.right - p.left, s.Px(351));
  EXPECT_EQ(p.bottom - p.top, s.Px(391));
  const WindowSizes* known = nullptr;
  for (const WindowSizes& at : kSizes) known = at.dpi == dpi ? &at : known;
  if (known) {
    EXPECT_EQ(p.right - p.left, known->width);
    EXPECT_EQ(p.bottom - p.top, known->playerHeight);
  }
  ExpectControlsAt(player, PlayerForm(), s);

  // "现场音效", as the user's click does; it returns once the handler has run.
  DWORD_PTR result = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(::GetDlgItem(player, ChildId(player::kBoardButton)), BM_CLICK, 0, 0,
                                    SMTO_NORMAL, 15000, &result));
  HWND board = WaitForWindow(app.pid(), kBoardTitle, 15000);
  ASSERT_NE(board, nullptr);
  const RECT b = Rect(board);
  p = Rect(player);
  EXPECT_EQ(b.right - b.left, s.Px(351));
  EXPECT_EQ(b.bottom - b.top, s.Px(184));
  if (known) {
    EXPECT_EQ(b.bottom - b.top, known->boardHeight);
  }
  EXPECT_EQ(b.left, p.left);
  EXPECT_EQ(b.top, p.bottom) << "directly below the player";
  ExpectControlsAt(board, SoundBoardForm(), s);

  EXPECT_EQ(CloseProgram(app, player), 0u);
}

// As when the player is dragged onto a display of another DPI: it takes the suggested place,
// its controls follow, and the board docks below its new bottom.
TEST_F(DisplayScale, ADpiChangeTakesTheSuggestedPlaceAndTheBoardFollows) {
  const int from = tovel::testing::ConfiguredDpi();
  const int to = from == 144 ? 192 : 144;
  const Scale s(to);
  RunningProgram app = Launch(ProgramPath());
  ASSERT_TRUE(app.started());
  HWND player = WaitForWindow(app.pid(), kPlayerTitle, 20000);
  ASSERT_NE(player, nullptr);
  DWORD_PTR result = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(::GetDlgItem(player, ChildId(player::kBoardButton)), BM_CLICK, 0, 0,
                                    SMTO_NORMAL, 15000, &result));
  HWND board = WaitForWindow(app.pid(), kBoardTitle, 15000);
  ASSERT_NE(board, nullptr);

  const RECT before = Rect(player);
  const RECT suggested{before.left + 20, before.top + 10, before.left + 20 + s.Px(351),
                       before.top + 10 + s.Px(391)};
  SharedRect shared(app.process(), suggested);
  ASSERT_TRUE(shared.ok()) << "no address free in both processes";
  ASSERT_TRUE(::SendMessageTimeoutW(player, WM_DPICHANGED, MAKEWPARAM(to, to), shared.address(), SMTO_NORMAL,
                                    15000, &result));
  const RECT p = Rect(player);
  EXPECT_EQ(p.left, suggested.left);
  EXPECT_EQ(p.top, suggested.top);
  EXPECT_EQ(p.right, suggested.right);
  EXPECT_EQ(p.bottom, suggested.bottom);
  ExpectControlsAt(player, PlayerForm(), s);
  // The board moves in the same handler, before the message returns.
  const RECT b = Rect(board);
  EXPECT_EQ(b.left, p.left);
  EXPECT_EQ(b.top, p.bottom);

  EXPECT_EQ(CloseProgram(app, player), 0u);
}

}  // namespace
}  // namespace tovel::e2e
