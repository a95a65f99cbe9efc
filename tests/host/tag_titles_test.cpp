#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "app/song_list.h"
#include "app/song_list_rules.h"
#include "app/song_titles.h"
#include "app/title_worker.h"
#include "runtime/forms.h"
#include "tests/support/fake_controls.h"

namespace tovel {
namespace {

using namespace std::chrono_literals;
constexpr std::uint32_t W = kPlayerWindowId;

TEST(TagTitleText, TitleThenArtistCleanedAndBlankTitlesGiveNothing) {
  EXPECT_EQ(TagTitleText({"月亮代表我的心", "邓丽君"}), "月亮代表我的心 - 邓丽君");
  EXPECT_EQ(TagTitleText({"Title", ""}), "Title");
  EXPECT_EQ(TagTitleText({"  Title \r\n", " \t"}), "Title");
  EXPECT_EQ(TagTitleText({"", "Artist"}), std::nullopt);
  EXPECT_EQ(TagTitleText({" \r\n\t", "Artist"}), std::nullopt);
  // A zero or a line break inside would end or break the row.
  EXPECT_EQ(TagTitleText({Text("A\0B", 3), "x\ny"}), "A B - x y");
  // Cut by characters, never inside one.
  Text longTitle;
  for (size_t i = 0; i < kMaxTitleChars + 5; ++i) longTitle += "歌";
  const auto cut = TagTitleText({longTitle, ""});
  ASSERT_TRUE(cut);
  EXPECT_EQ(*cut, longTitle.substr(0, kMaxTitleChars * 3));
}

TEST(ShownSongName, TagTitleOnlyWhenSwitchedOnAndTheTagGaveOne) {
  SongTitles titles;
  titles.Remember("D:\\m\\a.mp3", Text("Song - Singer"));
  titles.Remember("D:\\m\\b.mp3", std::nullopt);  // read, no usable title
  EXPECT_EQ(ShownSongName("D:\\m\\a.mp3", titles), "a");
  titles.shown = ShownNames::TagTitle;
  EXPECT_EQ(ShownSongName("D:\\m\\a.mp3", titles), "Song - Singer");
  EXPECT_EQ(ShownSongName("D:\\m\\b.mp3", titles), "b");
  EXPECT_EQ(ShownSongName("D:\\m\\c.mp3", titles), "c");  // not read yet
  EXPECT_EQ(ListEntryText(12, "D:\\m\\a.mp3", titles), "012|Song - Singer");
}

class NoStorage : public SongStorage {
 public:
  Text stored;
  Text ReadStoredList() override { return stored; }
  bool WriteStoredList(const Text&) override { return true; }
  std::optional<Text> BrowseFolder(const Text&) override { return std::nullopt; }
  std::vector<Text> FileNamesIn(const Text&) override { return {}; }
  bool IsFolder(const Text&) override { return false; }
  bool FileExists(const Text&) override { return true; }
  bool RemoveFile(const Text&) override { return true; }
  void DeleteExportFile() override {}
  bool WriteExportFile(const Text&) override { return true; }
  void ReleaseHeldFiles() override {}
};

class TitleRequests : public ::testing::Test {
 protected:
  void SetUp() override {
    handlers.SetTitleRequests([this](std::vector<TitleJob> jobs) { requests.push_back(std::move(jobs)); });
  }
  void Load(const Text& value) {
    storage.stored = value;
    handlers.LoadList();
  }
  std::vector<Text> Shown() const { return ui.List(W, player::kList).items; }
  static std::vector<Text> Paths(const std::vector<TitleJob>& jobs) {
    std::vector<Text> paths;
    for (const TitleJob& j : jobs) paths.push_back(std::to_string(j.index) + ":" + j.path);
    return paths;
  }
  static TitleResult Read(int index, const Text& path, const Text& title, const Text& artist = "") {
    return TitleResult{index, path, SongTags{title, artist}};
  }

  testing::FakeControls ui;
  PlayerState state;
  NoStorage storage;
  SongListHandlers handlers{ui, state, storage, [](const Text&) {}};
  std::vector<std::vector<TitleJob>> requests;
};

TEST_F(TitleRequests, NothingIsReadWhileFileNamesShowAndSwitchingOnAsksForEverySongInOrder) {
  Load("D:\\a.mp3|D:\\b.mp3|");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].empty());

  EXPECT_TRUE(handlers.ShowNames(ShownNames::TagTitle).empty());  // nothing read yet: no row changes
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(Paths(requests[1]), (std::vector<Text>{"0:D:\\a.mp3", "1:D:\\b.mp3"}));

  const auto rows = handlers.TitlesRead({Read(0, "D:\\a.mp3", "Alpha", "Ann"), {1, "D:\\b.mp3", std::nullopt}});
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].row, 0);
  EXPECT_EQ(rows[0].text, "001|Alpha - Ann");

  // Off: back to file names; on again: shown from what was read, nothing asked twice.
  const auto off = handlers.ShowNames(ShownNames::FileName);
  ASSERT_EQ(off.size(), 1u);
  EXPECT_EQ(off[0].text, "001|a");
  EXPECT_TRUE(requests.back().empty());
  const auto on = handlers.ShowNames(ShownNames::TagTitle);
  ASSERT_EQ(on.size(), 1u);
  EXPECT_EQ(on[0].text, "001|Alpha - Ann");
  EXPECT_TRUE(requests.back().empty());
}

