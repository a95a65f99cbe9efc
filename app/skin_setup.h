#pragma once

#include <windows.h>

#include "skin/engine.h"

namespace tovel {

// The one skin engine of the program; it lives until the process ends.
skin::SkinEngine& Skin();

// Runs once at start, before any window: starts the graphics library, loads the
// caption icon and sets the skin-wide defaults.
void InitialiseSkin();

// Hands a freshly created window to the skin, with the picture both windows share.
void AttachSkin(HWND window);

}  // namespace tovel
