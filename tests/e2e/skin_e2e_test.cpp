// The skinned look of the real program, seen on the screen and driven with the
// real pointer: no window manager runs, so moves, sizes and states are judged by
// their results.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/real_pointer.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {

constexpr int kBoardButton = 0x007B;  // 现场音效
constexpr COLORREF kMagenta = 0xFF00FF;

// The windows a process still has, for the failure message of an end that did not come.
std::wstring WindowsOf(DWORD pid) {
  std::wstring found;
  for (HWND h : WindowsOfProcess(pid)) {
    wchar_t cls[64] = L"";
    ::GetClassNameW(h, cls, 64);
    found += std::wstring(cls) + (::IsWindowVisible(h) ? L" (shown) " : L" ");
  }
  return found;
}

// What stood between a press and the window, for the failure message.
std::string Situation(HWND window, POINT at) {
  GUITHREADINFO info{sizeof(info)};
  ::GetGUIThreadInfo(0, &info);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  wchar_t title[64] = L"";
  HWND under = ::WindowFromPoint(at);
  ::GetWindowTextW(::GetAncestor(under, GA_ROOT), title, 64);
  char text[320];
  std::snprintf(text, sizeof(text),
                "pressed at %ld,%ld, cursor %ld,%ld, enabled %d, foreground %p, capture %p, under the press %p (%ls), "
                "window %p",
                at.x, at.y, cursor.x, cursor.y, ::IsWindowEnabled(window), static_cast<void*>(::GetForegroundWindow()),
                static_cast<void*>(info.hwndCapture), static_cast<void*>(under), title, static_cast<void*>(window));
  return text;
}

// Moves the pointer to p and waits until it stands there over the window (or one
// of its controls), so that what follows goes to that window and not to whatever
// was under the pointer before.
bool PointerAt(HWND window, POINT p) {
  MoveTo(p.x, p.y);
  return WaitUntil([&] {
    POINT cursor{};
    return ::GetCursorPos(&cursor) && cursor.x == p.x && cursor.y == p.y &&
           (!window || ::GetAncestor(::WindowFromPoint(p), GA_ROOT) == window);
  });
}

// One click, once the pointer has arrived over the window.
::testing::AssertionResult Click(HWND window, POINT p) {
  if (!PointerAt(window, p))
    return ::testing::AssertionFailure() << "the pointer never stood over the window: " << Situation(window, p);
  Button(true);
  Button(false);
  return ::testing::AssertionSuccess();
}

// Presses at one point and lets go at another, moving in steps at a hand's pace
// once the window's move or size loop has begun: a busy program may take a while
// to start it, and the moves and the release must reach the loop, not go before it.
void Drag(HWND window, POINT from, POINT to) {
  constexpr DWORD kHandPace = 20;
  ASSERT_TRUE(PointerAt(window, from)) << Situation(window, from);
  Button(true);
  if (!WaitUntil([&] { return InMoveSize(window); })) {
    Button(false);
    FAIL() << "the press began no move or size: " << Situation(window, from);
  }
  for (int i = 1; i <= 8; ++i) {
    ::Sleep(kHandPace);
    MoveTo(from.x + (to.x - from.x) * i / 8, from.y + (to.y - from.y) * i / 8);
  }
  ::Sleep(kHandPace);
  Button(false);
  EXPECT_TRUE(WaitUntil([&] { return !InMoveSize(window); }));
}

RECT WindowRect(HWND h) {
  RECT rc{};
  ::GetWindowRect(h, &rc);
  return rc;
}

bool SameRect(const RECT& a, int left, int top, int width, int height) {
  return a.left == left && a.top == top && a.right - a.left == width && a.bottom - a.top == height;
}