TEST_F(TitleRequests, ResultsForRowsThatMovedChangeNoRowAndTheNewRequestNamesTheNewPositions) {
  state.titles.shown = ShownNames::TagTitle;
  Load("D:\\a.mp3|D:\\b.mp3|D:\\c.mp3|");
  ASSERT_EQ(Paths(requests.back()), (std::vector<Text>{"0:D:\\a.mp3", "1:D:\\b.mp3", "2:D:\\c.mp3"}));
  ui.ListSelect(W, player::kList, 0);
  handlers.RemoveEntry();  // a goes; b and c move up
  EXPECT_EQ(Paths(requests.back()), (std::vector<Text>{"0:D:\\b.mp3", "1:D:\\c.mp3"}));

  // Read for the old positions: remembered by path, but row 1 now holds c.
  EXPECT_TRUE(handlers.TitlesRead({Read(1, "D:\\b.mp3", "Beta")}).empty());
  const auto rows = handlers.TitlesRead({Read(1, "D:\\c.mp3", "Gamma"), Read(7, "D:\\x.mp3", "X")});
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].row, 1);
  EXPECT_EQ(rows[0].text, "002|Gamma");

  // A reload shows what is known at once and asks only for the rest.
  ui.ListClear(W, player::kList);
  handlers.RefreshListBox();
  EXPECT_EQ(Shown(), (std::vector<Text>{"001|Beta", "002|Gamma"}));
  EXPECT_TRUE(requests.back().empty());

  handlers.ClearList();
  EXPECT_TRUE(requests.back().empty());
}

// A reader the test lets go song by song.
class GatedReader {
 public:
  std::optional<SongTags> Read(const Text& path) {
    std::unique_lock lock(m_);
    started_.push_back(path);
    changed_.notify_all();
    changed_.wait(lock, [&] { return open_ > 0; });
    --open_;
    return SongTags{"T " + path, ""};
  }
  void Let(int n) {
    std::lock_guard lock(m_);
    open_ += n;
    changed_.notify_all();
  }
  bool WaitStarted(size_t n) {
    std::unique_lock lock(m_);
    return changed_.wait_for(lock, 5s, [&] { return started_.size() >= n; });
  }
  std::vector<Text> started() {
    std::lock_guard lock(m_);
    return started_;
  }

 private:
  std::mutex m_;
  std::condition_variable changed_;
  std::vector<Text> started_;
  int open_ = 0;
};

class Waits {
 public:
  void Note() {
    std::lock_guard lock(m_);
    ++count_;
    changed_.notify_all();
  }
  bool WaitFor(int n) {
    std::unique_lock lock(m_);
    return changed_.wait_for(lock, 5s, [&] { return count_ >= n; });
  }
  int count() {
    std::lock_guard lock(m_);
    return count_;
  }

 private:
  std::mutex m_;
  std::condition_variable changed_;
  int count_ = 0;
};

std::vector<Text> ResultPaths(const std::vector<TitleResult>& results) {
  std::vector<Text> out;
  for (const auto& r : results) out.push_back(std::to_string(r.index) + ":" + (r.tags ? r.tags->title : "-"));
  return out;
}

TEST(TitleWorker, ReadsInOrderAndANewRequestDropsWhatTheOldOneRead) {
  GatedReader reader;
  Waits waits;
  TitleWorker worker([&](const Text& p) { return reader.Read(p); }, [&] { waits.Note(); });
  worker.Request({{0, "a"}, {1, "b"}, {2, "c"}});
  reader.Let(2);
  ASSERT_TRUE(reader.WaitStarted(3));  // a and b done, c being read
  ASSERT_TRUE(waits.WaitFor(1));
  EXPECT_EQ(ResultPaths(worker.TakeResults()), (std::vector<Text>{"0:T a", "1:T b"}));
  EXPECT_EQ(waits.count(), 1);  // one message for the batch, not one per song

  // c finishes after the new request: stale, never handed out.
  worker.Request({{0, "d"}});
  reader.Let(2);
  ASSERT_TRUE(reader.WaitStarted(4));
  ASSERT_TRUE(waits.WaitFor(2));
  EXPECT_EQ(ResultPaths(worker.TakeResults()), (std::vector<Text>{"0:T d"}));
  EXPECT_EQ(reader.started(), (std::vector<Text>{"a", "b", "c", "d"}));
}

TEST(TitleWorker, StopEndsTheThreadAfterTheSongBeingReadAndLaterRequestsAreRefused) {
  GatedReader reader;
  Waits waits;
  TitleWorker worker([&](const Text& p) { return reader.Read(p); }, [&] { waits.Note(); });
  worker.Request({{0, "a"}, {1, "b"}});
  ASSERT_TRUE(reader.WaitStarted(1));
  reader.Let(2);  // a finishes, and b too if the thread gets to it before Stop
  worker.Stop();  // returns only when the thread has ended
  const size_t started = reader.started().size();
  EXPECT_LE(started, 2u);
  EXPECT_TRUE(worker.TakeResults().empty());
  worker.Request({{0, "c"}});
  EXPECT_TRUE(worker.TakeResults().empty());
  EXPECT_EQ(reader.started().size(), started);
}

}  // namespace
}  // namespace tovel
