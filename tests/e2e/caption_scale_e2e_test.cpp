// The frame of the real program at the display's scale, driven with the real pointer:
// the caption buttons sit where the scale puts them and act on one click each, the
// caption moves the window and an edge resizes it. Run at 96 DPI with the others and
// at 120, 144 and 192 DPI by at_dpi.sh.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "base/scale.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/real_pointer.h"
#include "tests/e2e/shared_rect.h"
#include "tests/e2e/song_list_support.h"
#include "tests/support/display_scale.h"

namespace tovel::e2e {
namespace {

constexpr int kBoardButton = 0x007B;  // 现场音效

// The player's caption buttons at 96 DPI: the centre's distance from the window's
// right edge, and from its top.
constexpr int kMinimizeFromRight = 80, kMaximizeFromRight = 53, kCloseFromRight = 20, kButtonCentreY = 10;

RECT WindowRect(HWND h) {
  RECT rc{};
  ::GetWindowRect(h, &rc);
  return rc;
}

std::string Where(HWND window, POINT at) {
  char text[200];
  const HWND under = ::GetAncestor(::WindowFromPoint(at), GA_ROOT);
  std::snprintf(text, sizeof(text), "at %ld,%ld: under it %p, window %p, foreground %p", at.x, at.y,
                static_cast<void*>(under), static_cast<void*>(window), static_cast<void*>(::GetForegroundWindow()));
  return text;
}

// The pointer stands at p over the window, so that a press goes to it.
bool PointerAt(HWND window, POINT p) {
  MoveTo(p.x, p.y);
  return WaitUntil([&] {
    POINT cursor{};
    return ::GetCursorPos(&cursor) && cursor.x == p.x && cursor.y == p.y &&
           ::GetAncestor(::WindowFromPoint(p), GA_ROOT) == window;
  });
}

// One click; a click that nothing comes of is a fault, so it is never repeated.
::testing::AssertionResult Click(HWND window, POINT p) {
  if (!PointerAt(window, p)) return ::testing::AssertionFailure() << "the pointer never stood over the window " << Where(window, p);
  Button(true);
  Button(false);
  return ::testing::AssertionSuccess();
}

// Press, wait for the window's move or size loop, move at a hand's pace, and let go
// once the loop has taken the last move (`arrived`), so the release cannot overtake it.
void Drag(HWND window, POINT from, POINT to, const std::function<bool()>& arrived = {}) {
  constexpr DWORD kHandPace = 20;
  ASSERT_TRUE(PointerAt(window, from)) << Where(window, from);
  Button(true);
  if (!WaitUntil([&] { return InMoveSize(window); })) {
    Button(false);
    FAIL() << "the press began no move or size " << Where(window, from);
  }
  for (int i = 1; i <= 8; ++i) {
    ::Sleep(kHandPace);
    MoveTo(from.x + (to.x - from.x) * i / 8, from.y + (to.y - from.y) * i / 8);
  }
  if (arrived) EXPECT_TRUE(WaitUntil(arrived)) << "the loop never took the last move";
  Button(false);
  EXPECT_TRUE(WaitUntil([&] { return !InMoveSize(window); }));
}

bool White(COLORREF c) { return (c & 0xFF) > 200 && ((c >> 8) & 0xFF) > 200 && ((c >> 16) & 0xFF) > 200; }

// A white stroke of a glyph within `reach` pixels of p on the screen: the
// maximize glyph is hollow and the minimize glyph a bar below the centre.
bool GlyphNear(POINT p, int reach) {
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx)
      if (White(ScreenPixel(p.x + dx, p.y + dy))) return true;
  return false;
}

class CaptionAtScale : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tovel::testing::MakeThreadDpiAware());
    RemoveMarker(PrimaryMarker());
    RemoveMarker(FallbackMarker());
    app_ = Launch(ProgramPath());
    ASSERT_TRUE(app_.started());
    player_ = WaitForWindow(app_.pid(), kPlayerTitle, 20000);
    ASSERT_NE(player_, nullptr);
    // Painted once the close glyph shows at its scaled place.
    ASSERT_TRUE(WaitUntil([&] { return GlyphNear(ButtonCentre(player_, kCloseFromRight), 2); }, 15000))
        << "no close glyph near " << ButtonCentre(player_, kCloseFromRight).x;
    // Activated by a press on the skin, whose move loop the release ends.
    const RECT r = WindowRect(player_);
    const POINT skin{r.left + s_.Px(200), r.top + s_.Px(15)};
    Drag(player_, skin, skin);
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == player_; }));
  }
  void TearDown() override {
    MoveTo(900, 900);
    if (player_ && ::IsWindow(player_)) EXPECT_EQ(CloseProgram(app_, player_), 0u);
    RemoveMarker(PrimaryMarker());
    RemoveMarker(FallbackMarker());
  }

  // A caption button's centre on the screen at the display's scale, or at another.
  POINT ButtonCentre(HWND window, int fromRight) const { return ButtonCentre(window, fromRight, s_); }
  static POINT ButtonCentre(HWND window, int fromRight, Scale s) {
    const RECT r = WindowRect(window);
    return POINT{r.right - s.Px(fromRight), r.top + s.Px(kButtonCentreY)};
  }

  // A glyph drawn at the button's place, a stroke within six pixels at 96 DPI of its centre.
  bool Glyph(HWND window, int fromRight) const { return GlyphNear(ButtonCentre(window, fromRight), s_.Px(6)); }

  const Scale s_{tovel::testing::ConfiguredDpi()};
  RunningProgram app_;
  HWND player_ = nullptr;
};

