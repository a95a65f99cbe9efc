#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <string>
#include <vector>

#include <shlobj.h>

#include "app/board_hot_keys.h"
#include "app/board_menu.h"
#include "app/board_tips.h"
#include "app/clips.h"
#include "app/sound_board.h"
#include "runtime/controls.h"
#include "tests/support/pump.h"
#include "base/jpeg_picture.h"
#include "base/text.h"
#include "tests/support/fake_controls.h"
#include "tests/e2e/song_list_support.h"

namespace tovel {
namespace {

using testing::PumpPending;

// Takes every command and answers "done", so the handlers' traffic can be read back.
class RecordingMci : public MciChannel {
 public:
  bool Send(const std::wstring& command, std::wstring* answer) override {
    commands.push_back(command);
    if (answer) *answer = command.rfind(L"status ", 0) == 0 && command.ends_with(L" mode") ? mode : L"";
    return true;
  }
  bool IsLiveWindow(std::intptr_t) override { return false; }
  int CountStartingWith(const std::wstring& prefix) const {
    return static_cast<int>(std::count_if(commands.begin(), commands.end(),
                                          [&](const std::wstring& c) { return c.rfind(prefix, 0) == 0; }));
  }
  std::vector<std::wstring> commands;
  std::wstring mode = L"playing";  // what every device says it is doing
};

std::wstring FreshFolder() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  std::wstring folder = std::wstring(temp) + L"tovel-board-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                        std::to_wstring(counter++) + L"\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      ::SetFileAttributesW((folder + data.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW((folder + data.cFileName).c_str());
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(folder.c_str());
}

std::string Contents(const std::wstring& path) {
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char buf[65536];
  DWORD got = 0;
  while (::ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
  ::CloseHandle(f);
  return bytes;
}

void Write(const std::wstring& path, const std::string& bytes) {
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD wrote = 0;
  ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  ::CloseHandle(f);
}

// Open for reading by someone who lets others read but not write, as a player holding the file might.
HANDLE HoldForReading(const std::wstring& path) {
  return ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

std::string AsString(ByteView bytes) { return std::string(bytes.begin(), bytes.end()); }

class SoundBoardWin : public ::testing::Test {
 protected:
  void SetUp() override {
    Runtime& rt = Runtime::Get();
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) rt.Bind(static_cast<HandlerKey>(k), {});
    folder_ = FreshFolder();
    board_ = std::make_unique<SoundBoard>(rt, mci_, folder_);
    BindSoundBoardHandlers(rt, *board_);
    ASSERT_NE(rt.LoadForm(PlayerForm()), nullptr);
    PumpPending();
  }
  void TearDown() override {
    Runtime& rt = Runtime::Get();
    rt.CloseForm(kBoardWindowId);
    rt.CloseForm(kPlayerWindowId);
    PumpPending();
    board_.reset();
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) rt.Bind(static_cast<HandlerKey>(k), {});
    RemoveFolder(folder_);
  }

  static HWND Player() { return Runtime::Get().WindowHandle(kPlayerWindowId); }
  static HWND Board() { return Runtime::Get().WindowHandle(kBoardWindowId); }
  static void ClickOpen() {
    ::SendMessageW(::GetDlgItem(Player(), ChildId(player::kBoardButton)), BM_CLICK, 0, 0);
  }
  static void ClickClip(int number) {
    ::SendMessageW(::GetDlgItem(Board(), ChildId(board::kClipButtons[number - 1])), BM_CLICK, 0, 0);
  }
  int Sent() const { return static_cast<int>(mci_.commands.size()); }
  std::vector<std::wstring> SentSince(int from) const {
    return std::vector<std::wstring>(mci_.commands.begin() + from, mci_.commands.end());
  }

  RecordingMci mci_;
  std::wstring folder_;
  std::unique_ptr<SoundBoard> board_;
};

TEST_F(SoundBoardWin, HasADeviceOfItsOwnThatClosesWithTheWindow) {
  ClickOpen();
  ASSERT_NE(Board(), nullptr);
  ASSERT_NE(board_->pad(1), nullptr);
  const Text alias = board_->pad(1)->alias();
  EXPECT_FALSE(alias.empty());

  // Again while open: the same window and the same device.
  MediaPlayControl* device = board_->pad(1);
  HWND window = Board();
  ClickOpen();
  EXPECT_EQ(Board(), window);
  EXPECT_EQ(board_->pad(1), device);

  ClickClip(1);
  const int before = Sent();
  Runtime::Get().CloseForm(kBoardWindowId);
  EXPECT_EQ(board_->pad(1), nullptr);
  EXPECT_EQ(SentSince(before), std::vector<std::wstring>{L"close " + Widen(alias)});

  // Clicks that arrive for a board that is gone do nothing.
  board_->PlayClip(1);
  board_->PauseResume();
  EXPECT_EQ(Sent(), before + 1);

  ClickOpen();
  ASSERT_NE(board_->pad(1), nullptr);
  EXPECT_NE(board_->pad(1)->alias(), alias);
}

// Closing the player ends the program: the board's window and device go with it, while
// everything they need still runs.
TEST_F(SoundBoardWin, TheBoardAndItsDeviceGoWithThePlayersWindow) {
  ClickOpen();
  ClickClip(1);
  HWND board = Board();
  const std::wstring close = L"close " + Widen(board_->pad(1)->alias());
  Runtime::Get().CloseForm(kPlayerWindowId);
  EXPECT_FALSE(::IsWindow(board));
  EXPECT_EQ(board_->pad(1), nullptr);
  EXPECT_EQ(mci_.commands.back(), close);
}

// A board whose window is not there, or cannot be made.
class NoBoardWindow : public testing::FakeControlsOf<FormAccess> {
 public:
  bool IsLoaded(std::uint32_t) const override { return false; }
  bool OpenForm(const FormDesc&) override { return false; }
  void BringToFront(std::uint32_t) override {}
  void OnFormDestroyed(std::uint32_t, std::function<void()>) override {}
};

// Seen through plain values: a move of the player writes nothing for a board that is not
// there, and a board whose window cannot be made keeps no device.
TEST_F(SoundBoardWin, AMissingBoardIsNotWrittenToAndHoldsNoDevice) {
  NoBoardWindow values;
  values.SetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Left, 60);
  values.SetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Top, 40);
  values.SetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Height, 391);
  SoundBoard missing(values, mci_, folder_);
  missing.Dock();
  EXPECT_EQ(values.GetInt(kBoardWindowId, kBoardWindowControl, Prop::Left), 0);
  EXPECT_EQ(values.GetInt(kBoardWindowId, kBoardWindowControl, Prop::Top), 0);
  missing.Open();
  EXPECT_EQ(missing.pad(1), nullptr);
}

