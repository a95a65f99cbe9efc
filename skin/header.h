#pragma once

#include <windows.h>

#include "base/value.h"
#include "base/scale.h"
#include "skin/layout.h"

namespace tovel {
class Graphics;
class Bitmap;
class Font;
}  // namespace tovel

namespace tovel::skin {

class SkinEngine;

// Header controls, free-standing or the column titles of list views, are painted
// item by item on the skin.
void AttachHeaders(SkinEngine& engine, int n, HWND window);

// The window procedure that replaces a taken-over header's.
LRESULT CALLBACK HeaderProc(HWND header, UINT msg, WPARAM wp, LPARAM lp);

// The 1-based item under x, or 0: the 5 pixels (at 96 DPI) at each side of a divider
// belong to no item, so dragging a column border never lights one.
int HeaderItemAt(HWND header, int x, Scale scale = Scale());

enum class HeaderAlign { Left, Centre, Right };

struct HeaderItemLook {
  int width = 0, height = 0;
  bool buttons = false;  // the header has the button style
  bool hot = false;
  bool pressed = false;
  bool translucent = false;
  int controlAlpha = 160;
  ColourRef highlight = 0x00DDCA22;
  Text text;
  HeaderAlign align = HeaderAlign::Left;
  int margin = 3;  // the bitmap margin, before the icon and the text
  const Bitmap* icon = nullptr;
  const Font* font = nullptr;  // the header's; no text without one
};

// One item at (0, 0): face, gradient, hover and pressed overlays, divider, icon and
// text, in that order.
// The divider's width follows the scale; the margin and font are the header's own.
void PaintHeaderItem(Graphics& g, const HeaderItemLook& look, Scale scale);

// Paints every item of a taken-over header; nothing for another window.
void PaintHeader(HWND header);

}  // namespace tovel::skin
