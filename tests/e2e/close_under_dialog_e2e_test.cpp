#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {

constexpr int kListId = 0x0076;
constexpr int kAboutId = 0x0078;
constexpr int kAddId = 0x0086;
constexpr int kVolumeId = 0x007D;
constexpr WPARAM kMenuRemove = 0x3D29;

// True when `upper` comes before `lower` in the desktop's z-order.
bool Above(HWND upper, HWND lower) {
  for (HWND h = ::GetTopWindow(nullptr); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (h == upper) return true;
    if (h == lower) return false;
  }
  return false;
}

// Posted messages of a thread come out in order: once a position posted after `WM_CLOSE`
// shows on the volume slider, the close has been handled. Programs' own positions raise nothing.
bool PostedCloseHandled(HWND player, int marker) {
  ::PostMessageW(player, WM_CLOSE, 0, 0);
  HWND slider = ::GetDlgItem(player, kVolumeId);
  ::PostMessageW(slider, TBM_SETPOS, TRUE, marker);
  return WaitUntil(
      [&] {
        DWORD_PTR position = 0;
        return !::IsWindow(player) ||
               (::SendMessageTimeoutW(slider, TBM_GETPOS, 0, 0, SMTO_NORMAL, 1000, &position) &&
                static_cast<int>(position) == marker);
      },
      10000);
}

// Task Manager's "End task", scripts and a log-off close a program with WM_CLOSE; its
// window may be disabled under a modal box then. Each test runs its own copy of the program.
class CloseUnderDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearRunTraces();
    program_ = CopyProgramInto(appDir_);
    ASSERT_FALSE(program_.empty());
  }
  void TearDown() override { ClearRunTraces(); }

  void Start() {
    app_ = Launch(program_);
    ASSERT_TRUE(app_.started());
    player_ = WaitForWindow(app_.pid(), kPlayerTitle, 20000);
    ASSERT_NE(player_, nullptr);
  }
  HWND OpenAboutBox() {
    PostClick(player_, kAboutId);
    return WaitForMessageBox(app_.pid(), 10000);
  }
  HWND OpenFolderBrowser() {
    PostClick(player_, kAddId);
    // The first browser of a fresh Wine prefix can take half a minute to appear.
    return WaitForDialog(app_.pid(), 120000);
  }
  // A start after this one has ended runs normally.
  void NextStartRuns() {
    RunningProgram next = Launch(program_);
    HWND player = WaitForWindow(next.pid(), kPlayerTitle, 20000);
    ASSERT_NE(player, nullptr) << "the next start did not run";
    EXPECT_EQ(WaitForMessageBox(next.pid(), 0), nullptr) << "the next start was told it runs already";
    EXPECT_EQ(CloseProgram(next, player), 0u);
  }

  ScratchFolder appDir_{L"close"};
  ScratchFolder songs_{L"close-songs"};
  std::wstring program_;
  RunningProgram app_;
  HWND player_ = nullptr;
};

// Declined, as a disabled owner does: the box comes forward and the program goes on.
TEST_F(CloseUnderDialog, CloseUnderTheAboutBoxBringsTheBoxForward) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND box = OpenAboutBox();
  ASSERT_NE(box, nullptr);
  // The player on top, as a click on its taskbar button would leave it.
  ::SetWindowPos(player_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitUntil([&] { return Above(player_, box); }, 5000));

  ASSERT_TRUE(PostedCloseHandled(player_, 42)) << "the close was not handled";
  ASSERT_TRUE(::IsWindow(player_)) << "the player closed under its about box";
  EXPECT_TRUE(::IsWindow(box));
  EXPECT_TRUE(WaitUntil([&] { return Above(box, player_); }, 5000)) << "the box was not brought forward";
  EXPECT_TRUE(Answers(player_));
  EXPECT_EQ(app_.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));

  CloseBox(box);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box) && ::IsWindowEnabled(player_); }, 5000));
  EXPECT_EQ(CloseProgram(app_, player_), 0u);
  NextStartRuns();
}

TEST_F(CloseUnderDialog, CloseUnderTheFolderBrowserLeavesTheBrowserOpen) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND browser = OpenFolderBrowser();
  ASSERT_NE(browser, nullptr);

  ASSERT_TRUE(PostedCloseHandled(player_, 42)) << "the close was not handled";
  ASSERT_TRUE(::IsWindow(player_)) << "the player closed under its folder browser";
  EXPECT_TRUE(::IsWindow(browser));
  EXPECT_TRUE(::IsWindowVisible(browser));
  EXPECT_TRUE(Answers(player_));
  EXPECT_EQ(app_.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));

  ASSERT_TRUE(CancelFolderBrowser(app_.pid()));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(browser) && ::IsWindowEnabled(player_); }, 10000));
  EXPECT_EQ(CloseProgram(app_, player_), 0u);
  NextStartRuns();
}

// The end of the session does not wait for the user: the program saves and ends under its box.
TEST_F(CloseUnderDialog, SessionEndUnderEitherBoxSavesTheListAndEnds) {
  const std::wstring a = CopySong(L"tone_440.mp3", songs_, L"a.mp3");
  const std::wstring b = CopySong(L"tone_660.mp3", songs_, L"b.mp3");
  WriteBytes(appDir_ / L"歌曲配置.ini", GbkIni({a, b}));
  for (const bool browser : {false, true}) {
    SCOPED_TRACE(browser ? "under the folder browser" : "under the about box");
    ::DeleteFileW(kExportFile.c_str());
    ASSERT_NO_FATAL_FAILURE(Start());
    HWND list = ::GetDlgItem(player_, kListId);
    ASSERT_TRUE(WaitForListCount(list, 2, 5000));
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    ::SendMessageW(player_, WM_COMMAND, kMenuRemove, 0);
    ASSERT_NE(browser ? OpenFolderBrowser() : OpenAboutBox(), nullptr);

    DWORD_PTR agreed = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(player_, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &agreed));
    EXPECT_TRUE(agreed) << "the program refused the end of the session";
    ::SendMessageTimeoutW(player_, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10000, nullptr);
    EXPECT_EQ(app_.WaitForExit(10000), 0u);
    EXPECT_EQ(FileBytes(kExportFile), Gbk(b + L"\r\n"));
    app_ = RunningProgram();
  }
  NextStartRuns();
}

}  // namespace
}  // namespace tovel::e2e