TEST_F(CaptionAtScale, EachCaptionButtonActsOnOneRealClickAtItsScaledPlace) {
  const RECT r = WindowRect(player_);
  EXPECT_EQ(r.right - r.left, s_.Px(351));
  EXPECT_EQ(r.bottom - r.top, s_.Px(391));
  if (s_.dpi() == 144) {
    EXPECT_EQ(r.right - r.left, 527);
    EXPECT_EQ(r.bottom - r.top, 587);
  }
  // Each glyph inside the caption, at the place its 96-DPI place scales to.
  for (const int fromRight : {kMinimizeFromRight, kMaximizeFromRight, kCloseFromRight}) {
    const POINT c = ButtonCentre(player_, fromRight);
    EXPECT_TRUE(Glyph(player_, fromRight)) << "no glyph near " << c.x << "," << c.y;
  }

  ASSERT_TRUE(Click(player_, ButtonCentre(player_, kMinimizeFromRight)));
  ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(player_) != FALSE; })) << "the minimize click was lost";
  ::SendMessageW(player_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !::IsIconic(player_) && WindowRect(player_).left == r.left; }));
  ASSERT_TRUE(WaitUntil([&] { return Glyph(player_, kMaximizeFromRight); }));

  ASSERT_TRUE(Click(player_, ButtonCentre(player_, kMaximizeFromRight)));
  ASSERT_TRUE(WaitUntil([&] { return ::IsZoomed(player_) != FALSE; })) << "the maximize click was lost";
  ::SendMessageW(player_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !::IsZoomed(player_) && WindowRect(player_).right - WindowRect(player_).left == s_.Px(351); }));

  // The board's only button closes it.
  PostClick(player_, kBoardButton);
  HWND board = WaitForWindow(app_.pid(), kBoardTitle, 15000);
  ASSERT_NE(board, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Glyph(board, kCloseFromRight); }));
  ASSERT_TRUE(Click(board, ButtonCentre(board, kCloseFromRight)));
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(board); })) << "the board's close click was lost";

  // The player's close ends the program.
  ASSERT_TRUE(WaitUntil([&] { return GlyphNear(ButtonCentre(player_, kCloseFromRight), 2); }));
  ASSERT_TRUE(Click(player_, ButtonCentre(player_, kCloseFromRight)));
  EXPECT_EQ(app_.WaitForExit(15000), 0u) << "the close click was lost";
  player_ = nullptr;
}

TEST_F(CaptionAtScale, TheCaptionMovesTheWindowAndAnEdgeResizesIt) {
  const RECT r = WindowRect(player_);
  const int width = r.right - r.left, height = r.bottom - r.top;
  // Pressed on the caption band, clear of the buttons.
  const auto movedBy = [&] {
    const RECT now = WindowRect(player_);
    return now.left == r.left + 100 && now.top == r.top + 60 && now.right - now.left == width;
  };
  Drag(player_, POINT{r.left + s_.Px(150), r.top + s_.Px(20)}, POINT{r.left + s_.Px(150) + 100, r.top + s_.Px(20) + 60},
       movedBy);
  EXPECT_TRUE(movedBy()) << "moved to " << WindowRect(player_).left << "," << WindowRect(player_).top;

  // The right edge, two pixels in: inside the resize zone at every scale.
  const RECT moved = WindowRect(player_);
  const int y = moved.top + s_.Px(200);
  const auto widened = [&] {
    const RECT now = WindowRect(player_);
    return now.left == moved.left && now.right - now.left == width + 50 && now.bottom - now.top == height;
  };
  Drag(player_, POINT{moved.right - 2, y}, POINT{moved.right - 2 + 50, y}, widened);
  EXPECT_TRUE(widened()) << "width " << WindowRect(player_).right - WindowRect(player_).left;
}

// As when the player reaches a display of another DPI: it takes the suggested size once,
// and its caption is drawn at the new scale (the close cross where that scale puts it).
TEST_F(CaptionAtScale, ADpiChangeDrawsTheCaptionAtTheNewScale) {
  const Scale to(s_.dpi() == 144 ? 192 : 144);
  const RECT before = WindowRect(player_);
  const RECT suggested{before.left, before.top, before.left + to.Px(351), before.top + to.Px(391)};
  SharedRect shared(app_.process(), suggested);
  ASSERT_TRUE(shared.ok()) << "no address free in both processes";
  DWORD_PTR result = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(player_, WM_DPICHANGED, MAKEWPARAM(to.dpi(), to.dpi()), shared.address(),
                                    SMTO_NORMAL, 15000, &result));
  const RECT r = WindowRect(player_);
  EXPECT_EQ(r.right - r.left, to.Px(351));
  EXPECT_EQ(r.bottom - r.top, to.Px(391));
  EXPECT_TRUE(WaitUntil([&] { return GlyphNear(ButtonCentre(player_, kCloseFromRight, to), 2); }))
      << "no close glyph at the new scale";
  EXPECT_TRUE(GlyphNear(ButtonCentre(player_, kMinimizeFromRight, to), to.Px(6)));
  // And it acts there on one real click.
  ASSERT_TRUE(Click(player_, ButtonCentre(player_, kMinimizeFromRight, to)));
  EXPECT_TRUE(WaitUntil([&] { return ::IsIconic(player_) != FALSE; })) << "the minimize click was lost";
}

}  // namespace
}  // namespace tovel::e2e
