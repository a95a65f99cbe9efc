#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {

constexpr int kListId = 0x0076;
constexpr int kAboutId = 0x0078;
constexpr int kContactId = 0x007A;
constexpr int kAddId = 0x0086;
constexpr int kClearId = 0x0088;
constexpr int kElapsedId = 0x007C;
constexpr int kSeekId = 0x3D23;
constexpr WPARAM kMenuRemove = 0x3D29;
constexpr WPARAM kMenuDeleteFile = 0x3D2A;

// Each test runs its own copy of the program beside its own configuration file.
class SongListE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearRunTraces();
    program_ = CopyProgramInto(appDir_);
    ASSERT_FALSE(program_.empty());
  }
  void TearDown() override { ClearRunTraces(); }

  // Starts the program; the player window, or null.
  HWND Start(RunningProgram& app) {
    app = Launch(program_);
    if (!app.started()) return nullptr;
    // Found once shown; the list is loaded before that.
    HWND player = WaitForWindow(app.pid(), kPlayerTitle, 20000);
    if (player) list_ = ::GetDlgItem(player, kListId);
    return list_ ? player : nullptr;
  }
  std::wstring Ini() const { return appDir_ / L"歌曲配置.ini"; }
  // The file up to the player's own state, which the program adds at exit: the stored list's bytes.
  std::string ListBytes() const {
    const std::string bytes = FileBytes(Ini());
    return bytes.substr(0, bytes.find(Gbk(L"[播放状态]")));
  }
  std::wstring Song(const std::wstring& source, const std::wstring& name) { return CopySong(source, songs_, name); }

  ScratchFolder appDir_{L"app"};
  ScratchFolder songs_{L"songs"};
  std::wstring program_;
  HWND list_ = nullptr;
};

TEST_F(SongListE2e, AddedFolderWithAKoreanSongIsStoredAndShownAfterARestart) {
  ASSERT_FALSE(Song(L"노래.mp3", L"노래.mp3").empty());
  ASSERT_FALSE(Song(L"tone_440.mp3", L"LOUD.MP3").empty());  // upper case: not a song
  {
    RunningProgram app;
    HWND player = Start(app);
    ASSERT_NE(player, nullptr);
    PostClick(player, kAddId);
    ASSERT_TRUE(ChooseFolder(app.process(), app.pid(), songs_.path()));
    ASSERT_TRUE(WaitForListCount(list_, 1, 20000));
    EXPECT_EQ(ListItems(list_), std::vector<std::wstring>{L"001|노래"});
    EXPECT_EQ(CloseProgram(app, player), 0u);
  }
  // No GBK form for Hangul: the file is UTF-16 with its mark, which the profile reader takes too.
  const std::string bytes = FileBytes(Ini());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  wchar_t value[1024] = {};
  ::GetPrivateProfileStringW(L"歌曲信息", L"歌曲列表", L"", value, 1024, Ini().c_str());
  EXPECT_EQ(std::wstring(value), songs_ / L"노래.mp3" + L"|");

  RunningProgram again;
  HWND player = Start(again);
  ASSERT_NE(player, nullptr);
  ASSERT_TRUE(WaitForListCount(list_, 1, 5000));
  EXPECT_EQ(ListItems(list_), std::vector<std::wstring>{L"001|노래"});
  EXPECT_EQ(CloseProgram(again, player), 0u);
  EXPECT_EQ(FileBytes(kExportFile), "<missing>");  // nothing removed: no export
}

TEST_F(SongListE2e, CancelledFolderBrowserChangesNothing) {
  const std::wstring a = Song(L"tone_440.mp3", L"第一首.mp3");
  const std::string ini = GbkIni({a});
  WriteBytes(Ini(), ini);
  RunningProgram app;
  HWND player = Start(app);
  ASSERT_NE(player, nullptr);
  ASSERT_TRUE(WaitForListCount(list_, 1, 5000));
  EXPECT_EQ(ListItems(list_), std::vector<std::wstring>{L"001|第一首"});

  PostClick(player, kAddId);
  ASSERT_TRUE(CancelFolderBrowser(app.pid()));
  // Once the browser is gone, the handler that opened it has returned by the next round trip.
  ASSERT_TRUE(WaitUntil([&] { return !BrowserOpen(app.pid()); }, 10000));
  ASSERT_TRUE(Answers(player));
  EXPECT_EQ(ListItems(list_), std::vector<std::wstring>{L"001|第一首"});
  EXPECT_EQ(ListBytes(), ini);
  EXPECT_EQ(CloseProgram(app, player), 0u);
  EXPECT_EQ(ListBytes(), ini);
}