// The screen's pixels in a rectangle, 0x00RRGGBB, row by row.
std::vector<std::uint32_t> Capture(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w < 1 || h < 1) return {};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(memory, dib);
  HDC screen = ::GetDC(nullptr);
  ::BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  ::ReleaseDC(nullptr, screen);
  ::GdiFlush();
  std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                    static_cast<const std::uint32_t*>(bits) + static_cast<size_t>(w) * h);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  ::DeleteObject(dib);
  for (auto& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

// Share of pure black pixels in a screen rectangle.
double BlackShare(const RECT& r) {
  const auto pixels = Capture(r);
  if (pixels.empty()) return 1.0;
  return static_cast<double>(std::count(pixels.begin(), pixels.end(), 0u)) / static_cast<double>(pixels.size());
}

// True once every visible control of the window has painted: the screen behind an
// unpainted one is the empty, black desktop.
bool ControlsPainted(HWND window) {
  std::vector<RECT> controls;
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM lp) -> BOOL {
        RECT r;
        if (::IsWindowVisible(child) && ::GetWindowRect(child, &r) && r.right - r.left > 2 && r.bottom - r.top > 2)
          reinterpret_cast<std::vector<RECT>*>(lp)->push_back(r);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&controls));
  return std::all_of(controls.begin(), controls.end(), [](const RECT& r) { return BlackShare(r) < 0.2; });
}

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// Nine points spread over a rectangle, three rows of three.
std::vector<POINT> SpreadOver(const RECT& r) {
  std::vector<POINT> points;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j)
      points.push_back(POINT{r.left + (r.right - r.left) * i / 4, r.top + (r.bottom - r.top) * j / 4});
  return points;
}

// A visible tool tip of the process.
bool TipShows(DWORD pid) {
  for (HWND h : WindowsOfProcess(pid)) {
    wchar_t cls[32] = L"";
    ::GetClassNameW(h, cls, 32);
    if (_wcsicmp(cls, TOOLTIPS_CLASSW) == 0 && ::IsWindowVisible(h)) return true;
  }
  return false;
}

// Walks the pointer along a row at a hand's pace.
void Walk(POINT from, int toX) {
  constexpr DWORD kHandPace = 20;
  const int step = toX > from.x ? 4 : -4;
  for (int x = from.x; step > 0 ? x < toX : x > toX; x += step) {
    MoveTo(x, from.y);
    ::Sleep(kHandPace);
  }
  MoveTo(toX, from.y);
}

class SkinE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveMarker(PrimaryMarker());
    RemoveMarker(FallbackMarker());
    app_ = Launch(ProgramPath());
    ASSERT_TRUE(app_.started());
    player_ = WaitForWindow(app_.pid(), kPlayerTitle, 20000);
    ASSERT_NE(player_, nullptr);
    // The first paint has happened once the close glyph's white cross shows and
    // every control has painted over the desktop.
    ASSERT_TRUE(WaitUntil([&] { return (ScreenPixel(50 + 331, 50 + 10) & 0xFF) > 200 && ControlsPainted(player_); }));
    // Activated by a press on the skin first, so that activating it later cannot
    // cut short a move or size loop a test starts. The press begins a move loop and
    // the release ends it, both awaited: a loop still running when a test closes the
    // window would take the program's quit message with it (Wine's loop ends on it).
    const POINT skin{50 + 200, 50 + 15};
    Drag(player_, skin, skin);
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == player_; }));
  }
  void TearDown() override {
    MoveTo(900, 900);
    if (player_ && ::IsWindow(player_)) {
      EXPECT_EQ(CloseProgram(app_, player_), 0u) << "still there: " << WindowsOf(app_.pid());
    }
    RemoveMarker(PrimaryMarker());
    RemoveMarker(FallbackMarker());
  }
  HWND OpenBoard() {
    PostClick(player_, kBoardButton);
    HWND board = WaitForWindow(app_.pid(), kBoardTitle, 10000);
    // Docked below the player and painted: its close glyph's white cross shows.
    if (board && !WaitUntil([&] {
          const RECT b = WindowRect(board), p = WindowRect(player_);
          return b.top == p.bottom && (ScreenPixel(b.left + 331, b.top + 10) & 0xFF) > 200 && ControlsPainted(board);
        }))
      return nullptr;
    return board;
  }

  RunningProgram app_;
  HWND player_ = nullptr;
};

