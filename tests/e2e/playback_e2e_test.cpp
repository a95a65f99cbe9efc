#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/e2e/audio_capture.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {

constexpr int kListId = 0x0076;
constexpr int kPlayId = 0x007E;
constexpr int kStopId = 0x3DD9;
constexpr int kElapsedId = 0x007C;
constexpr int kVolumeLabelId = 0x3CBE;
constexpr int kVolumeId = 0x007D;
constexpr int kSeekId = 0x3D23;
constexpr int kNextId = 0x007F;
constexpr int kWelcomeId = 0x0081;

// Returns once the program's click handler has run, as a user's click would.
void Click(HWND player, int id) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(::GetDlgItem(player, id), BM_CLICK, 0, 0, SMTO_NORMAL, 15000, &result);
}

// Moves a slider as a drag would: the position, then the scroll notification to the window.
void DragSlider(HWND player, int id, int position) {
  HWND slider = ::GetDlgItem(player, id);
  ::SendMessageW(slider, TBM_SETPOS, TRUE, position);
  ::SendMessageW(player, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(slider));
}

// The stored list in UTF-16 with its byte-order mark, as the program writes it for names GBK lacks.
std::string Utf16Ini(const std::vector<std::wstring>& paths) {
  std::wstring text = L"\xFEFF[歌曲信息]\r\n歌曲列表=";
  for (const auto& p : paths) text += p + L"|";
  text += L"\r\n";
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// A copy of the program whose stored list names the given test songs.
class Player {
 public:
  explicit Player(const std::vector<std::wstring>& songs, bool utf16 = false) : folder_(L"play") {
    std::vector<std::wstring> paths;
    for (const auto& s : songs) paths.push_back(CopySong(s, folder_, s));
    WriteBytes(folder_ / L"歌曲配置.ini", utf16 ? Utf16Ini(paths) : GbkIni(paths));
    app_ = Launch(CopyProgramInto(folder_));
    window_ = app_.started() ? WaitForWindow(app_.pid(), kPlayerTitle, 20000) : nullptr;
  }
  ~Player() {
    if (window_) CloseProgram(app_, window_);
  }
  HWND window() const { return window_; }
  std::wstring Elapsed() const { return WindowText(::GetDlgItem(window_, kElapsedId)); }

 private:
  ScratchFolder folder_;
  RunningProgram app_;
  HWND window_ = nullptr;
};

class Playback : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(capture_.Start()) << "no capture device"; }
  AudioCapture capture_;
};

TEST_F(Playback, PlaysPausesResumesStopsAndFollowsTheVolume) {
  Player p({L"long_330.mp3"});
  ASSERT_NE(p.window(), nullptr);

  CapturedAudio playing = HearAfter(capture_, 2000, [&] { Click(p.window(), kPlayId); });
  const double full = playing.ToneAmplitude(330);
  EXPECT_GT(full, 0.2) << "the song is not heard";
  EXPECT_NE(p.Elapsed(), L"00:00");
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(p.window(), kSeekId)));

  CapturedAudio quieter = HearAfter(capture_, 1500, [&] { DragSlider(p.window(), kVolumeId, 37); });
  EXPECT_EQ(WindowText(::GetDlgItem(p.window(), kVolumeLabelId)), L"音量:37");
  EXPECT_NEAR(quieter.ToneAmplitude(330) / full, 0.37, 0.08);
  DragSlider(p.window(), kVolumeId, 100);

  // Other programs may sound meanwhile: listen for this song's own tone only.
  auto songGone = [](const CapturedAudio& heard) { return heard.ToneAmplitude(330) < 0.02; };
  Click(p.window(), kPlayId);
  const std::wstring frozen = p.Elapsed();
  EXPECT_EQ(WindowText(::GetDlgItem(p.window(), kPlayId)), L"暂停");
  EXPECT_TRUE(HearsQuietWithin(capture_, 600, 5000, songGone)) << "pause should be silent";
  EXPECT_EQ(p.Elapsed(), frozen);
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(p.window(), kSeekId)));

  CapturedAudio resumed = HearAfter(capture_, 1500, [&] { Click(p.window(), kPlayId); });
  EXPECT_GT(resumed.ToneAmplitude(330), 0.2) << "resume should continue";
  EXPECT_TRUE(WaitUntil([&] { return p.Elapsed() != frozen; }, 5000)) << "the counter goes on";

  Click(p.window(), kStopId);
  EXPECT_EQ(p.Elapsed(), L"00:00");
  EXPECT_TRUE(HearsQuietWithin(capture_, 600, 5000, songGone)) << "stop should be silent";
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(p.window(), kSeekId)));
}

