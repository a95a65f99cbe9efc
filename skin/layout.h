#pragma once

// The skin's pure arithmetic: caption-button layout and hit testing, the resize
// zones, the item band, the usable screen area, the caption fade and colour
// conversion. No platform headers, so all of it is tested on the host.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/scale.h"

namespace tovel::skin {

// Colour references are 0x00BBGGRR; the graphics layer takes 0xAARRGGBB.
using ColourRef = std::uint32_t;
using Argb = std::uint32_t;

// Swaps red and blue and puts the alpha on top; opaque when no alpha is given.
constexpr Argb ToArgb(ColourRef c, std::optional<int> alpha = {}) {
  const std::uint32_t a = static_cast<std::uint32_t>(alpha.value_or(255)) & 0xFF;
  return (a << 24) | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

constexpr ColourRef Rgb(int r, int g, int b) {
  return static_cast<ColourRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

enum class ButtonKind { Close = 0, Maximize = 1, Minimize = 2, Menu = 3, Help = 4, Custom = 5 };

struct Extent {
  int width = 0, height = 0;
  friend bool operator==(const Extent&, const Extent&) = default;
};

struct BoxF {
  float x = 0, y = 0, width = 0, height = 0;
};

struct IntBox {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const IntBox&, const IntBox&) = default;
};

// Where the caption buttons sit. The strip is what the pointer lights; the area
// is where the buttons are laid out.
struct CaptionGeometry {
  int stripLeft = 0;
  int stripWidth = 0;
  int stripHeight = 22;
  int areaLeft = 0;
  int areaTop = 0;
  int areaHeight = 22;
  std::vector<BoxF> buttons;  // 1-based button i is buttons[i - 1]
};

inline constexpr int kCaptionMargin = 3;
inline constexpr int kCaptionButtonGap = 1;

// The sizes the caption buttons are laid out with.
struct CaptionMetrics {
  int buttonWidth = 26;  // a button's box; the next one starts a gap further
  int closeWidth = 40;   // the close button's box
  int buttonHeight = 18;
  int gap = kCaptionButtonGap;
  int margin = kCaptionMargin;
  int stripRightGap = 2;
  int stripHeight = 22;
  int areaHeight = 22;
};

// The sum of the widths, the gaps between them and the right margin.
int CaptionStripWidth(std::span<const int> widths, const CaptionMetrics& m = {});

// Lays the buttons out for a client width: each 26 wide (40 for close) plus a
// one-pixel gap, 18 high, from the area's left + 2.
CaptionGeometry LayoutCaptionButtons(int clientWidth, std::span<const ButtonKind> kinds,
                                     std::span<const int> widths, const CaptionMetrics& m = {});

// The 1-based button strictly inside whose box the point lies; 0 for none.
int HitTestCaptionButton(const CaptionGeometry& g, float x, float y);

// True when the point lies in the strip that lights the buttons.
bool InCaptionStrip(const CaptionGeometry& g, float x, float y);

// Where a button's picture goes: one left of its box, at the area top + 1,
// at the picture's own size.
IntBox CaptionButtonPicture(const CaptionGeometry& g, int button, int pictureWidth,
                            int pictureHeight);

// The rectangle a button repaints: its picture plus the separator at its right.
IntBox CaptionButtonBounds(const CaptionGeometry& g, int button, int pictureWidth,
                           int pictureHeight);

// Resize zones of a client rectangle with right edge `right` and bottom `bottom`.
enum class Zone { None, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };
struct ZoneMetrics {
  int margin = kCaptionMargin;  // how far in from an edge its zone reaches
  int corner = 10;              // the corner zones' size
  int edgeStart = 11;           // where an edge's zone begins, from the top or left
};
Zone ZoneAt(int x, int y, int right, int bottom, const ZoneMetrics& m);
inline Zone ZoneAt(int x, int y, int right, int bottom, int margin = kCaptionMargin) {
  return ZoneAt(x, y, right, bottom, ZoneMetrics{margin});
}
int ZoneCursorId(Zone zone);     // IDC_SIZE* number, 0 for none
int ZoneSizeCommand(Zone zone);  // SC_SIZE + WMSZ_*, 0 for none

// The caption band: the icon at (m + 6, m + 2), 17 x 17, and the text from
// x = m + 26 in a band 32 high. It ends before the caption buttons.
inline constexpr int kCaptionIconSize = 17;
inline constexpr int kCaptionBandHeight = 32;
inline constexpr int kCaptionBandBottom = kCaptionMargin + 5 + kCaptionBandHeight;
inline constexpr int kMinimumCaptionHeight = 25;

// Every size of a skinned window's frame in device pixels at its scale. The
// defaults are the sizes at 96 DPI.
struct FrameMetrics {
  int captionHeight = kMinimumCaptionHeight;
  Extent minimumSize{200, 150};
  ZoneMetrics zones;                 // the resize zones along the edges and corners
  CaptionMetrics caption;            // where the caption buttons sit and are hit
  int itemMargin = kCaptionMargin;   // around the item band
  int iconSize = kCaptionIconSize;   // the caption's icon, square
  int iconLeft = kCaptionMargin + 6, iconTop = kCaptionMargin + 2;
  int textLeft = kCaptionMargin + 26, textTop = kCaptionMargin + 5;
  int textGap = 10;  // between the text band and the caption buttons' strip
  int captionBandBottom = kCaptionBandBottom;
  int buttonWidth = 26;
  int closeButtonWidth = 38;
  int buttonHeight = 18;
  int closeCorner = 5;  // the close button's rounded top-right corner
  int glowCorner = 1;
  int outerCorner = 7, innerCorner = 6;  // the frame's two outlines
  int regionCorner = 5;                  // the window region's rounded corners
  float factor = 1;                      // dpi / 96, for pen widths and text sizes
  float penWidth = 1;
  int itemCorner = 4;  // the cells of the item band
};

// The frame's sizes at a scale, each through Scale::Px; a caption height below
// kMinimumCaptionHeight (at 96 DPI) is raised to it.
FrameMetrics FrameMetricsAt(Scale scale, int captionHeightAt96);

// A window's size at a new DPI: its size at 96 DPI, from the DPI it is at, scaled
// again with the one rule, so the window stays whole pixels of its 96-DPI size.
Extent RescaledSize(Extent size, Scale from, Scale to);

// The item band along the bottom and the items in it. A width of -1 takes
// the rest of the width.
struct ItemLayout {
  IntBox band;
  std::vector<IntBox> items;
};
ItemLayout LayoutItems(int clientRight, int clientBottom, int itemAreaSize,
                       std::span<const int> itemWidths, int margin = kCaptionMargin);

// Usable area for a maximized window: the screen less the taskbar.
Extent UsableArea(int screenWidth, int screenHeight, int taskbarHeight, bool maximized);

// The caption buttons' glow: a button fades in over 8 steps (alpha 30 .. 240) and
// out over 8 (210 .. 0), one step per timer tick.
struct Fade {
  int button = 0;
  int step = 0;
  bool Running() const { return button >= 1 && step <= 7; }
};

struct FadeDraw {
  int button = 0;
  int alpha = 0;
};

class CaptionFade {
 public:
  // The pointer moved from one button to another (0 for none). Returns a draw that
  // must happen at once: a fade-out cut short goes straight to alpha 0.
  std::optional<FadeDraw> Hover(int from, int to);

  // One timer tick: the draws to make, fade-in first.
  std::vector<FadeDraw> Tick();

  // Nothing left to animate: the timer can stop.
  bool Idle() const { return !in_.Running() && !out_.Running(); }

  // The alpha a button shows when it is drawn outside the animation.
  int RestingAlpha(int button, int hot) const;

  void Reset() { in_ = out_ = {}; }
  const Fade& in() const { return in_; }
  const Fade& out() const { return out_; }

 private:
  Fade in_, out_;
};

inline constexpr int kFadeSteps = 8;
inline constexpr int kFadeStepAlpha = 30;
inline constexpr unsigned kFadeIntervalMs = 20;

}  // namespace tovel::skin
