#pragma once

#include <windows.h>

#include <optional>

#include "base/value.h"
#include "skin/gdiplus_constants.h"
#include "skin/layout.h"

namespace tovel {
class Graphics;
}

namespace tovel::skin {

class SkinnedWindow;

// The one rectangle the caption is restored, drawn and copied in.
RECT CaptionBand(const SkinnedWindow& w);
// Where the text is laid out inside it.
RECT CaptionTextBand(const SkinnedWindow& w);

struct HaloText {
  ColourRef textColour = 0x00FFFFFF;
  ColourRef shadowColour = 0x00808080;  // drawn with alpha 150
  float haloOffset = 1;
  Text font = "宋体";
  int style = 0;
  float size = 13;  // pixels
  int align = kAlignNear;  // near, centre, far
  int lineAlign = kAlignNear;
};

// Text with a light halo: drawn four times shifted in the shadow colour, then once
// on top, so it reads on any picture.
void DrawHaloText(Graphics& surface, const Text& text, const RECT& layout, const HaloText& style);

}  // namespace tovel::skin
