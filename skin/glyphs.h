#pragma once
// The small pictures of the skin (caption glyphs, the check box and its mark, the
// spin and combo arrows) drawn as shapes, so they stay sharp at every display scale
// and nothing has to be decoded to show them.

#include <windows.h>

#include "gfx/graphics_object.h"

namespace tovel {
class Graphics;
}

namespace tovel::skin {

enum class GlyphKind {
  CaptionClose,
  CaptionMaximize,
  CaptionRestore,
  CaptionMinimize,
  CaptionHelp,
  CaptionMenu,
  CheckBox,
  CheckMark,
  ComboArrow,
  ArrowLeft,
  ArrowUp,
  ArrowRight,
  ArrowDown,
  // The taskbar button's transport, laid out on a 16 x 16 picture.
  TransportPrevious,
  TransportPlay,
  TransportPause,
  TransportNext,
  // The play order's caption button, one per mode.
  CaptionInOrder,
  CaptionRepeatList,
  CaptionRepeatOne,
  CaptionShuffle,
};

struct GlyphColours {
  Argb ink = 0xFF000000;  // the shape itself; the check box's border
  Argb rim = 0;           // a dark edge under caption glyphs; 0 draws none
  Argb faceTop = 0;       // the check box's face, top to bottom
  Argb faceBottom = 0;
};

// The skin's own colours for each glyph.
GlyphColours DefaultGlyphColours(GlyphKind kind);

// The glyph's picture size in whole device pixels at this scale: a caption glyph
// fills its button's picture (26 x 18, the close button's 38 x 18 at scale 1), the
// check box and its mark are 13 square, an arrow is 7 x 4 (4 x 7 across), a transport
// glyph 16 square.
SIZE GlyphExtent(GlyphKind kind, float scale);

// Draws the glyph centred in `box`, which is in device pixels (a button's picture, a
// spin half, a drop button, or a square of GlyphExtent). `scale` (dpi / 96) sets its
// size and line widths; straight edges land on whole pixels, so a one-pixel line at
// scale 1 covers exactly one pixel, and slanted or curved edges are anti-aliased the
// same way on every platform. Nothing is drawn outside the box.
void DrawGlyph(Graphics& g, const RectF& box, GlyphKind kind, const GlyphColours& colours,
               float scale);
inline void DrawGlyph(Graphics& g, const RectF& box, GlyphKind kind, float scale) {
  DrawGlyph(g, box, kind, DefaultGlyphColours(kind), scale);
}

}  // namespace tovel::skin
