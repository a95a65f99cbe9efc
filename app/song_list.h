#pragma once

#include "app/player_state.h"
#include "runtime/controls.h"

namespace tovel {

// "添加", "清空", the two context-menu items and save-on-exit.
void BindSongListHandlers(Runtime& rt, PlayerState& state);

// Start-up: the stored list into SongList and the list box.
void LoadStoredSongList(Runtime& rt, PlayerState& state);

}  // namespace tovel
