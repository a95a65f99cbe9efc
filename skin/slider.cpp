// Sliders in the skin's look. The platform keeps dragging, keys and notifications.

#include "skin/slider.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "gfx/brush.h"
#include "gfx/graphics.h"
#include "gfx/pen.h"
#include "skin/families.h"
#include "skin/gdiplus_constants.h"

namespace tovel::skin {
namespace {

// Sizes at 96 DPI.
constexpr int kHotThumb = 11, kDotThumb = 4;
constexpr int kPastTheEnd = 8, kHighlightPastTheEnd = 10;
constexpr int kFrameCorner = 5, kFrameInnerCorner = 3, kChannelCorner = 1;
constexpr float kSelectionChannel = 4;  // the channel's thickness with a selection range
constexpr float kSelectionMark = 2;     // the selection's outline across the channel
// The thumb moves off the middle line toward ticks drawn on the top or on both sides.
constexpr int kThumbShiftTicksTop = 2, kThumbShiftTicksBoth = 1;

LRESULT CALLBACK SliderProc(HWND s, UINT msg, WPARAM wp, LPARAM lp);

SliderState StateFromStyle(LONG_PTR style) {
  SliderState st;
  st.vertical = (style & TBS_VERT) != 0;
  st.selectionRange = (style & TBS_ENABLESELRANGE) != 0;
  if (style & TBS_NOTICKS)
    st.ticks = TickPlacement::None;
  else if (style & TBS_TOP)
    st.ticks = TickPlacement::TopOrLeft;
  else if (style & TBS_BOTH)
    st.ticks = TickPlacement::Both;
  return st;
}

RECT Query(HWND s, UINT msg) {
  RECT r{};
  ::SendMessageW(s, msg, 0, reinterpret_cast<LPARAM>(&r));
  return r;
}

int Value(HWND s, UINT msg) { return static_cast<int>(::SendMessageW(s, msg, 0, 0)); }

void Paint(const ControlContext& c, HWND s) {
  const SliderState& st = StateOf<SliderState>(c);
  RECT window;
  ::GetWindowRect(s, &window);
  SliderLook look;
  look.width = window.right - window.left;
  look.height = window.bottom - window.top;
  look.vertical = st.vertical;
  look.ticks = st.ticks;
  look.disabled = !::IsWindowEnabled(s);
  look.hot = st.hot && !look.disabled;
  look.selectionRange = st.selectionRange;
  look.frame = c.engine->options().optionThree != 0;
  look.channel = Query(s, TBM_GETCHANNELRECT);
  look.thumb = Query(s, TBM_GETTHUMBRECT);
  look.position = Value(s, TBM_GETPOS);
  look.minimum = Value(s, TBM_GETRANGEMIN);
  look.maximum = Value(s, TBM_GETRANGEMAX);
  look.selectionStart = Value(s, TBM_GETSELSTART);
  look.selectionEnd = Value(s, TBM_GETSELEND);
  look.highlight = c.engine->options().highlightColour;
  BufferedPaint paint(*c.engine, s, look.width, look.height);
  if (!paint) return;
  PaintSlider(paint.surface(), look, c.window->scale());
  WindowDc dc(s, true);
  paint.CopyTo(dc.get());
}

// A disabled slider ignores the pointer.
void OnPointer(const ControlContext& c, HWND s, Pointer pointer, LPARAM) {
  SliderState& st = StateOf<SliderState>(c);
  if (pointer == Pointer::Entered && ::IsWindowEnabled(s)) {
    st.hot = true;
    Paint(c, s);
  } else if (pointer == Pointer::Left) {
    st.hot = false;
    Paint(c, s);
  }
}

std::optional<LRESULT> OnMessage(const ControlContext& c, HWND s, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOVE: Paint(c, s); break;
    case WM_PAINT: return PaintWhole(s, [&] { Paint(c, s); });
    case WM_ERASEBKGND: return SkipErase(wp);
    case WM_NCPAINT: {
      // The whole window is painted with the client area; only a frame of the
      // platform's own needs this.
      RECT window, client;
      ::GetWindowRect(s, &window);
      ::GetClientRect(s, &client);
      if (window.right - window.left != client.right || window.bottom - window.top != client.bottom) Paint(c, s);
      return 0;
    }
    case WM_ENABLE: {
      // A hook of the window's own may act on the change and destroy the slider.
      const PassedOn passed = PassOnThenLookUp(c, s, msg, wp, lp);
      if (passed.now) Paint(passed.now, s);
      return passed.result;
    }
  }
  return std::nullopt;
}

constexpr ControlFamily kSliders{Family::Sliders, &OnMessage, &OnPointer};

LRESULT CALLBACK SliderProc(HWND s, UINT msg, WPARAM wp, LPARAM lp) { return Dispatch(kSliders, s, msg, wp, lp); }

// The slider's length axis and its cross axis, so one drawing serves both ways.
struct Axis {
  bool vertical;
  float Along(const RECT& r) const { return static_cast<float>(vertical ? r.top : r.left); }
  float AlongEnd(const RECT& r) const { return static_cast<float>(vertical ? r.bottom : r.right); }
  float Across(const RECT& r) const { return static_cast<float>(vertical ? r.left : r.top); }
  float AcrossEnd(const RECT& r) const { return static_cast<float>(vertical ? r.right : r.bottom); }
  RectF Box(float along, float across, float length, float thickness) const {
    return vertical ? RectF{across, along, thickness, length} : RectF{along, across, length, thickness};
  }
  PointF Point(float along, float across) const { return vertical ? PointF{across, along} : PointF{along, across}; }
};

void FillBox(Graphics& g, const RectF& b, float r, const PointF& from, const PointF& to, Argb a, Argb z) {
  FillRoundedGradient(g, b.x, b.y, b.width, b.height, r, from, to, a, z);
}

// The thumb's diameter in whole pixels, so the dot and the circle stay round and sharp.
float ThumbSize(bool hot, Scale scale) { return static_cast<float>(scale.Px(hot ? kHotThumb : kDotThumb)); }

float Pixels(int at96, Scale scale) { return static_cast<float>(scale.Px(at96)); }

}  // namespace

