#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/e2e/audio_capture.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/real_pointer.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {

constexpr int kListId = 0x0076;
constexpr int kFieldId = 0x3E70;
constexpr int kPlayId = 0x007E;
constexpr int kNextId = 0x007F;
constexpr int kElapsedId = 0x007C;
constexpr int kVolumeLabelId = 0x3CBE;
constexpr int kVolumeId = 0x007D;
constexpr int kSeekId = 0x3D23;

// A copy of the program whose stored list names test songs under names of our own.
class NamedSongsPlayer {
 public:
  explicit NamedSongsPlayer(const std::vector<std::pair<std::wstring, std::wstring>>& songs) : folder_(L"find") {
    std::vector<std::wstring> paths;
    for (const auto& [song, name] : songs) paths.push_back(CopySong(song, folder_, name));
    ini_ = GbkIni(paths);
    WriteBytes(Ini(), ini_);
    app_ = Launch(CopyProgramInto(folder_));
    window_ = app_.started() ? WaitForWindow(app_.pid(), kPlayerTitle, 20000) : nullptr;
  }
  ~NamedSongsPlayer() {
    if (window_) CloseProgram(app_, window_);
  }
  HWND window() const { return window_; }
  HWND Control(int id) const { return ::GetDlgItem(window_, id); }
  std::wstring Ini() const { return folder_ / L"歌曲配置.ini"; }
  const std::string& IniWritten() const { return ini_; }
  int Selection() const { return static_cast<int>(::SendMessageW(Control(kListId), LB_GETCURSEL, 0, 0)); }

 private:
  ScratchFolder folder_;
  std::string ini_;
  RunningProgram app_;
  HWND window_ = nullptr;
};

// An edit box's text lives in its process: asked for, not read from the window.
std::wstring FieldText(HWND field) {
  wchar_t buf[256] = {};
  ::SendMessageW(field, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf));
  return buf;
}

// Keys through the program's own queue, as typed keys arrive there.
void Type(HWND to, const std::wstring& text) {
  for (wchar_t c : text) ::PostMessageW(to, WM_CHAR, c, 1);
}
void PressKey(HWND to, WPARAM key) { ::PostMessageW(to, WM_KEYDOWN, key, 1); }

class SongSearchE2e : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(capture_.Start()) << "no capture device"; }
  AudioCapture capture_;
};

TEST_F(SongSearchE2e, TypingInTheListFiltersItEnterPlaysTheFirstMatchAndEscBringsTheWholeListBack) {
  NamedSongsPlayer p({{L"tone_440.mp3", L"Apple.mp3"},
                      {L"tone_660.mp3", L"晴天 Banana.mp3"},
                      {L"long_330.mp3", L"雨天.mp3"},
                      {L"short_880.mp3", L"晴朗 BANANA split.mp3"}});
  ASSERT_NE(p.window(), nullptr);
  HWND list = p.Control(kListId);
  HWND field = p.Control(kFieldId);
  ASSERT_NE(field, nullptr) << "the player has a search field";
  ASSERT_TRUE(WaitForListCount(list, 4, 5000));
  EXPECT_FALSE(::IsWindowVisible(field)) << "hidden until a search starts";

  Type(list, L"晴");
  ASSERT_TRUE(WaitUntil([&] { return ListItems(list).size() == 2; }, 5000));
  EXPECT_TRUE(::IsWindowVisible(field));
  EXPECT_EQ(FieldText(field), L"晴") << "the character that opened it is in it";
  EXPECT_EQ(ListItems(list), (std::vector<std::wstring>{L"002|晴天 Banana", L"004|晴朗 BANANA split"}));
  RECT fieldRect, listRect;
  ::GetWindowRect(field, &fieldRect);
  ::GetWindowRect(list, &listRect);
  EXPECT_LE(fieldRect.bottom, listRect.top) << "the field hides no row";

  // Latin letters match without regard to case; the field has the focus now.
  Type(field, L"天 banana");
  ASSERT_TRUE(WaitUntil([&] { return ListItems(list).size() == 1; }, 5000)) << ListItems(list).size();
  EXPECT_EQ(ListItems(list)[0], L"002|晴天 Banana");

  CapturedAudio heard = HearAfter(capture_, 1500, [&] { PressKey(field, VK_RETURN); });
  EXPECT_GT(heard.ToneAmplitude(660), 0.1) << "Enter plays the match: song 2, not the list's first";
  EXPECT_LT(heard.ToneAmplitude(440), 0.05);

  PressKey(field, VK_ESCAPE);
  ASSERT_TRUE(WaitForListCount(list, 4, 5000));
  EXPECT_FALSE(::IsWindowVisible(field));
  EXPECT_EQ(ListItems(list)[3], L"004|晴朗 BANANA split");
  EXPECT_TRUE(WaitUntil([&] { return p.Selection() == 1; }, 5000)) << "the song played stays selected";
  EXPECT_EQ(FieldText(field), L"");
  ::GetWindowRect(list, &listRect);
  EXPECT_EQ(listRect.top, fieldRect.top) << "the list has its place back";
  EXPECT_EQ(FileBytes(p.Ini()), p.IniWritten()) << "a search never writes the stored list";

  // Ctrl+F, with the player in front, opens the search as well.
  ::SetForegroundWindow(p.window());
  ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == p.window(); }, 5000));
  INPUT keys[4] = {};
  for (INPUT& k : keys) k.type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[3].ki.wVk = VK_CONTROL;
  keys[1].ki.wVk = keys[2].ki.wVk = 'F';
  keys[2].ki.dwFlags = keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(4, keys, sizeof(INPUT));
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(field) != 0; }, 5000)) << "Ctrl+F shows the field";
}

