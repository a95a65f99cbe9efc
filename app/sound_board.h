#pragma once

#include "runtime/controls.h"

namespace tovel {

// Opening and docking the sound-effects window, and its clip, transport and volume handlers.
void BindSoundBoardHandlers(Runtime& rt);

}  // namespace tovel