TEST_F(SoundBoardWin, EveryClickReopensTheLabelledFileAndPlaysFromItsStart) {
  ClickOpen();
  const std::wstring alias = Widen(board_->pad(10)->alias());
  const std::wstring path = folder_ + L"跪下";  // the label of "TMD跪下", 按钮10
  const std::vector<std::wstring> expected = {
      L"close " + alias,
      L"open \"" + path + L"\" type MPEGvideo alias " + alias,
      L"setaudio " + alias + L" left volume to 1000",
      L"setaudio " + alias + L" right volume to 1000",
      L"play " + alias,
  };
  for (int click = 0; click < 2; ++click) {
    const int before = Sent();
    ClickClip(10);
    EXPECT_EQ(SentSince(before), expected) << "click " << click + 1;
  }
  EXPECT_EQ(Contents(path), AsString(ResourceBytes(L"CLIP_10")));
}

// The volume goes with every clip opened and every move of the slider; between them
// nothing changes it, so no timer wakes the board to send it again.
TEST_F(SoundBoardWin, VolumeGoesWithEveryClipAndEverySliderMoveAndNoTimerRuns) {
  ClickOpen();
  const std::wstring setaudio = L"setaudio " + Widen(board_->pad(1)->alias());
  EXPECT_FALSE(::KillTimer(Board(), ChildId(board::kTick))) << "the 10 ms re-apply timer runs";
  ClickClip(1);
  EXPECT_EQ(mci_.CountStartingWith(setaudio), 2);

  // As a user's drag: label and device at once.
  HWND slider = ::GetDlgItem(Board(), ChildId(board::kVolumeSlider));
  ::SendMessageW(slider, TBM_SETPOS, TRUE, 37);
  ::SendMessageW(Board(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 37), reinterpret_cast<LPARAM>(slider));
  EXPECT_EQ(Runtime::Get().GetText(kBoardWindowId, board::kVolumeLabel, Prop::TypeSpecific), "音量:37");
  EXPECT_EQ(mci_.commands.back(), setaudio + L" right volume to 370");

  // The next clip gets it between its open and its play.
  const int before = Sent();
  ClickClip(2);
  const std::vector<std::wstring> sent = SentSince(before);
  ASSERT_EQ(sent.size(), 5u);
  const std::wstring setaudio2 = L"setaudio " + Widen(board_->pad(2)->alias());
  EXPECT_EQ(sent[2], setaudio2 + L" left volume to 370");
  EXPECT_EQ(sent[3], setaudio2 + L" right volume to 370");
  EXPECT_EQ(sent[4], L"play " + Widen(board_->pad(2)->alias()));
}

