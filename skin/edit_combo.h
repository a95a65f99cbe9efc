#pragma once

#include <windows.h>

#include "base/scale.h"
#include "base/value.h"
#include "skin/layout.h"

namespace tovel {
class Graphics;
}  // namespace tovel

namespace tovel::skin {

class SkinEngine;

// Edit boxes keep their text handling and get a thin frame that follows the
// pointer and the focus; combo boxes are painted whole. The edit part of a
// drop-down combo box is an edit box of its own. Owner-drawn combo boxes are left
// to their owners.
void AttachEditsAndCombos(SkinEngine& engine, int n, HWND window);

struct EditFrameLook {
  int width = 0, height = 0;
  RECT inner{};  // the client area and scroll bars, left to the control
  bool hot = false;
  bool focused = false;
  bool translucent = false;
  int controlAlpha = 160;
  ColourRef highlight = 0x00DDCA22;
};

// The frame ring: two pixels of highlight under the pointer, one with the focus,
// a soft dark line otherwise (pixels at 96 DPI, through the scale).
void PaintEditFrame(Graphics& g, const EditFrameLook& look, Scale scale);

struct ComboLook {
  int width = 0, height = 0;
  bool dropList = false;  // no edit part: the skin draws the selected text
  bool hot = false;
  RECT button{};          // the drop button; empty when there is none
  RECT edit{}, list{};    // the edit part and a list shown inside: left to them
  bool translucent = false;
  int controlAlpha = 160;
  ColourRef highlight = 0x00DDCA22;
  Text text;
  ColourRef textColour = 0;
};

// Face, border, drop button with its arrow and, for a drop list, the selected
// text; what the control's parts keep is left in the key colour, last.
// The drop button's rectangle is the platform's; its face and arrow follow the scale.
void PaintComboBox(Graphics& g, const ComboLook& look, Scale scale);

}  // namespace tovel::skin