TEST_F(SkinE2e, BothWindowsAreAllClientWithCutCornersAndLabelsShowTheSkin) {
  RECT client;
  ::GetClientRect(player_, &client);
  EXPECT_EQ(client.right, 351);
  EXPECT_EQ(client.bottom, 391);
  // The rounded region cuts the corners: the empty screen shows there, and the key
  // colour shows nowhere.
  EXPECT_EQ(ScreenPixel(50, 50), 0u);
  for (const POINT p : {POINT{50 + 350, 50}, POINT{50, 50 + 390}, POINT{50 + 350, 50 + 390}, POINT{52, 52}})
    EXPECT_NE(ScreenPixel(p.x, p.y), kMagenta);
  // The labels draw the skin behind them: the elapsed time, the volume, the welcome.
  // They paint after the window itself.
  for (const RECT label : {RECT{50 + 302, 50 + 24, 50 + 342, 50 + 40}, RECT{50 + 277, 50 + 62, 50 + 345, 50 + 78},
                           RECT{50 + 9, 50 + 25, 50 + 280, 50 + 41}})
    EXPECT_TRUE(WaitUntil([&] { return BlackShare(label) < 0.2; })) << BlackShare(label);

  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  ::GetClientRect(board, &client);
  EXPECT_EQ(client.right, 351);
  EXPECT_EQ(client.bottom, 184);
  const RECT b = WindowRect(board);
  EXPECT_EQ(ScreenPixel(b.left, b.top), 0u);
  for (const POINT p : {POINT{b.left, b.bottom - 1}, POINT{b.right - 1, b.top}, POINT{b.right - 1, b.bottom - 1}})
    EXPECT_NE(ScreenPixel(p.x, p.y), kMagenta);
  // The board carries only a close button: where minimize would be is plain skin.
  EXPECT_LT(ScreenPixel(b.left + 270, b.top + 12) & 0xFF, 200u);
}

TEST_F(SkinE2e, CaptionButtonGlowsUnderThePointerAndIsRestoredAfter) {
  const POINT lit{50 + 314, 50 + 4};
  const COLORREF before = ScreenPixel(lit.x, lit.y);
  MoveTo(50 + 331, 50 + 10);
  ASSERT_TRUE(WaitUntil([&] {
    const COLORREF c = ScreenPixel(lit.x, lit.y);
    return ((c >> 16) & 0xFF) > ((c >> 8) & 0xFF) + 60;  // red glow on close
  }));
  MoveTo(50 + 150, 50 + 95);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(lit.x, lit.y) == before; }));
}

TEST_F(SkinE2e, MinimizeMaximizeRestoreAndDragAgain) {
  ASSERT_TRUE(Click(player_, POINT{50 + 270, 50 + 10}));
  ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(player_) != FALSE; }));
  ::SendMessageW(player_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitUntil([&] { return SameRect(WindowRect(player_), 50, 50, 351, 391); }));

  ASSERT_TRUE(Click(player_, POINT{50 + 297, 50 + 10}));
  ASSERT_TRUE(WaitUntil([&] { return ::IsZoomed(player_) != FALSE; }));
  MONITORINFO mi{sizeof(mi)};
  ::GetMonitorInfoW(::MonitorFromWindow(player_, MONITOR_DEFAULTTONEAREST), &mi);
  const RECT& work = mi.rcWork;
  EXPECT_TRUE(WaitUntil([&] {
    return SameRect(WindowRect(player_), work.left, work.top, work.right - work.left, work.bottom - work.top);
  }));
  ::SendMessageW(player_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !::IsZoomed(player_) && SameRect(WindowRect(player_), 50, 50, 351, 391); }));

  // Pressed on the skin (the caption band under the welcome text), the window moves.
  Drag(player_, POINT{50 + 150, 50 + 20}, POINT{150 + 150, 110 + 20});
  EXPECT_TRUE(WaitUntil([&] { return SameRect(WindowRect(player_), 150, 110, 351, 391); }));
  // A press on the desktop released over close does nothing.
  ASSERT_TRUE(PointerAt(nullptr, POINT{700, 700}));
  Button(true);
  ASSERT_TRUE(PointerAt(nullptr, POINT{150 + 331, 110 + 10}));
  Button(false);
  EXPECT_FALSE(WaitUntil([&] { return !::IsWindow(player_); }, 500));
}

