#pragma once

#include "app/player_state.h"

namespace tovel {

class Runtime;

// The play order's caption button (glyph and tip per mode, a click moves to the next
// mode) and the "播放顺序" submenu with the current mode checked.
void AddPlayOrderButton(Runtime& rt, PlayerState& state);
void BindPlayOrderHandlers(Runtime& rt, PlayerState& state);
void SetPlayOrder(Runtime& rt, PlayerState& state, PlayOrder order);

}  // namespace tovel