TEST_F(SoundBoardWin, AClipFileThatCannotBeMadeRightIsNotPlayed) {
  ClickOpen();
  const std::wstring path = folder_ + L"群众笑声";
  Write(path, "not the clip");
  HANDLE holder = HoldForReading(path);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const int before = Sent();
  ClickClip(1);
  EXPECT_EQ(mci_.CountStartingWith(L"open"), 0);
  EXPECT_EQ(Sent(), before);
  ::CloseHandle(holder);

  ClickClip(1);
  EXPECT_EQ(mci_.CountStartingWith(L"open"), 1);
  EXPECT_EQ(Contents(path), AsString(ResourceBytes(L"CLIP_01")));
}

// Each pad has a device of its own: a second pad leaves the first playing, and the board's
// transport acts on every clip that plays.
TEST_F(SoundBoardWin, PadsPlayOnTheirOwnDevicesAndTheTransportActsOnAll) {
  ClickOpen();
  ClickClip(1);
  ClickClip(2);
  const std::wstring one = Widen(board_->pad(1)->alias());
  const std::wstring two = Widen(board_->pad(2)->alias());
  EXPECT_NE(one, two);
  EXPECT_EQ(mci_.CountStartingWith(L"close " + one), 1) << "pad 2 closed pad 1's clip";
  EXPECT_EQ(board_->padState(1), PadState::Playing);
  EXPECT_EQ(board_->padState(2), PadState::Playing);

  int before = Sent();
  ::SendMessageW(::GetDlgItem(Board(), ChildId(board::kPauseButton)), BM_CLICK, 0, 0);
  EXPECT_EQ(SentSince(before), (std::vector<std::wstring>{L"pause " + one, L"pause " + two}));
  before = Sent();
  ::SendMessageW(::GetDlgItem(Board(), ChildId(board::kStopButton)), BM_CLICK, 0, 0);
  EXPECT_EQ(SentSince(before), (std::vector<std::wstring>{L"stop " + one, L"seek " + one + L" to start",
                                                          L"stop " + two, L"seek " + two + L" to start"}));
  before = Sent();
  ::SendMessageW(::GetDlgItem(Board(), ChildId(board::kContinueButton)), BM_CLICK, 0, 0);
  EXPECT_EQ(SentSince(before), (std::vector<std::wstring>{L"play " + one, L"play " + two}));

  // The slider reaches both at once.
  HWND slider = ::GetDlgItem(Board(), ChildId(board::kVolumeSlider));
  ::SendMessageW(slider, TBM_SETPOS, TRUE, 50);
  before = Sent();
  ::SendMessageW(Board(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 50), reinterpret_cast<LPARAM>(slider));
  EXPECT_EQ(SentSince(before).size(), 4u);
  EXPECT_EQ(mci_.commands.back(), L"setaudio " + two + L" right volume to 500");
}