TEST_F(SongListE2e, RemovingAnEntryRenumbersAndTheRestIsExportedAtExit) {
  const std::wstring a = Song(L"tone_440.mp3", L"a.mp3");
  const std::wstring b = Song(L"tone_660.mp3", L"b.mp3");
  const std::wstring c = Song(L"short_880.mp3", L"c.mp3");
  const std::string ini = GbkIni({a, b, c});
  WriteBytes(Ini(), ini);
  // An export of an earlier run, longer than the new one: replaced whole.
  WriteBytes(kExportFile, Gbk(a + L"\r\n" + b + L"\r\n" + c + L"\r\n" + L"D:\\earlier\\歌.mp3\r\n"));

  RunningProgram app;
  HWND player = Start(app);
  ASSERT_NE(player, nullptr);
  ASSERT_TRUE(WaitForListCount(list_, 3, 5000));
  ::SendMessageW(list_, LB_SETCURSEL, 1, 0);
  ::SendMessageW(player, WM_COMMAND, kMenuRemove, 0);
  EXPECT_EQ(ListItems(list_), (std::vector<std::wstring>{L"001|a", L"002|c"}));
  EXPECT_EQ(::SendMessageW(list_, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(CloseProgram(app, player), 0u);

  EXPECT_EQ(FileBytes(kExportFile), Gbk(a + L"\r\n" + c + L"\r\n"));
  EXPECT_EQ(ListBytes(), ini);  // the stored list is not changed by a removal
}

TEST_F(SongListE2e, RightClickSelectsTheEntryUnderTheCursorAndItsMenuRemovesIt) {
  WriteBytes(Ini(), GbkIni({Song(L"tone_440.mp3", L"a.mp3"), Song(L"tone_660.mp3", L"b.mp3"),
                            Song(L"short_880.mp3", L"c.mp3")}));
  RunningProgram app;
  HWND player = Start(app);
  ASSERT_NE(player, nullptr);
  ASSERT_TRUE(WaitForListCount(list_, 3, 5000));
  ::SendMessageW(list_, LB_SETCURSEL, 0, 0);
  ::SetForegroundWindow(player);

  RECT item;
  ::SendMessageW(list_, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  POINT p{item.left + 20, (item.top + item.bottom) / 2};
  ::ClientToScreen(list_, &p);
  ::SetCursorPos(p.x, p.y);
  INPUT down{}, up{};
  down.type = up.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  up.mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  ::SendInput(1, &down, sizeof(INPUT));
  // The synthesised left click lands before the button comes up.
  EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(list_, LB_GETCURSEL, 0, 0) == 2; }, 5000));
  ::SendInput(1, &up, sizeof(INPUT));

  HWND menu = WaitForWindow(app.pid(), L"", 5000, L"#32768");
  ASSERT_NE(menu, nullptr);
  RECT rc{};
  EXPECT_TRUE(WaitUntil([&] { return ::GetWindowRect(menu, &rc) && rc.left == p.x + 3 && rc.top == p.y + 3; }, 5000))
      << "menu at " << rc.left << "," << rc.top << " for a cursor at " << p.x << "," << p.y;
  ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(WaitForListCount(list_, 2, 5000));
  EXPECT_EQ(ListItems(list_), (std::vector<std::wstring>{L"001|a", L"002|b"}));
  EXPECT_EQ(CloseProgram(app, player), 0u);
}