TEST_F(SkinE2e, EdgesResizeDownToTheSmallestSizeAndTheBoardFollowsMoves) {
  Drag(player_, POINT{50 + 349, 50 + 200}, POINT{50 + 399, 50 + 200});
  EXPECT_TRUE(WaitUntil([&] { return SameRect(WindowRect(player_), 50, 50, 401, 391); }));
  Drag(player_, POINT{50 + 200, 50 + 389}, POINT{50 + 200, 50 + 50});
  EXPECT_TRUE(WaitUntil([&] {
    const RECT r = WindowRect(player_);
    return r.bottom - r.top == 150;  // no smaller than 200 x 150
  }));
  ::SetWindowPos(player_, nullptr, 50, 50, 351, 391, SWP_NOZORDER);

  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  Drag(player_, POINT{50 + 150, 50 + 20}, POINT{80 + 150, 60 + 20});
  EXPECT_TRUE(WaitUntil([&] {
    const RECT p = WindowRect(player_), b = WindowRect(board);
    return p.left == 80 && p.top == 60 && b.left == p.left && b.top == p.bottom;
  }));
}

TEST_F(SkinE2e, BoardClosesByItsButtonOpensAgainAndThePlayerCloseEndsTheProgram) {
  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  const RECT b = WindowRect(board);
  ASSERT_TRUE(Click(board, POINT{b.left + 331, b.top + 10}));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(board); }));
  board = OpenBoard();
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(WindowRect(board).top, WindowRect(player_).bottom);

  ASSERT_TRUE(Click(player_, POINT{50 + 331, 50 + 10}));
  EXPECT_EQ(app_.WaitForExit(10000), 0u);
  player_ = nullptr;
}

TEST_F(SkinE2e, PlayerControlsAreTakenOverAndLightUnderThePointer) {
  for (int id : {0x7E, 0x7F, 0x80, 0x7B, 0x76, 0x7D, 0x3D23}) {
    HWND control = ::GetDlgItem(player_, id);
    EXPECT_NE(::GetPropW(control, L"Hw_lbID"), nullptr) << std::hex << id;
  }
  EXPECT_EQ(::GetWindowLongPtrW(::GetDlgItem(player_, 0x7E), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);

  // 播 放 at (64, 68)-(120, 100): its top edge turns the highlight colour under the pointer.
  const POINT top{50 + 92, 50 + 68};
  const COLORREF before = ScreenPixel(top.x, top.y);
  MoveTo(50 + 92, 50 + 84);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(top.x, top.y) == 0x51AE51u; }));
  MoveTo(50 + 200, 50 + 20);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(top.x, top.y) == before; }));

  // The focused list's frame gains its inner pixel under the pointer.
  const POINT inner{50 + 4, 50 + 220};
  const auto green = [&] {
    const COLORREF c = ScreenPixel(inner.x, inner.y);
    return ((c >> 8) & 0xFF) > ((c >> 16) & 0xFF) + 40;
  };
  EXPECT_FALSE(green());
  MoveTo(50 + 150, 50 + 220);
  EXPECT_TRUE(WaitUntil(green));
  MoveTo(50 + 200, 50 + 20);
  EXPECT_TRUE(WaitUntil([&] { return !green(); }));

  // The volume slider's thumb grows into a circle under the pointer. At its maximum
  // the thumb of a 72 x 23 slider spans x 53..63 on the channel's middle line, y 11
  // (its rectangles cannot be asked for from another process).
  HWND volume = ::GetDlgItem(player_, 0x7D);
  RECT v;
  ::GetWindowRect(volume, &v);
  const POINT ring{v.left + 56, v.top + 11};
  const COLORREF dot = ScreenPixel(ring.x, ring.y);
  MoveTo(v.left + 20, v.top + 10);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(ring.x, ring.y) != dot; }));
  MoveTo(50 + 200, 50 + 20);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(ring.x, ring.y) == dot; }));
}

