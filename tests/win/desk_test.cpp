#include <windows.h>
#include <shobjidl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/bring_forward.h"
#include "app/config_file.h"
#include "app/desk.h"
#include "app/playback.h"
#include "app/song_list_rules.h"
#include "app/sound_board.h"
#include "base/dc.h"
#include "base/text.h"
#include "runtime/controls.h"
#include "tests/support/pump.h"

namespace tovel {
namespace {

using testing::PumpPending;
using testing::PumpUntil;

constexpr std::uint32_t W = kPlayerWindowId;

// Every command succeeds; a song is five seconds long and plays until it is stopped.
class FiveSecondMci : public MciChannel {
 public:
  bool Send(const std::wstring& command, std::wstring* answer) override {
    commands.push_back(command);
    if (answer) {
      answer->clear();
      if (command.find(L" length") != std::wstring::npos) *answer = L"5000";
      if (command.find(L" mode") != std::wstring::npos) *answer = L"playing";
    }
    return true;
  }
  bool IsLiveWindow(std::intptr_t) override { return false; }
  bool Sent(const std::wstring& prefix, size_t from = 0) const {
    for (size_t i = from; i < commands.size(); ++i)
      if (commands[i].rfind(prefix, 0) == 0) return true;
    return false;
  }
  std::vector<std::wstring> commands;
};

// The notification area as the shell keeps it: one icon per window and number.
class RecordingNotifyArea : public NotifyArea {
 public:
  struct Call {
    DWORD message;
    NOTIFYICONDATAW data;
  };
  bool Notify(DWORD message, NOTIFYICONDATAW& data) override {
    calls.push_back({message, data});
    switch (message) {
      case NIM_ADD:
        if (present) return false;
        present = true;
        tip = data.szTip;
        return true;
      case NIM_MODIFY:
        if (present && (data.uFlags & NIF_TIP)) tip = data.szTip;
        return present;
      case NIM_DELETE: {
        const bool was = present;
        present = false;
        return was;
      }
    }
    return true;  // NIM_SETVERSION
  }
  int Count(DWORD message) const {
    int n = 0;
    for (const Call& c : calls) n += c.message == message;
    return n;
  }
  std::vector<Call> calls;
  bool present = false;
  std::wstring tip;
};

// What the taskbar list was asked, kept by the test after the Desk lets its list go.
struct TaskbarLog {
  int made = 0;
  std::vector<std::vector<ThumbButtonFace>> added, updated;
  std::vector<TaskbarProgress> states;
  std::vector<std::pair<ULONGLONG, ULONGLONG>> values;
};

class RecordingTaskbar : public TaskbarList {
 public:
  explicit RecordingTaskbar(TaskbarLog& log) : log_(log) {}
  bool AddButtons(HWND, const std::vector<ThumbButtonFace>& b) override {
    log_.added.push_back(b);
    return true;
  }
  bool UpdateButtons(HWND, const std::vector<ThumbButtonFace>& b) override {
    log_.updated.push_back(b);
    return true;
  }
  void SetProgressState(HWND, TaskbarProgress s) override { log_.states.push_back(s); }
  void SetProgressValue(HWND, ULONGLONG done, ULONGLONG total) override { log_.values.push_back({done, total}); }

 private:
  TaskbarLog& log_;
};

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  std::wstring folder = std::wstring(temp) + L"tovel-desk-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                        std::to_wstring(counter++) + L"\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// Brightness (0..255) of the icon's pixel, drawn over black.
int IconInk(HICON icon, int size, int x, int y) {
  WindowDc screen(nullptr);
  MemoryDc dc(screen.get(), size, size);
  RECT all{0, 0, size, size};
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  const COLORREF c = ::GetPixel(dc.get(), x, y);
  return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
}

class DeskWin : public ::testing::Test {
 protected:
  void SetUp() override {
    Runtime& rt = Runtime::Get();
    Unbind();
    folder_ = TempFolder();
    playback_ = std::make_unique<Playback>(rt, media_, state_);
    BindPlaybackHandlers(rt, *playback_);
    board_ = std::make_unique<SoundBoard>(rt, mci_, folder_);
    BindSoundBoardHandlers(rt, *board_);
    ASSERT_NE(rt.LoadForm(PlayerForm()), nullptr);
    for (const char* name : {"C:\\songs\\夜曲.mp3", "C:\\songs\\晴天.mp3"}) {
      state_.songList.Append(name);
      rt.ListAdd(W, player::kList, ListEntryText(state_.songList.Count(), name));
    }
    rt.ListSelect(W, player::kList, 0);
    PumpPending();
  }
  void TearDown() override {
    Runtime& rt = Runtime::Get();
    rt.CloseForm(kBoardWindowId);
    rt.CloseForm(kPlayerWindowId);
    PumpPending();
    desk_.reset();
    board_.reset();
    Unbind();
    ::DeleteFileW(ConfigPath().c_str());
    ::RemoveDirectoryW(folder_.c_str());
  }
  static void Unbind() {
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) Runtime::Get().Bind(static_cast<HandlerKey>(k), {});
  }