TEST_F(SongListE2e, DeletingFilesRemovesThemAndTheirEntriesUntilTheListIsEmpty) {
  const std::wstring a = Song(L"tone_440.mp3", L"删我.mp3");
  const std::wstring b = Song(L"tone_660.mp3", L"b.mp3");
  const std::string ini = GbkIni({a, b});
  WriteBytes(Ini(), ini);
  RunningProgram app;
  HWND player = Start(app);
  ASSERT_NE(player, nullptr);
  ASSERT_TRUE(WaitForListCount(list_, 2, 5000));

  for (const std::wstring& path : {a, b}) {
    ::SendMessageW(list_, LB_SETCURSEL, 0, 0);
    ::PostMessageW(player, WM_COMMAND, kMenuDeleteFile, 0);
    HWND box = WaitForMessageBox(app.pid(), 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), L"信息：");
    EXPECT_EQ(MessageBoxText(box), L"删除文件 成功");
    EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    CloseBox(box);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, 5000));
  }
  EXPECT_TRUE(ListItems(list_).empty());

  ::PostMessageW(player, WM_COMMAND, kMenuDeleteFile, 0);
  HWND box = WaitForMessageBox(app.pid(), 10000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), L"信息：");
  EXPECT_EQ(MessageBoxText(box), L"删除失败 文件未找到");
  CloseBox(box);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, 5000));
  EXPECT_EQ(CloseProgram(app, player), 0u);
  EXPECT_EQ(FileBytes(kExportFile), "");  // everything removed: an empty export
  EXPECT_EQ(ListBytes(), ini);
}

TEST_F(SongListE2e, ClearingEmptiesTheListButTheStoredListComesBackAtTheNextStart) {
  const std::string ini = GbkIni({Song(L"tone_440.mp3", L"a.mp3"), Song(L"tone_660.mp3", L"b.mp3")});
  WriteBytes(Ini(), ini);
  WriteBytes(kExportFile, "old export");
  {
    RunningProgram app;
    HWND player = Start(app);
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(WaitForListCount(list_, 2, 5000));
    PostClick(player, kClearId);
    ASSERT_TRUE(WaitForListCount(list_, 0, 5000));
    EXPECT_EQ(WindowText(::GetDlgItem(player, kElapsedId)), L"00:00");
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(player, kSeekId)));
    EXPECT_EQ(FileBytes(kExportFile), "<missing>");
    EXPECT_EQ(ListBytes(), ini);
    EXPECT_EQ(CloseProgram(app, player), 0u);
  }
  RunningProgram again;
  HWND player = Start(again);
  ASSERT_NE(player, nullptr);
  ASSERT_TRUE(WaitForListCount(list_, 2, 5000));
  EXPECT_EQ(ListItems(list_), (std::vector<std::wstring>{L"001|a", L"002|b"}));
  EXPECT_EQ(CloseProgram(again, player), 0u);
}

TEST_F(SongListE2e, AboutBoxShowsItsCaptionAndFiveLinesAndTheContactLinkReportsNothing) {
  RunningProgram app;
  HWND player = Start(app);
  ASSERT_NE(player, nullptr);
  PostClick(player, kAboutId);
  HWND box = WaitForMessageBox(app.pid(), 10000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), L"温馨提示：");
  EXPECT_EQ(::GetWindow(box, GW_OWNER), nullptr);
  const std::wstring text = MessageBoxText(box);
  EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), 4) << "five lines";
  EXPECT_TRUE(text.starts_with(L"作者:["));
  EXPECT_TRUE(text.ends_with(L"有什么建议或意见尽管找我就好OwO\r\n欢迎使用Tovel音乐盒子哦！"));
  CloseBox(box);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, 5000));

  // Sent, so it returns once the handler has: a box would have kept it waiting.
  DWORD_PTR result = 0;
  EXPECT_TRUE(::SendMessageTimeoutW(::GetDlgItem(player, kContactId), BM_CLICK, 0, 0, SMTO_NORMAL, 30000, &result));
  EXPECT_EQ(WaitForMessageBox(app.pid(), 0), nullptr);
  EXPECT_EQ(CloseProgram(app, player), 0u);
}

}  // namespace
}  // namespace tovel::e2e
