#pragma once

#include <windows.h>

#include "base/scale.h"
#include "skin/layout.h"

namespace tovel {
class Graphics;
}  // namespace tovel

namespace tovel::skin {

class SkinEngine;

// Up-down controls keep their stepping and buddy; the skin paints them as two
// rounded halves with arrows.
void AttachSpinControls(SkinEngine& engine, int n, HWND window);

// The window procedure that replaces a taken-over spin control's.
LRESULT CALLBACK SpinControlProc(HWND spin, UINT msg, WPARAM wp, LPARAM lp);

// Where a spin control of the given size splits: half its length, rounded.
int SpinSplit(int width, int height, bool horizontal);
// The half under a point of the control: 0 the first (top or left), 1 the second.
// The split line itself belongs to the second half, as it does for the platform's
// arrows.
int SpinHalfAt(int width, int height, bool horizontal, POINT p);

struct SpinLook {
  int width = 0, height = 0;
  bool horizontal = false;
  int activeHalf = -1;  // the lit half, -1 for none
  bool pressed = false;  // the lit half is held down
  ColourRef highlight = 0x00DDCA22;
};

// A translucent base and two rounded halves, each with its arrow; the active
// half in the highlight colour, inverted while pressed.
// Corners, outlines and arrows follow the scale; the arrows sit centred in their halves.
void PaintSpinControl(Graphics& g, const SpinLook& look, Scale scale);

}  // namespace tovel::skin
