#pragma once

#include <windows.h>

#include <cstdint>

#include "base/scale.h"
#include "skin/layout.h"

namespace tovel {
class DibDc;
}

namespace tovel::skin {

class SkinEngine;

// List boxes, the drop lists of combo boxes, list views, tree views, IP address
// controls and date pickers: a thin frame that follows focus and hover, the
// system's scroll bars, and with translucency the skin behind their items.
void AttachListControls(SkinEngine& engine, int n, HWND window);

struct ListFrameLook {
  int width = 0, height = 0;
  RECT inner{};  // the client area and scroll bars, left to the control
  bool hovered = false;
  bool focused = false;
  bool translucent = false;
  int controlAlpha = 160;
  ColourRef highlight = 0x00DDCA22;
};

// The rectangle inside the frame that is left to the control: its client area and
// scroll bars, less the inner pixels of a hovered frame (two pixels at 96 DPI).
RECT ControlPart(const ListFrameLook& look, Scale scale);

// The frame ring over a copy of the skin behind the control: the white layer and
// the border, blended pixel by pixel. Only the ring is touched.
void PaintListFrame(DibDc& picture, const ListFrameLook& look, Scale scale);

// Lays what a control drew on black and on white over `base`: what it left
// unpainted shows the base, what it painted shows as painted, edges blended.
// All three are pixels of the same size, 0x00RRGGBB.
void ComposeOverBase(const std::uint32_t* onBlack, const std::uint32_t* onWhite, std::uint32_t* base,
                     size_t count);

}  // namespace tovel::skin
