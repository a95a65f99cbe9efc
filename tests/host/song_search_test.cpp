#include <gtest/gtest.h>

#include <vector>

#include "app/list_rows.h"
#include "app/playback.h"
#include "app/song_list.h"
#include "app/song_search.h"
#include "runtime/forms.h"
#include "tests/support/fake_controls.h"

namespace tovel {
namespace {

constexpr std::uint32_t W = kPlayerWindowId;

TEST(ListRows, WholeListMapsEachRowToItsSongAndASearchKeepsTheSongsOwnPlaces) {
  const ListRows whole;
  EXPECT_FALSE(whole.filtered());
  EXPECT_EQ(whole.Count(3), 3);
  EXPECT_EQ(whole.SongAt(2, 3), 2);
  EXPECT_EQ(whole.SongAt(3, 3), -1);
  EXPECT_EQ(whole.SongAt(-1, 3), -1);
  EXPECT_EQ(whole.RowOf(1, 3), 1);

  const ListRows found({1, 4, 6});
  EXPECT_TRUE(found.filtered());
  EXPECT_EQ(found.Count(7), 3);
  EXPECT_EQ(found.SongAt(0, 7), 1);
  EXPECT_EQ(found.SongAt(2, 7), 6);
  EXPECT_EQ(found.SongAt(3, 7), -1);
  EXPECT_EQ(found.RowOf(4, 7), 1);
  EXPECT_EQ(found.RowOf(5, 7), -1) << "a song the search hides has no row";
  // Songs gone from the list since the rows were made are no rows any more.
  EXPECT_EQ(found.Count(5), 2);
  EXPECT_EQ(found.SongAt(2, 5), -1);
  EXPECT_EQ(found.RowOf(6, 5), -1);
}

Array<Text> Songs(std::initializer_list<const char*> paths) {
  Array<Text> songs;
  for (const char* p : paths) songs.Append(p);
  return songs;
}

std::vector<int> Shown(const ListRows& rows, int count) {
  std::vector<int> songs;
  for (int row = 0; row < rows.Count(count); ++row) songs.push_back(rows.SongAt(row, count));
  return songs;
}

TEST(SongMatching, ShownNamesMatchInAnyScriptAndLatinLettersWithoutCase) {
  const Array<Text> songs = Songs({"D:\\歌\\晴天 周杰伦.mp3", "D:\\m\\Yesterday.mp3", "D:\\m\\YELLOW SUBMARINE.mp3",
                                   "D:\\m\\노래.mp3", "D:\\晴\\other.mp3", "D:\\m\\Mix 晴天 remix.mp3"});
  EXPECT_EQ(Shown(RowsMatching(songs, "晴天"), 6), (std::vector<int>{0, 5}));
  EXPECT_EQ(Shown(RowsMatching(songs, "yel"), 6), (std::vector<int>{2})) << "Yesterday has no 'yel'";
  EXPECT_EQ(Shown(RowsMatching(songs, "YE"), 6), (std::vector<int>{1, 2}));
  EXPECT_EQ(Shown(RowsMatching(songs, "노"), 6), (std::vector<int>{3}));
  EXPECT_EQ(Shown(RowsMatching(songs, ""), 6), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  // Only the shown name counts: not the folder, the extension or the number.
  EXPECT_TRUE(Shown(RowsMatching(songs, "晴\\"), 6).empty());
  EXPECT_TRUE(Shown(RowsMatching(songs, "mp3"), 6).empty());
  EXPECT_TRUE(Shown(RowsMatching(songs, "001"), 6).empty());
}

// A device that plays whatever it is given.
class Device : public MediaDevice {
 public:
  bool Open(const Text& path) override {
    opened.push_back(path);
    return true;
  }
  bool Play(int) override {
    mode = MediaMode::Playing;
    return true;
  }
  MediaMode StatusMode() override { return mode; }
  int LengthMs() override { return 60000; }
  int LengthSeconds() override { return 60; }
  bool PauseResume() override { return true; }
  bool Stop() override { return true; }
  bool SetVolume(std::optional<int>, std::optional<int>) override { return true; }
  std::vector<Text> opened;
  MediaMode mode = MediaMode::Other;
};

class SongSearchTest : public ::testing::Test {
 protected:
  SongSearchTest() {
    ui.SetInt(W, player::kList, Prop::Top, 105);
    ui.SetInt(W, player::kList, Prop::Height, 223);
    ui.SetInt(W, player::kSearchField, Prop::Top, 105);
    ui.SetInt(W, player::kSearchField, Prop::Height, 22);
    for (const char* p : {"D:\\a\\apple.mp3", "D:\\a\\Banana.mp3", "D:\\a\\cherry.mp3", "D:\\a\\banana split.mp3",
                          "D:\\a\\date.mp3"})
      state.songList.Append(p);
    ShowSongRows(ui, state);
  }
  std::vector<Text> Rows() const { return ui.List(W, player::kList).items; }
  void Type(const Text& text) {
    ui.SetText(W, player::kSearchField, Prop::TypeSpecific, text);
    search.TextChanged();
  }
  Text Playing() const { return device.opened.empty() ? Text() : device.opened.back(); }

  testing::FakeControls ui;
  Device device;
  PlayerState state;
  Playback playback{ui, device, state};
  SongSearch search{ui, state, playback};
};

TEST_F(SongSearchTest, TypingShowsTheMatchesWithTheirOwnNumbersAndEnterPlaysTheFirst) {
  search.Open();
  EXPECT_EQ(ui.GetInt(W, player::kSearchField, Prop::Visible), 1);
  EXPECT_EQ(ui.focus(), std::make_pair(W, player::kSearchField));
  EXPECT_EQ(ui.GetInt(W, player::kList, Prop::Top), 127) << "the list makes room below the field";
  EXPECT_EQ(ui.GetInt(W, player::kList, Prop::Height), 201) << "and keeps its bottom";
  EXPECT_EQ(Rows().size(), 5u);

  Type("BAN");
  EXPECT_EQ(Rows(), (std::vector<Text>{"002|Banana", "004|banana split"}));
  EXPECT_EQ(ui.List(W, player::kList).selection, -1) << "nothing chosen yet";
  search.PlayChosen();
  EXPECT_EQ(Playing(), "D:\\a\\Banana.mp3");

  Type("zzz");
  EXPECT_TRUE(Rows().empty());
  search.PlayChosen();
  EXPECT_EQ(device.opened.size(), 1u) << "no match, nothing to play";
}

TEST_F(SongSearchTest, ClickingARowPlaysItsSongAndStepsGoThroughTheWholeList) {
  search.Open();
  Type("an");  // Banana, banana split
  ui.ListSelect(W, player::kList, 1);
  playback.PlaySelectedOnDoubleClick();
  EXPECT_EQ(Playing(), "D:\\a\\banana split.mp3") << "the row's song, not the song at the row's index";

  playback.Next();
  EXPECT_EQ(Playing(), "D:\\a\\date.mp3") << "next is the next of the whole list";
  EXPECT_EQ(ui.List(W, player::kList).selection, -1) << "no row shows it";
  playback.Next();
  EXPECT_EQ(Playing(), "D:\\a\\apple.mp3");
  playback.Previous();
  EXPECT_EQ(Playing(), "D:\\a\\date.mp3");

  // Esc: the whole list, with the song playing selected.
  search.Close();
  EXPECT_EQ(ui.GetInt(W, player::kSearchField, Prop::Visible), 0);
  EXPECT_EQ(ui.GetInt(W, player::kList, Prop::Top), 105);
  EXPECT_EQ(ui.GetInt(W, player::kList, Prop::Height), 223);
  EXPECT_EQ(Rows().size(), 5u);
  EXPECT_EQ(Rows()[4], "005|date");
  EXPECT_EQ(ui.List(W, player::kList).selection, 4);
  EXPECT_EQ(ui.focus(), std::make_pair(W, player::kList));
  playback.Next();
  EXPECT_EQ(Playing(), "D:\\a\\apple.mp3");
}

TEST_F(SongSearchTest, EscKeepsTheSongChosenInTheSearchOrElseTheOneSelectedBefore) {
  ui.ListSelect(W, player::kList, 2);  // cherry
  search.Open();
  Type("a");
  search.Close();
  EXPECT_EQ(ui.List(W, player::kList).selection, 2) << "none chosen in the search: the one before";

  search.Open();
  Type("date");
  search.MoveChoice(+1);
  search.Close();
  EXPECT_EQ(ui.List(W, player::kList).selection, 4);
  EXPECT_TRUE(device.opened.empty()) << "choosing is not playing";
}

TEST_F(SongSearchTest, RemovingAFoundRowRemovesItsSongAndTheOthersKeepTheirNumbers) {
  struct NoStorage : SongStorage {
    Text ReadStoredList() override { return {}; }
    bool WriteStoredList(const Text&) override { return false; }
    std::optional<Text> BrowseFolder(const Text&) override { return {}; }
    std::vector<Text> FileNamesIn(const Text&) override { return {}; }
    bool IsFolder(const Text&) override { return false; }
    bool FileExists(const Text&) override { return false; }
    bool RemoveFile(const Text&) override { return false; }
    void DeleteExportFile() override {}
    bool WriteExportFile(const Text&) override { return false; }
    void ReleaseHeldFiles() override {}
  } storage;
  SongListHandlers list(ui, state, storage, [](const Text&) {});
  search.Open();
  Type("an");
  ui.ListSelect(W, player::kList, 1);
  list.RemoveEntry();
  EXPECT_EQ(state.songList.Count(), 4);
  EXPECT_EQ(state.songList.At(2), "D:\\a\\Banana.mp3") << "the row's song went, not the second song";
  EXPECT_EQ(Rows(), (std::vector<Text>{"002|Banana"}));
  EXPECT_EQ(ui.List(W, player::kList).selection, 0) << "the last row went: the one before it is selected";
  search.Close();
  EXPECT_EQ(Rows(), (std::vector<Text>{"001|apple", "002|Banana", "003|cherry", "004|date"}));
}

}  // namespace
}  // namespace tovel
