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
constexpr UINT kMediaKeys[] = {VK_MEDIA_PLAY_PAUSE, VK_MEDIA_STOP, VK_MEDIA_NEXT_TRACK, VK_MEDIA_PREV_TRACK};

// Returns once the player has acted on it, as a window of its own thread would.
void AppCommand(HWND to, short command) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(to, WM_APPCOMMAND, reinterpret_cast<WPARAM>(to), MAKELPARAM(0, command), SMTO_NORMAL, 15000,
                        &result);
}

// What the shell sends its hook windows when the program in front left a key unused.
void ShellAppCommand(HWND to, short command, WPARAM code = HSHELL_APPCOMMAND) {
  static const UINT shellHook = ::RegisterWindowMessageW(L"SHELLHOOK");
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(to, shellHook, code, MAKELPARAM(0, command), SMTO_NORMAL, 15000, &result);
}

class MediaKeys : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(capture_.Start()) << "no capture device"; }
  void TearDown() override {
    for (int id = 1; id <= 4; ++id) ::UnregisterHotKey(nullptr, id);
  }

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

TEST_F(MediaKeys, ActAsTheButtonsWhenThePlayerHasTheFocusAndAreLeftToOtherPrograms) {
  ASSERT_NE(Start({L"long_330.mp3", L"tone_440.mp3"}), nullptr);
  // The player claims none of the keys for itself: another program can take each of them.
  for (int id = 1; id <= 4; ++id)
    EXPECT_TRUE(::RegisterHotKey(nullptr, id, MOD_NOREPEAT, kMediaKeys[id - 1])) << kMediaKeys[id - 1];

  // Sent to the focused list, the command climbs to the player as the platform's own does.
  // One command acts once: a second action would pause the song it started.
  EXPECT_GT(Heard(330, 1500, [&] { AppCommand(::GetDlgItem(player_, kListId), APPCOMMAND_MEDIA_PLAY_PAUSE); }), 0.2);
  EXPECT_EQ(PlayCaption(), L"播放");
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
  EXPECT_EQ(CloseProgram(app_, player_), 0u);
}

TEST_F(MediaKeys, ActThroughTheShellWhenTheProgramInFrontLeavesThemUnused) {
  ASSERT_NE(Start({L"long_330.mp3", L"tone_440.mp3"}), nullptr);
  EXPECT_GT(Heard(330, 1500, [&] { ShellAppCommand(player_, APPCOMMAND_MEDIA_PLAY_PAUSE); }), 0.2);
  EXPECT_EQ(PlayCaption(), L"播放");
  // Other news of the shell carries no key, whatever its second word holds.
  ShellAppCommand(player_, APPCOMMAND_MEDIA_PLAY_PAUSE, HSHELL_WINDOWACTIVATED);
  EXPECT_EQ(PlayCaption(), L"播放");
  ShellAppCommand(player_, APPCOMMAND_MEDIA_PLAY_PAUSE);
  EXPECT_EQ(PlayCaption(), L"暂停");
  EXPECT_TRUE(Silenced()) << "pause should be silent";

  EXPECT_GT(Heard(440, 1500, [&] { ShellAppCommand(player_, APPCOMMAND_MEDIA_NEXTTRACK); }), 0.2);
  EXPECT_EQ(Caret(), 1);
  EXPECT_GT(Heard(330, 1500, [&] { ShellAppCommand(player_, APPCOMMAND_MEDIA_PREVIOUSTRACK); }), 0.2);
  EXPECT_EQ(Caret(), 0);
  ShellAppCommand(player_, APPCOMMAND_MEDIA_STOP);
  EXPECT_EQ(Elapsed(), L"00:00");
  EXPECT_TRUE(Silenced()) << "stop should be silent";
  EXPECT_EQ(CloseProgram(app_, player_), 0u);
}

}  // namespace
}  // namespace tovel::e2e
