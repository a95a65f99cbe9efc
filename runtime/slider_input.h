#pragma once

#include <windows.h>

namespace tovel {

// The program's sliders go where the pointer sends them: a click off the thumb jumps it
// to that point, and each notch of the wheel moves it a page, up toward the maximum.
// Either reports to the parent as a user's scroll does, so the same handler follows.
void HookSliderInput(HWND slider);

// A wheel turned over one of those sliders goes to it, whichever control has the focus.
void RouteWheelToSlider(MSG& msg);

// The position a click at `x` (client coordinates) gives a horizontal slider: the thumb's
// middle under the pointer, within the range.
int SliderPositionAt(HWND slider, int x);

}  // namespace tovel
