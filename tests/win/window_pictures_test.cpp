// The player as the program starts it, and with the sound board docked below it, are
// the kept pictures pixel for pixel: the pointer is parked away and the song list has
// the focus, as at start.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "app/skin_setup.h"
#include "app/sound_board.h"
#include "app/startup.h"
#include "runtime/controls.h"
#include "runtime/mci_channel.h"
#include "tests/support/pump.h"
#include "tests/support/silent_mci.h"
#include "tests/support/screen_pictures.h"

namespace tovel {
namespace {

using testing::ExpectSamePixels;
using testing::PumpPending;
using testing::SilentMci;
using testing::PumpUntil;
using testing::SettledScreen;
using testing::WindowArea;

class WindowPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool skinStarted = (InitialiseSkin(), true);
    (void)skinStarted;
    ::SetCursorPos(900, 900);
    Runtime& rt = Runtime::Get();
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) rt.Bind(static_cast<HandlerKey>(k), {});
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    board_ = std::make_unique<SoundBoard>(rt, mci_, temp);
    BindSoundBoardHandlers(rt, *board_);
    rt.Bind(HandlerKey::PlayerStartup, [] { OnPlayerStartup({}); });
    ASSERT_NE(rt.LoadForm(PlayerForm()), nullptr);
    HWND list = rt.ControlHandle(kPlayerWindowId, player::kList);
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == list && ::GetForegroundWindow() == Player(); }, 5000))
        << "the song list never had the focus";
  }
  void TearDown() override {
    Runtime& rt = Runtime::Get();
    rt.CloseForm(kBoardWindowId);
    rt.CloseForm(kPlayerWindowId);
    PumpPending();
    HeldInstanceLock() = InstanceLock{};
    board_.reset();
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) rt.Bind(static_cast<HandlerKey>(k), {});
  }

  static HWND Player() { return Runtime::Get().WindowHandle(kPlayerWindowId); }

  SilentMci mci_;
  std::unique_ptr<SoundBoard> board_;
};

TEST_F(WindowPictures, ThePlayerAndTheBoardDockedBelowItAreDrawnAsKept) {
  ExpectSamePixels(SettledScreen(WindowArea(Player())), L"player.png");

  // As the user's click on "现场音效" does; the focus goes back to the song list.
  ::SendMessageW(::GetDlgItem(Player(), ChildId(player::kBoardButton)), BM_CLICK, 0, 0);
  HWND board = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] {
        board = Runtime::Get().WindowHandle(kBoardWindowId);
        return board && ::IsWindowVisible(board) && WindowArea(board).top == WindowArea(Player()).bottom;
      },
      5000))
      << "the board never stood docked below the player";
  ExpectSamePixels(SettledScreen(WindowArea(Player(), board)), L"player_and_board.png");
}

}  // namespace
}  // namespace tovel
