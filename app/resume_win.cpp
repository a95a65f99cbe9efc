#include "app/resume_win.h"

#include "app/config_file.h"
#include "app/playback.h"
#include "app/resume_state.h"
#include "app/song_list_win.h"
#include "app/sound_board.h"
#include "runtime/controls.h"

namespace tovel {
namespace {

constexpr std::uint32_t W = kPlayerWindowId;

void RestoreSong(Runtime& rt, PlayerState& state, const ResumeState& saved) {
  const int song = FindRememberedSong(saved, state.songList);
  // A song that is gone leaves the selection where the list puts it, and plays from its start.
  if (song < 0) return;
  rt.ListSelect(W, player::kList, song);
  state.resume = PlayerState::ResumePoint{song, *saved.songPath, saved.positionSeconds};
}

// The song that plays or is paused, else the selected one (at its start).
ResumeState Now(Runtime& rt, const PlayerState& state, Playback& playback, const SoundBoard& board) {
  ResumeState now;
  const bool busy = state.playState != PlayState::Idle && state.currentSong >= 0;
  const int song = busy ? state.currentSong : rt.ListCaret(W, player::kList);
  if (song >= 0 && song < state.songList.Count()) {
    now.songPath = state.songList.At(song + 1);
    now.songHint = song;
    now.positionSeconds = busy ? playback.PositionSeconds() : 0;
  }
  now.playerVolume = rt.GetInt(W, player::kVolumeSlider, Prop::SliderPosition);
  now.boardVolume = board.KeptVolume();
  now.order = state.order.mode();
  now.boardOpen = board.WasOpenAtExit();
  return now;
}

}  // namespace

void RestorePlayState(Runtime& rt, PlayerState& state, Playback& playback, SoundBoard& board) {
  const std::wstring path = ConfigFilePath();
  const ResumeState saved =
      ParseResumeState([&path](std::string_view key) { return ReadIniValue(path, kResumeSection, key); });
  if (saved.order) state.order.SetMode(*saved.order);
  RestoreSong(rt, state, saved);
  if (saved.playerVolume) {
    rt.SetInt(W, player::kVolumeSlider, Prop::SliderPosition, *saved.playerVolume);
    playback.Volume();
  }
  if (saved.boardVolume) board.SetVolume(*saved.boardVolume);
  if (saved.boardOpen.value_or(false)) board.Open();
}

void RememberPlayState(Runtime& rt, const PlayerState& state, Playback& playback, const SoundBoard& board) {
  const std::wstring path = ConfigFilePath();
  for (const auto& [key, value] : ResumeValues(Now(rt, state, playback, board)))
    if (!WriteIniValue(path, kResumeSection, key, value)) return;  // the file cannot take it: leave it be
}

}  // namespace tovel