  std::wstring ConfigPath() const { return folder_ + L"歌曲配置.ini"; }
  void MakeDesk() {
    desk_ = std::make_unique<Desk>(Runtime::Get(),
                                   DeskParts{&area_,
                                             [this] {
                                               ++log_.made;
                                               return std::make_unique<RecordingTaskbar>(log_);
                                             },
                                             ConfigPath(), [this] { return ShownName(media_.fileName()); }});
    desk_->Attach();
  }
  static HWND Player() { return Runtime::Get().WindowHandle(W); }
  static HWND Board() { return Runtime::Get().WindowHandle(kBoardWindowId); }
  HWND Tray() const { return desk_->tray()->window(); }
  void Menu(TrayCommand command) { ::SendMessageW(Tray(), WM_COMMAND, static_cast<WPARAM>(command), 0); }
  // A left click on the icon, as a shell of version 4 reports it.
  void ClickIcon() {
    ::SendMessageW(Tray(), TrayIcon::kCallbackMessage, MAKEWPARAM(600, 1000), MAKELPARAM(NIN_SELECT, TrayIcon::kIconId));
  }
  static void Thumb(ThumbButton button) {
    ::SendMessageW(Player(), WM_COMMAND, MAKEWPARAM(static_cast<UINT>(button), THBN_CLICKED), 0);
  }
  static std::wstring Elapsed() { return Widen(Runtime::Get().GetText(W, player::kElapsedLabel, Prop::TypeSpecific)); }
  static int Caret() { return Runtime::Get().ListCaret(W, player::kList); }

