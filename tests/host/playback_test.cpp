#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/playback.h"
#include "runtime/forms.h"
#include "tests/support/fake_controls.h"

namespace tovel {
namespace {

constexpr std::uint32_t W = kPlayerWindowId;

// A device whose songs end when the test says so; paths containing "broken" do not open.
class FakeDevice : public MediaDevice {
 public:
  bool Open(const Text& path) override {
    opened.push_back(path);
    open = path.find("broken") == Text::npos;
    mode = MediaMode::Other;
    return open;
  }
  bool Play(int fromMs) override {
    plays.push_back(fromMs);
    if (open) mode = MediaMode::Playing;
    return open;
  }
  MediaMode StatusMode() override { return mode; }
  int LengthMs() override { return open ? lengthMs : 0; }
  int LengthSeconds() override { return LengthMs() / 1000; }
  bool PauseResume() override {
    paused = !paused;
    mode = paused ? MediaMode::Paused : MediaMode::Playing;
    return open;
  }
  bool Stop() override {
    mode = MediaMode::Stopped;
    return open;
  }
  bool SetVolume(std::optional<int> l, std::optional<int> r) override {
    volume = {l.value_or(-1), r.value_or(-1)};
    return open;
  }

  std::vector<Text> opened;
  std::vector<int> plays;
  bool open = false;
  bool paused = false;
  MediaMode mode = MediaMode::Other;
  int lengthMs = 200500;
  std::pair<int, int> volume{-1, -1};
};

class PlaybackTest : public ::testing::Test {
 protected:
  PlaybackTest() {
    ui.SetRange(W, player::kSeekSlider, 0, 100);
    ui.SetRange(W, player::kVolumeSlider, 1, 100);
    ui.SetInt(W, player::kVolumeSlider, Prop::SliderPosition, 100);
  }
  void AddSongs(std::initializer_list<const char*> paths) {
    for (const char* p : paths) {
      state.songList.Append(p);
      ui.ListAdd(W, player::kList, p);
    }
  }
  Text Elapsed() const { return ui.GetText(W, player::kElapsedLabel, Prop::TypeSpecific); }
  int Seek() const { return ui.GetInt(W, player::kSeekSlider, Prop::SliderPosition); }
  bool SeekEnabled() const { return ui.GetInt(W, player::kSeekSlider, Prop::Disabled) == 0; }
  int TickPeriod() const { return ui.GetInt(W, player::kTick, Prop::TypeSpecific); }
  Text PlayCaption() const { return ui.GetText(W, player::kPlayButton, Prop::ButtonCaption); }

