#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "tests/e2e/audio_capture.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {

constexpr int kListId = 0x0076;
constexpr int kPlayId = 0x007E;
constexpr int kOpenBoardId = 0x007B;
constexpr int kClipIds[12] = {0x3CC4, 0x3CCC, 0x3CCD, 0x3CCE, 0x3CCF, 0x3CD0,
                              0x3CD1, 0x3CD2, 0x3CD3, 0x3CD4, 0x3CD5, 0x3CD6};
constexpr int kStopId = 0x3D1C;
constexpr int kVolumeLabelId = 0x3CF2;
constexpr double kSilence = 0.01;

bool Click(HWND window, int id) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(::GetDlgItem(window, id), BM_CLICK, 0, 0, SMTO_NORMAL, 15000, &result) != 0;
}

void Put32(std::string& out, std::uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); }
void Put16(std::string& out, std::uint16_t v) { out.append(reinterpret_cast<const char*>(&v), 2); }

// A steady sine as a 16-bit stereo WAV file at 44.1 kHz.
std::string ToneWav(double hz, double seconds, double amplitude) {
  const auto frames = static_cast<std::uint32_t>(seconds * 44100);
  std::string out = "RIFF";
  Put32(out, 36 + frames * 4);
  out += "WAVEfmt ";
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, 2);
  Put32(out, 44100);
  Put32(out, 44100 * 4);
  Put16(out, 4);
  Put16(out, 16);
  out += "data";
  Put32(out, frames * 4);
  for (std::uint32_t i = 0; i < frames; ++i) {
    const auto v = static_cast<std::int16_t>(amplitude * 32767 * std::sin(2 * std::numbers::pi * hz * i / 44100));
    Put16(out, static_cast<std::uint16_t>(v));
    Put16(out, static_cast<std::uint16_t>(v));
  }
  return out;
}

// Pads set up as a user's earlier choices left them: the board's section of the configuration file.
struct BoardIni {
  std::vector<std::wstring> songs;
  std::wstring lines;  // "key=value\r\n" lines of [音效板]
  std::string Bytes() const {
    std::wstring text;
    if (!songs.empty()) {
      text = L"[歌曲信息]\r\n歌曲列表=";
      for (const auto& s : songs) text += s + L"|";
      text += L"\r\n";
    }
    return Gbk(text + L"[音效板]\r\n" + lines);
  }
};

