// The caption buttons: layout, hit test, and their painting with the hover glow
// and the pressed look. A button repaints only its own rectangle of the composed
// picture, restored from the caption strip first.

#include <algorithm>
#include <optional>

#include "gfx/brush.h"
#include "gfx/graphics.h"
#include "gfx/image.h"
#include "gfx/path.h"
#include "gfx/pen.h"
#include "skin/gdiplus_constants.h"
#include "skin/glyphs.h"
#include "skin/helpers.h"
#include "skin/skinned_window.h"

namespace tovel::skin {
namespace {

RECT AsRect(const IntBox& b) { return RECT{b.x, b.y, b.x + b.width, b.y + b.height}; }

// The close button's shape: square but for its rounded top-right corner.
void AddCloseShape(GraphicsPath& path, float x, float y, float w, float h, int corner) {
  const float d = static_cast<float>(corner);
  path.AddPathLine(x, y + h, x, y);
  path.AddPathLine(x, y, x + w - d, y);
  path.AddPathArc(x + w - d, y, d, d, 270, 90);
  path.AddPathLine(x + w, y + d, x + w, y + h);
  path.ClosePathFigure();
}

// A button's shape: the close button's with its corner rounded, the others square
// or, given a corner, rounded all round.
struct Shape {
  ButtonKind kind = ButtonKind::Custom;
  std::optional<int> corner;
  int closeCorner = 5;
};

void FillShape(Graphics& g, const Shape& shape, float x, float y, float w, float h, Argb top, Argb bottom) {
  GraphicsPath path;
  LinearGradientBrush brush;
  if (!path.CreatePath() || !brush.CreateLineBrush(PointF{x, y - 1}, PointF{x, y + h + 1}, top, bottom)) return;
  if (shape.kind == ButtonKind::Close)
    AddCloseShape(path, x, y, w, h, shape.closeCorner);
  else if (shape.corner)
    AddRoundedRect(path, x, y, w, h, *shape.corner);
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
bool CopyRememberedLook(CaptionButton& b, const DibDc& composed, int generation, int dpi, bool zoomed, int index,
                        const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (b.looksGeneration != generation || b.looksDpi != dpi || b.looksZoomed != zoomed || b.looks.height() != height) {
    b.looksMade = 0;
    b.looksGeneration = generation;
    b.looksDpi = dpi;
    b.looksZoomed = zoomed;
    if (b.looks.width() != width * kLookCount || b.looks.height() != height) b.looks = DibDc(width * kLookCount, height);
  }
  if (index < 0 || !(b.looksMade & (1u << index)) || !b.looks) return false;
  ::BitBlt(composed.get(), r.left, r.top, width, height, b.looks.get(), index * width, 0, SRCCOPY);
  return true;
}

void RememberLook(CaptionButton& b, const DibDc& composed, int index, const RECT& r) {
  if (index < 0 || !b.looks) return;
  const int width = r.right - r.left, height = r.bottom - r.top;
  ::BitBlt(b.looks.get(), index * width, 0, width, height, composed.get(), r.left, r.top, SRCCOPY);
  b.looksMade |= 1u << index;
}

void CopyToWindow(HWND hwnd, const DibDc& composed, const RECT& r) {
  ChildCutDc dc(hwnd);
  ::BitBlt(dc.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, composed.get(), r.left, r.top, SRCCOPY);
}

}  // namespace

void SkinnedWindow::AddButton(CaptionButton b) {
  caption_.buttons.insert(caption_.buttons.begin(), std::move(b));
  caption_.tip = ToolTip();  // the tools are numbered by position: made again at the next hover
  caption_.tipToolsAdded = false;
  pointer_.hotButton = 0;
  fade_.steps.Reset();
  LayoutCaption();
  Repaint();
}

bool SkinnedWindow::ChangeButton(int id, GlyphKind glyph, const Text& tip) {
  for (size_t i = 0; i < caption_.buttons.size(); ++i) {
    CaptionButton& b = caption_.buttons[i];
    if (id == 0 || b.id != id) continue;
    b.glyph = glyph;
    b.tip = tip;
    b.looksMade = 0;  // the remembered looks show the old glyph
    if (caption_.tipToolsAdded) caption_.tip.UpdateTipText(static_cast<UINT_PTR>(i + 1), tip);
    Repaint();
    return true;
  }
  return false;
}

void SkinnedWindow::LayoutCaption() {
  const RECT rc = Client();
  std::vector<ButtonKind> kinds;
  std::vector<int> widths;
  for (const CaptionButton& b : caption_.buttons) {
    kinds.push_back(b.kind);
    widths.push_back(b.width);
  }
  caption_.geometry = LayoutCaptionButtons(rc.right, kinds, widths, metrics_.caption);
  if (!caption_.tip.GetWindow()) return;  // made on the first hover
  for (int b = 1; b <= static_cast<int>(caption_.buttons.size()); ++b) {
    const CaptionButton& button = caption_.buttons[static_cast<size_t>(b - 1)];
    const RECT area = AsRect(CaptionButtonPicture(caption_.geometry, b, button.width, button.height));
    if (caption_.tipToolsAdded)
      caption_.tip.NewToolRect(static_cast<UINT_PTR>(b), area);
    else
      caption_.tip.AddTool(area, button.tip, static_cast<UINT_PTR>(b));
  }
  caption_.tipToolsAdded = true;
}

int SkinnedWindow::HitTestButton(int x, int y) const {
  return skin::HitTestCaptionButton(caption_.geometry, static_cast<float>(x), static_cast<float>(y));
}

int SkinnedWindow::DoubleClickButton() const {
  for (size_t i = 0; i < caption_.buttons.size(); ++i)
    if (caption_.buttons[i].kind == ButtonKind::Maximize) return static_cast<int>(i + 1);
  return 0;
}

// Acting may end the window and this object: nothing of it is used after the
// system command or the callback.
void SkinnedWindow::ActOnButton(int button) {
  if (button < 1 || button > static_cast<int>(caption_.buttons.size())) return;
  const CaptionButton& b = caption_.buttons[static_cast<size_t>(button - 1)];
  const HWND self = hwnd;
  switch (b.kind) {
    case ButtonKind::Close:
      ::SendMessageW(self, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case ButtonKind::Maximize:
      cache_.dirty = true;
      // The window's real state decides, so a restore by any route is seen here.
      ::SendMessageW(self, WM_SYSCOMMAND, ::IsZoomed(self) ? SC_RESTORE : SC_MAXIMIZE, 0);
      break;
    case ButtonKind::Minimize:
      pointer_.minimized = true;
      ::SendMessageW(self, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    case ButtonKind::Help:
      if (auto cb = caption_.help) cb();
      break;
    case ButtonKind::Menu:
      if (auto cb = caption_.menu) cb();
      break;
    case ButtonKind::Custom:
      if (auto cb = b.callback) cb();
      break;
  }
}

// A caller's own picture; the program's own buttons draw their glyphs instead.
const Bitmap* SkinnedWindow::ButtonPicture(CaptionButton& b) {
  if (b.glyph) return nullptr;
  return Decoded(b.image, b.picture);
}

namespace {

// The button's face: a caller's picture stretched to the box, or the glyph drawn at the scale.
void DrawFace(Graphics& g, const CaptionButton& b, const Bitmap* picture, bool restoreGlyph, const IntBox& box,
              float factor) {
  if (picture) {
    g.DrawImageRectRectI(*picture, box.x, box.y, box.width, box.height, 0, 0, static_cast<int>(picture->GetWidth()),
                         static_cast<int>(picture->GetHeight()), kUnitPixel);
    return;
  }
  const std::optional<GlyphKind> kind = restoreGlyph && b.secondGlyph ? b.secondGlyph : b.glyph;
  if (!kind) return;
  const RectF r{static_cast<float>(box.x), static_cast<float>(box.y), static_cast<float>(box.width),
                static_cast<float>(box.height)};
  DrawGlyph(g, r, *kind, factor);
}

}  // namespace

void SkinnedWindow::DrawButton(int button, Graphics* surface, bool pressed, int glowAlpha) {
  if (!cache_.composed || button < 1 || button > static_cast<int>(caption_.buttons.size())) return;
  CaptionButton& b = caption_.buttons[static_cast<size_t>(button - 1)];
  const bool restoreGlyph = b.kind == ButtonKind::Maximize && ::IsZoomed(hwnd);
  const Bitmap* picture = ButtonPicture(b);
  const IntBox p = CaptionButtonPicture(caption_.geometry, button, b.width, b.height);
  const RECT bounds = AsRect(CaptionButtonBounds(caption_.geometry, button, b.width, b.height));
  const float x = static_cast<float>(p.x), y = static_cast<float>(p.y);
  const float bw = static_cast<float>(p.width), bh = static_cast<float>(p.height);

  const int look = LookIndex(pressed, glowAlpha);
  if (!surface && CopyRememberedLook(b, cache_.composed, cache_.generation, scale_.dpi(), restoreGlyph, look, bounds)) {
    CopyToWindow(hwnd, cache_.composed, bounds);
    return;
  }
  Graphics own;
  if (!surface) {
    if (!own.CreateFromDC(cache_.composed.get())) return;
    own.SetSmoothingMode(kSmoothingAntiAlias);
    surface = &own;
  }
  Graphics& g = *surface;
  // Nothing of a button lands outside its own rectangle, so repeated fade steps
  // never blend into a neighbour.
  const unsigned saved = g.Save();
  g.SetClipRectI(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, kCombineIntersect);
  if (pressed) {
    g.Flush();
    RestoreCaptionStrip(bounds);
    const bool close = b.kind == ButtonKind::Close;
    FillShape(g, Shape{b.kind, std::nullopt, metrics_.closeCorner}, x, y, bw, bh, close ? 0xFFFF0000 : 0x50000000,
              close ? 0x1EFFFFFF : 0x05FFFFFF);
    DrawFace(g, b, picture, restoreGlyph, IntBox{p.x, p.y, p.width - 1, p.height}, metrics_.factor);
  } else {
    PaintButtonGlow(g, button, glowAlpha);
    LinearGradientBrush sheen;
    if (sheen.CreateLineBrush(PointF{x, y - 1}, PointF{x, y + bh}, 0x32FFFFFF, 0x00000000))
      g.FillRectangle(sheen, x - 1, y, bw + 1, bh - 1);
    DrawFace(g, b, picture, restoreGlyph, p, metrics_.factor);
    PaintButtonSeparator(button, g);
  }
  g.Restore(saved);
  if (surface != &own) return;
  own.Delete();
  RememberLook(b, cache_.composed, look, bounds);
  CopyToWindow(hwnd, cache_.composed, bounds);
}

void SkinnedWindow::PaintButtonGlow(Graphics& g, int button, int alpha) {
  if (button < 1 || button > static_cast<int>(caption_.buttons.size())) return;
  const CaptionButton& b = caption_.buttons[static_cast<size_t>(button - 1)];
  const IntBox p = CaptionButtonPicture(caption_.geometry, button, b.width, b.height);
  g.Flush();
  RestoreCaptionStrip(AsRect(CaptionButtonBounds(caption_.geometry, button, b.width, b.height)));
  if (alpha <= 0) return;
  const float x = static_cast<float>(p.x), y = static_cast<float>(p.y);
  const float bw = static_cast<float>(p.width), bh = static_cast<float>(p.height);
  const Argb clearWhite = 0x00FFFFFF;
  const Shape glow{ButtonKind::Custom, metrics_.glowCorner, metrics_.closeCorner};
  const Shape own{b.kind, metrics_.glowCorner, metrics_.closeCorner};
  FillShape(g, glow, x, y, bw, bh, WithAlpha(0, alpha / 5), clearWhite);
  const Argb tint = b.kind == ButtonKind::Close ? WithAlpha(0x00FF0000, alpha)
                                                : ToArgb(engine_.options().highlightColour, alpha);
  FillShape(g, own, x, y, bw, bh, tint, clearWhite);
  FillShape(g, own, x, y, bw - 1, bh * 0.8f, WithAlpha(0x00FFFFFF, alpha * 4 / 5), clearWhite);
}

void SkinnedWindow::PaintButtonSeparator(int button, Graphics& g) {
  if (button < 1 || button > static_cast<int>(caption_.buttons.size())) return;
  const CaptionButton& b = caption_.buttons[static_cast<size_t>(button - 1)];
  const IntBox p = CaptionButtonPicture(caption_.geometry, button, b.width, b.height);
  const float top = static_cast<float>(caption_.geometry.areaTop);
  const float penWidth = metrics_.penWidth;
  const auto line = [&](float x, int alpha) {
    LinearGradientBrush fade;
    Pen pen;
    if (!fade.CreateLineBrush(PointF{0, top}, PointF{0, top + p.height - 3}, WithAlpha(0, alpha), 0x00000000) ||
        !pen.CreatePen2(fade, penWidth))
      return;
    g.DrawLine(pen, x + 0.5f, top + 1, x + 0.5f, top + p.height - 4);
  };
  line(static_cast<float>(p.x), button == 1 ? 100 : 60);
  if (button < static_cast<int>(caption_.buttons.size())) line(static_cast<float>(p.x + p.width), 60);
}

}  // namespace tovel::skin
