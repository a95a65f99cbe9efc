// Progress bars in the skin's look. The platform keeps the range, the position and
// the stepping; the skin paints the whole window, border included.

#include "skin/progress.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "gfx/graphics.h"
#include "skin/families.h"

namespace tovel::skin {
namespace {

// Sizes at 96 DPI.
constexpr int kTroughCorner = 5, kTroughInnerCorner = 1, kBarCorner = 3;
constexpr int kInset = 1;  // the trough's shade and the bar inside the frame

void Paint(const ControlContext& c, HWND p) {
  RECT window;
  ::GetWindowRect(p, &window);
  ProgressLook look;
  look.width = window.right - window.left;
  look.height = window.bottom - window.top;
  look.vertical = StateOf<ProgressState>(c).vertical;
  look.position = static_cast<int>(::SendMessageW(p, PBM_GETPOS, 0, 0));
  PBRANGE range{};
  ::SendMessageW(p, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
  look.low = range.iLow;
  look.high = range.iHigh;
  look.highlight = c.engine->options().highlightColour;
  BufferedPaint paint(*c.engine, p, look.width, look.height);
  if (!paint) return;
  PaintProgressBar(paint.surface(), look, c.window->scale());
  WindowDc dc(p, true);
  paint.CopyTo(dc.get());
}

std::optional<LRESULT> OnMessage(const ControlContext& c, HWND p, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_MOVE: Paint(c, p); break;
    case WM_PAINT: return PaintWhole(p, [&] { Paint(c, p); });
    case WM_ERASEBKGND: return SkipErase(wp);
    // The border is part of the skin's picture.
    case WM_NCPAINT: Paint(c, p); return 0;
  }
  return std::nullopt;
}

constexpr ControlFamily kProgress{Family::Progress, &OnMessage};

LRESULT CALLBACK ProgressBarProc(HWND p, UINT msg, WPARAM wp, LPARAM lp) {
  return Dispatch(kProgress, p, msg, wp, lp);
}

}  // namespace

void AttachProgressBars(SkinEngine& engine, int n, HWND window) {
  SkinnedWindow* w = engine.Record(n);
  if (!w) return;
  ForEachChildOfClass(window, PROGRESS_CLASSW, [&](HWND p) {
    RegisterControl(*w, n, Family::Progress, p, ProgressBarProc,
                    ProgressState{(::GetWindowLongPtrW(p, GWL_STYLE) & PBS_VERTICAL) != 0});
  });
}

double ProgressShare(int position, int low, int high) {
  if (high <= low) return 0;
  const double done = (static_cast<double>(position) - low) / (static_cast<double>(high) - low);
  return std::clamp(done, 0.0, 1.0);
}

void PaintProgressBar(Graphics& g, const ProgressLook& look, Scale scale) {
  const float f = Factor(scale), in = static_cast<float>(scale.Px(kInset));
  const float w = static_cast<float>(look.width), h = static_cast<float>(look.height);
  OutlineRounded(g, 0, 0, w - 1, h - 1, kTroughCorner * f, 0x32000000, f);
  // The trough's shade runs across it: top to bottom, or left to right when upright.
  const PointF across = look.vertical ? PointF{w - in, in} : PointF{in, h - in};
  FillRoundedGradient(g, in, in, w - 2 * in, h - 2 * in, kTroughInnerCorner * f, PointF{in, in}, across, 0xA0FFFFFF,
                      0x1E000000);

  const double share = ProgressShare(look.position, look.low, look.high);
  float x = 0, y = 0, barW = w, barH = h;
  if (look.vertical) {
    barH = static_cast<float>(std::round(share * h));
    y = h - barH;
  } else {
    barW = static_cast<float>(std::round(share * w));
  }
  // An empty share leaves a figure of negative size, which draws nothing.
  const PointF from{x + in, y + in};
  const PointF to = look.vertical ? PointF{x + barW - 2 * in, y + in} : PointF{x + in, y + barH - 2 * in};
  const float barWidth = barW - 2 * in - 1, barHeight = barH - 2 * in - 1;
  FillRoundedGradient(g, x + in, y + in, barWidth, barHeight, kBarCorner * f, from, to, 0x5AFFFFFF,
                      ToArgb(look.highlight));
  OutlineRounded(g, x + in, y + in, barWidth, barHeight, kBarCorner * f, ToArgb(look.highlight, 150), f);
}

}  // namespace tovel::skin
