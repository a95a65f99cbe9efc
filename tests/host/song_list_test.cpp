#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/song_list.h"
#include "app/song_list_rules.h"
#include "runtime/forms.h"
#include "tests/support/fake_controls.h"

namespace tovel {
namespace {

constexpr std::uint32_t W = kPlayerWindowId;

TEST(SongListRules, EntriesAreNumberedWithAtLeastThreeDigits) {
  EXPECT_EQ(NumberText(1), "001");
  EXPECT_EQ(NumberText(9), "009");
  EXPECT_EQ(NumberText(10), "010");
  EXPECT_EQ(NumberText(99), "099");
  EXPECT_EQ(NumberText(100), "100");
  EXPECT_EQ(NumberText(999), "999");
  EXPECT_EQ(NumberText(1000), "1000");
  EXPECT_EQ(ListEntryText(7, "D:\\music\\a.mp3"), "007|a");
}

TEST(SongListRules, ShownNameDropsTheLastFourCharactersOfTheFileName) {
  EXPECT_EQ(ShownName("D:\\music\\a.mp3"), "a");
  EXPECT_EQ(ShownName("x.mp3"), "x");  // no "\": the whole path is the file name
  EXPECT_EQ(ShownName("D:\\歌\\月亮代表我的心.mp3"), "月亮代表我的心");
  EXPECT_EQ(ShownName("C:\\노래\\노래.mp3"), "노래");
  EXPECT_EQ(ShownName("C:\\m\\가나다라마"), "가");  // five characters, fifteen bytes
  // Four characters or less leave nothing, however many bytes they take.
  EXPECT_EQ(ShownName("D:\\m\\.mp3"), "");
  EXPECT_EQ(ShownName("D:\\m\\abc"), "");
  EXPECT_EQ(ShownName("D:\\m\\노래노래"), "");
  EXPECT_EQ(ShownName("D:\\m\\"), "");
  EXPECT_EQ(FileNameOf("D:\\a\\b\\c.mp3"), "c.mp3");
}

TEST(SongListRules, OnlyNamesEndingInLowercaseMp3AreSongs) {
  EXPECT_TRUE(IsSongFileName("x.mp3"));
  EXPECT_TRUE(IsSongFileName("xmp3"));
  EXPECT_TRUE(IsSongFileName("노래.mp3"));
  EXPECT_FALSE(IsSongFileName("song.MP3"));
  EXPECT_FALSE(IsSongFileName("song.Mp3"));
  EXPECT_FALSE(IsSongFileName("song.mp3.txt"));
  EXPECT_FALSE(IsSongFileName("p3"));
  EXPECT_EQ(DirectoryPrefix("D:\\music"), "D:\\music\\");
  EXPECT_EQ(DirectoryPrefix("C:\\"), "C:\\");
}

TEST(SongListRules, StoredValueSplitsAtEverySeparatorSkippingEmptyParts) {
  using V = std::vector<Text>;
  EXPECT_EQ(SplitStoredList(""), V{});
  EXPECT_EQ(SplitStoredList("|||"), V{});
  EXPECT_EQ(SplitStoredList("D:\\a.mp3|D:\\b.mp3|"), (V{"D:\\a.mp3", "D:\\b.mp3"}));
  EXPECT_EQ(SplitStoredList("D:\\a.mp3||D:\\b.mp3"), (V{"D:\\a.mp3", "D:\\b.mp3"}));

  // Far beyond the old 10239-byte limit, and every path whole.
  StoredListBuilder builder;
  for (int i = 0; i < 400; ++i)
    builder.Add("D:\\一个很长的文件夹名字\\another long folder name\\", "歌曲 number " + std::to_string(i) + ".mp3");
  ASSERT_GT(builder.value().size(), 30000u);
  const V parts = SplitStoredList(builder.value());
  ASSERT_EQ(parts.size(), 400u);
  EXPECT_EQ(parts.back(), "D:\\一个很长的文件夹名字\\another long folder name\\歌曲 number 399.mp3");
}

// The platform side as plain values: one stored value, folders, files, the export file.
class FakeStorage : public SongStorage {
 public:
  Text stored;
  bool failWrites = false;
  int storedWrites = 0;
  std::optional<Text> browseResult;
  Text browseTitle;
  std::map<Text, std::vector<Text>> folders;  // by directory prefix
  int folderScans = 0;
  std::set<Text> files;
  std::optional<Text> exportFile;
  std::vector<Text> events;  // export file and marker, in order