void AttachSliders(SkinEngine& engine, int n, HWND window) {
  SkinnedWindow* w = engine.Record(n);
  if (!w) return;
  ForEachChildOfClass(window, TRACKBAR_CLASSW, [&](HWND s) {
    RegisterControl(*w, n, Family::Sliders, s, SliderProc, StateFromStyle(::GetWindowLongPtrW(s, GWL_STYLE)));
  });
}

void PaintSlider(Graphics& g, const SliderLook& look, Scale scale) {
  const float f = Factor(scale);
  const Axis a{look.vertical};
  const float w = static_cast<float>(look.width), h = static_cast<float>(look.height);
  if (look.frame) {
    OutlineRounded(g, 0, 0, w - 1, h - 1, kFrameCorner * f, 0x1E000000, f);
    FillRoundedGradient(g, 1, 1, w - 2, h - 2, kFrameInnerCorner * f, PointF{1, 1}, a.vertical ? PointF{w - 1, 1} : PointF{1, h - 1},
                        0xA0FFFFFF, 0x1E000000);
  }
  // The channel; with a selection range a thin bar in its middle.
  const RECT& c = look.channel;
  float across = a.Across(c), thickness = a.AcrossEnd(c) - a.Across(c);
  if (look.selectionRange) {
    across += (thickness - kSelectionChannel * f) / 2;
    thickness = kSelectionChannel * f;
  }
  const float start = a.Along(c), length = a.AlongEnd(c) - a.Along(c);
  const RectF bar = a.Box(start, across, length, thickness);
  FillBox(g, bar, kChannelCorner * f, a.Point(start, across - f), a.Point(start, across + thickness + f), 0x32000000,
          0x1E000000);

  const int range = look.maximum - look.minimum;
  const bool atEnd = range > 0 && look.position >= look.maximum;
  if (look.selectionRange && range > 0) {
    Pen pen;
    const float from = start + static_cast<float>(look.selectionStart - look.minimum) * length / range - f;
    const float span = static_cast<float>(look.selectionEnd - look.selectionStart) * length / range;
    if (span > 0 && pen.CreatePen1(0xA0FFFFFF, f)) {
      const RectF sel = a.Box(from, across - f, span, kSelectionMark * f);
      g.DrawRectangle(pen, sel.x, sel.y, sel.width, sel.height);
    }
  }

  // The highlight runs from the channel's start to the thumb.
  const float lead = a.Along(look.thumb);
  if (!look.disabled) {
    Pen pen;
    const float reach = lead - start + (atEnd ? Pixels(kHighlightPastTheEnd, scale) : 0);
    if (reach > 0 && pen.CreatePen1(ToArgb(look.highlight, 200), f)) {
      const RectF lit = a.Box(start, across, reach, thickness - f);
      g.DrawRectangle(pen, lit.x, lit.y, lit.width, lit.height);
    }
  }

  // The thumb: a dot, or a circle under the pointer, on the channel's middle line.
  const float size = ThumbSize(look.hot, scale);
  float middle = across + thickness / 2 - size / 2;
  if (look.ticks == TickPlacement::TopOrLeft) middle -= Pixels(kThumbShiftTicksTop, scale);
  if (look.ticks == TickPlacement::Both) middle -= Pixels(kThumbShiftTicksBoth, scale);
  const float along = lead + (!look.hot && atEnd ? Pixels(kPastTheEnd, scale) : 0);
  const RectF thumb = a.Box(along, middle, size, size);
  const int smoothing = g.GetSmoothingMode();
  g.SetSmoothingMode(kSmoothingAntiAlias);
  SolidBrush white;
  LinearGradientBrush shade;
  Pen edge;
  if (white.CreateSolidFill(look.disabled ? 0xFFC0C0C0 : 0xFFFFFFFF))
    g.FillEllipse(white, thumb.x, thumb.y, thumb.width, thumb.height);
  if (shade.CreateLineBrush(PointF{thumb.x, thumb.y - f}, PointF{thumb.x, thumb.y + thumb.height + f}, 0x00FFFFFF,
                            0x5A000000))
    g.FillEllipse(shade, thumb.x, thumb.y, thumb.width, thumb.height);
  if (edge.CreatePen1(0x32000000, f)) g.DrawEllipse(edge, thumb.x, thumb.y, thumb.width, thumb.height);
  g.SetSmoothingMode(smoothing);
}

}  // namespace tovel::skin