// A clip that played to its end gives its device back, and the timer stops with the last one.
TEST_F(SoundBoardWin, ClipsThatEndedCloseTheirDevicesAndTheTimerStops) {
  ClickOpen();
  std::vector<bool> heard;
  board_->OnDucking([&heard](bool duck) { heard.push_back(duck); });
  board_->SetDuckingOption(true);
  ClickClip(3);
  EXPECT_TRUE(::KillTimer(Board(), ChildId(board::kTick))) << "no timer looks for the clip's end";
  ::SetTimer(Board(), ChildId(board::kTick), 150, nullptr);
  const std::wstring three = Widen(board_->pad(3)->alias());
  board_->Poll();
  EXPECT_EQ(mci_.CountStartingWith(L"close " + three), 1) << "only the open's own close";
  mci_.mode = L"stopped";
  board_->Poll();
  EXPECT_EQ(mci_.CountStartingWith(L"close " + three), 2);
  EXPECT_EQ(board_->padState(3), PadState::Idle);
  EXPECT_FALSE(::KillTimer(Board(), ChildId(board::kTick))) << "the timer runs on with nothing to look for";
  EXPECT_EQ(heard, (std::vector<bool>{true, false}));

  // Closed once: the window's end sends nothing more for it.
  const int before = Sent();
  Runtime::Get().CloseForm(kBoardWindowId);
  EXPECT_EQ(mci_.CountStartingWith(L"close " + three), 2);
  EXPECT_EQ(Sent(), before);
}

TEST(PadCaptions, NameWithoutExtensionCutToFit) {
  EXPECT_EQ(PadCaption(L"C:\\声音\\鼓声.wav"), L"鼓声");
  EXPECT_EQ(PadCaption(L"D:/a/drum.loop.MP3"), L"drum.loop");
  EXPECT_EQ(PadCaption(L"C:\\x\\一二三四五六七.mp3"), L"一二三四…");
  EXPECT_EQ(PadCaption(L"C:\\x\\abcdefghijklmn.mp3"), L"abcdefghi…");
  EXPECT_EQ(PadCaption(L"C:\\x\\.wav"), L".wav");
}