  Text ReadStoredList() override { return stored; }
  bool WriteStoredList(const Text& value) override {
    if (failWrites) return false;
    ++storedWrites;
    stored = value;
    return true;
  }
  std::optional<Text> BrowseFolder(const Text& title) override {
    browseTitle = title;
    return browseResult;
  }
  std::vector<Text> FileNamesIn(const Text& prefix) override {
    ++folderScans;
    return folders[prefix];
  }
  bool IsFolder(const Text& path) override { return folders.count(DirectoryPrefix(path)) != 0; }
  bool FileExists(const Text& path) override { return files.count(path) != 0; }
  bool RemoveFile(const Text& path) override { return files.erase(path) != 0; }
  void DeleteExportFile() override {
    events.push_back("delete export");
    exportFile.reset();
  }
  bool WriteExportFile(const Text& text) override {
    events.push_back("write export");
    exportFile = text;
    return true;
  }
  void ReleaseHeldFiles() override { events.push_back("release"); }
};

class SongListHandlersTest : public ::testing::Test {
 protected:
  SongListHandlers handlers{ui, state, storage, [this](const Text& t) { messages.push_back(t); }};

  std::vector<Text> Shown() const { return ui.List(W, player::kList).items; }
  std::vector<Text> Songs() const { return {state.songList.begin(), state.songList.end()}; }
  void AddFolder(const Text& folder, std::vector<Text> names) {
    storage.folders[folder + "\\"] = std::move(names);
    storage.browseResult = folder;
    handlers.AddFolder();
  }
  void Load(std::initializer_list<Text> paths) {
    storage.stored.clear();
    for (const Text& p : paths) storage.stored += p + "|";
    handlers.LoadList();
  }

