#include <windows.h>
#include <gtest/gtest.h>

#include <functional>

#include "tests/e2e/audio_capture.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {

constexpr int kListId = 0x0076;
constexpr int kPlayId = 0x007E;
constexpr int kElapsedId = 0x007C;
constexpr int kHeldStop = 1;  // this test's own hot key

// Returns once the player has acted on it, as a window of its own thread would.
void AppCommand(HWND to, short command) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(to, WM_APPCOMMAND, reinterpret_cast<WPARAM>(to), MAKELPARAM(0, command), SMTO_NORMAL, 15000,
                        &result);
}

void PressKey(WORD key) {
  INPUT in[2] = {};
  for (INPUT& i : in) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = key;
    i.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
  }
  in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  ::SendInput(2, in, sizeof(INPUT));
}

bool HotKeyArrives(int id) {
  MSG msg;
  return WaitUntil([&] {
    return ::PeekMessageW(&msg, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE) && static_cast<int>(msg.wParam) == id;
  });
}

class MediaKeys : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(capture_.Start()) << "no capture device"; }
  void TearDown() override { ::UnregisterHotKey(nullptr, kHeldStop); }

  // A copy of the program whose stored list names the given test songs.
  HWND Start(const std::vector<std::wstring>& songs) {
    std::vector<std::wstring> paths;
    for (const auto& s : songs) paths.push_back(CopySong(s, folder_, s));
    WriteBytes(folder_ / L"歌曲配置.ini", GbkIni(paths));
    app_ = Launch(CopyProgramInto(folder_));
    player_ = app_.started() ? WaitForWindow(app_.pid(), kPlayerTitle, 20000) : nullptr;
    return player_;
  }
  std::wstring Elapsed() const { return WindowText(::GetDlgItem(player_, kElapsedId)); }
  std::wstring PlayCaption() const { return WindowText(::GetDlgItem(player_, kPlayId)); }
  LRESULT Caret() const { return ::SendMessageW(::GetDlgItem(player_, kListId), LB_GETCARETINDEX, 0, 0); }
  double Heard(double hz, DWORD ms, const std::function<void()>& action) {
    return HearAfter(capture_, ms, action).ToneAmplitude(hz);
  }
  // The sound ends a moment after the command: the song's tone is waited out, not slept out.
  bool Silenced() {
    return HearsQuietWithin(capture_, 600, 5000,
                            [](const CapturedAudio& heard) { return heard.ToneAmplitude(330) < 0.02; });
  }

  AudioCapture capture_;
  ScratchFolder folder_{L"keys"};
  RunningProgram app_;
  HWND player_ = nullptr;
};

TEST_F(MediaKeys, ActAsTheButtonsOncePerPressAndAreGivenBackAtExit) {
  // Another program holds the stop key: the player starts without it and says nothing.
  ASSERT_TRUE(::RegisterHotKey(nullptr, kHeldStop, MOD_NOREPEAT, VK_MEDIA_STOP));
  ASSERT_NE(Start({L"long_330.mp3", L"tone_440.mp3"}), nullptr);
  EXPECT_EQ(WaitForMessageBox(app_.pid(), 0), nullptr);

  // Sent to the focused list, the command climbs to the player as the platform's own does.
  EXPECT_GT(Heard(330, 1500, [&] { AppCommand(::GetDlgItem(player_, kListId), APPCOMMAND_MEDIA_PLAY_PAUSE); }), 0.2);
  EXPECT_TRUE(WaitUntil([&] { return Elapsed() != L"00:00"; }));
  AppCommand(player_, APPCOMMAND_MEDIA_PLAY_PAUSE);
  EXPECT_EQ(PlayCaption(), L"暂停");
  EXPECT_TRUE(Silenced()) << "pause should be silent";

  EXPECT_GT(Heard(440, 1500, [&] { AppCommand(player_, APPCOMMAND_MEDIA_NEXTTRACK); }), 0.2);
  EXPECT_EQ(Caret(), 1);
  EXPECT_GT(Heard(330, 1500, [&] { AppCommand(player_, APPCOMMAND_MEDIA_PREVIOUSTRACK); }), 0.2);
  EXPECT_EQ(Caret(), 0);
  AppCommand(player_, APPCOMMAND_MEDIA_STOP);
  EXPECT_EQ(Elapsed(), L"00:00");
  EXPECT_TRUE(Silenced()) << "stop should be silent";

  // One press acts once, whether the player or another program has the focus:
  // a second action would pause the song it started.
  ::SetForegroundWindow(player_);
  ASSERT_EQ(::GetForegroundWindow(), player_);
  EXPECT_GT(Heard(330, 1500, [] { PressKey(VK_MEDIA_PLAY_PAUSE); }), 0.2);
  EXPECT_EQ(PlayCaption(), L"播放");
  HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 600, 600, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
  ::SetForegroundWindow(other);
  ASSERT_EQ(::GetForegroundWindow(), other);
  PressKey(VK_MEDIA_PLAY_PAUSE);
  EXPECT_TRUE(WaitUntil([&] { return PlayCaption() == L"暂停"; }));

  // The stop key stays with its holder.
  PressKey(VK_MEDIA_STOP);
  EXPECT_TRUE(HotKeyArrives(kHeldStop));
  EXPECT_EQ(PlayCaption(), L"暂停");
  ::DestroyWindow(other);

  // Held by the player while it runs, free again once it has ended.
  EXPECT_FALSE(::RegisterHotKey(nullptr, 2, MOD_NOREPEAT, VK_MEDIA_NEXT_TRACK));
  ASSERT_EQ(CloseProgram(app_, player_), 0u);
  for (UINT key : {VK_MEDIA_PLAY_PAUSE, VK_MEDIA_NEXT_TRACK, VK_MEDIA_PREV_TRACK}) {
    EXPECT_TRUE(::RegisterHotKey(nullptr, 2, MOD_NOREPEAT, key)) << key;
    ::UnregisterHotKey(nullptr, 2);
  }
}

}  // namespace
}  // namespace tovel::e2e