// A drop as the shell hands it over, at a point of the board's client area.
void DropAt(HWND target, POINT at, const std::vector<std::wstring>& paths) {
  size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  HGLOBAL block = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(::GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->pt = at;
  header->fWide = TRUE;
  auto* out = reinterpret_cast<wchar_t*>(header + 1);
  for (const auto& p : paths) out = std::copy(p.begin(), p.end(), out) + 1;
  ::GlobalUnlock(block);
  ::SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

POINT CentreInClient(HWND parent, HWND child) {
  RECT rc{};
  ::GetWindowRect(child, &rc);
  POINT at{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  ::ScreenToClient(parent, &at);
  return at;
}

// Dropped onto a pad, a sound file becomes its clip, kept key by key in the configuration
// file; the built-in clip comes back on request, and the choice outlives the board.
TEST_F(SoundBoardWin, ADroppedSoundFileBecomesThePadsClipAndIsKept) {
  const std::wstring config = folder_ + L"歌曲配置.ini";
  // As a Chinese system keeps it: GBK.
  const std::string songs = e2e::Gbk(L"[歌曲信息]\r\n歌曲列表=a.mp3|\r\n");
  Write(config, songs);
  const std::wstring song = folder_ + L"鼓声.wav";
  Write(song, "RIFF");
  Runtime& rt = Runtime::Get();
  rt.CloseForm(kPlayerWindowId);
  board_ = std::make_unique<SoundBoard>(rt, mci_, folder_, config);
  BindSoundBoardHandlers(rt, *board_);
  rt.Bind(HandlerKey::BoardFilesDropped, [&rt, this] { OnBoardDrop(rt, *board_); });
  ASSERT_NE(rt.LoadForm(PlayerForm()), nullptr);
  ClickOpen();
  HWND pad4 = ::GetDlgItem(Board(), ChildId(board::kClipButtons[3]));

  // Beside the pads, or with nothing that sounds, a drop changes nothing.
  DropAt(Board(), POINT{2, 2}, {song});
  DropAt(Board(), CentreInClient(Board(), pad4), {folder_ + L"notes.txt"});
  EXPECT_TRUE(board_->settings().Pad(4).file.empty());

  DropAt(Board(), CentreInClient(Board(), pad4), {folder_ + L"notes.txt", song});
  EXPECT_EQ(board_->settings().Pad(4).file, song);
  EXPECT_EQ(rt.GetText(kBoardWindowId, board::kClipButtons[3], Prop::ButtonCaption), "鼓声");
  const std::string stored = Contents(config);
  EXPECT_EQ(stored, songs + e2e::Gbk(L"[音效板]\r\n声音4=" + song + L"\r\n"));

  const int before = Sent();
  ClickClip(4);
  const std::wstring alias = Widen(board_->pad(4)->alias());
  EXPECT_EQ(SentSince(before)[1], L"open \"" + song + L"\" type MPEGvideo alias " + alias);

  // A fresh board (a restart) reads the choice back.
  rt.CloseForm(kBoardWindowId);
  board_ = std::make_unique<SoundBoard>(rt, mci_, folder_, config);
  BindSoundBoardHandlers(rt, *board_);
  EXPECT_EQ(board_->settings().Pad(4).file, song);
  ClickOpen();
  EXPECT_EQ(rt.GetText(kBoardWindowId, board::kClipButtons[3], Prop::ButtonCaption), "鼓声");

  board_->RestoreBuiltIn(4);
  EXPECT_EQ(rt.GetText(kBoardWindowId, board::kClipButtons[3], Prop::ButtonCaption), "轻微掌声");
  EXPECT_TRUE(SoundBoard(rt, mci_, folder_, config).settings().Pad(4).file.empty());
  ClickClip(4);
  EXPECT_NE(mci_.commands[mci_.commands.size() - 4].find(folder_ + L"轻微掌声"), std::wstring::npos)
      << Narrow(mci_.commands[mci_.commands.size() - 4]);
}

Text TipText(HWND tip, HWND button) {
  wchar_t text[1024] = {};
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = button;
  info.uId = 1;
  info.lpszText = text;
  ::SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&info));
  return Narrow(text);
}

// A pad's tip names its sound, says when the file has gone, and names its hot key.
TEST_F(SoundBoardWin, EachPadsTipNamesItsSoundAndItsKey) {
  const std::wstring config = folder_ + L"歌曲配置.ini";
  const std::wstring drum = folder_ + L"鼓声.wav";
  Write(drum, "RIFF");
  const unsigned ctrlF8 = HOTKEYF_CONTROL << 8 | VK_F8;
  Write(config, e2e::Gbk(L"[音效板]\r\n声音1=" + drum + L"\r\n声音2=" + folder_ + L"没了.mp3\r\n热键3=" +
                         std::to_wstring(ctrlF8) + L"\r\n热键4=abc\r\n热键5=99999\r\n"));
  Runtime& rt = Runtime::Get();
  rt.CloseForm(kPlayerWindowId);
  board_ = std::make_unique<SoundBoard>(rt, mci_, folder_, config);
  BindSoundBoardHandlers(rt, *board_);
  BoardTips tips(rt);
  board_->OnPadShown([&tips](int pad, const Text& text) { tips.Show(pad, text); });
  ASSERT_NE(rt.LoadForm(PlayerForm()), nullptr);
  ClickOpen();

  auto tipOf = [&](int pad) {
    return TipText(tips.TipOf(pad), ::GetDlgItem(Board(), ChildId(board::kClipButtons[pad - 1])));
  };
  EXPECT_EQ(tipOf(1), Narrow(drum));
  EXPECT_EQ(tipOf(2), "找不到声音文件：没了");
  EXPECT_EQ(tipOf(3), "尖叫声\n热键：" + Narrow(HotKeyName(ctrlF8)));
  EXPECT_EQ(HotKeyName(ctrlF8).rfind(L"Ctrl+", 0), 0u);
  EXPECT_EQ(tipOf(4), "轻微掌声") << "a damaged key is no key";
  EXPECT_EQ(tipOf(5), "欢呼掌声");

  // Gone with the board: no tip window is left behind.
  HWND tip = tips.TipOf(1);
  rt.CloseForm(kBoardWindowId);
  EXPECT_FALSE(::IsWindow(tip));
  EXPECT_EQ(tips.TipOf(1), nullptr);
}

// Picks a menu item as the keyboard does, once the popup menu shows: `downs` times down, then enter.
std::thread PickFromMenu(int downs) {
  return std::thread([downs] {
    const DWORD start = ::GetTickCount();
    HWND menu = nullptr;
    while (!menu && ::GetTickCount() - start < 10000) {
      HWND h = ::FindWindowW(L"#32768", nullptr);
      if (h && ::IsWindowVisible(h)) menu = h;
      else ::Sleep(10);
    }
    if (!menu) return;
    for (int i = 0; i < downs; ++i) ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  });
}

// The right-click menu of a pad: "恢复原声" brings the built-in clip back, and the checked
// option to turn the song down is kept.
TEST_F(SoundBoardWin, TheBoardMenuRestoresAPadAndTogglesTheDuckingOption) {
  const std::wstring config = folder_ + L"歌曲配置.ini";
  const std::wstring drum = folder_ + L"鼓声.wav";
  Write(drum, "RIFF");
  Runtime& rt = Runtime::Get();
  rt.CloseForm(kPlayerWindowId);
  board_ = std::make_unique<SoundBoard>(rt, mci_, folder_, config);
  BindSoundBoardHandlers(rt, *board_);
  BoardHotKeys keys(*board_);
  rt.Bind(HandlerKey::BoardContextMenu, [&rt, &keys, this] { OnBoardContextMenu(rt, *board_, keys); });
  ASSERT_NE(rt.LoadForm(PlayerForm()), nullptr);
  ClickOpen();
  board_->ChooseFile(4, drum);
  HWND pad4 = ::GetDlgItem(Board(), ChildId(board::kClipButtons[3]));
  RECT rc{};
  ::GetWindowRect(pad4, &rc);
  const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);

  // 选择声音…, 恢复原声, 设置热键…, the option.
  std::thread picker = PickFromMenu(2);
  ::SendMessageW(pad4, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pad4), at);
  picker.join();
  EXPECT_TRUE(board_->settings().Pad(4).file.empty());
  EXPECT_EQ(rt.GetText(kBoardWindowId, board::kClipButtons[3], Prop::ButtonCaption), "轻微掌声");

  // Beside the pads the menu holds the option alone.
  POINT beside{2, 2};
  ::ClientToScreen(Board(), &beside);
  picker = PickFromMenu(1);
  ::SendMessageW(Board(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Board()), MAKELPARAM(beside.x, beside.y));
  picker.join();
  EXPECT_TRUE(board_->settings().Ducking());
  EXPECT_NE(Contents(config).find(e2e::Gbk(L"降低音乐音量=1")), std::string::npos) << Contents(config);
}

