#include "app/playback.h"

#include <cmath>
#include <string>

#include "runtime/forms.h"

namespace tovel {
namespace {

constexpr std::uint32_t W = kPlayerWindowId;
constexpr int kTickPeriod = 1000;
constexpr int kScrollPeriod = 10;  // the scroll timer has no handler; kept as the form sets it

// "0" in front of the decimal text, then the last two characters.
Text TwoDigits(int n) {
  const Text s = "0" + std::to_string(n);
  return s.substr(s.size() - 2);
}

}  // namespace

Text ElapsedText(int minutes, int seconds) { return TwoDigits(minutes) + ":" + TwoDigits(seconds); }

void Playback::PlayButton() {
  if (state_.playState == 0) {
    StartSelected();
    return;
  }
  if (state_.playState == 1 && ui_.ListCount(W, player::kList) > 0) {
    media_.PauseResume();
    state_.statusWord = kStatusPaused;
    ui_.SetInt(W, player::kSeekSlider, Prop::Disabled, 1);
    state_.playState = 2;
    ui_.SetText(W, player::kPlayButton, Prop::ButtonCaption, "暂停");
    ui_.SetInt(W, player::kTick, Prop::TypeSpecific, 0);
    return;
  }
  if (state_.playState == 2) {
    media_.Play(-1);
    if (ui_.ListCount(W, player::kList) > 0) {
      state_.statusWord = kStatusPlaying;
      ui_.SetInt(W, player::kScrollTimer, Prop::TypeSpecific, kScrollPeriod);
      ui_.SetInt(W, player::kSeekSlider, Prop::Disabled, 0);
      state_.playState = 1;
      ui_.SetText(W, player::kPlayButton, Prop::ButtonCaption, "播放");
      ui_.SetInt(W, player::kTick, Prop::TypeSpecific, kTickPeriod);
    }
  }
}

void Playback::PlaySelectedOnDoubleClick() {
  // Starts afresh even while a song plays; an empty list leaves the player idle.
  state_.playState = 0;
  StartSelected();
}

void Playback::StartSelected() {
  ui_.SetInt(W, player::kSeekSlider, Prop::SliderPosition, 0);
  ui_.SetText(W, player::kElapsedLabel, Prop::TypeSpecific, "00:00");
  state_.elapsedMinutes = 0;
  state_.elapsedSeconds = 0;
  ui_.SetInt(W, player::kScrollTimer, Prop::TypeSpecific, kScrollPeriod);
  if (ui_.ListCount(W, player::kList) == 0) {
    state_.statusWord = kStatusNoFile;
    return;
  }
  if (!OpenAndPlay(ui_.ListCaret(W, player::kList))) {
    // Counting on silence would look like playback: show the player idle instead.
    ShowIdle();
    return;
  }
  ui_.SetInt(W, player::kTick, Prop::TypeSpecific, kTickPeriod);
  state_.songLengthSeconds = media_.LengthSeconds();
  state_.statusWord = kStatusPlaying;
  ui_.SetText(W, player::kPlayButton, Prop::ButtonCaption, "播放");
  ui_.SetInt(W, player::kSeekSlider, Prop::Disabled, 0);
  state_.playState = 1;
  ApplyVolume();
  Tick();
}

bool Playback::OpenAndPlay(int position0) {
  if (position0 < 0 || position0 >= state_.songList.Count()) return false;
  const Text& path = state_.songList.At(position0 + 1);
  return media_.Open(path) && media_.Play(-1);
}

void Playback::ShowIdle() {
  ui_.SetInt(W, player::kTick, Prop::TypeSpecific, 0);
  ui_.SetText(W, player::kElapsedLabel, Prop::TypeSpecific, "00:00");
  ui_.SetInt(W, player::kSeekSlider, Prop::SliderPosition, 0);
  ui_.SetInt(W, player::kSeekSlider, Prop::Disabled, 1);
  ui_.SetText(W, player::kPlayButton, Prop::ButtonCaption, "播放");
  state_.playState = 0;
}

void Playback::Stop() {
  ShowIdle();
  media_.Stop();
}

// Next after the last entry is the first; previous before the first is the last.
void Playback::Step(int delta) {
  const int count = ui_.ListCount(W, player::kList);
  if (count > 0) {
    const int target = ((ui_.ListCaret(W, player::kList) + delta) % count + count) % count;
    ui_.ListSelect(W, player::kList, target);
  }
  ui_.SetInt(W, player::kSeekSlider, Prop::Disabled, 0);
  state_.playState = 0;
  StartSelected();
}

void Playback::Next() { Step(+1); }

void Playback::Previous() { Step(-1); }

void Playback::Tick() {
  ++state_.sliderMark;
  if (media_.StatusMode() == MediaMode::Stopped && ui_.ListCount(W, player::kList) > 0) {
    state_.sliderMark = 0;
    // The song ended: on to the next entry that opens, trying each at most once.
    const int count = ui_.ListCount(W, player::kList);
    for (int tries = 0; tries < count; ++tries) {
      Next();
      if (state_.playState == 1) break;
    }
    if (state_.playState != 1) return;
  }
  if (state_.statusWord != kStatusPaused) {
    if (++state_.elapsedSeconds > 59) {
      ++state_.elapsedMinutes;
      state_.elapsedSeconds = 0;
    }
  }
  ui_.SetText(W, player::kElapsedLabel, Prop::TypeSpecific, ElapsedText(state_.elapsedMinutes, state_.elapsedSeconds));
  if (state_.statusWord == kStatusPlaying) {
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
  state_.statusWord = kStatusPlaying;
}

void Playback::Volume() { ApplyVolume(); }

void Playback::ApplyVolume() {
  const int v = ui_.GetInt(W, player::kVolumeSlider, Prop::SliderPosition);
  media_.SetVolume(v, v);
  ui_.SetText(W, player::kVolumeLabel, Prop::TypeSpecific, "音量:" + std::to_string(v));
}

}  // namespace tovel
