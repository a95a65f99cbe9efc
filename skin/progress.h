#pragma once

#include <windows.h>

#include "base/scale.h"
#include "skin/layout.h"

namespace tovel {
class Graphics;
}

namespace tovel::skin {

class SkinEngine;

// Progress bars keep their range and position; only their painting is the skin's.
void AttachProgressBars(SkinEngine& engine, int n, HWND window);

// The share of the range that is done, 0..1; an empty or inverted range has none.
double ProgressShare(int position, int low, int high);

struct ProgressLook {
  int width = 0, height = 0;
  bool vertical = false;
  int position = 0, low = 0, high = 100;
  ColourRef highlight = 0x00DDCA22;
};

// A framed translucent trough and a rounded bar in the highlight colour, from the
// left or from the bottom, as long as the share that is done.
// Corners, pens and the bar's inset follow the scale.
void PaintProgressBar(Graphics& g, const ProgressLook& look, Scale scale);

}  // namespace tovel::skin