  testing::FakeControls ui;
  PlayerState state;
  FakeStorage storage;
  std::vector<Text> messages;
};

TEST_F(SongListHandlersTest, LoadingAppendsTheStoredSongsAndAnEmptyValueTouchesNothing) {
  storage.stored = "D:\\m\\a.mp3||D:\\m\\b.mp3|";
  handlers.LoadList();
  EXPECT_EQ(Shown(), (std::vector<Text>{"001|a", "002|b"}));
  EXPECT_EQ(Songs(), (std::vector<Text>{"D:\\m\\a.mp3", "D:\\m\\b.mp3"}));

  // Loading never empties SongList first; the caller clears the list box.
  ui.ListClear(W, player::kList);
  handlers.LoadList();
  EXPECT_EQ(Shown(), (std::vector<Text>{"001|a", "002|b", "003|a", "004|b"}));

  storage.stored = "";
  handlers.LoadList();
  EXPECT_EQ(Shown().size(), 4u);
  EXPECT_EQ(state.songList.Count(), 4);
}

TEST_F(SongListHandlersTest, AddingAFolderStoresOnlyItsLowercaseMp3Files) {
  AddFolder("D:\\m", {"song.MP3", "xmp3", "notes.txt", "x.mp3", "노래.mp3"});
  EXPECT_EQ(storage.browseTitle, "添加MP3文件夹");
  EXPECT_EQ(storage.stored, "D:\\m\\xmp3|D:\\m\\x.mp3|D:\\m\\노래.mp3|");
  EXPECT_EQ(Shown(), (std::vector<Text>{"001|", "002|x", "003|노래"}));
}

TEST_F(SongListHandlersTest, AddingAFolderFillsTheListBoxInOneBatch) {
  std::vector<Text> names;
  for (int i = 0; i < 500; ++i) names.push_back("song " + std::to_string(i) + ".mp3");
  AddFolder("D:\\m", names);
  EXPECT_EQ(Shown().size(), 500u);
  // The folder's names, cleared again, then the numbered list: two batches, no entry by entry.
  EXPECT_EQ(ui.Redraws(W, player::kList), 2);
}

TEST_F(SongListHandlersTest, SameFolderTwiceIsShownTwiceButStoredOnce) {
  AddFolder("D:\\m", {"a.mp3", "b.mp3"});
  AddFolder("D:\\m", {"a.mp3", "b.mp3"});
  EXPECT_EQ(Shown(), (std::vector<Text>{"001|a", "002|b", "003|a", "004|b"}));
  EXPECT_EQ(storage.stored, "D:\\m\\a.mp3|D:\\m\\b.mp3|");
}

TEST_F(SongListHandlersTest, AfterFolderAThenFolderBARestartShowsOnlyB) {
  AddFolder("D:\\A", {"a1.mp3", "a2.mp3"});
  AddFolder("E:\\B", {"b1.mp3"});
  EXPECT_EQ(Shown(), (std::vector<Text>{"001|a1", "002|a2", "003|b1"}));

  testing::FakeControls restartedUi;
  PlayerState restarted;
  SongListHandlers again(restartedUi, restarted, storage, [](const Text&) {});
  again.LoadList();
  EXPECT_EQ(restartedUi.List(W, player::kList).items, (std::vector<Text>{"001|b1"}));
}

TEST_F(SongListHandlersTest, CancellingTheBrowserChangesNothing) {
  Load({"D:\\m\\a.mp3"});
  storage.browseResult.reset();
  handlers.AddFolder();
  EXPECT_EQ(storage.folderScans, 0);
  EXPECT_EQ(storage.storedWrites, 0);
  EXPECT_EQ(storage.stored, "D:\\m\\a.mp3|");
  EXPECT_EQ(Shown(), (std::vector<Text>{"001|a"}));
  EXPECT_EQ(state.songList.Count(), 1);
}

TEST_F(SongListHandlersTest, FolderWithoutSongsEmptiesTheStoredValueButKeepsTheListShown) {
  Load({"D:\\m\\a.mp3"});
  AddFolder("D:\\empty", {"readme.txt"});
  EXPECT_EQ(storage.storedWrites, 1);
  EXPECT_EQ(storage.stored, "");
  EXPECT_EQ(Shown(), (std::vector<Text>{"001|a"}));  // list box still matches SongList
}

TEST_F(SongListHandlersTest, UnwritableConfigurationStillShowsTheFolderForThisRun) {
  storage.stored = "D:\\old\\o.mp3|";
  storage.failWrites = true;
  AddFolder("D:\\new", {"n.mp3"});
  EXPECT_EQ(storage.stored, "D:\\old\\o.mp3|");
  EXPECT_EQ(Shown(), (std::vector<Text>{"001|n"}));
}

TEST_F(SongListHandlersTest, ClearingResetsListAndSeekControlsButNotTheStoredList) {
  Load({"D:\\m\\a.mp3", "D:\\m\\b.mp3"});
  ui.SetRange(W, player::kSeekSlider, 0, 100);
  ui.SetInt(W, player::kSeekSlider, Prop::SliderPosition, 40);
  ui.SetInt(W, player::kSeekSlider, Prop::Disabled, 0);
  ui.SetInt(W, player::kTick, Prop::TypeSpecific, 1000);
  ui.SetText(W, player::kElapsedLabel, Prop::TypeSpecific, "01:23");
  state.statusWord = StatusWord::Playing;
  state.playState = PlayState::Playing;
  storage.exportFile = "old";

  handlers.ClearList();
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(state.songList.Count(), 0);
  EXPECT_EQ(ui.GetInt(W, player::kTick, Prop::TypeSpecific), 0);
  EXPECT_EQ(ui.GetText(W, player::kElapsedLabel, Prop::TypeSpecific), "00:00");
  EXPECT_EQ(state.statusWord, StatusWord::Cleared);
  EXPECT_EQ(state.playState, PlayState::Idle);
  EXPECT_EQ(ui.GetInt(W, player::kSeekSlider, Prop::SliderPosition), 0);
  EXPECT_EQ(ui.GetInt(W, player::kSeekSlider, Prop::Disabled), 1);
  EXPECT_FALSE(storage.exportFile.has_value());
  EXPECT_EQ(storage.storedWrites, 0);
  EXPECT_EQ(storage.stored, "D:\\m\\a.mp3|D:\\m\\b.mp3|");
  EXPECT_EQ(state.listModified, 0);
}

TEST_F(SongListHandlersTest, RemovingRenumbersAndSelectsTheEntryThatTookItsPlace) {
  Load({"D:\\a.mp3", "D:\\b.mp3", "D:\\c.mp3"});
  ui.ListSelect(W, player::kList, 1);
  handlers.RemoveEntry();
  EXPECT_EQ(Shown(), (std::vector<Text>{"001|a", "002|c"}));
  EXPECT_EQ(Songs(), (std::vector<Text>{"D:\\a.mp3", "D:\\c.mp3"}));
  EXPECT_EQ(ui.List(W, player::kList).selection, 1);
  EXPECT_EQ(ui.focus(), std::make_pair(W, player::kList));
  EXPECT_EQ(state.listModified, 1);
  EXPECT_EQ(storage.storedWrites, 0);

  // The last entry gone: the new last one is selected.
  handlers.RemoveEntry();
  EXPECT_EQ(Shown(), (std::vector<Text>{"001|a"}));
  EXPECT_EQ(ui.List(W, player::kList).selection, 0);
}

TEST_F(SongListHandlersTest, RemovingTheOnlyEntryLeavesNoSelection) {
  Load({"D:\\a.mp3"});
  ui.ListSelect(W, player::kList, 0);
  handlers.RemoveEntry();
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(ui.List(W, player::kList).selection, -1);
  EXPECT_EQ(state.songList.Count(), 0);

  // On an empty list it removes nothing and still counts as a change.
  handlers.RemoveEntry();
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(state.listModified, 1);
}

TEST_F(SongListHandlersTest, DeletingAFileOnAnEmptyListSaysItFailed) {
  handlers.DeleteSongFile();
  EXPECT_EQ(messages, std::vector<Text>{"删除失败 文件未找到"});
  EXPECT_EQ(state.listModified, 0);
}

TEST_F(SongListHandlersTest, DeletingAFileRemovesItAndItsEntry) {
  Load({"D:\\a.mp3", "D:\\b.mp3"});
  storage.files = {"D:\\a.mp3", "D:\\b.mp3"};
  ui.ListSelect(W, player::kList, 1);
  handlers.DeleteSongFile();
  EXPECT_EQ(messages, std::vector<Text>{"删除文件 成功"});
  EXPECT_EQ(storage.files, std::set<Text>{"D:\\a.mp3"});
  EXPECT_EQ(Shown(), std::vector<Text>{"001|a"});
  EXPECT_EQ(state.listModified, 1);
}

TEST_F(SongListHandlersTest, DeletingAFileThatIsGoneShowsAndChangesNothing) {
  Load({"D:\\a.mp3"});
  ui.ListSelect(W, player::kList, 0);
  handlers.DeleteSongFile();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Shown(), std::vector<Text>{"001|a"});
  EXPECT_EQ(state.listModified, 0);
}

TEST_F(SongListHandlersTest, ExitReplacesTheExportOnlyAfterARemovalAndReleasesTheMarkerFirst) {
  Load({"D:\\a.mp3", "D:\\노래.mp3", "D:\\c.mp3"});
  handlers.SaveOnExit();
  EXPECT_TRUE(storage.events.empty());

  ui.ListSelect(W, player::kList, 0);
  handlers.RemoveEntry();
  handlers.SaveOnExit();
  // Never deleted first: a failed write would leave no export at all.
  EXPECT_EQ(storage.events, (std::vector<Text>{"release", "write export"}));
  EXPECT_EQ(storage.exportFile, "D:\\노래.mp3\r\nD:\\c.mp3\r\n");
}

TEST_F(SongListHandlersTest, ExitAfterRemovingEverythingWritesAnEmptyExport) {
  Load({"D:\\a.mp3"});
  handlers.RemoveEntry();
  handlers.SaveOnExit();
  EXPECT_EQ(storage.exportFile, "");
}

}  // namespace
}  // namespace tovel