TEST_F(SkinE2e, OpeningTheBoardRepaintsThePlayerAsItWas) {
  MoveTo(900, 900);
  EXPECT_EQ(::WaitForInputIdle(app_.process(), 2000), 0u);
  const RECT player = WindowRect(player_);
  const auto before = Capture(player);
  ASSERT_NE(OpenBoard(), nullptr);
  EXPECT_EQ(::WaitForInputIdle(app_.process(), 2000), 0u);
  // Only 按钮3 and the list's frame may change, as the focus moved to the board; the
  // frame includes the focus rectangle the system draws around the list's caret row.
  const RECT button{244, 340, 332, 372}, list{3, 105, 347, 328}, caretRow{4, 106, 346, 123};
  RECT changed{};
  const auto same = [&] {
    const auto after = Capture(player);
    const int w = player.right - player.left;
    changed = RECT{10000, 10000, -1, -1};
    for (size_t i = 0; i < after.size(); ++i) {
      const int x = static_cast<int>(i) % w, y = static_cast<int>(i) / w;
      const bool ring = Inside(list, x, y) && !Inside(RECT{list.left + 2, list.top + 2, list.right - 2, list.bottom - 2}, x, y);
      if (Inside(button, x, y) || ring || Inside(caretRow, x, y) || after[i] == before[i]) continue;
      changed = RECT{std::min<LONG>(changed.left, x), std::min<LONG>(changed.top, y), std::max<LONG>(changed.right, x),
                     std::max<LONG>(changed.bottom, y)};
    }
    return changed.right < 0;
  };
  EXPECT_TRUE(WaitUntil(same, 3000)) << "changed " << changed.left << "," << changed.top << " - " << changed.right
                                     << "," << changed.bottom;
}

// A caption button whose tool tip has shown fades out as soon as the pointer moves
// on along the caption band, and the next one lights and fades in its turn. The
// fade takes 8 ticks of 20 ms: a glow still there a second after the pointer left
// has stayed lit. (Hiding the tip used to freeze the program for two seconds.)
TEST_F(SkinE2e, CaptionButtonsFadeAsThePointerMovesOnAfterTheirToolTipShowed) {
  constexpr DWORD kFadeDeadline = 1000;
  const RECT minimize{50 + 261, 50 + 3, 50 + 284, 50 + 17}, maximize{50 + 288, 50 + 3, 50 + 311, 50 + 17},
      close{50 + 315, 50 + 3, 50 + 345, 50 + 17};
  ASSERT_TRUE(PointerAt(player_, POINT{50 + 150, 50 + 95}));
  const auto minimizeUnlit = Capture(minimize), maximizeUnlit = Capture(maximize), closeUnlit = Capture(close);

  const POINT onMaximize{50 + 299, 50 + 10};
  ASSERT_TRUE(PointerAt(player_, onMaximize));
  ASSERT_TRUE(WaitUntil([&] { return TipShows(app_.pid()) && Capture(maximize) != maximizeUnlit; }));
  const POINT onClose{50 + 331, 50 + 10};
  Walk(onMaximize, onClose.x);
  EXPECT_TRUE(WaitUntil([&] { return Capture(maximize) == maximizeUnlit && Capture(close) != closeUnlit; },
                        kFadeDeadline));
  Walk(onClose, 50 + 351 + 40);  // on out of the window
  EXPECT_TRUE(WaitUntil([&] { return Capture(close) == closeUnlit; }, kFadeDeadline));

  const POINT onMinimize{50 + 272, 50 + 10};
  ASSERT_TRUE(PointerAt(player_, onMinimize));
  ASSERT_TRUE(WaitUntil([&] { return TipShows(app_.pid()) && Capture(minimize) != minimizeUnlit; }));
  Walk(onMinimize, 50 + 150);  // along the caption text
  EXPECT_TRUE(WaitUntil([&] { return Capture(minimize) == minimizeUnlit; }, kFadeDeadline));
  EXPECT_EQ(Capture(maximize), maximizeUnlit);
  EXPECT_EQ(Capture(close), closeUnlit);
}

