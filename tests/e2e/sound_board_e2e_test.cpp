#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "tests/e2e/audio_capture.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {

constexpr int kListId = 0x0076;
constexpr int kPlayId = 0x007E;
constexpr int kOpenBoardId = 0x007B;
// Board buttons 按钮1..按钮12 and the labels their clip files are named by.
constexpr int kClipIds[12] = {0x3CC4, 0x3CCC, 0x3CCD, 0x3CCE, 0x3CCF, 0x3CD0,
                              0x3CD1, 0x3CD2, 0x3CD3, 0x3CD4, 0x3CD5, 0x3CD6};
const wchar_t* const kLabels[12] = {L"群众笑声", L"贱笑", L"尖叫声", L"轻微掌声", L"欢呼掌声", L"邪恶的笑",
                                    L"Korvan笑", L"机枪扫射", L"雷电下雨", L"跪下", L"开枪", L"直升机"};
constexpr int kScream = 2;       // loud and steady from 0.1 s to 1.8 s
constexpr int kThunder = 8;      // the longest clip, 5.9 s
constexpr int kHelicopter = 11;  // fades in over its first second, 5.3 s
constexpr int kPauseId = 0x3D1A;
constexpr int kContinueId = 0x3D1B;
constexpr int kStopId = 0x3D1C;
constexpr int kVolumeLabelId = 0x3CF2;
constexpr int kVolumeSliderId = 0x3CF3;
constexpr double kHeard = 0.05;    // peak of any clip at full volume is about 0.7
constexpr double kSilence = 0.01;

// Synchronous like a user's click: returns once the program's handler has run.
bool Click(HWND window, int id) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(::GetDlgItem(window, id), BM_CLICK, 0, 0, SMTO_NORMAL, 15000, &result) != 0;
}

RECT Rect(HWND h) {
  RECT rc{};
  ::GetWindowRect(h, &rc);
  return rc;
}

// True when `upper` comes before `lower` in the desktop's z-order.
bool Above(HWND upper, HWND lower) {
  for (HWND h = ::GetTopWindow(nullptr); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (h == upper) return true;
    if (h == lower) return false;
  }
  return false;
}

struct TitleCount {
  DWORD pid;
  const std::wstring* title;
  int count = 0;
};

int CountWindows(DWORD pid, const std::wstring& title) {
  TitleCount search{pid, &title};
  ::EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<TitleCount*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        if (owner == s->pid && WindowText(h) == *s->title) ++s->count;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.count;
}

std::wstring ClipFolder() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"TovelMusicBox\\clips\\";
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Each test runs its own copy of the program, so a configuration file can sit beside it.
class SoundBoardE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveMarker(PrimaryMarker());
    RemoveMarker(FallbackMarker());
    program_ = CopyProgramInto(appDir_);
    ASSERT_FALSE(program_.empty());
    ASSERT_TRUE(capture_.Start()) << "nothing to record the sound output with";
  }
  void TearDown() override {
    if (player_) CloseProgram(app_, player_);
    RemoveMarker(PrimaryMarker());
    RemoveMarker(FallbackMarker());
  }

  void Start() {
    app_ = Launch(program_);
    ASSERT_TRUE(app_.started());
    player_ = WaitForWindow(app_.pid(), kPlayerTitle, 20000);
    ASSERT_NE(player_, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(player_) != FALSE; }, 20000));
  }
  HWND OpenBoard() {
    if (!Click(player_, kOpenBoardId)) return nullptr;
    return WaitForWindow(app_.pid(), kBoardTitle, 10000);
  }
  bool BoardDockedAt(HWND board, int left, int top) const {
    const RECT rc = Rect(board);
    return rc.left == left && rc.top == top;
  }
  CapturedAudio Hear(HWND window, int id, DWORD ms) {
    return HearAfter(capture_, ms, [&] { Click(window, id); });
  }
  // Quiet within a few seconds, once what the sink had buffered has drained. The sink is
  // shared with other test runs, whose test songs are steady tones: those do not count.
  // What was heard goes to `heard_`.
  bool HeardNothing(DWORD ms) {
    heard_.clear();
    return HearsQuietWithin(capture_, ms, 4000, [&](const CapturedAudio& heard) {
      const double peak = heard.Peak();
      const double besideTone = heard.RmsBeside(heard.DominantHz());
      heard_ += "peak " + std::to_string(peak) + " beside a tone " + std::to_string(besideTone) + "; ";
      return peak < kSilence || besideTone < kSilence;
    });
  }

  ScratchFolder appDir_{L"board"};
  ScratchFolder songs_{L"board-songs"};
  std::wstring program_;
  RunningProgram app_;
  HWND player_ = nullptr;
  AudioCapture capture_;
  std::string heard_;
};

