#pragma once

#include "app/player_state.h"

namespace tovel {

class Playback;
class Runtime;
class SoundBoard;

// Start-up, after the stored list loaded: the selection, both volumes, the play order and
// the board come back as the last run left them. Nothing plays.
void RestorePlayState(Runtime& rt, PlayerState& state, Playback& playback, SoundBoard& board);

// At exit: where the user left off, one key at a time in "歌曲配置.ini".
void RememberPlayState(Runtime& rt, const PlayerState& state, Playback& playback, const SoundBoard& board);

}  // namespace tovel
