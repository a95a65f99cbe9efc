#include "app/playback.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "app/list_rows.h"
#include "app/song_list_rules.h"
#include "runtime/forms.h"

namespace tovel {
namespace {

constexpr std::uint32_t W = kPlayerWindowId;
constexpr int kTickPeriod = 1000;
constexpr int kScrollPeriod = 10;  // the scroll timer has no handler; kept as the form sets it
constexpr int kDuckedPercent = 30;

TransportListener gListener;

// "0" in front of the decimal text, then the last two characters.
Text TwoDigits(int n) {
  const Text s = "0" + std::to_string(n);
  return s.substr(s.size() - 2);
}

}  // namespace

Text ElapsedText(int minutes, int seconds) { return TwoDigits(minutes) + ":" + TwoDigits(seconds); }

void ShowTransport(ControlAccess& ui, PlayState state) {
  const bool playing = state == PlayState::Playing;
  ui.SetInt(W, player::kTick, Prop::TypeSpecific, playing ? kTickPeriod : 0);
  if (playing) ui.SetInt(W, player::kScrollTimer, Prop::TypeSpecific, kScrollPeriod);
  ui.SetInt(W, player::kSeekSlider, Prop::Disabled, playing ? 0 : 1);
  ui.SetText(W, player::kPlayButton, Prop::ButtonCaption, state == PlayState::Paused ? "暂停" : "播放");
  if (state == PlayState::Idle) {
    ui.SetText(W, player::kElapsedLabel, Prop::TypeSpecific, "00:00");
    ui.SetInt(W, player::kSeekSlider, Prop::SliderPosition, 0);
  }
  if (gListener.shown) gListener.shown(state);
}

void ListenToTransport(TransportListener listener) { gListener = std::move(listener); }

void Playback::Show(PlayState state) {
  state_.playState = state;
  ShowTransport(ui_, state);
}

// The whole list: a search showing no rows leaves every song to play.
bool Playback::ListEmpty() const { return SongCount() == 0; }

int Playback::SelectedSong() const { return tovel::SelectedSong(ui_, state_); }

void Playback::SelectSong(int song) { tovel::SelectSong(ui_, state_, song); }

void Playback::PlayButton() {
  switch (state_.playState) {
    case PlayState::Idle:
      StartSelected(+1);
      return;
    case PlayState::Playing:
      if (ListEmpty()) return;
      media_.PauseResume();
      state_.statusWord = StatusWord::Paused;
      Show(PlayState::Paused);
      return;
    case PlayState::Paused:
      media_.Play(-1);
      if (ListEmpty()) return;
      state_.statusWord = StatusWord::Playing;
      Show(PlayState::Playing);
      return;
  }
}

void Playback::PlaySelectedOnDoubleClick() {
  // Starts afresh even while a song plays; an empty list leaves the player idle.
  state_.playState = PlayState::Idle;
  StartSelected(+1);
}

void Playback::ResetCounter() {
  ui_.SetInt(W, player::kSeekSlider, Prop::SliderPosition, 0);
  ui_.SetText(W, player::kElapsedLabel, Prop::TypeSpecific, "00:00");
  state_.elapsedMinutes = 0;
  state_.elapsedSeconds = 0;
}

void Playback::StartSelected(int direction) {
  ResetCounter();
  if (ListEmpty()) {
    state_.statusWord = StatusWord::NoFile;
    return;
  }
  const int song = SelectedSong();
  if (OpenAndPlay(song)) {
    BeginPlaying();
    NotePlayed(song);
    if (resumedMs_)
      ShowResumedAt(*resumedMs_);
    else
      Tick();
    return;
  }
  // Counting on silence would look like playback: on to the next entry that plays, in the
  // direction the user went, or idle when none does.
  PlayOn(direction, SongCount() - 1);
}

// A song that cannot be opened or played is named where the welcome shows: the user
// learns why it was passed over.
bool Playback::OpenAndPlay(int position0) {
  if (position0 < 0 || position0 >= state_.songList.Count()) return false;
  const Text& path = state_.songList.At(position0 + 1);
  resumedMs_.reset();
  if (media_.Open(path)) {
    resumedMs_ = TakeResumeMs(position0);
    if (media_.Play(resumedMs_.value_or(-1))) return true;
  }
  resumedMs_.reset();
  ui_.SetText(W, player::kWelcomeLabel, Prop::TypeSpecific, Text(kUnplayableText) + FileNameOf(path));
  return false;
}

void Playback::BeginPlaying() {
  state_.songLengthSeconds = media_.LengthSeconds();
  state_.statusWord = StatusWord::Playing;
  Show(PlayState::Playing);
  ApplyVolume();
}

// On to the next entry that plays, `tries` entries at most, each tried once. A song of a
// few frames ends before anyone looks, so it counts as not played; starting it through
// the tick again would restart without end.
bool Playback::PlayOn(int direction, int tries, Advance why) {
  for (; tries > 0; --tries) {
    if (!SelectNeighbour(direction, why)) break;
    // Repeating one song that will not play would only fail again: on to the others.
    if (state_.order.mode() == PlayOrder::RepeatOne) why = Advance::UserStep;
    ResetCounter();
    const int song = SelectedSong();
    if (OpenAndPlay(song) && media_.StatusMode() != MediaMode::Stopped) {
      BeginPlaying();
      NotePlayed(song);
      CountSecond();  // the start's own tick
      return true;
    }
  }
  Show(PlayState::Idle);
  return false;
}

void Playback::Stop() {
  Show(PlayState::Idle);
  state_.currentSong = -1;
  media_.Stop();
}

// The play order picks the entry: next after the last is the first and previous before
// the first the last, but for a song repeated, a shuffled cycle, or the end of the list
// played in order. False when nothing follows.
bool Playback::SelectNeighbour(int delta, Advance why) {
  if (SongCount() == 0) return false;
  SyncOrder();
  const int from = SelectedSong();
  const std::optional<int> target = delta > 0 ? state_.order.Next(from, why) : state_.order.Previous(from);
  if (!target) return false;
  SelectSong(*target);
  return true;
}

void Playback::SyncOrder() {
  state_.order.Sync(std::vector<Text>(state_.songList.begin(), state_.songList.end()));
}

void Playback::NotePlayed(int song) {
  state_.currentSong = song;
  SyncOrder();
  state_.order.Played(song);
}

// The remembered place applies once, to the first start of the remembered song; a place
// at or past the song's end starts it from its beginning.
std::optional<int> Playback::TakeResumeMs(int song) {
  const std::optional<PlayerState::ResumePoint> resume = std::exchange(state_.resume, std::nullopt);
  if (!resume || resume->song != song || resume->seconds <= 0) return std::nullopt;
  if (song < 0 || song >= state_.songList.Count() || state_.songList.At(song + 1) != resume->path) return std::nullopt;
  const int ms = resume->seconds * 1000;
  if (ms >= media_.LengthMs()) return std::nullopt;
  return ms;
}

// The counter and the seek slider show the place the song started at; the tick goes on from it.
void Playback::ShowResumedAt(int ms) {
  const int seconds = ms / 1000;
  state_.elapsedMinutes = seconds / 60;
  state_.elapsedSeconds = seconds % 60;
  ui_.SetText(W, player::kElapsedLabel, Prop::TypeSpecific, ElapsedText(state_.elapsedMinutes, state_.elapsedSeconds));
  ui_.SetInt(W, player::kSeekSlider, Prop::SliderMaximum, state_.songLengthSeconds);
  ui_.SetInt(W, player::kSeekSlider, Prop::SliderPosition, seconds);
  state_.sliderMark = seconds;
}

int Playback::PositionSeconds() {
  if (state_.playState == PlayState::Idle) return 0;
  const int ms = media_.PositionMs();
  if (ms >= 0) return ms / 1000;
  // Without the device's answer, the counter (which runs one second ahead of the song).
  return std::max(0, state_.elapsedMinutes * 60 + state_.elapsedSeconds - 1);
}

void Playback::Step(int delta) {
  state_.resume.reset();  // stepping plays as always, from the start
  SelectNeighbour(delta);
  state_.playState = PlayState::Idle;
  StartSelected(delta);
}

void Playback::Next() { Step(+1); }

void Playback::Previous() { Step(-1); }

void Playback::Tick() {
  ++state_.sliderMark;
  if (media_.StatusMode() == MediaMode::Stopped && !ListEmpty()) {
    state_.sliderMark = 0;
    // The song ended: every entry, itself last, may follow it.
    if (!PlayOn(+1, SongCount(), Advance::SongEnded)) return;
  }
  CountSecond();
}

void Playback::CountSecond() {
  if (state_.statusWord != StatusWord::Paused) {
    if (++state_.elapsedSeconds > 59) {
      ++state_.elapsedMinutes;
      state_.elapsedSeconds = 0;
    }
  }
  ui_.SetText(W, player::kElapsedLabel, Prop::TypeSpecific, ElapsedText(state_.elapsedMinutes, state_.elapsedSeconds));
  if (state_.statusWord == StatusWord::Playing) {
    // The length read at the start: asking the device every second costs three MCI round trips.
    ui_.SetInt(W, player::kSeekSlider, Prop::SliderMaximum, state_.songLengthSeconds);
    const int position = ui_.GetInt(W, player::kSeekSlider, Prop::SliderPosition);
    ui_.SetInt(W, player::kSeekSlider, Prop::SliderPosition, position + 1);
    if (gListener.counted) gListener.counted(position + 1, state_.songLengthSeconds);
  }
}

void Playback::Seek() {
  if (ListEmpty()) {
    ui_.SetText(W, player::kElapsedLabel, Prop::TypeSpecific,
                "0" + std::to_string(state_.elapsedMinutes) + ":" + TwoDigits(state_.elapsedSeconds));
    return;
  }
  const int maximum = ui_.GetInt(W, player::kSeekSlider, Prop::SliderMaximum);
  const int position = ui_.GetInt(W, player::kSeekSlider, Prop::SliderPosition);
  // A zero length or range would divide by zero; there is nothing to seek in then.
  if (state_.songLengthSeconds <= 0 || maximum <= 0) return;
  const int ratio = state_.songLengthSeconds / maximum;
  const int x = position * ratio;
  state_.elapsedMinutes = x / 60;
  state_.elapsedSeconds = x % 60;
  if (position != state_.sliderMark) {
    // One read of the device: its length in seconds is the same milliseconds truncated.
    const int lengthMs = media_.LengthMs();
    const int lengthSeconds = lengthMs / 1000;
    if (lengthSeconds > 0) {
      const double target = std::floor(static_cast<double>(lengthMs) / lengthSeconds * position);
      media_.Play(static_cast<int>(target));
    }
    state_.sliderMark = position;
  }
  state_.statusWord = StatusWord::Playing;
}

void Playback::Volume() { ApplyVolume(); }

void Playback::SetDucked(bool ducked) {
  if (ducked == ducked_) return;
  ducked_ = ducked;
  ApplyVolume();
}

void Playback::ApplyVolume() {
  const int v = ui_.GetInt(W, player::kVolumeSlider, Prop::SliderPosition);
  const int heard = ducked_ ? (v * kDuckedPercent + 50) / 100 : v;
  media_.SetVolume(heard, heard);
  ui_.SetText(W, player::kVolumeLabel, Prop::TypeSpecific, "音量:" + std::to_string(v));
}

}  // namespace tovel
