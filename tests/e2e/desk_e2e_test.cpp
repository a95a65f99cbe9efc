#include <windows.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/e2e/audio_capture.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {

constexpr int kBoardButtonId = 0x007B;
constexpr int kElapsedId = 0x007C;
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr WPARAM kMenuPlayPause = 0x7201, kMenuStop = 0x7204, kMenuQuit = 0x7206;

RECT RectOf(HWND h) {
  RECT rc{};
  ::GetWindowRect(h, &rc);
  return rc;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The hidden window that the program's notification-area icon reports to.
HWND TrayWindowOf(DWORD pid) {
  for (HWND h : WindowsOfProcess(pid)) {
    wchar_t cls[32] = {};
    ::GetClassNameW(h, cls, 32);
    if (std::wstring(cls) == L"TovelTrayIcon") return h;
  }
  return nullptr;
}

class Desk : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearRunTraces();
    program_ = CopyProgramInto(folder_);
    ASSERT_FALSE(program_.empty());
  }
  void TearDown() override {
    if (player_ && ::IsWindow(player_)) CloseProgram(app_, player_);
    ClearRunTraces();
  }
  void Start(const std::string& ini = {}) {
    if (!ini.empty()) WriteBytes(folder_ / L"歌曲配置.ini", ini);
    app_ = Launch(program_);
    ASSERT_TRUE(app_.started());
    player_ = WaitForWindow(app_.pid(), kPlayerTitle, 20000);
    ASSERT_NE(player_, nullptr);
  }
  // Starts the program again: it says that it runs already and ends; meanwhile the running
  // player should come forward. The box is closed once `forward()` holds or time is up.
  void StartAgainAndExpect(const std::function<bool()>& forward) {
    RunningProgram second = Launch(program_);
    ASSERT_TRUE(second.started());
    HWND box = WaitForMessageBox(second.pid(), 20000);
    ASSERT_NE(box, nullptr) << "the second start was not refused";
    EXPECT_EQ(MessageBoxText(box), L"该程序已经在运行");
    EXPECT_TRUE(WaitUntil(forward, 10000)) << "the running player did not come forward";
    CloseBox(box);
    EXPECT_EQ(second.WaitForExit(10000), 0u) << "the second start did not end";
  }

  ScratchFolder folder_{L"desk"};
  ScratchFolder songs_{L"desk-songs"};
  std::wstring program_;
  RunningProgram app_;
  HWND player_ = nullptr;
};

TEST_F(Desk, ASecondStartBringsTheMinimizedPlayerBackToItsPlaceAndEnds) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const RECT place = RectOf(player_);
  ::PostMessageW(player_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(player_) != 0; }, 10000));

  StartAgainAndExpect([&] { return !::IsIconic(player_) && SameRect(RectOf(player_), place); });
  EXPECT_TRUE(::IsWindowVisible(player_));
  EXPECT_EQ(app_.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE)) << "the running player ended";
}

TEST_F(Desk, HiddenInTheNotificationAreaBothWindowsComeBackDockedOnASecondStart) {
  ASSERT_NO_FATAL_FAILURE(Start(Gbk(L"[通知区域]\r\n最小化到通知区域=1\r\n")));
  PostClick(player_, kBoardButtonId);
  HWND board = WaitForWindow(app_.pid(), kBoardTitle, 20000);
  ASSERT_NE(board, nullptr);
  const RECT place = RectOf(player_);

  ::PostMessageW(player_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(player_) && !::IsWindowVisible(board); }, 10000))
      << "minimizing did not hide both windows";

  StartAgainAndExpect([&] {
    return ::IsWindowVisible(player_) && ::IsWindowVisible(board) && !::IsIconic(player_) &&
           SameRect(RectOf(player_), place);
  });
  const RECT boardPlace = RectOf(board);
  EXPECT_EQ(boardPlace.left, place.left) << "the board is not docked";
  EXPECT_EQ(boardPlace.top, place.bottom) << "the board is not docked";
}

// The icon's menu drives the real player: its counter and its sound show each command.
TEST_F(Desk, TheIconsMenuPlaysStopsAndEndsTheProgram) {
  AudioCapture capture;
  ASSERT_TRUE(capture.Start()) << "no capture device";
  const std::wstring song = CopySong(L"long_330.mp3", songs_, L"long_330.mp3");
  ASSERT_NO_FATAL_FAILURE(Start(GbkIni({song})));
  // The icon comes right after the player is first shown.
  HWND tray = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (tray = TrayWindowOf(app_.pid())) != nullptr; }, 10000)) << "no icon window";
  HWND elapsed = ::GetDlgItem(player_, kElapsedId);
  auto heard = [](const CapturedAudio& a) { return a.ToneAmplitude(330) > 0.2; };
  auto quiet = [](const CapturedAudio& a) { return a.ToneAmplitude(330) < 0.02; };

  ::PostMessageW(tray, WM_COMMAND, kMenuPlayPause, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(elapsed) != L"00:00"; }, 10000)) << "the counter did not start";
  EXPECT_TRUE(HearsWithin(capture, 600, 8000, heard)) << "the song is not heard";

  ::PostMessageW(tray, WM_COMMAND, kMenuStop, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(elapsed) == L"00:00"; }, 10000));
  EXPECT_TRUE(HearsQuietWithin(capture, 600, 8000, quiet)) << "stop should be silent";

  // A left click on the icon brings a minimized player back.
  ::PostMessageW(player_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(player_) != 0; }, 10000));
  ::PostMessageW(tray, kTrayCallback, 0, MAKELPARAM(NIN_SELECT, 1));
  EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(player_); }, 10000));

  ::PostMessageW(tray, WM_COMMAND, kMenuQuit, 0);
  EXPECT_EQ(app_.WaitForExit(15000), 0u) << "退出 did not end the program";
  EXPECT_FALSE(::IsWindow(tray));
  player_ = nullptr;
}

}  // namespace
}  // namespace tovel::e2e
