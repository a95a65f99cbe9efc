// The player comes back as it was left (selection, volumes, the board, the song's place)
// and keeps its play order, driven from outside like a user would.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/audio_capture.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/real_pointer.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {

constexpr int kListId = 0x0076;
constexpr int kPlayId = 0x007E;
constexpr int kElapsedId = 0x007C;
constexpr int kVolumeId = 0x007D;
constexpr int kVolumeLabelId = 0x3CBE;
constexpr int kSeekId = 0x3D23;
constexpr int kBoardButton = 0x007B;
constexpr int kBoardVolumeId = 0x3CF3;
constexpr int kBoardVolumeLabelId = 0x3CF2;
constexpr int kMenuShuffle = 0x3E04;  // "播放顺序" > "随机播放"
// The order button's centre at 96 DPI: one button left of minimize (80 from the right).
constexpr int kOrderFromRight = 107, kButtonCentreY = 10;

void Click(HWND window, int id) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(::GetDlgItem(window, id), BM_CLICK, 0, 0, SMTO_NORMAL, 15000, &result);
}

void DragSlider(HWND window, int id, int position) {
  HWND slider = ::GetDlgItem(window, id);
  ::SendMessageW(slider, TBM_SETPOS, TRUE, position);
  ::SendMessageW(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(slider));
}

void SelectRow(HWND player, int row) {
  HWND list = ::GetDlgItem(player, kListId);
  ::SendMessageW(list, LB_SETCURSEL, row, 0);
  ::SendMessageW(list, LB_SETCARETINDEX, row, FALSE);
}

int Caret(HWND player) { return static_cast<int>(::SendMessageW(::GetDlgItem(player, kListId), LB_GETCARETINDEX, 0, 0)); }
int SliderPos(HWND window, int id) { return static_cast<int>(::SendMessageW(::GetDlgItem(window, id), TBM_GETPOS, 0, 0)); }
std::wstring Label(HWND window, int id) { return WindowText(::GetDlgItem(window, id)); }

// "mm:ss" as seconds.
int Seconds(const std::wstring& counter) {
  return counter.size() == 5 ? std::stoi(counter.substr(0, 2)) * 60 + std::stoi(counter.substr(3, 2)) : -1;
}

// A value of [播放状态] as the file holds it (GBK), or "<none>".
std::string Stored(const std::wstring& ini, const std::wstring& key) {
  const std::string bytes = FileBytes(ini);
  const std::string section = Gbk(L"[播放状态]");
  const size_t at = bytes.find(section);
  if (at == std::string::npos) return "<none>";
  const std::string lead = "\n" + Gbk(key) + "=";
  const size_t k = bytes.find(lead, at);
  if (k == std::string::npos) return "<none>";
  const size_t from = k + lead.size();
  return bytes.substr(from, bytes.find_first_of("\r\n", from) - from);
}

HWND VisibleBoard(DWORD pid) {
  for (HWND h : WindowsOfProcess(pid))
    if (::IsWindowVisible(h) && WindowText(h) == kBoardTitle) return h;
  return nullptr;
}

RECT WindowRect(HWND h) {
  RECT rc{};
  ::GetWindowRect(h, &rc);
  return rc;
}

// A copy of the program in its own folder with a stored list of test songs.
class Install {
 public:
  Install(const std::wstring& tag, const std::vector<std::wstring>& songs) : folder_(tag) {
    for (const auto& s : songs) paths_.push_back(CopySong(s, folder_, s));
    program_ = CopyProgramInto(folder_);
  }
  std::wstring Ini() const { return folder_ / L"歌曲配置.ini"; }
  const std::vector<std::wstring>& paths() const { return paths_; }

  // Starts the program; its player window, or null.
  HWND Start() {
    ClearRunTraces();
    app_ = Launch(program_);
    return app_.started() ? WaitForWindow(app_.pid(), kPlayerTitle, 20000) : nullptr;
  }
  DWORD Close(HWND player) { return CloseProgram(app_, player); }
  DWORD pid() const { return app_.pid(); }

 private:
  ScratchFolder folder_;
  std::vector<std::wstring> paths_;
  std::wstring program_;
  RunningProgram app_;
};

class ResumeOrder : public ::testing::Test {
 protected:
  void TearDown() override { ClearRunTraces(); }
  bool Hear() { return capture_.Start(); }
  AudioCapture capture_;
};

