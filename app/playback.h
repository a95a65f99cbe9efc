#pragma once

#include "app/player_state.h"
#include "runtime/control_access.h"
#include "runtime/media.h"

namespace tovel {

class Runtime;

// Shown in the welcome label with the file name of a song that cannot be played.
inline constexpr char kUnplayableText[] = "无法播放：";

// The player's transport: play/pause, stop, next, previous, the one-second tick,
// seeking and volume. Knows the controls only through ControlAccess.
class Playback {
 public:
  Playback(ControlAccess& ui, MediaDevice& media, PlayerState& state) : ui_(ui), media_(media), state_(state) {}

  void PlayButton();
  void PlaySelectedOnDoubleClick();
  void Stop();
  void Next();
  void Previous();
  void Tick();
  void Seek();
  void Volume();
  // While ducked the song plays at 30 % of the slider's volume; the slider and its label stay.
  void SetDucked(bool ducked);

 private:
  void StartSelected(int direction);
  bool OpenAndPlay(int position0);
  void BeginPlaying();
  bool PlayOn(int direction, int tries);
  void CountSecond();
  void ResetCounter();
  void SelectNeighbour(int delta);
  void Step(int delta);
  void Show(PlayState state);
  void ApplyVolume();
  bool ListEmpty() const;

  ControlAccess& ui_;
  MediaDevice& media_;
  PlayerState& state_;
  bool ducked_ = false;
};

void BindPlaybackHandlers(Runtime& rt, Playback& playback);

// The one place that sets the transport controls from the state: the tick timer, the
// seek slider, the play button's caption, and for idle the "00:00" and the rewound slider.
void ShowTransport(ControlAccess& ui, PlayState state);

// "mm:ss": each number with "0" in front, keeping the last two characters.
Text ElapsedText(int minutes, int seconds);

}  // namespace tovel
