#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/sound_board.h"
#include "runtime/controls.h"
#include "runtime/mci_channel.h"
#include "tests/support/pump.h"
#include "tests/support/silent_mci.h"

namespace tovel {
namespace {

using testing::PumpPending;
using testing::SilentMci;

// Where the board stood each time it became visible, read in the same moment, on its own thread.
std::vector<RECT> gShownAt;

LRESULT CALLBACK WatchBoardShown(int code, WPARAM wp, LPARAM lp) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lp);
  if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED &&
      call->hwnd == Runtime::Get().WindowHandle(kBoardWindowId) &&
      (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW)) {
    RECT rc;
    ::GetWindowRect(call->hwnd, &rc);
    gShownAt.push_back(rc);
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

// The player with the program's own sound-board handlers.
class BoardFirstShow : public ::testing::Test {
 protected:
  void SetUp() override {
    Runtime& rt = Runtime::Get();
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) rt.Bind(static_cast<HandlerKey>(k), {});
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    board_ = std::make_unique<SoundBoard>(rt, mci_, temp);
    BindSoundBoardHandlers(rt, *board_);
    ASSERT_NE(rt.LoadForm(PlayerForm()), nullptr);
    PumpPending();
    gShownAt.clear();
    hook_ = ::SetWindowsHookExW(WH_CALLWNDPROCRET, WatchBoardShown, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook_, nullptr);
  }
  void TearDown() override {
    ::UnhookWindowsHookEx(hook_);
    Runtime& rt = Runtime::Get();
    rt.CloseForm(kBoardWindowId);
    rt.CloseForm(kPlayerWindowId);
    PumpPending();
    board_.reset();
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) rt.Bind(static_cast<HandlerKey>(k), {});
  }

  static HWND Player() { return Runtime::Get().WindowHandle(kPlayerWindowId); }
  static RECT Rect(HWND h) {
    RECT rc{};
    ::GetWindowRect(h, &rc);
    return rc;
  }
  // As the user's click on "现场音效" does; returns once the handler has.
  static void ClickOpen() {
    ::SendMessageW(::GetDlgItem(Player(), ChildId(player::kBoardButton)), BM_CLICK, 0, 0);
    PumpPending();
  }

  SilentMci mci_;
  std::unique_ptr<SoundBoard> board_;
  HHOOK hook_ = nullptr;
};

// Its very first frame is the docked place, not the form's (50, 50) over the player.
TEST_F(BoardFirstShow, TheBoardIsFirstShownDockedBelowThePlayerEachTimeItOpens) {
  const POINT places[] = {{230, 140}, {90, 20}};
  for (const POINT at : places) {
    SCOPED_TRACE(at.x);
    ::SetWindowPos(Player(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    gShownAt.clear();
    ClickOpen();
    HWND board = Runtime::Get().WindowHandle(kBoardWindowId);
    ASSERT_NE(board, nullptr);
    ASSERT_FALSE(gShownAt.empty()) << "the board was never seen becoming visible";
    const RECT player = Rect(Player());
    EXPECT_EQ(gShownAt.front().left, player.left);
    EXPECT_EQ(gShownAt.front().top, player.bottom) << "first shown at " << gShownAt.front().left << ","
                                                   << gShownAt.front().top;
    EXPECT_EQ(gShownAt.front().right - gShownAt.front().left, 351);
    const RECT now = Rect(board);
    EXPECT_EQ(now.left, player.left);
    EXPECT_EQ(now.top, player.bottom);
    Runtime::Get().CloseForm(kBoardWindowId);
    PumpPending();
  }
}

}  // namespace
}  // namespace tovel