class BoardPadsE2e : public ::testing::Test {
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
  std::wstring Config() const { return appDir_ / L"歌曲配置.ini"; }
  std::wstring Tone(const std::wstring& name, double hz, double seconds) {
    const std::wstring path = files_ / name;
    WriteBytes(path, ToneWav(hz, seconds, 0.4));
    return path;
  }
  void Start(const BoardIni& ini) {
    WriteBytes(Config(), ini.Bytes());
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
  // Quiet within a few seconds, once what the sink had buffered has drained.
  bool Quiet() {
    return HearsQuietWithin(capture_, 400, 5000, [](const CapturedAudio& heard) { return heard.Peak() < kSilence; });
  }

  ScratchFolder appDir_{L"pads"};
  ScratchFolder files_{L"pads-files"};
  std::wstring program_;
  RunningProgram app_;
  HWND player_ = nullptr;
  AudioCapture capture_;
};

// Pad 1 holds a WAV of the user's, pad 2 an MP3: both sound at once, each at its tone.
TEST_F(BoardPadsE2e, TwoOwnClipsSoundTogetherAndStopSilencesBoth) {
  const std::wstring wav = Tone(L"低音.wav", 500, 6);
  const std::wstring mp3 = CopySong(L"tone_440.mp3", files_, L"高音 tone.mp3");
  ASSERT_FALSE(mp3.empty());
  ASSERT_NO_FATAL_FAILURE(Start({{}, L"声音1=" + wav + L"\r\n声音2=" + mp3 + L"\r\n"}));
  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(WindowText(::GetDlgItem(board, kClipIds[0])), L"低音");
  EXPECT_EQ(WindowText(::GetDlgItem(board, kClipIds[1])), L"高音 tone");

  ASSERT_TRUE(Click(board, kClipIds[0]));
  ASSERT_TRUE(Click(board, kClipIds[1]));
  CapturedAudio both;
  EXPECT_TRUE(HearsWithin(capture_, 500, 5000, [&](const CapturedAudio& heard) {
    both = heard;
    return heard.ToneAmplitude(500) > 0.1 && heard.ToneAmplitude(440) > 0.1;
  })) << "500 Hz " << both.ToneAmplitude(500) << ", 440 Hz " << both.ToneAmplitude(440);

  ASSERT_TRUE(Click(board, kStopId));
  EXPECT_TRUE(Quiet()) << "停止 leaves a clip sounding";
}

// A chosen file that has gone: nothing plays, the label says which, the program runs on.
TEST_F(BoardPadsE2e, APadWhoseFileHasGoneStaysSilentAndSaysSo) {
  const std::wstring gone = Tone(L"消失的声音.wav", 700, 2);
  ASSERT_NO_FATAL_FAILURE(Start({{}, L"声音3=" + gone + L"\r\n"}));
  ASSERT_TRUE(::DeleteFileW(gone.c_str()));
  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  ASSERT_TRUE(Click(board, kClipIds[2]));
  EXPECT_EQ(WindowText(::GetDlgItem(board, kVolumeLabelId)), L"找不到声音文件：消失的声音");
  EXPECT_TRUE(Quiet());
  EXPECT_TRUE(Answers(player_));
  EXPECT_EQ(app_.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(WindowText(::GetDlgItem(board, kClipIds[2])), L"消失的声音") << "the choice stays";
}

// The song's level with the option on: about 30 % while a clip plays, its own after.
TEST_F(BoardPadsE2e, ASongIsTurnedDownWhileAClipPlaysWhenAskedAndOnlyThen) {
  const std::wstring song = CopySong(L"long_330.mp3", files_, L"long_330.mp3");
  ASSERT_FALSE(song.empty());
  const std::wstring clip = Tone(L"短.wav", 1000, 2.5);
  for (bool ducking : {true, false}) {
    SCOPED_TRACE(ducking ? "option on" : "option off");
    ASSERT_NO_FATAL_FAILURE(Start({{song}, L"声音1=" + clip + L"\r\n降低音乐音量=" + (ducking ? L"1" : L"0") + L"\r\n"}));
    ASSERT_TRUE(WaitForListCount(::GetDlgItem(player_, kListId), 1, 10000));
    ASSERT_TRUE(Click(player_, kPlayId));
    double alone = 0;
    ASSERT_TRUE(HearsWithin(capture_, 600, 5000, [&](const CapturedAudio& heard) {
      alone = heard.ToneAmplitude(330);
      return alone > 0.2;
    })) << alone;
    HWND board = OpenBoard();
    ASSERT_NE(board, nullptr);
    ASSERT_TRUE(Click(board, kClipIds[0]));
    double under = 0;
    const double expected = ducking ? 0.3 : 1.0;
    EXPECT_TRUE(HearsWithin(capture_, 400, 3000, [&](const CapturedAudio& heard) {
      if (heard.ToneAmplitude(1000) < 0.1) return false;
      under = heard.ToneAmplitude(330);
      return std::fabs(under / alone - expected) < 0.1;
    })) << "song at " << under / alone << " of its level under the clip";
    double after = 0;
    EXPECT_TRUE(HearsWithin(capture_, 400, 5000, [&](const CapturedAudio& heard) {
      after = heard.ToneAmplitude(330);
      return heard.ToneAmplitude(1000) < 0.01 && std::fabs(after / alone - 1) < 0.1;
    })) << "song at " << after / alone << " of its level after the clip";
    EXPECT_EQ(WindowText(::GetDlgItem(player_, 0x3CBE)), L"音量:100") << "the player's label never changes";
    EXPECT_EQ(CloseProgram(app_, player_), 0u);
    player_ = nullptr;
    ASSERT_TRUE(Quiet());
  }
}

// Three clips and a song sound when the player closes: every device goes, the process ends cleanly.
TEST_F(BoardPadsE2e, ClosingWhileThreeClipsAndASongPlayEndsCleanly) {
  const std::wstring song = CopySong(L"long_330.mp3", files_, L"long_330.mp3");
  ASSERT_FALSE(song.empty());
  ASSERT_NO_FATAL_FAILURE(Start({{song}, L"声音1=" + Tone(L"a.wav", 500, 6) + L"\r\n"}));
  ASSERT_TRUE(WaitForListCount(::GetDlgItem(player_, kListId), 1, 10000));
  ASSERT_TRUE(Click(player_, kPlayId));
  HWND board = OpenBoard();
  ASSERT_NE(board, nullptr);
  for (int pad : {0, 8, 11}) ASSERT_TRUE(Click(board, kClipIds[pad]));
  CapturedAudio all;
  ASSERT_TRUE(HearsWithin(capture_, 500, 5000, [&](const CapturedAudio& heard) {
    all = heard;
    return heard.ToneAmplitude(330) > 0.1 && heard.ToneAmplitude(500) > 0.1 && heard.RmsBeside(330) > 0.1;
  })) << all.ToneAmplitude(330) << ", " << all.ToneAmplitude(500);

  ::PostMessageW(player_, WM_CLOSE, 0, 0);
  EXPECT_EQ(app_.WaitForExit(15000), 0u);
  player_ = nullptr;
  EXPECT_TRUE(Quiet()) << "still sounding after the end";
}

// Ctrl+Alt+F9, as the hot-key control would give it: F9 with HOTKEYF_CONTROL | HOTKEYF_ALT.
constexpr unsigned kCtrlAltF9 = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | VK_F9;

void PressCtrlAltF9() {
  INPUT in[6] = {};
  const WORD keys[3] = {VK_CONTROL, VK_MENU, VK_F9};
  for (int i = 0; i < 3; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = keys[i];
    in[5 - i].type = INPUT_KEYBOARD;
    in[5 - i].ki.wVk = keys[i];
    in[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  ::SendInput(6, in, sizeof(INPUT));
}

// The key is taken at start and plays its pad while a window of another program is in front.
TEST_F(BoardPadsE2e, AHotKeyPlaysItsPadWhileAnotherWindowIsInFront) {
  ASSERT_NO_FATAL_FAILURE(
      Start({{}, L"声音5=" + Tone(L"热.wav", 800, 3) + L"\r\n热键5=" + std::to_wstring(kCtrlAltF9) + L"\r\n"}));
  HWND front = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"in front", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(front, nullptr);
  ::SetForegroundWindow(front);
  ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == front; }, 5000));
  ASSERT_TRUE(Quiet());

  PressCtrlAltF9();
  double tone = 0;
  EXPECT_TRUE(HearsWithin(capture_, 400, 5000, [&](const CapturedAudio& heard) {
    tone = heard.ToneAmplitude(800);
    return tone > 0.1;
  })) << "800 Hz at " << tone;
  ::DestroyWindow(front);
}

// Another program holds the key: the start says so once and the player runs on.
TEST_F(BoardPadsE2e, AKeyAnotherProgramHoldsIsRefusedWithAMessage) {
  ASSERT_TRUE(::RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F9));
  WriteBytes(Config(), BoardIni{{}, L"热键2=" + std::to_wstring(kCtrlAltF9) + L"\r\n"}.Bytes());
  app_ = Launch(program_);
  ASSERT_TRUE(app_.started());
  HWND box = WaitForMessageBox(app_.pid(), 20000);
  ASSERT_NE(box, nullptr);
  const std::wstring text = MessageBoxText(box);
  EXPECT_NE(text.find(L"热键已被其他程序占用"), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"F9"), std::wstring::npos) << text;
  CloseBox(box);
  player_ = WaitForWindow(app_.pid(), kPlayerTitle, 20000);
  ASSERT_NE(player_, nullptr);
  EXPECT_TRUE(Answers(player_));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, 5000));
  int boxes = 0;
  for (HWND h : WindowsOfProcess(app_.pid()))
    if (::IsWindowVisible(h) && !MessageBoxText(h).empty()) ++boxes;
  EXPECT_EQ(boxes, 0) << "one message for all the keys";
  ::UnregisterHotKey(nullptr, 1);
}

}  // namespace
}  // namespace tovel::e2e