// Answers the hot-key dialog once it shows: the key put into its control, then `button`.
std::thread AnswerHotKeyDialog(unsigned key, int button) {
  return std::thread([key, button] {
    const DWORD start = ::GetTickCount();
    HWND dialog = nullptr;
    while (!dialog && ::GetTickCount() - start < 10000) {
      HWND h = ::FindWindowW(L"#32770", L"设置热键");
      if (h && ::IsWindowVisible(h)) dialog = h;
      else ::Sleep(10);
    }
    if (!dialog) return;
    ::SendDlgItemMessageW(dialog, 100, HKM_SETHOTKEY, key, 0);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  });
}

// A key is taken only when the user sets one; one that is held elsewhere is refused and the
// pad keeps the key it had; "清除" gives it back.
TEST_F(SoundBoardWin, HotKeysAreTakenWhenSetAndARefusedOneLeavesTheOldKey) {
  const std::wstring config = folder_ + L"歌曲配置.ini";
  Runtime& rt = Runtime::Get();
  board_ = std::make_unique<SoundBoard>(rt, mci_, folder_, config);
  BindSoundBoardHandlers(rt, *board_);
  BoardHotKeys keys(*board_);
  ASSERT_NE(keys.window(), nullptr);
  const unsigned altF11 = HOTKEYF_ALT << 8 | VK_F11;
  const unsigned altF12 = HOTKEYF_ALT << 8 | VK_F12;

  std::thread answer = AnswerHotKeyDialog(altF11, IDOK);
  keys.AskAndSet(nullptr, 6);
  answer.join();
  EXPECT_EQ(board_->settings().Pad(6).hotKey, altF11);
  EXPECT_FALSE(::RegisterHotKey(nullptr, 7, MOD_ALT, VK_F11)) << "the pad's key is not held";
  EXPECT_NE(Contents(config).find(e2e::Gbk(L"热键6=" + std::to_wstring(altF11))), std::string::npos);

  ASSERT_TRUE(::RegisterHotKey(nullptr, 8, MOD_ALT, VK_F12));
  EXPECT_FALSE(keys.Set(6, altF12));
  EXPECT_EQ(board_->settings().Pad(6).hotKey, altF11);
  EXPECT_FALSE(::RegisterHotKey(nullptr, 7, MOD_ALT, VK_F11)) << "the old key went with the refusal";
  ::UnregisterHotKey(nullptr, 8);

  answer = AnswerHotKeyDialog(0, 101);  // 清除
  keys.AskAndSet(nullptr, 6);
  answer.join();
  EXPECT_EQ(board_->settings().Pad(6).hotKey, 0u);
  EXPECT_TRUE(::RegisterHotKey(nullptr, 7, MOD_ALT, VK_F11)) << "清除 gives the key back";
  ::UnregisterHotKey(nullptr, 7);
}