TEST_F(Playback, NextSongStartsWhenOneEnds) {
  Player p({L"short_880.mp3", L"tone_660.mp3"});
  ASSERT_NE(p.window(), nullptr);
  HWND list = ::GetDlgItem(p.window(), kListId);
  CapturedAudio first = HearAfter(capture_, 1500, [&] { Click(p.window(), kPlayId); });
  EXPECT_GT(first.ToneAmplitude(880), 0.1) << "first song";
  // The tick notices the end within a second and starts the next entry.
  EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(list, LB_GETCARETINDEX, 0, 0) == 1; }, 5000));
  CapturedAudio second = HearAfter(capture_, 1500, [] {});
  EXPECT_GT(second.ToneAmplitude(660), 0.1) << "second song";
}

TEST_F(Playback, SongWithAKoreanNamePlays) {
  Player p({L"노래.mp3"}, true);
  ASSERT_NE(p.window(), nullptr);
  std::vector<std::wstring> items = ListItems(::GetDlgItem(p.window(), kListId));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0], L"001|노래");
  // Double-click on the entry, as the list box reports it.
  HWND list = ::GetDlgItem(p.window(), kListId);
  CapturedAudio heard = HearAfter(capture_, 1500, [&] {
    ::SendMessageW(p.window(), WM_COMMAND, MAKEWPARAM(kListId, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  });
  EXPECT_GT(heard.ToneAmplitude(550), 0.1);
}

TEST_F(Playback, SongThatCannotOpenIsNamedAndWithNothingElseTheIdlePlayerStays) {
  Player p({L"broken.mp3"});
  ASSERT_NE(p.window(), nullptr);
  // The click returns once handled: a start that counted would show 00:01 at once.
  Click(p.window(), kPlayId);
  EXPECT_EQ(WindowText(::GetDlgItem(p.window(), kWelcomeId)), L"无法播放：broken.mp3");
  EXPECT_EQ(p.Elapsed(), L"00:00");
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(p.window(), kSeekId)));
}

TEST_F(Playback, MissingAndNonAudioSongsAreNamedAndTheNextPlayableOneIsHeard) {
  ScratchFolder folder(L"unplayable");
  // The playable songs: one under a path past MAX_PATH, which only the "\\?\" form can make.
  std::wstring deep = folder.path();
  while (deep.size() < 300) {
    deep += L"\\" + std::wstring(40, L'd');
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
  }
  const std::wstring longSong = deep + L"\\远方.mp3";
  const std::wstring shortSong = CopySong(L"tone_440.mp3", folder, L"t.mp3");
  ASSERT_TRUE(::CopyFileW(shortSong.c_str(), (L"\\\\?\\" + longSong).c_str(), FALSE));
  const std::vector<std::wstring> songs{folder / L"不在了.mp3", longSong,
                                        CopySong(L"broken.mp3", folder, L"文字.mp3"),
                                        CopySong(L"tone_660.mp3", folder, L"b.mp3")};
  WriteBytes(folder / L"歌曲配置.ini", GbkIni(songs));
  RunningProgram app = Launch(CopyProgramInto(folder));
  HWND player = app.started() ? WaitForWindow(app.pid(), kPlayerTitle, 20000) : nullptr;
  ASSERT_NE(player, nullptr);
  auto welcome = [&] { return WindowText(::GetDlgItem(player, kWelcomeId)); };
  HWND list = ::GetDlgItem(player, kListId);

  // The first entry is gone: it is named and the song after it plays.
  EXPECT_GT(HearAfter(capture_, 1500, [&] { Click(player, kPlayId); }).ToneAmplitude(440), 0.2);
  EXPECT_EQ(welcome(), L"无法播放：不在了.mp3");
  EXPECT_EQ(::SendMessageW(list, LB_GETCARETINDEX, 0, 0), 1);
  // "Next" lands on a file that is no audio: named too, and the one after it plays.
  EXPECT_GT(HearAfter(capture_, 1500, [&] { Click(player, kNextId); }).ToneAmplitude(660), 0.2);
  EXPECT_EQ(welcome(), L"无法播放：文字.mp3");
  EXPECT_EQ(::SendMessageW(list, LB_GETCARETINDEX, 0, 0), 3);
  EXPECT_EQ(CloseProgram(app, player), 0u);
}

TEST_F(Playback, SeekingJumpsIntoTheSong) {
  Player p({L"long_330.mp3"});
  ASSERT_NE(p.window(), nullptr);
  Click(p.window(), kPlayId);
  HWND seek = ::GetDlgItem(p.window(), kSeekId);
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(seek, TBM_GETRANGEMAX, 0, 0) == 30; }, 5000))
      << "the slider's range is the song's 30 seconds";
  DragSlider(p.window(), kSeekId, 20);
  EXPECT_TRUE(WaitUntil([&] { return p.Elapsed().substr(0, 4) == L"00:2"; }, 5000))
      << "the counter jumps with the slider, shown at the next tick: " << p.Elapsed();
  CapturedAudio heard = HearAfter(capture_, 1000, [] {});
  EXPECT_GT(heard.ToneAmplitude(330), 0.2) << "plays on from there";
}

}  // namespace
}  // namespace tovel::e2e
