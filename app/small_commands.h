#pragma once

#include "app/player_state.h"
#include "runtime/controls.h"

namespace tovel {

// About box, contact link, and the list box's right-button handlers.
void BindSmallCommands(Runtime& rt, PlayerState& state);

}  // namespace tovel