  FiveSecondMci mci_;
  MediaPlayControl media_{mci_, Text("desk")};
  PlayerState state_;
  std::unique_ptr<Playback> playback_;
  std::unique_ptr<SoundBoard> board_;
  RecordingNotifyArea area_;
  TaskbarLog log_;
  std::wstring folder_;
  std::unique_ptr<Desk> desk_;
};

TEST_F(DeskWin, TheIconComesWithTheIdleTipAndNamesTheSongThatPlays) {
  MakeDesk();
  ASSERT_TRUE(area_.present);
  const auto& add = area_.calls.front();
  EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(add.data.hWnd, Tray());
  EXPECT_EQ(add.data.uCallbackMessage, TrayIcon::kCallbackMessage);
  EXPECT_NE(add.data.hIcon, nullptr) << "the program's icon did not load";
  EXPECT_TRUE(add.data.uFlags & NIF_SHOWTIP);
  EXPECT_EQ(area_.tip, L"Tovel音乐盒");
  EXPECT_EQ(area_.Count(NIM_SETVERSION), 1);
  EXPECT_EQ(area_.calls[1].data.uVersion, static_cast<UINT>(NOTIFYICON_VERSION_4));

  Runtime::Get().Raise(HandlerKey::PlayButton);
  EXPECT_EQ(area_.tip, L"夜曲");
  Runtime::Get().Raise(HandlerKey::NextSong);
  EXPECT_EQ(area_.tip, L"晴天");
  Runtime::Get().Raise(HandlerKey::PlayButton);  // pause: still that song
  EXPECT_EQ(area_.tip, L"晴天");
  Runtime::Get().Raise(HandlerKey::StopSong);
  EXPECT_EQ(area_.tip, L"Tovel音乐盒");
}

// Each item is sent as the menu sends it: WM_COMMAND with the item's number.
TEST_F(DeskWin, EachMenuCommandActsAsItsButton) {
  MakeDesk();
  size_t mark = mci_.commands.size();
  Menu(TrayCommand::PlayPause);
  EXPECT_EQ(state_.playState, PlayState::Playing);
  EXPECT_EQ(Elapsed(), L"00:01");
  EXPECT_TRUE(mci_.Sent(L"play desk", mark));

  mark = mci_.commands.size();
  Menu(TrayCommand::PlayPause);
  EXPECT_EQ(state_.playState, PlayState::Paused);
  EXPECT_TRUE(mci_.Sent(L"pause desk", mark));

  Menu(TrayCommand::Next);
  EXPECT_EQ(Caret(), 1);
  EXPECT_EQ(state_.playState, PlayState::Playing);
  EXPECT_EQ(Widen(media_.fileName()), L"C:\\songs\\晴天.mp3");

  Menu(TrayCommand::Previous);
  EXPECT_EQ(Caret(), 0);
  EXPECT_EQ(Widen(media_.fileName()), L"C:\\songs\\夜曲.mp3");

  mark = mci_.commands.size();
  Menu(TrayCommand::Stop);
  EXPECT_EQ(state_.playState, PlayState::Idle);
  EXPECT_EQ(Elapsed(), L"00:00");
  EXPECT_TRUE(mci_.Sent(L"stop desk", mark));

  // A command that is no item of the menu does nothing.
  ::SendMessageW(Tray(), WM_COMMAND, 0x7300, 0);
  EXPECT_EQ(state_.playState, PlayState::Idle);

  ::ShowWindow(Player(), SW_MINIMIZE);
  ASSERT_TRUE(::IsIconic(Player()));
  Menu(TrayCommand::ShowPlayer);
  EXPECT_FALSE(::IsIconic(Player()));
  EXPECT_TRUE(::IsWindowVisible(Player()));

  // 退出 closes the player as a close from outside does.
  HWND player = Player();
  Menu(TrayCommand::Quit);
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(player); }, 5000)) << "the player did not close";
  EXPECT_FALSE(area_.present) << "the icon stayed after the player closed";
}

// The menu as the user sees it: its items, and the option's check mark.
TEST_F(DeskWin, TheRightClickMenuHoldsTheItemsAndTheCheckedOption) {
  WriteIniValue(ConfigPath(), kTraySection, kMinimizeToTrayKey, "1");
  MakeDesk();
  struct Seen {
    std::vector<std::wstring> items;
    bool optionChecked = false;
    bool done = false;
  };
  static Seen seen;
  seen = Seen{};
  // Read inside the menu's own loop, then end it.
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND popup = ::FindWindowW(L"#32768", nullptr);
    if (!popup || seen.done) return;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
      wchar_t text[64] = {};
      if (::GetMenuStringW(menu, i, text, 64, MF_BYPOSITION) > 0) seen.items.push_back(text);
      if (std::wstring(text) == L"最小化到通知区域")
        seen.optionChecked = (::GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED) != 0;
    }
    seen.done = true;
    ::EndMenu();
  });
  ::SendMessageW(Tray(), TrayIcon::kCallbackMessage, MAKEWPARAM(600, 1000),
                 MAKELPARAM(WM_CONTEXTMENU, TrayIcon::kIconId));
  PumpUntil([] { return seen.done; }, 5000);
  ::KillTimer(nullptr, timer);
  ASSERT_TRUE(seen.done) << "no menu came up";
  EXPECT_EQ(seen.items, (std::vector<std::wstring>{L"播放/暂停", L"上一首", L"下一首", L"停止", L"显示播放器",
                                                   L"最小化到通知区域", L"退出"}));
  EXPECT_TRUE(seen.optionChecked);
}

