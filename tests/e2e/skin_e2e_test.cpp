// The skinned look of the real program, seen on the screen and driven with the
// real pointer: no window manager runs, so moves, sizes and states are judged by
// their results.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {

constexpr int kBoardButton = 0x007B;  // 现场音效
constexpr COLORREF kMagenta = 0xFF00FF;

void MoveTo(int x, int y) {
  ::SetCursorPos(x, y);
  INPUT move{INPUT_MOUSE};
  move.mi.dwFlags = MOUSEEVENTF_MOVE;  // a zero move, so the window under it hears of it
  ::SendInput(1, &move, sizeof(INPUT));
}

void Button(bool down) {
  INPUT in{INPUT_MOUSE};
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  ::SendInput(1, &in, sizeof(INPUT));
}

void Click(int x, int y) {
  MoveTo(x, y);
  Button(true);
  Button(false);
}

// True while the window's thread runs the platform's move or size loop.
bool InMoveSize(HWND window) {
  GUITHREADINFO info{sizeof(info)};
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) && (info.flags & GUI_INMOVESIZE);
}

// Clicks until `done` holds, at most three times; see Drag for why a press is made again.
bool ClickUntil(int x, int y, const std::function<bool()>& done) {
  for (int attempt = 1; attempt <= 3; ++attempt) {
    Click(x, y);
    if (WaitUntil(done)) return true;
    std::printf("click: nothing came of the click at %d,%d (attempt %d)\n", x, y, attempt);
  }
  return false;
}

// What stood between a press and the window, for the log.
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

// Presses at one point and lets go at another, moving in steps at a hand's pace
// once the window's move or size loop has begun: a busy program may take a while
// to start it, and the moves and the release must reach the loop, not go before it.
// Under Wine a press now and then never reaches a busy program; it is let go and
// made again, and the log says so.
void Drag(HWND window, POINT from, POINT to) {
  constexpr DWORD kHandPace = 20;
  bool began = false;
  for (int attempt = 1; attempt <= 3 && !began; ++attempt) {
    MoveTo(from.x, from.y);
    Button(true);
    began = WaitUntil([&] { return InMoveSize(window); });
    if (!began) {
      std::printf("drag: the press began no move or size (attempt %d): %s\n", attempt, Situation(window, from).c_str());
      Button(false);
    }
  }
  EXPECT_TRUE(began);
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

// Share of pure black pixels in a screen rectangle.
double BlackShare(const RECT& r) {
  int black = 0, all = 0;
  for (int y = r.top; y < r.bottom; y += 2)
    for (int x = r.left; x < r.right; x += 2, ++all)
      if (ScreenPixel(x, y) == 0) ++black;
  return all ? static_cast<double>(black) / all : 1.0;
}

// The screen's pixels in a rectangle, 0x00RRGGBB, row by row.
std::vector<std::uint32_t> Capture(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
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

bool Inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

class SkinE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveMarker(PrimaryMarker());
    RemoveMarker(FallbackMarker());
    app_ = Launch(ProgramPath());
    ASSERT_TRUE(app_.started());
    player_ = WaitForWindow(app_.pid(), kPlayerTitle, 20000);
    ASSERT_NE(player_, nullptr);
    // The first paint has happened once the close glyph's white cross shows.
    ASSERT_TRUE(WaitUntil([&] { return (ScreenPixel(50 + 331, 50 + 10) & 0xFF) > 200; }));
    // Activated by a click on the skin first, so that activating it later cannot
    // cut short a move or size loop a test starts.
    Click(50 + 200, 50 + 15);
    ::WaitForInputIdle(app_.process(), 2000);
    ASSERT_TRUE(WaitUntil([&] { return !InMoveSize(player_); }));
  }
  void TearDown() override {
    MoveTo(900, 900);
    if (player_ && ::IsWindow(player_)) CloseProgram(app_, player_);
    RemoveMarker(PrimaryMarker());
    RemoveMarker(FallbackMarker());
  }
  HWND OpenBoard() {
    PostClick(player_, kBoardButton);
    HWND board = WaitForWindow(app_.pid(), kBoardTitle, 10000);
    // Docked below the player and painted: its close glyph's white cross shows.
    if (board && !WaitUntil([&] {
          const RECT b = WindowRect(board), p = WindowRect(player_);
          return b.top == p.bottom && (ScreenPixel(b.left + 331, b.top + 10) & 0xFF) > 200;
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
  EXPECT_LT(BlackShare(RECT{50 + 302, 50 + 24, 50 + 342, 50 + 40}), 0.2);
  EXPECT_LT(BlackShare(RECT{50 + 277, 50 + 62, 50 + 345, 50 + 78}), 0.2);
  EXPECT_LT(BlackShare(RECT{50 + 9, 50 + 25, 50 + 280, 50 + 41}), 0.2);

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
  ASSERT_TRUE(ClickUntil(50 + 270, 50 + 10, [&] { return ::IsIconic(player_) != FALSE; }));
  ::SendMessageW(player_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitUntil([&] { return SameRect(WindowRect(player_), 50, 50, 351, 391); }));

  ASSERT_TRUE(ClickUntil(50 + 297, 50 + 10, [&] { return ::IsZoomed(player_) != FALSE; }));
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
  MoveTo(700, 700);
  Button(true);
  MoveTo(150 + 331, 110 + 10);
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
  Click(b.left + 331, b.top + 10);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(board); }));
  board = OpenBoard();
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(WindowRect(board).top, WindowRect(player_).bottom);

  Click(50 + 331, 50 + 10);
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
  ::WaitForInputIdle(app_.process(), 2000);
  const RECT player = WindowRect(player_);
  const auto before = Capture(player);
  ASSERT_NE(OpenBoard(), nullptr);
  ::WaitForInputIdle(app_.process(), 2000);
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

}  // namespace
}  // namespace tovel::e2e
