#pragma once

#include <windows.h>

#include "base/scale.h"
#include "runtime/controls.h"

namespace tovel {

// Where a control of the form goes at the form's scale, in its parent's client coordinates.
PixelRect ControlRect(const FormState& form, const ControlDesc& control);

// The form's fonts (buttons and list, and one per label height) at its scale.
void MakeFormFonts(FormState& form);

// The font the control is given; null for the controls that keep their own.
HFONT FontFor(const FormState& form, const ControlDesc& control);

// The window has moved to a display of another DPI: its controls and fonts are made again
// for `dpi`, the window takes the place the system suggests, and the form's "moved" event
// runs once, for the windows docked to it. WM_DPICHANGED passes both.
void OnFormDpiChanged(FormState& form, int dpi, const RECT& suggested);

}  // namespace tovel
