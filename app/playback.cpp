#include "app/playback.h"

#include <cmath>
#include <string>

#include "app/song_list_rules.h"
#include "runtime/forms.h"

namespace tovel {
namespace {

constexpr std::uint32_t W = kPlayerWindowId;
constexpr int kTickPeriod = 1000;
constexpr int kScrollPeriod = 10;  // the scroll timer has no handler; kept as the form sets it
constexpr int kDuckedPercent = 30;

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
}

void Playback::Show(PlayState state) {
  state_.playState = state;
  ShowTransport(ui_, state);
}

bool Playback::ListEmpty() const { return ui_.ListCount(W, player::kList) == 0; }

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
  if (OpenAndPlay(ui_.ListCaret(W, player::kList))) {
    BeginPlaying();
    Tick();
    return;
  }
  // Counting on silence would look like playback: on to the next entry that plays, in the
  // direction the user went, or idle when none does.
  PlayOn(direction, ui_.ListCount(W, player::kList) - 1);
}

// A song that cannot be opened or played is named where the welcome shows: the user
// learns why it was passed over.
bool Playback::OpenAndPlay(int position0) {
  if (position0 < 0 || position0 >= state_.songList.Count()) return false;
  const Text& path = state_.songList.At(position0 + 1);
  if (media_.Open(path) && media_.Play(-1)) return true;
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
bool Playback::PlayOn(int direction, int tries) {
  for (; tries > 0; --tries) {
    SelectNeighbour(direction);
    ResetCounter();
    if (OpenAndPlay(ui_.ListCaret(W, player::kList)) && media_.StatusMode() != MediaMode::Stopped) {
      BeginPlaying();
      CountSecond();  // the start's own tick
      return true;
    }
  }
  Show(PlayState::Idle);
  return false;
}

void Playback::Stop() {
  Show(PlayState::Idle);
  media_.Stop();
}

// Next after the last entry is the first; previous before the first is the last.
void Playback::SelectNeighbour(int delta) {
  const int count = ui_.ListCount(W, player::kList);
  if (count == 0) return;
  const int target = ((ui_.ListCaret(W, player::kList) + delta) % count + count) % count;
  ui_.ListSelect(W, player::kList, target);
}

void Playback::Step(int delta) {
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
    if (!PlayOn(+1, ui_.ListCount(W, player::kList))) return;
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
  }
}

void Playback::Seek() {
  if (ui_.ListCount(W, player::kList) == 0) {
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
