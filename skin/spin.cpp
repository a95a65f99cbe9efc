// Spin (up-down) controls in the skin's look. The platform keeps the stepping, the
// auto-repeat and the buddy; the skin paints the whole control.

#include "skin/spin.h"

#include <commctrl.h>
#include <windowsx.h>

#include <optional>

#include "gfx/graphics.h"
#include "gfx/pen.h"
#include "skin/families.h"
#include "skin/gdiplus_constants.h"
#include "skin/glyphs.h"

namespace tovel::skin {
namespace {

constexpr int kCorner = 3;  // at 96 DPI

SIZE WindowSize(HWND c) {
  RECT r;
  ::GetWindowRect(c, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

POINT PointOf(LPARAM lp) { return POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

int HalfAt(HWND c, const SpinState& s, LPARAM lp) {
  const SIZE size = WindowSize(c);
  return SpinHalfAt(size.cx, size.cy, s.horizontal, PointOf(lp));
}

// While pressed, the half the press began on is lit; otherwise the one under the
// pointer, while the pointer is on the control.
void Paint(const ControlContext& c, HWND spin) {
  const SpinState& s = StateOf<SpinState>(c);
  const SIZE size = WindowSize(spin);
  SpinLook look;
  look.width = size.cx;
  look.height = size.cy;
  look.horizontal = s.horizontal;
  look.pressed = s.pressed;
  if (s.pressed)
    look.activeHalf = HalfAt(spin, s, s.pressPosition);
  else if (s.hovered)
    look.activeHalf = s.hoveredHalf;
  look.highlight = c.engine->options().highlightColour;
  BufferedPaint paint(*c.engine, spin, look.width, look.height);
  if (!paint) return;
  PaintSpinControl(paint.surface(), look, c.window->scale());
  WindowDc dc(spin, true);
  paint.CopyTo(dc.get());
}

// Moving within the same half repaints nothing; crossing the middle does.
void OnPointer(const ControlContext& c, HWND spin, Pointer pointer, LPARAM lp) {
  SpinState& s = StateOf<SpinState>(c);
  if (pointer == Pointer::Left) {
    s.hovered = false;
    Paint(c, spin);
    return;
  }
  const int half = HalfAt(spin, s, lp);
  const bool same = pointer == Pointer::Within && s.hovered && half == s.hoveredHalf;
  s.hoveredHalf = half;
  if (!same) {
    s.hovered = true;
    Paint(c, spin);
  }
}

LRESULT OnButton(const ControlContext& c, HWND spin, UINT msg, WPARAM wp, LPARAM lp) {
  SpinState& s = StateOf<SpinState>(c);
  s.pressed = msg == WM_LBUTTONDOWN;
  s.pressPosition = lp;
  // The step's notification reaches the parent's code, which may destroy the control.
  const PassedOn passed = PassOnThenLookUp(c, spin, msg, wp, lp);
  if (passed.now) Paint(passed.now, spin);
  return passed.result;
}

void DrawHalf(Graphics& g, const SpinLook& look, int half, const RECT& r, GlyphKind arrow, float f) {
  const float x = static_cast<float>(r.left), y = static_cast<float>(r.top);
  const float w = static_cast<float>(r.right - r.left - 1), h = static_cast<float>(r.bottom - r.top - 1);
  const bool active = look.activeHalf == half;
  Argb top, bottom, edge;
  if (active) {
    top = look.pressed ? ToArgb(look.highlight, 100) : 0x64FFFFFF;
    bottom = look.pressed ? 0x96FFFFFF : ToArgb(look.highlight, 150);
    edge = ToArgb(look.highlight, 200);
  } else {
    top = half == 0 && !look.horizontal ? 0x3CFFFFFF : 0x14FFFFFF;
    bottom = ToArgb(look.highlight, 100);
    edge = 0x64000000;
  }
  FillRoundedGradient(g, x, y, w, h, kCorner * f, PointF{x, y - f}, PointF{x, y + h + f}, top, bottom);
  DrawGlyph(g, RectF{x, y, static_cast<float>(r.right - r.left), static_cast<float>(r.bottom - r.top)}, arrow, f);
  OutlineRounded(g, x, y, w, h, kCorner * f, edge, f);
}

std::optional<LRESULT> OnMessage(const ControlContext& c, HWND spin, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOVE: Paint(c, spin); break;
    case WM_PAINT: return PaintWhole(spin, [&] { Paint(c, spin); });
    case WM_ERASEBKGND: return SkipErase(wp);
    case WM_NCPAINT: return 0;  // no border of the platform's while skinned
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return OnButton(c, spin, msg, wp, lp);
  }
  return std::nullopt;
}

constexpr ControlFamily kSpins{Family::Spins, &OnMessage, &OnPointer};

}  // namespace

LRESULT CALLBACK SpinControlProc(HWND spin, UINT msg, WPARAM wp, LPARAM lp) {
  return Dispatch(kSpins, spin, msg, wp, lp);
}

void AttachSpinControls(SkinEngine& engine, int n, HWND window) {
  SkinnedWindow* w = engine.Record(n);
  if (!w) return;
  ForEachChildOfClass(window, UPDOWN_CLASSW, [&](HWND spin) {
    SpinState s;
    s.horizontal = (::GetWindowLongPtrW(spin, GWL_STYLE) & UDS_HORZ) != 0;
    RegisterControl(*w, n, Family::Spins, spin, SpinControlProc, s);
  });
}

int SpinSplit(int width, int height, bool horizontal) { return ((horizontal ? width : height) + 1) / 2; }

int SpinHalfAt(int width, int height, bool horizontal, POINT p) {
  return (horizontal ? p.x : p.y) >= SpinSplit(width, height, horizontal) ? 1 : 0;
}

void PaintSpinControl(Graphics& g, const SpinLook& look, Scale scale) {
  const float f = Factor(scale);
  const int w = look.width, h = look.height;
  const int smoothing = g.GetSmoothingMode();
  g.SetSmoothingMode(kSmoothingAntiAlias);
  g.SetCompositingQuality(kCompositingHighQuality);
  FillRounded(g, 0, 0, static_cast<float>(w - 1), static_cast<float>(h - 1), kCorner * f, 0xA0FFFFFF);
  const int split = SpinSplit(w, h, look.horizontal);
  const RECT first = look.horizontal ? RECT{0, 0, split, h} : RECT{0, 0, w, split};
  const RECT second = look.horizontal ? RECT{split, 0, w, h} : RECT{0, split, w, h};
  DrawHalf(g, look, 0, first, look.horizontal ? GlyphKind::ArrowLeft : GlyphKind::ArrowUp, f);
  DrawHalf(g, look, 1, second, look.horizontal ? GlyphKind::ArrowRight : GlyphKind::ArrowDown, f);
  g.SetSmoothingMode(smoothing);
}

}  // namespace tovel::skin