TEST_F(DeskWin, MinimizedToTheIconBothWindowsHideAndComeBackDocked) {
  ::SendMessageW(::GetDlgItem(Player(), ChildId(player::kBoardButton)), BM_CLICK, 0, 0);
  ASSERT_NE(Board(), nullptr);
  MakeDesk();
  EXPECT_FALSE(desk_->minimizeToTray()) << "the option is off until chosen";
  Menu(TrayCommand::MinimizeToTray);
  EXPECT_TRUE(desk_->minimizeToTray());
  EXPECT_EQ(ReadIniValue(ConfigPath(), kTraySection, kMinimizeToTrayKey), Text("1"));

  RECT before{};
  ::GetWindowRect(Player(), &before);
  ::SendMessageW(Player(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(::IsWindowVisible(Player())) << "the player kept its taskbar button";
  EXPECT_FALSE(::IsWindowVisible(Board())) << "the board stayed on the screen";

  ClickIcon();
  ASSERT_TRUE(::IsWindowVisible(Player()));
  ASSERT_TRUE(::IsWindowVisible(Board()));
  EXPECT_FALSE(::IsIconic(Player()));
  RECT player{}, board{};
  ::GetWindowRect(Player(), &player);
  ::GetWindowRect(Board(), &board);
  EXPECT_EQ(player.left, before.left);
  EXPECT_EQ(player.top, before.top);
  EXPECT_EQ(board.left, player.left) << "the board is not docked";
  EXPECT_EQ(board.top, player.bottom) << "the board is not docked";

  // Chosen again, the option is off: a minimized player stays on the taskbar.
  Menu(TrayCommand::MinimizeToTray);
  EXPECT_EQ(ReadIniValue(ConfigPath(), kTraySection, kMinimizeToTrayKey), Text("0"));
  ::SendMessageW(Player(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(::IsIconic(Player()));
  EXPECT_TRUE(::IsWindowVisible(Player()));
  ::ShowWindow(Player(), SW_RESTORE);
}

// A value that is not "1" or "0" reads as the default, and is left as it was.
TEST_F(DeskWin, ADamagedOptionIsOffAndTheFileKeepsItsOtherValues) {
  WriteIniValue(ConfigPath(), kSongSection, kSongListKey, "C:\\a.mp3|");
  WriteIniValue(ConfigPath(), kTraySection, kMinimizeToTrayKey, "是");
  MakeDesk();
  EXPECT_FALSE(desk_->minimizeToTray());
  Menu(TrayCommand::MinimizeToTray);
  EXPECT_EQ(ReadIniValue(ConfigPath(), kTraySection, kMinimizeToTrayKey), Text("1"));
  EXPECT_EQ(ReadIniValue(ConfigPath(), kSongSection, kSongListKey), Text("C:\\a.mp3|"));
}

TEST_F(DeskWin, TheIconComesBackWhenTheShellStartsAgainAndGoesAtTheEndOfTheSession) {
  MakeDesk();
  ASSERT_TRUE(area_.present);
  area_.present = false;  // the shell restarted: its area is empty
  ::SendMessageW(Tray(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(area_.present) << "the icon was not added again";
  EXPECT_EQ(area_.Count(NIM_ADD), 2);

  // The end of the session takes the player down, even from under a dialog box.
  HWND player = Player();
  ::SendMessageW(player, WM_ENDSESSION, TRUE, 0);
  EXPECT_FALSE(::IsWindow(player));
  EXPECT_FALSE(area_.present) << "the icon outlived the player";
  // The shell restarting after that adds nothing.
  ::SendMessageW(Tray(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_FALSE(area_.present);
}

TEST_F(DeskWin, ThumbnailButtonsFollowThePlayerAndActAsItsButtons) {
  MakeDesk();
  EXPECT_EQ(log_.made, 0) << "COM was asked for before the shell made the button";
  ::SendMessageW(Player(), TaskbarButtons::ButtonCreatedMessage(), 0, 0);
  ASSERT_EQ(log_.made, 1);
  ASSERT_EQ(log_.added.size(), 1u);
  const std::vector<ThumbButtonFace> idle = log_.added[0];
  ASSERT_EQ(idle.size(), 3u);
  EXPECT_EQ(idle[0].id, ThumbButton::Previous);
  EXPECT_EQ(idle[1].id, ThumbButton::PlayPause);
  EXPECT_EQ(idle[2].id, ThumbButton::Next);
  EXPECT_EQ(idle[1].tip, L"播放");
  EXPECT_EQ(log_.states.back(), TaskbarProgress::None);

  // The glyphs at 16 pixels: play is a triangle on the middle row, pause two bars with
  // a gap in the middle, previous and next a bar at their far edge.
  const int n = 16;
  EXPECT_GT(IconInk(idle[1].icon, n, 8, 8), 200);
  EXPECT_LT(IconInk(idle[1].icon, n, 8, 2), 60);

  Thumb(ThumbButton::PlayPause);
  EXPECT_EQ(state_.playState, PlayState::Playing);
  EXPECT_EQ(Elapsed(), L"00:01");
  ASSERT_FALSE(log_.updated.empty());
  const ThumbButtonFace pause = log_.updated.back()[1];
  EXPECT_EQ(pause.tip, L"暂停");
  EXPECT_GT(IconInk(pause.icon, n, 5, 8), 200);
  EXPECT_LT(IconInk(pause.icon, n, 8, 8), 60) << "the pause glyph has no gap";
  EXPECT_GT(IconInk(log_.added[0][0].icon, n, 4, 8), 200);
  EXPECT_GT(IconInk(log_.added[0][2].icon, n, 10, 8), 200);
  EXPECT_EQ(log_.states.back(), TaskbarProgress::Normal);
  ASSERT_FALSE(log_.values.empty());
  EXPECT_EQ(log_.values.back(), (std::pair<ULONGLONG, ULONGLONG>{1, 5}));

  Runtime::Get().Raise(HandlerKey::SongTick);
  EXPECT_EQ(log_.values.back(), (std::pair<ULONGLONG, ULONGLONG>{2, 5}));

  Thumb(ThumbButton::PlayPause);
  EXPECT_EQ(state_.playState, PlayState::Paused);
  EXPECT_EQ(log_.updated.back()[1].tip, L"播放");
  EXPECT_EQ(log_.states.back(), TaskbarProgress::Paused);

  Thumb(ThumbButton::Next);
  EXPECT_EQ(Caret(), 1);
  EXPECT_EQ(state_.playState, PlayState::Playing);
  Thumb(ThumbButton::Previous);
  EXPECT_EQ(Caret(), 0);

  Runtime::Get().Raise(HandlerKey::StopSong);
  EXPECT_EQ(log_.states.back(), TaskbarProgress::None);

  // The shell made the button again (it restarted): the toolbar goes on the new button.
  ::SendMessageW(Player(), TaskbarButtons::ButtonCreatedMessage(), 0, 0);
  EXPECT_EQ(log_.made, 1);
  EXPECT_EQ(log_.added.size(), 2u);
}

// The shell's own list where the system has one, none where it has not: the player plays
// on either way.
TEST_F(DeskWin, WithTheShellsTaskbarListOrWithoutOneThePlayerGoesOn) {
  desk_ = std::make_unique<Desk>(Runtime::Get(), DeskParts{&area_, MakeShellTaskbarList, ConfigPath(),
                                                           [this] { return ShownName(media_.fileName()); }});
  desk_->Attach();
  ::SendMessageW(Player(), TaskbarButtons::ButtonCreatedMessage(), 0, 0);
  Thumb(ThumbButton::PlayPause);
  EXPECT_EQ(state_.playState, PlayState::Playing);
  Runtime::Get().Raise(HandlerKey::SongTick);
  Thumb(ThumbButton::PlayPause);
  EXPECT_EQ(state_.playState, PlayState::Paused);
  Runtime::Get().Raise(HandlerKey::StopSong);
  EXPECT_EQ(Elapsed(), L"00:00");
  desk_.reset();  // lets the shell's list go while COM still runs
}

TEST(BringForward, APublishedWindowIsAskedForwardAndAGoneOneIsNot) {
  const std::wstring name = L"Local\\tovel-desk-test-" + std::to_wstring(::GetCurrentProcessId());
  HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(AskRunningPlayerForward(name)) << "nothing is published yet";
  UniqueKernelHandle published = PublishPlayerWindow(name, window);
  ASSERT_TRUE(published);
  ASSERT_TRUE(AskRunningPlayerForward(name));
  // Posted to a window of this thread: in its queue at once.
  MSG msg{};
  EXPECT_TRUE(::PeekMessageW(&msg, window, BringForwardMessage(), BringForwardMessage(), PM_REMOVE));
  ::DestroyWindow(window);
  EXPECT_FALSE(AskRunningPlayerForward(name)) << "a window that is gone was asked";
  published.reset();
  EXPECT_FALSE(AskRunningPlayerForward(name));
}

}  // namespace
}  // namespace tovel