TEST_F(SoundBoardE2e, OpensDockedBelowThePlayerAndFollowsItsMoves) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  const RECT player = Rect(player_);
  const RECT rc = Rect(board);
  EXPECT_EQ(rc.left, player.left);
  EXPECT_EQ(rc.top, player.bottom);
  EXPECT_EQ(rc.right - rc.left, 351);
  EXPECT_EQ(rc.bottom - rc.top, 184);
  EXPECT_TRUE(::IsWindowVisible(board));

  // Moving the player from here raises its "moved" event in the program.
  for (POINT to : {POINT{210, 90}, POINT{20, 300}}) {
    ::SetWindowPos(player_, nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int height = Rect(player_).bottom - Rect(player_).top;
    EXPECT_TRUE(WaitUntil([&] { return BoardDockedAt(board, to.x, to.y + height); }, 5000))
        << "board at " << Rect(board).left << "," << Rect(board).top << " for player at " << to.x << "," << to.y;
  }
}

TEST_F(SoundBoardE2e, OpeningAgainRaisesTheOneBoardToTheFront) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  ::SetWindowPos(player_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitUntil([&] { return Above(player_, board); }, 3000));

  ASSERT_TRUE(Click(player_, kOpenBoardId));
  EXPECT_TRUE(WaitUntil([&] { return Above(board, player_); }, 3000));
  EXPECT_EQ(CountWindows(app_.pid(), kBoardTitle), 1);
  EXPECT_TRUE(::IsWindow(board));
  EXPECT_TRUE(BoardDockedAt(board, Rect(player_).left, Rect(player_).bottom));
}

TEST_F(SoundBoardE2e, EveryClipIsHeardFromItsFileInTheTemporaryFolder) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  for (int i = 0; i < 12; ++i) {
    Click(board, kStopId);
    const CapturedAudio heard = Hear(board, kClipIds[i], 1200);
    // Other runs' test songs are steady tones; a clip is more than that.
    EXPECT_GT(heard.RmsBeside(heard.DominantHz()), 0.02) << "clip " << i + 1 << " was not heard";
    EXPECT_TRUE(Exists(ClipFolder() + kLabels[i])) << "clip " << i + 1;
    // Not beside the program, which is the working directory here.
    EXPECT_FALSE(Exists(appDir_ / kLabels[i])) << "clip " << i + 1;
  }
}

// The helicopter fades in over its first second; a clip that starts over fades in again.
TEST_F(SoundBoardE2e, ClickingAPlayingClipAgainStartsItOver) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  double steady = 0, start = 0, end = 0;
  // Another run's sound in a capture spoils the envelope; one retry covers that.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const std::vector<double> first = Hear(board, kClipIds[kHelicopter], 1800).WindowRms();
    ASSERT_GE(first.size(), 10u);
    steady = first.back();
    // The device holds the clip's file open now; the click must not trip over that.
    std::vector<double> audible;
    for (double r : Hear(board, kClipIds[kHelicopter], 1800).WindowRms())
      if (r > 0.005) audible.push_back(r);
    ASSERT_GE(audible.size(), 8u);
    start = audible[1];
    end = audible.back();
    if (start < 0.6 * steady && end > 0.6 * steady) break;
  }
  EXPECT_GT(steady, 0.08);
  EXPECT_LT(start, 0.6 * steady) << "as loud as before the click: it went on instead of starting over";
  EXPECT_GT(end, 0.6 * steady);

  // Ending the program while the board plays closes its device on the way out.
  EXPECT_EQ(CloseProgram(app_, player_), 0u);
  player_ = nullptr;
}

TEST_F(SoundBoardE2e, PauseTogglesContinueResumesStopSilences) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  EXPECT_GT(Hear(board, kClipIds[kHelicopter], 600).Peak(), kHeard);

  ASSERT_TRUE(Click(board, kPauseId));
  EXPECT_TRUE(HeardNothing(500)) << "paused: " << heard_;
  EXPECT_GT(Hear(board, kPauseId, 600).Peak(), kHeard) << "second 暂停 resumes";
  ASSERT_TRUE(Click(board, kPauseId));
  EXPECT_TRUE(HeardNothing(500)) << "paused again: " << heard_;
  EXPECT_GT(Hear(board, kContinueId, 600).Peak(), kHeard) << "继续 resumes";

  ASSERT_TRUE(Click(board, kStopId));
  EXPECT_TRUE(HeardNothing(500)) << "stopped: " << heard_;
  EXPECT_GT(Hear(board, kContinueId, 600).Peak(), kHeard) << "继续 after 停止 plays again";
  Click(board, kStopId);
}

