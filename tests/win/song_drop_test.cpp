#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/song_list.h"
#include "base/text.h"
#include "runtime/controls.h"
#include "tests/e2e/song_list_support.h"

namespace tovel {
namespace {

using e2e::FileBytes;
using e2e::ScratchFolder;
using e2e::WriteBytes;
using Names = std::vector<std::wstring>;

// A drop as the shell hands it over: the header, then each wide path and its zero, then one more zero.
void Drop(HWND target, const Names& paths) {
  size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  HGLOBAL block = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(::GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto* out = reinterpret_cast<wchar_t*>(header + 1);
  for (const auto& p : paths) out = std::copy(p.begin(), p.end(), out) + 1;
  ::GlobalUnlock(block);
  ::SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);  // the receiver frees it
}

std::wstring ConfigFile() {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dir(self);
  return dir.substr(0, dir.find_last_of(L'\\')) + L"\\歌曲配置.ini";
}

// The player window with the program's own song-list handlers and its configuration file.
class SongDrop : public ::testing::Test {
 protected:
  // The handlers keep the state they were first bound with, for the life of the process.
  static PlayerState& State() {
    static PlayerState state;
    return state;
  }
  void SetUp() override {
    Runtime& rt = Runtime::Get();
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) rt.Bind(static_cast<HandlerKey>(k), {});
    BindSongListHandlers(rt, State());
    rt.Bind(HandlerKey::PlayerStartup, [&rt] { LoadStoredSongList(rt, State()); });
    ::DeleteFileW(ConfigFile().c_str());  // left behind by a test that crashed
  }
  void TearDown() override {
    Runtime::Get().CloseForm(kBoardWindowId);
    Runtime::Get().CloseForm(kPlayerWindowId);
    ::DeleteFileW(ConfigFile().c_str());
    State().songList.Clear();
  }
  void Start(const Names& stored) {
    if (!stored.empty()) WriteBytes(ConfigFile(), e2e::GbkIni(stored));
    ASSERT_NE(Runtime::Get().LoadForm(PlayerForm()), nullptr);
  }
  static HWND Player() { return Runtime::Get().WindowHandle(kPlayerWindowId); }
  static Names Shown() { return e2e::ListItems(::GetDlgItem(Player(), ChildId(player::kList))); }
  static Names Songs() {
    Names songs;
    for (const Text& s : State().songList) songs.push_back(Widen(s));
    return songs;
  }

  ScratchFolder dir_{L"drop"};
};

TEST_F(SongDrop, FilesAndAFolderAddExactlyTheirSongsInOrderAndStoreThem) {
  for (const wchar_t* name : {L"a.mp3", L"b.mp3", L"notes.txt"}) WriteBytes(dir_ / name, "x");
  ::CreateDirectoryW((dir_ / L"album").c_str(), nullptr);
  ::CreateDirectoryW((dir_ / L"album\\disc2").c_str(), nullptr);
  for (const wchar_t* name : {L"album\\c.mp3", L"album\\d.MP3", L"album\\cover.jpg", L"album\\disc2\\e.mp3"})
    WriteBytes(dir_ / name, "x");
  Start({L"D:\\old\\earlier.mp3"});

  Drop(Player(), {dir_ / L"a.mp3", dir_ / L"album", dir_ / L"notes.txt", dir_ / L"b.mp3"});
  // As after "添加": appended and renumbered; the file names the songs of this drop only.
  EXPECT_EQ(Shown(), (Names{L"001|earlier", L"002|a", L"003|c", L"004|b"}));
  const Names added{dir_ / L"a.mp3", dir_ / L"album\\c.mp3", dir_ / L"b.mp3"};
  EXPECT_EQ(Songs(), (Names{L"D:\\old\\earlier.mp3", added[0], added[1], added[2]}));
  EXPECT_EQ(FileBytes(ConfigFile()), e2e::GbkIni(added));
}

TEST_F(SongDrop, DropWithoutSongsOrOntoTheSoundBoardChangesNothing) {
  for (const wchar_t* name : {L"notes.txt", L"loud.MP3", L"a.mp3"}) WriteBytes(dir_ / name, "x");
  ::CreateDirectoryW((dir_ / L"empty").c_str(), nullptr);
  ::CreateDirectoryW((dir_ / L"deep").c_str(), nullptr);
  ::CreateDirectoryW((dir_ / L"deep\\inner").c_str(), nullptr);
  WriteBytes(dir_ / L"deep\\inner\\hidden.mp3", "x");
  Start({L"D:\\old\\earlier.mp3"});
  const std::string before = FileBytes(ConfigFile());

  Drop(Player(), {dir_ / L"notes.txt", dir_ / L"loud.MP3", dir_ / L"empty", dir_ / L"deep", dir_ / L"gone.mp3"});
  EXPECT_EQ(Shown(), Names{L"001|earlier"});
  EXPECT_EQ(FileBytes(ConfigFile()), before);

  // The sound board takes drops for its pads only: a song dropped there joins no list.
  HWND board = Runtime::Get().LoadForm(SoundBoardForm());
  ASSERT_NE(board, nullptr);
  EXPECT_TRUE(::GetWindowLongW(Player(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  Drop(board, {dir_ / L"a.mp3"});
  EXPECT_EQ(Shown(), Names{L"001|earlier"});
  EXPECT_EQ(FileBytes(ConfigFile()), before);
}

TEST_F(SongDrop, PathsInAnyScriptAndOfAnyLengthAreStoredWhole) {
  ::CreateDirectoryW((dir_ / L"노래").c_str(), nullptr);
  WriteBytes(dir_ / L"노래\\아리랑.mp3", "x");
  // Past MAX_PATH the folders can only be made in the "\\?\" form.
  std::wstring deep = dir_.path();
  while (deep.size() < 300) {
    deep += L"\\" + std::wstring(40, L'd');
    ::CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr);
  }
  WriteBytes(L"\\\\?\\" + deep + L"\\long.mp3", "x");
  Start({});

  Drop(Player(), {dir_ / L"노래", deep});
  EXPECT_EQ(Shown(), (Names{L"001|아리랑", L"002|long"}));
  // Hangul has no GBK form: the file turns UTF-16 with its byte-order mark.
  const std::wstring text = L"\xFEFF[歌曲信息]\r\n歌曲列表=" + dir_ / L"노래\\아리랑.mp3" + L"|" + deep + L"\\long.mp3|\r\n";
  EXPECT_EQ(FileBytes(ConfigFile()), std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
}

}  // namespace
}  // namespace tovel