  testing::FakeControls ui;
  FakeDevice device;
  PlayerState state;
  Playback playback{ui, device, state};
};

TEST_F(PlaybackTest, StartShowsOneSecondAtOnceAndTheTickCounts) {
  AddSongs({"D:\\a.mp3", "D:\\b.mp3"});
  playback.PlayButton();
  EXPECT_EQ(device.opened, std::vector<Text>{"D:\\a.mp3"});
  EXPECT_EQ(device.plays, std::vector<int>{-1});
  EXPECT_EQ(state.playState, PlayState::Playing);
  EXPECT_EQ(state.statusWord, StatusWord::Playing);
  EXPECT_EQ(Elapsed(), "00:01");
  EXPECT_EQ(TickPeriod(), 1000);
  EXPECT_TRUE(SeekEnabled());
  EXPECT_EQ(ui.GetInt(W, player::kSeekSlider, Prop::SliderMaximum), 200);
  EXPECT_EQ(Seek(), 1);
  EXPECT_EQ(device.volume, std::make_pair(100, 100));
  EXPECT_EQ(ui.GetText(W, player::kVolumeLabel, Prop::TypeSpecific), "音量:100");

  playback.Tick();
  EXPECT_EQ(Elapsed(), "00:02");
  EXPECT_EQ(Seek(), 2);
  for (int i = 0; i < 57; ++i) playback.Tick();
  EXPECT_EQ(Elapsed(), "00:59");
  playback.Tick();
  EXPECT_EQ(Elapsed(), "01:00");
}

TEST_F(PlaybackTest, PauseFreezesAndResumeContinues) {
  AddSongs({"a.mp3"});
  playback.PlayButton();
  playback.Tick();
  playback.PlayButton();  // pause
  EXPECT_EQ(state.playState, PlayState::Paused);
  EXPECT_TRUE(device.paused);
  EXPECT_EQ(PlayCaption(), "暂停");
  EXPECT_EQ(TickPeriod(), 0);
  EXPECT_FALSE(SeekEnabled());
  playback.Tick();  // a late tick changes nothing while paused
  EXPECT_EQ(Elapsed(), "00:02");
  EXPECT_EQ(Seek(), 2);

  playback.PlayButton();  // resume
  EXPECT_EQ(state.playState, PlayState::Playing);
  EXPECT_EQ(device.plays.back(), -1);
  EXPECT_EQ(PlayCaption(), "播放");
  EXPECT_EQ(TickPeriod(), 1000);
  playback.Tick();
  EXPECT_EQ(Elapsed(), "00:03");
}

TEST_F(PlaybackTest, SongEndStartsTheNextWithTwoSecondsShown) {
  AddSongs({"a.mp3", "b.mp3"});
  playback.PlayButton();
  device.mode = MediaMode::Stopped;
  playback.Tick();
  EXPECT_EQ(device.opened.back(), "b.mp3");
  EXPECT_EQ(ui.List(W, player::kList).caret, 1);
  EXPECT_EQ(Elapsed(), "00:02");  // the start's own tick, then this one
  EXPECT_EQ(state.playState, PlayState::Playing);

  device.mode = MediaMode::Stopped;  // the last song ends: in order, the player stops there
  playback.Tick();
  EXPECT_EQ(device.opened.back(), "b.mp3");
  EXPECT_EQ(ui.List(W, player::kList).caret, 1);
  EXPECT_EQ(state.playState, PlayState::Idle);
  EXPECT_EQ(TickPeriod(), 0);

  state.order.SetMode(PlayOrder::RepeatList);  // repeating the list goes round to the first
  playback.PlayButton();
  device.mode = MediaMode::Stopped;
  playback.Tick();
  EXPECT_EQ(device.opened.back(), "a.mp3");
  EXPECT_EQ(ui.List(W, player::kList).caret, 0);
  EXPECT_EQ(state.playState, PlayState::Playing);
}

TEST_F(PlaybackTest, NextAndPreviousWrapAround) {
  AddSongs({"a.mp3", "b.mp3", "c.mp3"});
  playback.Previous();
  EXPECT_EQ(device.opened.back(), "c.mp3");
  playback.Next();
  EXPECT_EQ(device.opened.back(), "a.mp3");
  playback.Next();
  EXPECT_EQ(device.opened.back(), "b.mp3");
  EXPECT_EQ(state.playState, PlayState::Playing);
}

TEST_F(PlaybackTest, StopRewindsAndShowsZero) {
  AddSongs({"a.mp3"});
  playback.PlayButton();
  playback.Tick();
  playback.Stop();
  EXPECT_EQ(device.mode, MediaMode::Stopped);
  EXPECT_EQ(state.playState, PlayState::Idle);
  EXPECT_EQ(Elapsed(), "00:00");
  EXPECT_EQ(Seek(), 0);
  EXPECT_FALSE(SeekEnabled());
  EXPECT_EQ(TickPeriod(), 0);
  playback.PlayButton();  // idle again: starts afresh
  EXPECT_EQ(Elapsed(), "00:01");
}

TEST_F(PlaybackTest, EmptyListStartsNothing) {
  playback.PlayButton();
  EXPECT_EQ(state.playState, PlayState::Idle);
  EXPECT_EQ(state.statusWord, StatusWord::NoFile);
  playback.PlaySelectedOnDoubleClick();
  EXPECT_EQ(state.playState, PlayState::Idle);  // so the play button still works afterwards
  EXPECT_TRUE(device.opened.empty());
}

TEST_F(PlaybackTest, SongThatCannotOpenIsNamedAndTheNextThatPlaysStartsInTheDirectionTaken) {
  AddSongs({"D:\\music\\broken one.mp3", "good.mp3", "broken2.mp3", "c.mp3"});
  playback.PlaySelectedOnDoubleClick();
  EXPECT_EQ(ui.GetText(W, player::kWelcomeLabel, Prop::TypeSpecific), "无法播放：broken one.mp3");
  EXPECT_EQ(device.opened, (std::vector<Text>{"D:\\music\\broken one.mp3", "good.mp3"}));
  EXPECT_EQ(ui.List(W, player::kList).caret, 1);
  EXPECT_EQ(state.playState, PlayState::Playing);
  EXPECT_EQ(Elapsed(), "00:01");
  EXPECT_TRUE(SeekEnabled());

  // Back from the last entry over one that cannot open: on backwards, not to where it came from.
  ui.ListSelect(W, player::kList, 3);
  playback.Previous();
  EXPECT_EQ(ui.GetText(W, player::kWelcomeLabel, Prop::TypeSpecific), "无法播放：broken2.mp3");
  EXPECT_EQ(device.opened.back(), "good.mp3");
  EXPECT_EQ(ui.List(W, player::kList).caret, 1);

  // An automatic change of song skips it too.
  device.mode = MediaMode::Stopped;
  playback.Tick();
  EXPECT_EQ(device.opened.back(), "c.mp3");
  EXPECT_EQ(state.playState, PlayState::Playing);
}

TEST_F(PlaybackTest, WithNothingPlayableEachEntryIsTriedOnceAndThePlayerStaysIdle) {
  state.order.SetMode(PlayOrder::RepeatList);  // the pass after a song's end goes round
  AddSongs({"broken1.mp3", "broken2.mp3"});
  playback.PlayButton();
  EXPECT_EQ(device.opened, (std::vector<Text>{"broken1.mp3", "broken2.mp3"}));
  EXPECT_EQ(ui.GetText(W, player::kWelcomeLabel, Prop::TypeSpecific), "无法播放：broken2.mp3");
  EXPECT_EQ(state.playState, PlayState::Idle);
  EXPECT_EQ(Elapsed(), "00:00");
  EXPECT_FALSE(SeekEnabled());
  EXPECT_EQ(TickPeriod(), 0);

  // After a song's end as well, one pass and no more.
  device.opened.clear();
  device.open = true;
  device.mode = MediaMode::Stopped;
  state.playState = PlayState::Playing;
  playback.Tick();
  EXPECT_EQ(device.opened.size(), 2u);
  EXPECT_EQ(state.playState, PlayState::Idle);
  EXPECT_EQ(Elapsed(), "00:00");
}

// Songs of a few frames open, play and end before the first look at the device.
class EndsAtOnce : public FakeDevice {
 public:
  bool Open(const Text& path) override {
    // Far more opens than entries means the player keeps restarting: say so and let it end.
    if (opened.size() >= 100) {
      ADD_FAILURE() << "still restarting after 100 opens";
      endsAtOnce = false;
    }
    return FakeDevice::Open(path);
  }
  bool Play(int fromMs) override {
    const bool ok = FakeDevice::Play(fromMs);
    if (ok && endsAtOnce && path().find("good") == Text::npos) mode = MediaMode::Stopped;
    return ok;
  }
  Text path() const { return opened.empty() ? Text() : opened.back(); }
  bool endsAtOnce = true;
};

TEST_F(PlaybackTest, SongsThatEndAtOnceAreEachTriedOnceAndThenThePlayerStopsIdle) {
  EndsAtOnce dev;
  Playback player(ui, dev, state);
  state.order.SetMode(PlayOrder::RepeatList);  // so the pass may go round the end
  AddSongs({"a.mp3", "b.mp3", "c.mp3"});
  player.PlayButton();
  EXPECT_EQ(dev.opened, (std::vector<Text>{"a.mp3", "b.mp3", "c.mp3", "a.mp3"}));
  EXPECT_EQ(state.playState, PlayState::Idle);
  EXPECT_EQ(Elapsed(), "00:00");
  EXPECT_FALSE(SeekEnabled());
  EXPECT_EQ(TickPeriod(), 0);
  EXPECT_EQ(PlayCaption(), "播放");

  // Next and previous go the same way; a playable song further on ends the pass.
  dev.opened.clear();
  player.Next();
  EXPECT_EQ(dev.opened, (std::vector<Text>{"b.mp3", "c.mp3", "a.mp3", "b.mp3"}));
  EXPECT_EQ(state.playState, PlayState::Idle);
  state.songList.Append("good.mp3");
  ui.ListAdd(W, player::kList, "good.mp3");
  dev.opened.clear();
  player.Previous();
  EXPECT_EQ(dev.opened, (std::vector<Text>{"a.mp3", "b.mp3", "c.mp3", "good.mp3"}));
  EXPECT_EQ(state.playState, PlayState::Playing);
  EXPECT_EQ(Elapsed(), "00:02");
  EXPECT_TRUE(SeekEnabled());
}

TEST_F(PlaybackTest, SeekPlaysFromTheSliderPositionOnlyWhenTheUserMovedIt) {
  AddSongs({"a.mp3"});
  playback.PlayButton();  // length 200 s, slider maximum 200, mark 1
  ui.SetInt(W, player::kSeekSlider, Prop::SliderPosition, 90);
  playback.Seek();
  EXPECT_EQ(device.plays.back(), 90225);  // floor(200500 / 200 * 90)
  EXPECT_EQ(state.elapsedMinutes, 1);
  EXPECT_EQ(state.elapsedSeconds, 30);
  const size_t plays = device.plays.size();
  playback.Seek();  // same position again: no second seek
  EXPECT_EQ(device.plays.size(), plays);

  // Seeking while paused plays on, but the counter waits for the play button.
  playback.PlayButton();
  ASSERT_EQ(state.playState, PlayState::Paused);
  ui.SetInt(W, player::kSeekSlider, Prop::SliderPosition, 10);
  playback.Seek();
  EXPECT_EQ(device.plays.back(), 10025);
  EXPECT_EQ(state.statusWord, StatusWord::Playing);
  EXPECT_EQ(state.playState, PlayState::Paused);
}

TEST_F(PlaybackTest, SeekGuardsAgainstZeroLengthAndZeroRange) {
  AddSongs({"a.mp3"});
  device.lengthMs = 400;  // under a second
  playback.PlayButton();
  ui.SetInt(W, player::kSeekSlider, Prop::SliderPosition, 0);
  const size_t plays = device.plays.size();
  playback.Seek();
  EXPECT_EQ(device.plays.size(), plays);

  state.songLengthSeconds = 100;
  ui.SetInt(W, player::kSeekSlider, Prop::SliderMaximum, 0);
  playback.Seek();
  EXPECT_EQ(device.plays.size(), plays);
}

TEST_F(PlaybackTest, SeekWithAnEmptyListOnlyRewritesTheCounter) {
  state.elapsedMinutes = 3;
  state.elapsedSeconds = 7;
  playback.Seek();
  EXPECT_EQ(Elapsed(), "03:07");
  EXPECT_TRUE(device.plays.empty());
}

TEST_F(PlaybackTest, VolumeSetsBothChannelsAndTheLabel) {
  AddSongs({"a.mp3"});
  ui.SetInt(W, player::kVolumeSlider, Prop::SliderPosition, 37);
  playback.Volume();
  EXPECT_EQ(device.volume, std::make_pair(37, 37));
  EXPECT_EQ(ui.GetText(W, player::kVolumeLabel, Prop::TypeSpecific), "音量:37");
}

// Ducked, the device hears 30 % of the slider, for a song started meanwhile too; the
// slider and its label keep the user's volume.
TEST_F(PlaybackTest, DuckingTurnsTheDeviceDownAndLeavesTheSliderAndLabel) {
  AddSongs({"a.mp3", "b.mp3"});
  ui.SetInt(W, player::kVolumeSlider, Prop::SliderPosition, 80);
  playback.PlayButton();
  playback.SetDucked(true);
  EXPECT_EQ(device.volume, std::make_pair(24, 24));
  playback.Next();
  EXPECT_EQ(device.volume, std::make_pair(24, 24));
  ui.SetInt(W, player::kVolumeSlider, Prop::SliderPosition, 50);
  playback.Volume();
  EXPECT_EQ(device.volume, std::make_pair(15, 15));
  EXPECT_EQ(ui.GetText(W, player::kVolumeLabel, Prop::TypeSpecific), "音量:50");
  EXPECT_EQ(ui.GetInt(W, player::kVolumeSlider, Prop::SliderPosition), 50);
  playback.SetDucked(false);
  EXPECT_EQ(device.volume, std::make_pair(50, 50));
}

TEST(ElapsedText, TwoDigitsEachAndMinutesWrapAtOneHundred) {
  EXPECT_EQ(ElapsedText(0, 0), "00:00");
  EXPECT_EQ(ElapsedText(5, 7), "05:07");
  EXPECT_EQ(ElapsedText(59, 59), "59:59");
  EXPECT_EQ(ElapsedText(100, 1), "00:01");
  EXPECT_EQ(ElapsedText(123, 45), "23:45");
}

TEST_F(PlaybackTest, TheRememberedSongStartsOnceWhereItWasLeft) {
  AddSongs({"a.mp3", "b.mp3", "c.mp3"});
  ui.ListSelect(W, player::kList, 1);
  state.resume = PlayerState::ResumePoint{1, "b.mp3", 75};
  playback.PlayButton();
  EXPECT_EQ(device.opened.back(), "b.mp3");
  EXPECT_EQ(device.plays, std::vector<int>{75000}) << "straight from the place, no sound of its start";
  EXPECT_EQ(Elapsed(), "01:15");
  EXPECT_EQ(Seek(), 75);
  EXPECT_EQ(ui.GetInt(W, player::kSeekSlider, Prop::SliderMaximum), 200);
  playback.Tick();
  EXPECT_EQ(Elapsed(), "01:16");
  EXPECT_EQ(Seek(), 76);
  device.mode = MediaMode::Playing;
  EXPECT_EQ(state.currentSong, 1);

  playback.Stop();
  playback.PlayButton();
  EXPECT_EQ(device.plays.back(), -1) << "only the first start resumes";
  EXPECT_EQ(Elapsed(), "00:01");
}

TEST_F(PlaybackTest, AResumePlaceThatNoLongerFitsStartsFromTheBeginning) {
  AddSongs({"a.mp3", "b.mp3"});
  state.resume = PlayerState::ResumePoint{0, "a.mp3", 300};  // past the 200 s song
  playback.PlayButton();
  EXPECT_EQ(device.plays, std::vector<int>{-1});
  EXPECT_EQ(Elapsed(), "00:01");

  playback.Stop();
  state.resume = PlayerState::ResumePoint{0, "other.mp3", 30};  // the list changed under it
  playback.PlayButton();
  EXPECT_EQ(device.plays.back(), -1);

  playback.Stop();
  state.resume = PlayerState::ResumePoint{1, "b.mp3", 30};
  playback.Next();  // stepping onto the remembered song plays it as always
  EXPECT_EQ(device.opened.back(), "b.mp3");
  EXPECT_EQ(device.plays.back(), -1);
  EXPECT_FALSE(state.resume.has_value());
}

TEST_F(PlaybackTest, PlayOrderDecidesWhatFollowsTheEndOfASong) {
  AddSongs({"a.mp3", "b.mp3", "c.mp3"});
  state.order.SetMode(PlayOrder::RepeatOne);
  ui.ListSelect(W, player::kList, 2);
  playback.PlayButton();
  device.mode = MediaMode::Stopped;
  playback.Tick();
  EXPECT_EQ(device.opened, (std::vector<Text>{"c.mp3", "c.mp3"})) << "the song that ended plays again";
  EXPECT_EQ(ui.List(W, player::kList).caret, 2);
  playback.Next();
  EXPECT_EQ(device.opened.back(), "a.mp3") << "next still steps, round to the first";
  playback.Previous();
  EXPECT_EQ(device.opened.back(), "c.mp3");

  state.order.SetMode(PlayOrder::Shuffle);
  std::set<Text> heard{device.opened.back()};
  for (int i = 0; i < 2; ++i) {
    device.mode = MediaMode::Stopped;
    playback.Tick();
    heard.insert(device.opened.back());
  }
  EXPECT_EQ(heard.size(), 3u) << "shuffle plays the other two before any repeats";
}

}  // namespace
}  // namespace tovel