TEST_F(ResumeOrder, ASecondStartComesBackAsLeftAndPlayGoesOnFromTheSecondItStopped) {
  ASSERT_TRUE(Hear()) << "no capture device";
  Install install(L"resume", {L"tone_440.mp3", L"two_tones.mp3", L"tone_660.mp3"});
  WriteBytes(install.Ini(), GbkIni(install.paths()));

  HWND player = install.Start();
  ASSERT_NE(player, nullptr);
  SelectRow(player, 1);
  DragSlider(player, kVolumeId, 60);
  PostClick(player, kBoardButton);
  HWND board = WaitForWindow(install.pid(), kBoardTitle, 15000);
  ASSERT_NE(board, nullptr);
  DragSlider(board, kBoardVolumeId, 40);
  Click(player, kPlayId);
  DragSlider(player, kSeekId, 8);  // into the second tone, which starts at 5 s
  ASSERT_TRUE(WaitUntil([&] { return Seconds(Label(player, kElapsedId)) >= 9; }, 8000))
      << Label(player, kElapsedId);
  ASSERT_EQ(install.Close(player), 0u);

  const int left = std::atoi(Stored(install.Ini(), L"播放位置").c_str());
  EXPECT_GE(left, 8) << Stored(install.Ini(), L"播放位置");
  EXPECT_LT(left, 14);

  player = install.Start();
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(Caret(player), 1);
  EXPECT_EQ(::SendMessageW(::GetDlgItem(player, kListId), LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SliderPos(player, kVolumeId), 60);
  EXPECT_EQ(Label(player, kVolumeLabelId), L"音量:60");
  board = WaitForWindow(install.pid(), kBoardTitle, 15000);
  ASSERT_NE(board, nullptr) << "the board was open: it opens again";
  EXPECT_TRUE(WaitUntil([&] {
    const RECT p = WindowRect(player), b = WindowRect(board);
    return b.top == p.bottom && b.left == p.left;
  })) << "docked below the player";
  EXPECT_EQ(SliderPos(board, kBoardVolumeId), 40);
  EXPECT_EQ(Label(board, kBoardVolumeLabelId), L"音量:40");
  EXPECT_EQ(Label(player, kElapsedId), L"00:00");

  auto songHeard = [](const CapturedAudio& a) { return a.ToneAmplitude(300) > 0.02 || a.ToneAmplitude(700) > 0.02; };
  EXPECT_FALSE(songHeard(HearAfter(capture_, 1500, [] {}))) << "nothing sounds at start";

  Click(player, kPlayId);
  EXPECT_EQ(Seconds(Label(player, kElapsedId)), left) << "the counter shows the remembered second";
  EXPECT_EQ(SliderPos(player, kSeekId), left);
  bool early = false;
  EXPECT_TRUE(HearsWithin(capture_, 500, 5000, [&](const CapturedAudio& a) {
    early = early || a.ToneAmplitude(300) > 0.02;
    return a.ToneAmplitude(700) > 0.05;
  })) << "the second tone, past 5 s into the song";
  EXPECT_FALSE(early) << "the song's beginning was heard";
  EXPECT_EQ(install.Close(player), 0u);
}

TEST_F(ResumeOrder, ADamagedStateChangesNothingElseAndAnOldFileKeepsItsBytes) {
  Install install(L"resume-old", {L"tone_440.mp3", L"tone_660.mp3"});
  const std::string old = GbkIni(install.paths());
  WriteBytes(install.Ini(), old);
  HWND player = install.Start();
  ASSERT_NE(player, nullptr);
  EXPECT_TRUE(WaitForListCount(::GetDlgItem(player, kListId), 2, 5000));
  EXPECT_EQ(Label(player, kVolumeLabelId), L"音量:100");
  ASSERT_EQ(install.Close(player), 0u);
  std::string bytes = FileBytes(install.Ini());
  EXPECT_EQ(bytes.substr(0, old.size()), old) << "the stored list is never rewritten";
  EXPECT_NE(bytes.find(Gbk(L"[播放状态]")), std::string::npos);

  const std::string damaged = old + Gbk(L"[播放状态]\r\n选中歌曲=9|\r\n播放位置=abc\r\n播放音量=250\r\n"
                                        L"音效音量=x\r\n播放顺序=12\r\n音效窗口=?\r\n");
  WriteBytes(install.Ini(), damaged);
  player = install.Start();
  ASSERT_NE(player, nullptr);
  EXPECT_TRUE(WaitForListCount(::GetDlgItem(player, kListId), 2, 5000)) << "the list still loads";
  ASSERT_TRUE(Answers(player));
  EXPECT_EQ(Label(player, kVolumeLabelId), L"音量:100");
  EXPECT_EQ(SliderPos(player, kVolumeId), 100);
  EXPECT_EQ(VisibleBoard(install.pid()), nullptr);
  ASSERT_EQ(install.Close(player), 0u);
  bytes = FileBytes(install.Ini());
  EXPECT_EQ(bytes.substr(0, old.size()), old);
  EXPECT_EQ(Stored(install.Ini(), L"播放顺序"), "0") << "a bad value is replaced by the mode in use";
  EXPECT_EQ(Stored(install.Ini(), L"播放音量"), "100");
}

bool PointerAt(HWND window, POINT p) {
  MoveTo(p.x, p.y);
  return WaitUntil([&] {
    POINT cursor{};
    return ::GetCursorPos(&cursor) && cursor.x == p.x && cursor.y == p.y &&
           ::GetAncestor(::WindowFromPoint(p), GA_ROOT) == window;
  });
}

// A press on the skin begins a move loop; its release ends it and leaves the window in front.
::testing::AssertionResult Activate(HWND window) {
  const RECT r = WindowRect(window);
  if (!PointerAt(window, POINT{r.left + 200, r.top + 15})) return ::testing::AssertionFailure() << "pointer";
  Button(true);
  const bool moving = WaitUntil([&] { return InMoveSize(window); });
  Button(false);
  if (!moving) return ::testing::AssertionFailure() << "the press began no move";
  if (!WaitUntil([&] { return !InMoveSize(window) && ::GetForegroundWindow() == window; }))
    return ::testing::AssertionFailure() << "not in front";
  return ::testing::AssertionSuccess();
}

bool White(COLORREF c) { return (c & 0xFF) > 200 && ((c >> 8) & 0xFF) > 200 && ((c >> 16) & 0xFF) > 200; }

bool GlyphNear(POINT p, int reach) {
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx)
      if (White(ScreenPixel(p.x + dx, p.y + dy))) return true;
  return false;
}

