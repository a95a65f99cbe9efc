#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/play_order.h"
#include "app/resume_state.h"

namespace tovel {
namespace {

std::vector<Text> Songs(int n) {
  std::vector<Text> songs;
  for (int i = 0; i < n; ++i) songs.push_back("D:\\song" + std::to_string(i) + ".mp3");
  return songs;
}

PlayOrderModel Shuffled(const std::vector<Text>& songs, std::uint32_t seed = 7) {
  PlayOrderModel m(seed);
  m.SetMode(PlayOrder::Shuffle);
  m.Sync(songs);
  return m;
}

// `n` songs on from `current`, as songs ending would bring them.
std::vector<int> Play(PlayOrderModel& m, int& current, int n) {
  std::vector<int> played;
  for (int i = 0; i < n; ++i) {
    current = *m.Next(current, Advance::SongEnded);
    played.push_back(current);
  }
  return played;
}

TEST(PlayOrderModel, ShufflePlaysEverySongOnceBeforeAnyRepeats) {
  for (std::uint32_t seed : {1u, 2u, 3u, 99u}) {
    PlayOrderModel m = Shuffled(Songs(20), seed);
    int current = -1;
    const std::vector<int> first = Play(m, current, 20);
    EXPECT_EQ(std::set<int>(first.begin(), first.end()).size(), 20u) << "seed " << seed;
    const std::vector<int> second = Play(m, current, 20);
    EXPECT_EQ(std::set<int>(second.begin(), second.end()).size(), 20u) << "a new cycle, every song again";
    EXPECT_NE(second.front(), first.back()) << "a new cycle does not start with the song just heard";
    EXPECT_NE(first, second) << "each cycle is shuffled anew";
  }
  // Not simply the list's order.
  PlayOrderModel m = Shuffled(Songs(20));
  int current = -1;
  std::vector<int> inOrder(20);
  for (int i = 0; i < 20; ++i) inOrder[static_cast<size_t>(i)] = i;
  EXPECT_NE(Play(m, current, 20), inOrder);
}

TEST(PlayOrderModel, ShufflePreviousRetracesTheSongsPlayedAndNextReturns) {
  PlayOrderModel m = Shuffled(Songs(10));
  int current = -1;
  const std::vector<int> played = Play(m, current, 5);
  for (int back = 3; back >= 0; --back) {
    current = *m.Previous(current);
    EXPECT_EQ(current, played[static_cast<size_t>(back)]);
  }
  EXPECT_EQ(*m.Previous(current), current) << "before the first song played, the same song again";
  for (int forward = 1; forward < 5; ++forward) {
    current = *m.Next(current, Advance::UserStep);
    EXPECT_EQ(current, played[static_cast<size_t>(forward)]) << "next goes forward through the history";
  }
  current = *m.Next(current, Advance::UserStep);
  EXPECT_EQ(std::count(played.begin(), played.end(), current), 0) << "then on to a song not yet played";
}

TEST(PlayOrderModel, ShuffleCountsASongStartedByHandAndStepsBackToIt) {
  PlayOrderModel m = Shuffled(Songs(8));
  m.Played(3);  // a double-click
  int current = 3;
  const std::vector<int> rest = Play(m, current, 7);
  EXPECT_EQ(std::count(rest.begin(), rest.end(), 3), 0);
  EXPECT_EQ(std::set<int>(rest.begin(), rest.end()).size(), 7u);
  for (int i = 0; i < 7; ++i) current = *m.Previous(current);
  EXPECT_EQ(current, 3);
}

TEST(PlayOrderModel, ShuffleKeepsItsOrderWhenSongsAreAddedOrRemoved) {
  std::vector<Text> songs = Songs(10);
  PlayOrderModel m = Shuffled(songs);
  int current = -1;
  Play(m, current, 3);
  // What would follow, seen on a copy.
  PlayOrderModel look = m;
  int lookCurrent = current;
  std::vector<Text> ahead;
  for (int i : Play(look, lookCurrent, 7)) ahead.push_back(songs[static_cast<size_t>(i)]);

  // One not yet played goes, and one played before it.
  const Text gone = ahead[2];
  songs.erase(std::find(songs.begin(), songs.end(), gone));
  songs.erase(songs.begin() + (current == 0 ? 1 : 0));
  ahead.erase(ahead.begin() + 2);
  // Two new ones join.
  songs.insert(songs.begin() + 4, "D:\\new1.mp3");
  songs.push_back("D:\\new2.mp3");
  m.Sync(songs);

  std::vector<Text> heard;
  for (int i : Play(m, current, 8)) heard.push_back(songs[static_cast<size_t>(i)]);
  std::vector<Text> old;
  std::copy_if(heard.begin(), heard.end(), std::back_inserter(old),
               [](const Text& s) { return s.find("new") == Text::npos; });
  EXPECT_EQ(old, ahead) << "the rest keep their order; the removed one drops out";
  EXPECT_EQ(std::count(heard.begin(), heard.end(), "D:\\new1.mp3"), 1) << "added songs come in this cycle";
  EXPECT_EQ(std::count(heard.begin(), heard.end(), "D:\\new2.mp3"), 1);
}

TEST(PlayOrderModel, RepeatOneRepeatsAtTheEndButStepsOnRequest) {
  PlayOrderModel m;
  m.Sync(Songs(3));
  m.SetMode(PlayOrder::RepeatOne);
  EXPECT_EQ(m.Next(2, Advance::SongEnded), 2);
  EXPECT_EQ(m.Next(1, Advance::SongEnded), 1);
  EXPECT_EQ(m.Next(2, Advance::UserStep), 0);
  EXPECT_EQ(m.Previous(0), 2);

  m.SetMode(PlayOrder::RepeatList);
  EXPECT_EQ(m.Next(2, Advance::SongEnded), 0) << "after the last comes the first";
  EXPECT_EQ(m.Previous(0), 2) << "before the first, the last";
  EXPECT_EQ(m.Next(0, Advance::SongEnded), 1);

  m.SetMode(PlayOrder::InOrder);
  EXPECT_EQ(m.Next(0, Advance::SongEnded), 1);
  EXPECT_EQ(m.Next(2, Advance::SongEnded), std::nullopt) << "in order ends with the last song";
  EXPECT_EQ(m.Next(2, Advance::UserStep), 0) << "but 下一首 still goes round";

  m.Sync({});
  EXPECT_EQ(m.Next(0, Advance::SongEnded), std::nullopt) << "an empty list has nothing next";
  EXPECT_EQ(m.Previous(0), std::nullopt);
}

TEST(PlayOrderModel, ModesCycleAndNameThemselves) {
  PlayOrder o = PlayOrder::InOrder;
  std::vector<std::string> names;
  for (int i = 0; i < 4; ++i, o = FollowingPlayOrder(o)) names.push_back(PlayOrderName(o));
  EXPECT_EQ(names, (std::vector<std::string>{"顺序播放", "列表循环", "单曲循环", "随机播放"}));
  EXPECT_EQ(o, PlayOrder::InOrder);
  EXPECT_EQ(PlayOrderFromNumber("3"), PlayOrder::Shuffle);
  for (const char* bad : {"", "4", "-1", "01", "x", " 2"}) EXPECT_EQ(PlayOrderFromNumber(bad), std::nullopt) << bad;
}

ReadStoredValue From(std::vector<std::pair<std::string, Text>> values) {
  return [values](std::string_view key) -> std::optional<Text> {
    for (const auto& [k, v] : values)
      if (k == key) return v;
    return std::nullopt;
  };
}

TEST(ResumeState, StoredValuesComeBackAndDamagedOnesAreIgnoredOneByOne) {
  ResumeState s;
  s.songPath = "D:\\音乐\\歌.mp3";
  s.songHint = 4;
  s.positionSeconds = 95;
  s.playerVolume = 37;
  s.boardVolume = 80;
  s.order = PlayOrder::RepeatOne;
  s.boardOpen = true;
  std::vector<std::pair<std::string, Text>> stored;
  for (const auto& [k, v] : ResumeValues(s)) stored.emplace_back(k, v);
  const ResumeState back = ParseResumeState(From(stored));
  EXPECT_EQ(back.songPath, s.songPath);
  EXPECT_EQ(back.songHint, 4);
  EXPECT_EQ(back.positionSeconds, 95);
  EXPECT_EQ(back.playerVolume, 37);
  EXPECT_EQ(back.boardVolume, 80);
  EXPECT_EQ(back.order, PlayOrder::RepeatOne);
  EXPECT_EQ(back.boardOpen, true);

  const ResumeState damaged = ParseResumeState(From({{"选中歌曲", "x|D:\\a.mp3"},
                                                      {"播放位置", "-5"},
                                                      {"播放音量", "0"},
                                                      {"音效音量", "55"},
                                                      {"播放顺序", "9"},
                                                      {"音效窗口", "yes"}}));
  EXPECT_EQ(damaged.songPath, std::nullopt);
  EXPECT_EQ(damaged.positionSeconds, 0);
  EXPECT_EQ(damaged.playerVolume, std::nullopt);
  EXPECT_EQ(damaged.boardVolume, 55) << "a good value beside bad ones still counts";
  EXPECT_EQ(damaged.order, std::nullopt);
  EXPECT_EQ(damaged.boardOpen, std::nullopt);

  const ResumeState none = ParseResumeState(From({}));
  EXPECT_EQ(none.songPath, std::nullopt);
  EXPECT_EQ(none.playerVolume, std::nullopt);
  EXPECT_FALSE(none.order.has_value());
  for (const char* bad : {"", "|", "3|", "0|D:\\a.mp3", "99999999999|D:\\a.mp3"})
    EXPECT_EQ(ParseResumeState(From({{"选中歌曲", bad}})).songPath, std::nullopt) << bad;
}

TEST(ResumeState, TheSongIsFoundAtItsPlaceElsewhereOrNotAtAll) {
  Array<Text> songs;
  for (const char* p : {"D:\\a.mp3", "D:\\b.mp3", "D:\\a.mp3"}) songs.Append(p);
  ResumeState s;
  s.songPath = "D:\\a.mp3";
  s.songHint = 2;
  EXPECT_EQ(FindRememberedSong(s, songs), 2) << "its own place among equal paths";
  s.songHint = 1;
  EXPECT_EQ(FindRememberedSong(s, songs), 0) << "moved: its first place";
  s.songHint = 50;
  EXPECT_EQ(FindRememberedSong(s, songs), 0);
  s.songPath = "D:\\gone.mp3";
  EXPECT_EQ(FindRememberedSong(s, songs), -1);
  s.songPath.reset();
  EXPECT_EQ(FindRememberedSong(s, songs), -1);
}

}  // namespace
}  // namespace tovel