TEST_F(SongSearchE2e, NextDuringASearchGoesOnThroughTheWholeList) {
  NamedSongsPlayer p({{L"tone_440.mp3", L"a.mp3"}, {L"long_330.mp3", L"b.mp3"}, {L"tone_660.mp3", L"c.mp3"}});
  ASSERT_NE(p.window(), nullptr);
  HWND list = p.Control(kListId);
  HWND field = p.Control(kFieldId);
  ASSERT_TRUE(WaitForListCount(list, 3, 5000));
  Type(list, L"a");
  ASSERT_TRUE(WaitUntil([&] { return ListItems(list).size() == 1; }, 5000));
  PressKey(field, VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return p.Selection() == 0; }, 5000)) << "Enter chose the match";
  ::PostMessageW(p.window(), WM_COMMAND, MAKEWPARAM(kNextId, BN_CLICKED), reinterpret_cast<LPARAM>(p.Control(kNextId)));
  EXPECT_TRUE(HearsWithin(capture_, 500, 5000, [](const CapturedAudio& heard) {
    return heard.ToneAmplitude(330) > 0.1;
  })) << "song 2 follows song 1, though the search hides it";
  EXPECT_TRUE(WaitUntil([&] { return p.Selection() == -1; }, 5000)) << "no row shows song 2";
  EXPECT_EQ(ListItems(list), (std::vector<std::wstring>{L"001|a"}));
  PressKey(field, VK_ESCAPE);
  ASSERT_TRUE(WaitForListCount(list, 3, 5000));
  EXPECT_TRUE(WaitUntil([&] { return p.Selection() == 1; }, 5000)) << "the song playing is selected in the whole list";
}

// The real pointer: moved there, and standing over the control, before the button or the wheel.
::testing::AssertionResult PointAt(HWND control, int x, int y) {
  POINT at{x, y};
  ::ClientToScreen(control, &at);
  MoveTo(at.x, at.y);
  if (WaitUntil([&] {
        POINT cursor{};
        return ::GetCursorPos(&cursor) && cursor.x == at.x && cursor.y == at.y && ::WindowFromPoint(at) == control;
      }, 5000))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the pointer does not stand over the control";
}
void SendMouse(DWORD flags, DWORD data = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.mouseData = data;
  ::SendInput(1, &in, sizeof(INPUT));
}

TEST_F(SongSearchE2e, AClickOnTheSeekSliderJumpsThereAndTheWheelOnTheVolumeMovesFiveANotch) {
  NamedSongsPlayer p({std::make_pair(std::wstring(L"long_330.mp3"), std::wstring(L"long.mp3"))});
  ASSERT_NE(p.window(), nullptr);
  ::SendMessageW(p.window(), WM_COMMAND, MAKEWPARAM(kPlayId, BN_CLICKED), reinterpret_cast<LPARAM>(p.Control(kPlayId)));
  HWND seek = p.Control(kSeekId);
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(seek, TBM_GETRANGEMAX, 0, 0) == 30; }, 5000));

  // Rectangles of another process's track bar cannot be asked for: two thirds of its width.
  RECT client;
  ::GetClientRect(seek, &client);
  const int x = client.right * 2 / 3;
  ASSERT_TRUE(PointAt(seek, x, client.bottom / 2));
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(seek, TBM_GETPOS, 0, 0) >= 17; }, 5000))
      << "the thumb jumps to two thirds, not one page: " << ::SendMessageW(seek, TBM_GETPOS, 0, 0);
  EXPECT_LE(::SendMessageW(seek, TBM_GETPOS, 0, 0), 24);
  EXPECT_TRUE(WaitUntil([&] {
    const std::wstring t = WindowText(p.Control(kElapsedId));
    return t.substr(0, 4) == L"00:2" || t == L"00:19";
  }, 5000)) << "the song goes there: " << WindowText(p.Control(kElapsedId));

  HWND volume = p.Control(kVolumeId);
  HWND label = p.Control(kVolumeLabelId);
  RECT v;
  ::GetClientRect(volume, &v);
  ASSERT_TRUE(PointAt(volume, v.right / 2, v.bottom / 2));
  SendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(label) == L"音量:95"; }, 5000)) << WindowText(label);
  SendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-2 * WHEEL_DELTA));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(label) == L"音量:85"; }, 5000)) << WindowText(label);
  SendMouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(label) == L"音量:90"; }, 5000)) << "up is louder: " << WindowText(label);
  EXPECT_EQ(::SendMessageW(volume, TBM_GETPOS, 0, 0), 90);
  MoveTo(900, 900);  // off the player, as a hand leaves the mouse
}

}  // namespace
}  // namespace tovel::e2e
