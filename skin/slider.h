#pragma once

#include <windows.h>

#include "base/scale.h"
#include "skin/family_states.h"
#include "skin/layout.h"

namespace tovel {
class Graphics;
}

namespace tovel::skin {

class SkinEngine;

// Track bars keep all their behaviour; only their painting is the skin's.
void AttachSliders(SkinEngine& engine, int n, HWND window);

struct SliderLook {
  int width = 0, height = 0;
  bool vertical = false;
  TickPlacement ticks = TickPlacement::BottomOrRight;
  bool hot = false;
  bool disabled = false;
  bool selectionRange = false;
  bool frame = true;  // the rounded frame around the whole slider
  RECT channel{}, thumb{};
  int position = 0, minimum = 0, maximum = 0;
  int selectionStart = 0, selectionEnd = 0;
  ColourRef highlight = 0x00DDCA22;
};

// A thin rounded channel, a dot for the thumb that grows into a circle under the
// pointer, and the highlight from the channel's start to the thumb.
// The channel and thumb rectangles are the platform's; the thumb's sizes, pens and
// corners follow the scale.
void PaintSlider(Graphics& g, const SliderLook& look, Scale scale);

}  // namespace tovel::skin