// Set as a user's drag does: the position, then the scroll notification to the window.
void DragVolume(HWND board, int position) {
  HWND slider = ::GetDlgItem(board, kVolumeSliderId);
  ::SendMessageW(slider, TBM_SETPOS, TRUE, position);
  ::SendMessageW(board, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
}

TEST_F(SoundBoardE2e, VolumeAt37PlaysAClipAtAboutThirtySevenPercent) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  double ratio = 0;
  // Each capture starts once the sink has drained: what it still held of the clip before
  // would count at that clip's volume. Another run's sound spoils a ratio; retries cover that.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DragVolume(board, 100);
    Click(board, kStopId);
    ASSERT_TRUE(HeardNothing(200)) << heard_;
    const double full = Hear(board, kClipIds[kScream], 1200).SteadyRms();
    Click(board, kStopId);
    ASSERT_TRUE(HeardNothing(200)) << heard_;
    DragVolume(board, 37);
    const double low = Hear(board, kClipIds[kScream], 1200).SteadyRms();
    Click(board, kStopId);
    ASSERT_GT(full, kHeard);
    ratio = low / full;
    if (std::fabs(ratio - 0.37) < 0.06) break;
  }
  EXPECT_NEAR(ratio, 0.37, 0.06);
  EXPECT_EQ(WindowText(::GetDlgItem(board, kVolumeLabelId)), L"音量:37");
}

TEST_F(SoundBoardE2e, ClosedBoardIsLeftAloneByMovesAndOpensAgainDocked) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  EXPECT_GT(Hear(board, kClipIds[kThunder], 500).Peak(), kHeard);

  ::PostMessageW(board, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(board); }, 5000));
  EXPECT_TRUE(HeardNothing(600)) << "the board's device closes with its window: " << heard_;

  // The move's messages are handled before SetWindowPos returns; the round trip covers the rest.
  ::SetWindowPos(player_, nullptr, 150, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(Answers(player_));
  EXPECT_EQ(app_.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(CountWindows(app_.pid(), kBoardTitle), 0);

  board = OpenBoard();
  ASSERT_NE(board, nullptr);
  EXPECT_TRUE(BoardDockedAt(board, 150, Rect(player_).bottom));
  EXPECT_GT(Hear(board, kClipIds[kThunder], 600).Peak(), kHeard) << "a fresh device plays";
  Click(board, kStopId);
}

TEST_F(SoundBoardE2e, AClipPlaysOverASongOnItsOwnDevice) {
  const std::wstring song = CopySong(L"long_330.mp3", songs_, L"long_330.mp3");
  ASSERT_FALSE(song.empty());
  WriteBytes(appDir_ / L"歌曲配置.ini", GbkIni({song}));
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(WaitForListCount(::GetDlgItem(player_, kListId), 1, 10000));

  const CapturedAudio songAlone = Hear(player_, kPlayId, 800);
  EXPECT_GT(songAlone.ToneAmplitude(330), 0.3);
  EXPECT_NEAR(songAlone.DominantHz(), 330, 10);

  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  const CapturedAudio both = Hear(board, kClipIds[kScream], 1000);
  EXPECT_GT(both.ToneAmplitude(330), 0.3) << "the song goes on under the clip";
  EXPECT_GT(both.RmsBeside(330), 0.15) << "the clip is heard over the song";

  // Stopping the board's device leaves the player's alone: once what the sink had
  // buffered has drained, the song is heard without the clip.
  ASSERT_TRUE(Click(board, kStopId));
  CapturedAudio songAgain;
  EXPECT_TRUE(HearsQuietWithin(capture_, 600, 5000, [&](const CapturedAudio& heard) {
    songAgain = heard;
    return heard.RmsBeside(330) < 0.03;
  })) << "the clip goes on: " << songAgain.RmsBeside(330);
  EXPECT_GT(songAgain.ToneAmplitude(330), 0.3);
}

// Every device closes before the program's COM goes, the board's window with the player's.
TEST_F(SoundBoardE2e, ClosingThePlayerWhileASongAndAClipPlayEndsTheProgramCleanly) {
  const std::wstring song = CopySong(L"long_330.mp3", songs_, L"long_330.mp3");
  ASSERT_FALSE(song.empty());
  WriteBytes(appDir_ / L"歌曲配置.ini", GbkIni({song}));
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_TRUE(WaitForListCount(::GetDlgItem(player_, kListId), 1, 10000));
  ASSERT_TRUE(Click(player_, kPlayId));
  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  ASSERT_TRUE(Click(board, kClipIds[kHelicopter]));
  CapturedAudio both;
  ASSERT_TRUE(HearsWithin(capture_, 500, 5000, [&](const CapturedAudio& heard) {
    both = heard;
    return heard.ToneAmplitude(330) > 0.2 && heard.RmsBeside(330) > 0.02;
  })) << "the song and the clip play: " << both.ToneAmplitude(330) << ", " << both.RmsBeside(330);

  ::PostMessageW(player_, WM_CLOSE, 0, 0);
  // The board must not outlive the player's window, not even for the moments the process takes to end.
  const DWORD start = ::GetTickCount();
  while (::IsWindow(player_) && ::IsWindow(board) && ::GetTickCount() - start < 10000) ::Sleep(1);
  EXPECT_FALSE(::IsWindow(board));
  EXPECT_EQ(app_.WaitForExit(10000), 0u);
  player_ = nullptr;
  EXPECT_TRUE(HeardNothing(600)) << "still sounding after the end: " << heard_;
}

}  // namespace
}  // namespace tovel::e2e
