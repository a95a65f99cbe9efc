#pragma once

#include <windows.h>

#include "base/scale.h"
#include "base/value.h"
#include "gfx/graphics_object.h"
#include "skin/family_states.h"
#include "skin/gdiplus_constants.h"
#include "skin/layout.h"

namespace tovel {
class Graphics;
class Font;
}  // namespace tovel

namespace tovel::skin {

class SkinEngine;

// Push buttons become owner-drawn and are painted through the window's
// WM_DRAWITEM; check boxes and auto radio buttons are painted by their procedure.
void AttachPushButtons(SkinEngine& engine, int n, HWND window);
void AttachCheckBoxes(SkinEngine& engine, int n, HWND window);

// WM_DRAWITEM for a taken-over push button; false when it is not one.
bool DrawPushButtonItem(SkinEngine& engine, const DRAWITEMSTRUCT& item);

// What a button looks like, gathered by its procedure; the painters draw from it
// alone, so they can be tried on a bitmap.
struct ButtonLook {
  Text text;
  Text fontName;
  float fontSize = 12;
  int fontStyle = 0;
  int fontUnit = kUnitPixel;
  const Font* font = nullptr;  // made from the fields above when not given
  ColourRef textColour = 0;
  ColourRef highlight = 0x00DDCA22;
  UINT state = 0;        // ODS_SELECTED, ODS_DISABLED, ODS_FOCUS, ODS_HOTLIGHT
  bool checked = false;  // check boxes and radio buttons
};

// Background, face, text and border, in that order, over (x, y, w, h), with every
// size of the look at the window's scale (the font comes scaled with the control).
void PaintPushButton(Graphics& g, const Rect& r, const ButtonLook& look, Scale scale);
// The mark at the left edge, vertically centred, and the text beside it.
void PaintCheckBox(Graphics& g, const Rect& r, const ButtonLook& look, Scale scale);
void PaintRadioButton(Graphics& g, const Rect& r, const ButtonLook& look, Scale scale);

}  // namespace tovel::skin