// No window manager runs. Wine leaves the size of a maximized window that it has
// handed to one to that manager, so the screen would keep the window's old size
// whatever the program did; started with Wine placing its windows itself, as
// Windows does, the screen shows what the program draws.
class SkinE2eWinePlaced : public SkinE2e {
 protected:
  static constexpr wchar_t kDriverKey[] = L"Software\\Wine\\AppDefaults\\" TEXT(TOVEL_PROGRAM) L"\\X11 Driver";
  void SetUp() override {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kDriverKey, L"Managed", REG_SZ, L"N", 2 * sizeof(wchar_t)),
              ERROR_SUCCESS);
    SkinE2e::SetUp();
    Forget();  // read once, as the program started
  }
  void TearDown() override {
    Forget();
    SkinE2e::TearDown();
  }
  static void Forget() { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kDriverKey, L"Managed"); }
};

// Win+Up, a snap to the top edge and a "run maximized" shortcut all maximize with
// ShowWindow, without the maximize command the caption button sends.
TEST_F(SkinE2eWinePlaced, MaximizedByShowWindowShowsWholeAndTheRestoreCutsTheCornersAgain) {
  const auto showsSkin = [&](POINT p) {
    const COLORREF c = ScreenPixel(p.x, p.y);
    return c != 0 && c != kMagenta && ::GetAncestor(::WindowFromPoint(p), GA_ROOT) == player_;
  };
  const auto allShowSkin = [&](const RECT& r) {
    const auto points = SpreadOver(r);
    return std::all_of(points.begin(), points.end(), showsSkin);
  };
  ::ShowWindow(player_, SW_MAXIMIZE);
  MONITORINFO mi{sizeof(mi)};
  ::GetMonitorInfoW(::MonitorFromWindow(player_, MONITOR_DEFAULTTONEAREST), &mi);
  const RECT work = mi.rcWork;
  ASSERT_TRUE(WaitUntil([&] {
    return ::IsZoomed(player_) && SameRect(WindowRect(player_), work.left, work.top, work.right - work.left,
                                           work.bottom - work.top);
  }));
  EXPECT_TRUE(WaitUntil([&] { return allShowSkin(work); }));
  for (const POINT p : SpreadOver(work))
    EXPECT_TRUE(showsSkin(p)) << p.x << "," << p.y << " shows " << std::hex << ScreenPixel(p.x, p.y);
  EXPECT_TRUE(::IsZoomed(player_));

  ::ShowWindow(player_, SW_RESTORE);
  ASSERT_TRUE(WaitUntil([&] { return !::IsZoomed(player_) && SameRect(WindowRect(player_), 50, 50, 351, 391); }));
  EXPECT_TRUE(WaitUntil([&] {
    return ScreenPixel(50, 50) == 0 && ::GetAncestor(::WindowFromPoint(POINT{50, 50}), GA_ROOT) != player_ &&
           allShowSkin(WindowRect(player_));
  }));
}

}  // namespace
}  // namespace tovel::e2e
