#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/song_list_support.h"
#include "tests/support/id3_bytes.h"

namespace tovel::e2e {
namespace {

namespace id3 = testing::id3;

constexpr int kListId = 0x0076;
constexpr WPARAM kMenuTagTitles = 0x3D2B;

// The switch's line as the program keeps the file: in GBK, like the rest of it.
std::string Setting(const std::wstring& ini) {
  const std::string bytes = FileBytes(ini);
  const std::string key = Gbk(L"标签标题=");
  const size_t at = bytes.find(key);
  if (bytes.find(Gbk(L"[播放状态]")) == std::string::npos || at == std::string::npos) return "<missing>";
  return bytes.substr(at + key.size(), 1);
}

// The rows as UTF-8 lines, for a failure's message.
std::string Joined(const std::vector<std::wstring>& rows) {
  std::wstring all;
  for (const auto& r : rows) all += r + L"\n";
  std::string out(all.size() * 3, '\0');
  out.resize(static_cast<size_t>(::WideCharToMultiByte(CP_UTF8, 0, all.data(), static_cast<int>(all.size()), out.data(),
                                                       static_cast<int>(out.size()), nullptr, nullptr)));
  return out;
}

// The program over a list of tagged copies of a test song, each run beside its own configuration.
class TagTitlesE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearRunTraces();
    program_ = CopyProgramInto(appDir_);
    ASSERT_FALSE(program_.empty());
    audio_ = FileBytes(TestSong(L"tone_440.mp3"));
    ASSERT_NE(audio_, "<missing>");
  }
  void TearDown() override { ClearRunTraces(); }

  std::wstring TestSong(const std::wstring& name) {
    const std::wstring copy = CopySong(name, songs_, L"source_" + name);
    return copy;
  }
  // A copy of the tone with `before` in front of its audio and `after` behind it.
  std::wstring Tagged(const std::wstring& name, const std::string& before, const std::string& after = "") {
    const std::wstring path = songs_ / name;
    WriteBytes(path, before + audio_ + after);
    return path;
  }
  HWND Start(RunningProgram& app) {
    app = Launch(program_);
    if (!app.started()) return nullptr;
    HWND player = WaitForWindow(app.pid(), kPlayerTitle, 20000);
    if (player) list_ = ::GetDlgItem(player, kListId);
    return list_ ? player : nullptr;
  }
  bool ListShows(const std::vector<std::wstring>& rows, DWORD ms = 20000) {
    return WaitUntil([&] { return ListItems(list_) == rows; }, ms);
  }
  std::wstring Ini() const { return appDir_ / L"歌曲配置.ini"; }

  ScratchFolder appDir_{L"app"};
  ScratchFolder songs_{L"songs"};
  std::wstring program_;
  std::string audio_;
  HWND list_ = nullptr;
};

