#pragma once

#include <functional>

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

  // Where the song that plays or is paused is, in whole seconds; 0 when none.
  int PositionSeconds();

 private:
  void StartSelected(int direction);
  bool OpenAndPlay(int position0);
  void BeginPlaying();
  bool PlayOn(int direction, int tries, Advance why = Advance::UserStep);
  void CountSecond();
  void ResetCounter();
  bool SelectNeighbour(int delta, Advance why = Advance::UserStep);
  void SyncOrder();
  void NotePlayed(int song);
  std::optional<int> TakeResumeMs(int song);
  void ShowResumedAt(int ms);
  void Step(int delta);
  void Show(PlayState state);
  void ApplyVolume();
  bool ListEmpty() const;
  // The song the transport acts on, and how it is chosen: rows may show only some songs.
  int SelectedSong() const;
  void SelectSong(int song);
  int SongCount() const { return state_.songList.Count(); }

  ControlAccess& ui_;
  MediaDevice& media_;
  PlayerState& state_;
  std::optional<int> resumedMs_;  // the start that is under way began at a remembered place
  bool ducked_ = false;
};

void BindPlaybackHandlers(Runtime& rt, Playback& playback);

// The one place that sets the transport controls from the state: the tick timer, the
// seek slider, the play button's caption, and for idle the "00:00" and the rewound slider.
void ShowTransport(ControlAccess& ui, PlayState state);

// "mm:ss": each number with "0" in front, keeping the last two characters.
Text ElapsedText(int minutes, int seconds);

// What the player's views outside its window (the notification area, the taskbar button)
// learn of the transport: every state ShowTransport shows, and each counted second as the
// seek slider's position against the song's length, both in seconds.
struct TransportListener {
  std::function<void(PlayState state)> shown;
  std::function<void(int position, int length)> counted;
};
// One listener for the program; an empty one stops telling.
void ListenToTransport(TransportListener listener);

}  // namespace tovel
