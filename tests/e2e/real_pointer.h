#pragma once

#include <windows.h>

namespace tovel::e2e {

// The real pointer, through synthesised input, as a user's hand would move it.

// Puts the pointer at (x, y) with a zero move, so that the window under it hears of it.
void MoveTo(int x, int y);
// The left button down or up where the pointer stands.
void Button(bool down);
// True while the window's thread runs the platform's move or size loop.
bool InMoveSize(HWND window);

}  // namespace tovel::e2e
