// The caption buttons: layout, hit test, and their painting with the hover glow
// and the pressed look. A button repaints only its own rectangle of the composed
// picture, restored from the caption strip first.

#include <algorithm>

#include "gfx/brush.h"
#include "gfx/graphics.h"
#include "gfx/image.h"
#include "gfx/path.h"
#include "gfx/pen.h"
#include "skin/engine.h"
#include "skin/helpers.h"

namespace tovel::skin {
namespace {

constexpr int kUnitPixel = 2;
constexpr int kSmoothingAntiAlias = 4;
constexpr int kCombineIntersect = 1;
constexpr int kCloseCorner = 5;

RECT AsRect(const IntBox& b) { return RECT{b.x, b.y, b.x + b.width, b.y + b.height}; }

// The close button's shape: square but for its rounded top-right corner.
void AddCloseShape(GraphicsPath& path, float x, float y, float w, float h) {
  const float d = kCloseCorner;
  path.AddPathLine(x, y + h, x, y);
  path.AddPathLine(x, y, x + w - d, y);
  path.AddPathArc(x + w - d, y, d, d, 270, 90);
  path.AddPathLine(x + w, y + d, x + w, y + h);
  path.ClosePathFigure();
}

void FillShape(Graphics& g, ButtonKind kind, bool rounded, float x, float y, float w, float h,
               Argb top, Argb bottom) {
  GraphicsPath path;
  LinearGradientBrush brush;
  if (!path.CreatePath() ||
      !brush.CreateLineBrush(PointF{x, y - 1}, PointF{x, y + h + 1}, top, bottom))
    return;
  if (kind == ButtonKind::Close)
    AddCloseShape(path, x, y, w, h);
  else if (rounded)
    AddRoundedRect(path, x, y, w, h, 1);
  else
    path.AddPathRectangle(x, y, w, h);
  g.FillPath(brush, path);
}

Argb WithAlpha(Argb colour, int alpha) {
  return (static_cast<Argb>(std::clamp(alpha, 0, 255)) << 24) | (colour & 0x00FFFFFF);
}

// Pictures are decoded once, on first use.
const Bitmap* Decoded(const ByteSet& bytes, std::shared_ptr<Bitmap>& cache) {
  if (!cache && !bytes.empty()) cache = DecodePicture(bytes);
  return cache.get();
}

// The glow's alphas come in steps of 30 (0 .. 240); the pressed look follows them.
constexpr int kLookCount = 10;
int LookIndex(bool pressed, int alpha) {
  if (pressed) return kLookCount - 1;
  return alpha >= 0 && alpha % 30 == 0 && alpha / 30 < kLookCount - 1 ? alpha / 30 : -1;
}

// A remembered look of the button, copied into the composed picture; false when
// it has not been drawn on this composition yet.
bool CopyRememberedLook(CaptionButton& b, SkinnedWindow& w, bool zoomed, int index, const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (b.looksGeneration != w.generation || b.looksZoomed != zoomed || b.looks.height() != height) {
    b.looksMade = 0;
    b.looksGeneration = w.generation;
    b.looksZoomed = zoomed;
    if (b.looks.width() != width * kLookCount || b.looks.height() != height) b.looks = DibDc(width * kLookCount, height);
  }
  if (index < 0 || !(b.looksMade & (1u << index)) || !b.looks) return false;
  ::BitBlt(w.composed.get(), r.left, r.top, width, height, b.looks.get(), index * width, 0, SRCCOPY);
  return true;
}

void RememberLook(CaptionButton& b, const SkinnedWindow& w, int index, const RECT& r) {
  if (index < 0 || !b.looks) return;
  const int width = r.right - r.left, height = r.bottom - r.top;
  ::BitBlt(b.looks.get(), index * width, 0, width, height, w.composed.get(), r.left, r.top, SRCCOPY);
  b.looksMade |= 1u << index;
}

void CopyToWindow(const SkinnedWindow& w, const RECT& r) {
  ChildCutDc dc(w.hwnd);
  ::BitBlt(dc.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, w.composed.get(), r.left,
           r.top, SRCCOPY);
}

}  // namespace

bool SkinEngine::AddCaptionButton(HWND hwnd, ByteView image, const Text& tip,
                                  std::function<void()> callback) {
  const int n = WindowNumber(hwnd);
  SkinnedWindow* w = Record(n);
  if (!w) return false;
  CaptionButton b;
  b.image.assign(image.begin(), image.end());
  b.tip = tip;
  b.callback = std::move(callback);
  w->buttons.insert(w->buttons.begin(), std::move(b));
  w->tip = ToolTip();  // the tools are numbered by position: made again at the next hover
  w->tipToolsAdded = false;
  w->hotButton = 0;
  w->fade.Reset();
  OnWindowMoved(n);
  w->backgroundDirty = true;
  ::InvalidateRect(hwnd, nullptr, FALSE);
  return true;
}

void SkinEngine::OnWindowMoved(int n) {
  SkinnedWindow* w = Record(n);
  if (!w) return;
  RECT rc{};
  ::GetClientRect(w->hwnd, &rc);
  std::vector<ButtonKind> kinds;
  std::vector<int> widths;
  for (const CaptionButton& b : w->buttons) {
    kinds.push_back(b.kind);
    widths.push_back(b.width);
  }
  w->caption = LayoutCaptionButtons(rc.right, kinds, widths);
  if (!w->tip.GetWindow()) return;  // made on the first hover
  for (int b = 1; b <= static_cast<int>(w->buttons.size()); ++b) {
    const CaptionButton& button = w->buttons[static_cast<size_t>(b - 1)];
    const RECT area = AsRect(CaptionButtonPicture(w->caption, b, button.width, button.height));
    if (w->tipToolsAdded)
      w->tip.NewToolRect(static_cast<UINT_PTR>(b), area);
    else
      w->tip.AddTool(area, button.tip, static_cast<UINT_PTR>(b));
  }
  w->tipToolsAdded = true;
}

int SkinEngine::HitTestCaptionButton(int n, int x, int y) const {
  const SkinnedWindow* w = Record(n);
  return w ? skin::HitTestCaptionButton(w->caption, static_cast<float>(x), static_cast<float>(y)) : 0;
}

int SkinEngine::CaptionDoubleClickButton(int n) const {
  const SkinnedWindow* w = Record(n);
  if (!w) return 0;
  for (size_t i = 0; i < w->buttons.size(); ++i)
    if (w->buttons[i].kind == ButtonKind::Maximize) return static_cast<int>(i + 1);
  return 0;
}

void SkinEngine::SetHelpCallback(HWND hwnd, std::function<void()> callback) {
  if (SkinnedWindow* w = Record(WindowNumber(hwnd))) w->helpCallback = std::move(callback);
}

void SkinEngine::SetMenuCallback(HWND hwnd, std::function<void()> callback) {
  if (SkinnedWindow* w = Record(WindowNumber(hwnd))) w->menuCallback = std::move(callback);
}

void SkinEngine::DrawCaptionButton(int n, int button, Graphics* surface, bool pressed,
                                   int glowAlpha) {
  SkinnedWindow* w = Record(n);
  if (!w || !w->composed || button < 1 || button > static_cast<int>(w->buttons.size())) return;
  CaptionButton& b = w->buttons[static_cast<size_t>(button - 1)];
  const bool restoreGlyph = b.kind == ButtonKind::Maximize && ::IsZoomed(w->hwnd);
  const wchar_t* glyph = restoreGlyph ? b.secondGlyph : b.glyph;
  const Bitmap* picture = glyph ? Glyph(glyph)
                          : restoreGlyph ? Decoded(b.secondImage, b.secondPicture) : Decoded(b.image, b.picture);
  const IntBox p = CaptionButtonPicture(w->caption, button, b.width, b.height);
  const RECT bounds = AsRect(CaptionButtonBounds(w->caption, button, b.width, b.height));
  const float x = static_cast<float>(p.x), y = static_cast<float>(p.y);
  const float bw = static_cast<float>(p.width), bh = static_cast<float>(p.height);

  const int look = LookIndex(pressed, glowAlpha);
  if (!surface && CopyRememberedLook(b, *w, restoreGlyph, look, bounds)) {
    CopyToWindow(*w, bounds);
    return;
  }
  Graphics own;
  if (!surface) {
    if (!own.CreateFromDC(w->composed.get())) return;
    own.SetSmoothingMode(kSmoothingAntiAlias);
    surface = &own;
  }
  Graphics& g = *surface;
  // Nothing of a button lands outside its own rectangle, so repeated fade steps
  // never blend into a neighbour.
  const unsigned saved = g.Save();
  g.SetClipRectI(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 kCombineIntersect);
  if (pressed) {
    g.Flush();
    RestoreCaptionStrip(n, bounds);
    const bool close = b.kind == ButtonKind::Close;
    FillShape(g, b.kind, false, x, y, bw, bh, close ? 0xFFFF0000 : 0x50000000,
              close ? 0x1EFFFFFF : 0x05FFFFFF);
    if (picture) g.DrawImageRectRectI(*picture, p.x, p.y, p.width - 1, p.height, 0, 0,
                                      static_cast<int>(picture->GetWidth()),
                                      static_cast<int>(picture->GetHeight()), kUnitPixel);
  } else {
    PaintButtonGlow(g, n, button, glowAlpha);
    LinearGradientBrush sheen;
    if (sheen.CreateLineBrush(PointF{x, y - 1}, PointF{x, y + bh}, 0x32FFFFFF, 0x00000000))
      g.FillRectangle(sheen, x - 1, y, bw + 1, bh - 1);
    if (picture) g.DrawImageRectRectI(*picture, p.x, p.y, p.width, p.height, 0, 0,
                                      static_cast<int>(picture->GetWidth()),
                                      static_cast<int>(picture->GetHeight()), kUnitPixel);
    PaintButtonSeparator(n, button, g);
  }
  g.Restore(saved);
  if (surface != &own) return;
  own.Delete();
  RememberLook(b, *w, look, bounds);
  CopyToWindow(*w, bounds);
}

void SkinEngine::PaintButtonGlow(Graphics& g, int n, int button, int alpha) {
  SkinnedWindow* w = Record(n);
  if (!w || button < 1 || button > static_cast<int>(w->buttons.size())) return;
  const CaptionButton& b = w->buttons[static_cast<size_t>(button - 1)];
  const IntBox p = CaptionButtonPicture(w->caption, button, b.width, b.height);
  g.Flush();
  RestoreCaptionStrip(n, AsRect(CaptionButtonBounds(w->caption, button, b.width, b.height)));
  if (alpha <= 0) return;
  const float x = static_cast<float>(p.x), y = static_cast<float>(p.y);
  const float bw = static_cast<float>(p.width), bh = static_cast<float>(p.height);
  const Argb clearWhite = 0x00FFFFFF;
  FillShape(g, ButtonKind::Custom, true, x, y, bw, bh, WithAlpha(0, alpha / 5), clearWhite);
  const Argb tint = b.kind == ButtonKind::Close ? WithAlpha(0x00FF0000, alpha)
                                                : ToArgb(options_.highlightColour, alpha);
  FillShape(g, b.kind, true, x, y, bw, bh, tint, clearWhite);
  FillShape(g, b.kind, true, x, y, bw - 1, bh * 0.8f, WithAlpha(0x00FFFFFF, alpha * 4 / 5),
            clearWhite);
}

void SkinEngine::PaintButtonSeparator(int n, int button, Graphics& g) {
  SkinnedWindow* w = Record(n);
  if (!w || button < 1 || button > static_cast<int>(w->buttons.size())) return;
  const CaptionButton& b = w->buttons[static_cast<size_t>(button - 1)];
  const IntBox p = CaptionButtonPicture(w->caption, button, b.width, b.height);
  const float top = static_cast<float>(w->caption.areaTop);
  const auto line = [&](float x, int alpha) {
    LinearGradientBrush fade;
    Pen pen;
    if (!fade.CreateLineBrush(PointF{0, top}, PointF{0, top + p.height - 3}, WithAlpha(0, alpha),
                              0x00000000) ||
        !pen.CreatePen2(fade, 1))
      return;
    g.DrawLine(pen, x + 0.5f, top + 1, x + 0.5f, top + p.height - 4);
  };
  line(static_cast<float>(p.x), button == 1 ? 100 : 60);
  if (button < static_cast<int>(w->buttons.size())) line(static_cast<float>(p.x + p.width), 60);
}

}  // namespace tovel::skin