// The button's picture on the screen, 26 x 18 around its centre at 96 DPI.
std::vector<COLORREF> ButtonPixels(POINT centre) {
  std::vector<COLORREF> pixels;
  for (int y = centre.y - 9; y < centre.y + 9; ++y)
    for (int x = centre.x - 13; x < centre.x + 13; ++x) pixels.push_back(ScreenPixel(x, y));
  return pixels;
}

TEST_F(ResumeOrder, TheOrderButtonMovesOnWithARealClickAndTheModeSurvivesARestart) {
  Install install(L"order", {L"short_880.mp3", L"tone_660.mp3"});
  WriteBytes(install.Ini(), GbkIni(install.paths()));
  for (const char* expected : {"1", "2"}) {
    HWND player = install.Start();
    ASSERT_NE(player, nullptr);
    const RECT r = WindowRect(player);
    const POINT button{r.right - kOrderFromRight, r.top + kButtonCentreY};
    ASSERT_TRUE(WaitUntil([&] { return GlyphNear(button, 6); }, 15000)) << "no order glyph left of minimize";
    ASSERT_TRUE(Activate(player));
    const std::vector<COLORREF> before = ButtonPixels(button);
    ASSERT_TRUE(PointerAt(player, button));
    Button(true);
    Button(false);
    ASSERT_TRUE(Answers(player));
    // Away from the button its glow fades; what stays is the next mode's glyph.
    MoveTo(900, 900);
    std::vector<COLORREF> last;
    int steady = 0;
    EXPECT_TRUE(WaitUntil([&] {
      std::vector<COLORREF> now = ButtonPixels(button);
      steady = now == last ? steady + 1 : 0;
      last = std::move(now);
      return steady >= 5 && last != before;
    }, 10000)) << "the glyph did not change";
    ASSERT_EQ(install.Close(player), 0u);
    // From the mode the last run left: in order, then repeat list, then repeat one.
    EXPECT_EQ(Stored(install.Ini(), L"播放顺序"), expected) << "the click was lost or the mode forgotten";
  }

  // Repeating one song: when the first ends it plays again instead of the second.
  ASSERT_TRUE(Hear()) << "no capture device";
  HWND player = install.Start();
  ASSERT_NE(player, nullptr);
  SelectRow(player, 0);
  EXPECT_GT(HearAfter(capture_, 1500, [&] { Click(player, kPlayId); }).ToneAmplitude(880), 0.05);
  // The counter starts again when the 2 s song ends and what follows it starts.
  int peak = 0;
  ASSERT_TRUE(WaitUntil([&] {
    const int now = Seconds(Label(player, kElapsedId));
    peak = std::max(peak, now);
    return now < peak;
  }, 8000)) << "no song followed the end";
  const CapturedAudio later = HearAfter(capture_, 1500, [] {});
  EXPECT_GT(later.ToneAmplitude(880), 0.05) << "the song is heard again";
  EXPECT_LT(later.ToneAmplitude(660), 0.02) << "the next song played";
  EXPECT_EQ(Caret(player), 0);

  // The list's menu chooses a mode too.
  ::SendMessageW(player, WM_COMMAND, MAKEWPARAM(kMenuShuffle, 0), 0);
  ASSERT_EQ(install.Close(player), 0u);
  EXPECT_EQ(Stored(install.Ini(), L"播放顺序"), "3");
}

}  // namespace
}  // namespace tovel::e2e
