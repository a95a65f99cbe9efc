#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/song_list_win.h"
#include "base/text.h"
#include "runtime/controls.h"
#include "tests/e2e/song_list_support.h"
#include "tests/support/fake_controls.h"

namespace tovel {
namespace {

using e2e::FileBytes;
using e2e::ScratchFolder;
using e2e::WriteBytes;

constexpr std::uint32_t W = kPlayerWindowId;

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The song-list handlers on the program's own file side, with the export in a folder of the test.
class SongStorageWin : public ::testing::Test {
 protected:
  void Load(const std::vector<std::wstring>& paths) {
    for (const auto& p : paths) {
      state_.songList.Append(Narrow(p));
      ui_.ListAdd(W, player::kList, Narrow(p));
    }
  }

  ScratchFolder dir_{L"storage"};
  const std::wstring export_ = dir_ / L"ge.dll";
  std::unique_ptr<SongStorage> storage_ = MakeWinSongStorage(Runtime::Get(), export_);
  testing::FakeControls ui_;
  PlayerState state_;
  std::vector<Text> told_;
  SongListHandlers handlers_{ui_, state_, *storage_, [this](const Text& t) { told_.push_back(t); }};
};

TEST_F(SongStorageWin, ExitKeepsTheOldExportWhenTheNewOneCannotBeWrittenAndOtherwiseReplacesItWhole) {
  const std::string old = "D:\\old\\first.mp3\r\nD:\\old\\second song with a long name.mp3\r\n";
  WriteBytes(export_, old);
  // A folder where the new file is made first: the new export cannot be written.
  const std::wstring blocker = export_ + L".tovel-new";
  ASSERT_TRUE(::CreateDirectoryW(blocker.c_str(), nullptr));
  Load({L"D:\\音乐\\a.mp3", L"D:\\b.mp3", L"D:\\c.mp3"});
  ui_.ListSelect(W, player::kList, 2);
  handlers_.RemoveEntry();
  handlers_.SaveOnExit();
  EXPECT_EQ(FileBytes(export_), old);

  ASSERT_TRUE(::RemoveDirectoryW(blocker.c_str()));
  PlayerState next;
  next.songList.Append("D:\\音乐\\a.mp3");
  next.listModified = 1;
  SongListHandlers(ui_, next, *storage_, [](const Text&) {}).SaveOnExit();
  EXPECT_EQ(FileBytes(export_), e2e::Gbk(L"D:\\音乐\\a.mp3\r\n"));
  EXPECT_FALSE(Exists(blocker)) << "no new file is left beside it";
}

TEST_F(SongStorageWin, DeletingASongPastMaxPathRemovesItsFileAndEntry) {
  // Past MAX_PATH the folders can only be made in the "\\?\" form. Wine takes plain paths
  // that long, which Windows refuses; a folder name that ends in a dot, which the plain
  // form drops, tells the two forms apart here too.
  std::wstring deep = dir_.path();
  while (deep.size() < 300) {
    deep += L"\\" + std::wstring(40, L'd');
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
  }
  deep += L"\\album.";
  ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
  const std::wstring song = deep + L"\\long.mp3";
  WriteBytes(L"\\\\?\\" + song, "x");
  ASSERT_TRUE(Exists(L"\\\\?\\" + song));
  Load({dir_ / L"a.mp3", song});
  ui_.ListSelect(W, player::kList, 1);

  handlers_.DeleteSongFile();
  EXPECT_EQ(told_, std::vector<Text>{kDeleteDoneText});
  EXPECT_FALSE(Exists(L"\\\\?\\" + song));
  EXPECT_EQ(ui_.List(W, player::kList).items, std::vector<Text>{"001|a"});
}

}  // namespace
}  // namespace tovel