TEST_F(TagTitlesE2e, SwitchShowsTagTitlesKeepsTheSelectionAndIsRememberedAndBadTagsKeepTheFileName) {
  const std::string huge = "TIT2" + id3::BigEndian(0x7FFFFFF0, 4) + std::string(2, '\0') + "\x00Broken";
  const std::vector<std::wstring> paths = {
      Tagged(L"v1.mp3", "", id3::V1("Old Song", "Old Band")),
      Tagged(L"utf16.mp3", id3::Tag(3, 0,
                                    id3::Frame23("TIT2", id3::kUtf16Bom, id3::Utf16Bom(u"月亮代表我的心")) +
                                        id3::Frame23("TPE1", id3::kUtf16Bom, id3::Utf16Bom(u"邓丽君")))),
      Tagged(L"utf8.mp3", id3::Tag(4, 0, id3::Frame24("TIT2", id3::kUtf8, "노래 하나"))),
      Tagged(L"unsync.mp3",
             id3::Tag(3, id3::kUnsynchronised,
                      id3::Unsynchronised(id3::Frame23("TIT2", id3::kUtf16Bom, id3::Utf16Bom(u"Ünsync")) +
                                          id3::Frame23("TPE1", id3::kLatin1, "\xFF")))),
      Tagged(L"extended.mp3",
             id3::Tag(3, id3::kExtendedHeader, id3::ExtendedHeader23(16) + id3::Frame23("TIT2", id3::kLatin1, "Ext"))),
      Tagged(L"plain.mp3", ""),
      // The tag's own size is right, so players skip it; its one frame claims 2 GB.
      Tagged(L"damaged.mp3", id3::Tag(3, 0, huge)),
      songs_ / L"gone.mp3",
  };
  WriteBytes(Ini(), GbkIni(paths));
  const std::vector<std::wstring> fileNames = {L"001|v1",       L"002|utf16", L"003|utf8",    L"004|unsync",
                                               L"005|extended", L"006|plain", L"007|damaged", L"008|gone"};
  const std::vector<std::wstring> titles = {L"001|Old Song - Old Band",
                                            L"002|月亮代表我的心 - 邓丽君",
                                            L"003|노래 하나",
                                            L"004|Ünsync - ÿ",
                                            L"005|Ext",
                                            L"006|plain",
                                            L"007|damaged",
                                            L"008|gone"};
  {
    RunningProgram app;
    HWND player = Start(app);
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(WaitForListCount(list_, 8, 5000));
    EXPECT_EQ(ListItems(list_), fileNames);  // off by default
    ::SendMessageW(list_, LB_SETCURSEL, 3, 0);

    ::SendMessageW(player, WM_COMMAND, kMenuTagTitles, 0);
    EXPECT_TRUE(ListShows(titles)) << Joined(ListItems(list_));
    EXPECT_EQ(::SendMessageW(list_, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(Setting(Ini()), "1");
    EXPECT_EQ(CloseProgram(app, player), 0u);
  }
  {
    RunningProgram app;
    HWND player = Start(app);
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(ListShows(titles)) << Joined(ListItems(list_));
    ::SendMessageW(player, WM_COMMAND, kMenuTagTitles, 0);
    EXPECT_EQ(ListItems(list_), fileNames);
    EXPECT_EQ(Setting(Ini()), "0");
    EXPECT_EQ(CloseProgram(app, player), 0u);
  }
}

TEST_F(TagTitlesE2e, TheListMenuSwitchesAndClosingWhileTitlesAreReadEndsTheProgram) {
  std::vector<std::wstring> paths;
  for (int i = 0; i < 400; ++i)
    paths.push_back(Tagged(L"s" + std::to_wstring(i) + L".mp3",
                           id3::Tag(3, 0, id3::Frame23("TIT2", id3::kLatin1, "T" + std::to_string(i)))));
  WriteBytes(Ini(), GbkIni(paths));
  RunningProgram app;
  HWND player = Start(app);
  ASSERT_NE(player, nullptr);
  ASSERT_TRUE(WaitForListCount(list_, 400, 10000));

  // The third item of the list's own menu, chosen from the keyboard.
  ::SetForegroundWindow(player);
  RECT item;
  ::SendMessageW(list_, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  POINT p{item.left + 20, (item.top + item.bottom) / 2};
  ::ClientToScreen(list_, &p);
  ::SetCursorPos(p.x, p.y);
  INPUT down{}, up{};
  down.type = up.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  up.mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  ::SendInput(1, &down, sizeof(INPUT));
  // The entry under the cursor is selected on the way down, the menu opens on the way up.
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(list_, LB_GETCURSEL, 0, 0) == 0; }, 5000));
  ::SendInput(1, &up, sizeof(INPUT));
  HWND menu = WaitForWindow(app.pid(), L"", 5000, L"#32768");
  ASSERT_NE(menu, nullptr);
  for (int i = 0; i < 3; ++i) ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(WaitUntil(
      [&] {
        const auto rows = ListItems(list_);
        return !rows.empty() && rows[0] == L"001|T0";
      },
      20000));

  // Closed while the rest are read: the worker ends with the window and the process ends.
  EXPECT_EQ(CloseProgram(app, player), 0u);
  EXPECT_EQ(Setting(Ini()), "1");
}

}  // namespace
}  // namespace tovel::e2e