TEST(ClipFiles, WrittenWhenMissingOrWrongAndLeftAloneWhenRight) {
  const std::wstring folder = FreshFolder();
  const std::wstring path = folder + L"贱笑";
  const ByteView clip = ResourceBytes(L"CLIP_02");

  EXPECT_TRUE(EnsureClipFile(path, clip));
  EXPECT_EQ(Contents(path), AsString(clip));

  // Right already and held open without write sharing: nothing to write, so nothing fails.
  HANDLE holder = HoldForReading(path);
  EXPECT_TRUE(EnsureClipFile(path, clip));
  ::CloseHandle(holder);

  Write(path, AsString(clip).substr(0, 1000));  // cut short by an earlier failure
  EXPECT_TRUE(EnsureClipFile(path, clip));
  EXPECT_EQ(Contents(path), AsString(clip));

  // Wrong and held: it cannot be fixed, and says so.
  Write(path, "wrong");
  holder = HoldForReading(path);
  EXPECT_FALSE(EnsureClipFile(path, clip));
  ::CloseHandle(holder);
  EXPECT_EQ(Contents(path), "wrong");

  EXPECT_FALSE(EnsureClipFile(folder + L"no such folder\\贱笑", clip));
  EXPECT_FALSE(EnsureClipFile(folder + L"empty", ByteView()));
  RemoveFolder(folder);
}

}  // namespace
}  // namespace tovel
