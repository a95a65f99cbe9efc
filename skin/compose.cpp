// Composition: each skinned window's client area is drawn off screen once and
// then only copied; partial repaints restore from two saved copies.

#include <algorithm>

#include "gfx/brush.h"
#include "gfx/graphics.h"
#include "gfx/image.h"
#include "gfx/path.h"
#include "gfx/pen.h"
#include "skin/caption_text.h"
#include "skin/engine.h"
#include "skin/helpers.h"

namespace tovel::skin {
namespace {

constexpr Argb kColourKey = 0xFFFF00FF;
constexpr int kUnitPixel = 2;
constexpr int kFlipX = 4;  // RotateNoneFlipX

RECT ClientRect(HWND hwnd) {
  RECT rc{};
  ::GetClientRect(hwnd, &rc);
  return rc;
}

// A copy of part of the composed picture, kept for partial repaints.
void KeepCopy(DibDc& copy, const DibDc& from, const IntBox& box) {
  if (box.width < 1 || box.height < 1) {
    copy = DibDc();
    return;
  }
  if (copy.width() != box.width || copy.height() != box.height) copy = DibDc(box.width, box.height);
  if (copy) ::BitBlt(copy.get(), 0, 0, box.width, box.height, from.get(), box.x, box.y, SRCCOPY);
}

// Copies side by side across the width, every second one mirrored.
void DrawMirroredStrip(Graphics& g, const Bitmap& picture, int width) {
  const int pw = static_cast<int>(picture.GetWidth());
  const int ph = static_cast<int>(picture.GetHeight());
  bool mirrored = false;
  for (int x = 0; x < width; x += pw, mirrored = !mirrored) {
    if (mirrored)
      g.DrawImagePointsI(picture, x + pw, 0, x, 0, x + pw, ph);
    else
      g.DrawImageI(picture, x, 0);
  }
}

void DrawPicture(Graphics& g, const Bitmap& picture, int mode, int w, int h) {
  const int pw = static_cast<int>(picture.GetWidth());
  const int ph = static_cast<int>(picture.GetHeight());
  switch (mode) {
    case 0: g.DrawImageRectRectI(picture, 0, 0, pw, ph, 0, 0, pw, ph, kUnitPixel); break;
    case 1: g.DrawImageRectRectI(picture, w - pw, 0, pw, ph, 0, 0, pw, ph, kUnitPixel); break;
    case 2:
      g.DrawImageRectRectI(picture, (w - pw) / 2, (h - ph) / 2, pw, ph, 0, 0, pw, ph, kUnitPixel);
      break;
    case 3: g.DrawImageRectRectI(picture, 0, 0, w, h, 0, 0, pw, ph, kUnitPixel); break;
    case 4: DrawMirroredStrip(g, picture, w); break;
    default: break;  // an unknown mode shows the plain colour
  }
}

void OutlineRounded(Graphics& g, Argb colour, float x, float y, float w, float h, int r) {
  GraphicsPath path;
  Pen pen;
  if (!path.CreatePath() || !pen.CreatePen1(colour, 1)) return;
  AddRoundedRect(path, x, y, w, h, r);
  g.DrawPath(pen, path);
}

}  // namespace

void SkinEngine::SetWindowRegion(SkinnedWindow& w, int width, int height) {
  // Wine drops the maximized state when a maximized window gets a region, and
  // nothing of the rounding shows then anyway: the maximize command sets it.
  if (::IsZoomed(w.hwnd)) return;
  if (w.regionSize.cx == width && w.regionSize.cy == height) return;
  UniqueRegion shape = WindowShape(width, height);
  // The system owns a region it accepted; we never delete it.
  if (shape && ::SetWindowRgn(w.hwnd, shape.get(), FALSE)) {
    shape.release();
    w.regionSize = SIZE{width, height};
  }
}

Bitmap* SkinEngine::SkinPicture() { return backgroundPicture_.get(); }

void SkinEngine::RenderWindow(int n, bool show) {
  SkinnedWindow* w = Record(n);
  if (!w) return;
  const RECT rc = ClientRect(w->hwnd);
  const int width = rc.right, height = rc.bottom;
  if (width < 1 || height < 1) return;
  SetWindowRegion(*w, width, height);
  if (w->composed.width() != width || w->composed.height() != height)
    w->composed = DibDc(width, height);
  if (!w->composed) return;
  {
    Graphics g;
    if (!g.CreateFromDC(w->composed.get())) return;
    PaintBackground(g, n);
    if (w->framed) PaintFrame(n, g);
    g.Flush();
    // The copies hold background and frame only, so restoring from them erases a
    // caption button or text before it is drawn again.
    if (w->framed)
      KeepCopy(w->captionStrip, w->composed,
               IntBox{0, 0, width, std::min(height, std::max(w->captionHeight, kCaptionBandBottom))});
    KeepCopy(w->savedArea, w->composed, w->items.band);
    if (w->framed) {
      if (w->captionText) DrawCaptionText(n, &g, std::nullopt);
      for (int b = 1; b <= static_cast<int>(w->buttons.size()); ++b)
        DrawCaptionButton(n, b, &g, false, w->fade.RestingAlpha(b, w->hotButton));
    }
    if (w->itemAreaSize > 0) PaintItems(g, *w);
  }
  w->backgroundDirty = false;
  if (!show) return;
  {
    ChildCutDc dc(w->hwnd);
    ::BitBlt(dc.get(), 0, 0, width, height, w->composed.get(), 0, 0, SRCCOPY);
  }
  if (!startupPending_) RefreshChildren(n);
}

void SkinEngine::PresentWindow(int n, HDC dc) {
  SkinnedWindow* w = Record(n);
  if (!w || !w->composed) return;
  ExcludeChildren(w->hwnd, dc);
  ::BitBlt(dc, 0, 0, w->composed.width(), w->composed.height(), w->composed.get(), 0, 0, SRCCOPY);
}

void SkinEngine::PaintBackground(Graphics& g, int n) {
  SkinnedWindow* w = Record(n);
  if (!w) return;
  const RECT rc = ClientRect(w->hwnd);
  const int width = rc.right, height = rc.bottom;
  g.Clear(kColourKey);
  // Clipped to the window region's own shape: what it cuts is exactly what stays key.
  UniqueRegion shape = WindowShape(width, height);
  g.SetClipHrgn(shape.get(), 0);
  const bool own = !w->ownImage.empty() && w->ownPicture;
  SolidBrush fill;
  fill.CreateSolidFill(ToArgb(own ? w->ownMainColour : options_.mainColour));
  g.FillRectangleI(fill, 0, 0, width, height);
  if (const Bitmap* picture = own ? w->ownPicture.get() : SkinPicture())
    DrawPicture(g, *picture, own ? w->ownMode : options_.imageMode, width, height);
  if (w->gloss) {
    LinearGradientBrush gloss;
    gloss.CreateLineBrush(PointF{0, 0}, PointF{0, static_cast<float>(w->captionHeight)}, 0x96FFFFFF,
                          0x00FFFFFF);
    g.FillRectangleI(gloss, 0, 0, width, w->captionHeight);
  }
}

void SkinEngine::PaintFrame(int n, Graphics& g) {
  SkinnedWindow* w = Record(n);
  if (!w) return;
  const RECT rc = ClientRect(w->hwnd);
  const float width = static_cast<float>(rc.right), height = static_cast<float>(rc.bottom);
  OutlineRounded(g, 0xB4000000, 0, 0, width - 1, height - 1, 7);
  OutlineRounded(g, 0xB4FFFFFF, 1, 1, width - 3, height - 3, 6);
}

void SkinEngine::RestoreCaptionStrip(int n, const RECT& r) {
  SkinnedWindow* w = Record(n);
  if (!w || !w->composed || !w->captionStrip) return;
  RECT clipped;
  const RECT strip{0, 0, w->captionStrip.width(), w->captionStrip.height()};
  if (!::IntersectRect(&clipped, &r, &strip)) return;
  ::BitBlt(w->composed.get(), clipped.left, clipped.top, clipped.right - clipped.left,
           clipped.bottom - clipped.top, w->captionStrip.get(), clipped.left, clipped.top, SRCCOPY);
}

void SkinEngine::RestoreSavedArea(int n, const RECT& r) {
  SkinnedWindow* w = Record(n);
  if (!w || !w->composed || !w->savedArea) return;
  const IntBox& band = w->items.band;
  ::BitBlt(w->composed.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, w->savedArea.get(),
           r.left - band.x, r.top - band.y, SRCCOPY);
}

// Every visible child repaints over the new picture; those that paint their
// parent's background behind them (transparent labels, translucent lists) need it.
void SkinEngine::RefreshChildren(int n) {
  SkinnedWindow* w = Record(n);
  if (!w) return;
  for (HWND child = ::FindWindowExW(w->hwnd, nullptr, nullptr, nullptr); child;
       child = ::FindWindowExW(w->hwnd, child, nullptr, nullptr)) {
    if (::IsWindowVisible(child))
      ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  }
}

void SkinEngine::RefreshVisibleWindows() {
  for (int n = 1; n <= WindowCount(); ++n) {
    SkinnedWindow* w = Record(n);
    if (!::IsWindowVisible(w->hwnd)) continue;
    RenderWindow(n, false);
    ::InvalidateRect(w->hwnd, nullptr, FALSE);
    RefreshChildren(n);
  }
}

void SkinEngine::PaintItems(Graphics& g, const SkinnedWindow& w) {
  // The item band: each item a translucent cell, so the skin shows through.
  SolidBrush cell;
  Pen edge;
  if (!cell.CreateSolidFill(0x28FFFFFF) || !edge.CreatePen1(0x50FFFFFF, 1)) return;
  for (const IntBox& item : w.items.items) {
    if (item.width < 2 || item.height < 2) continue;
    GraphicsPath path;
    path.CreatePath();
    AddRoundedRect(path, static_cast<float>(item.x), static_cast<float>(item.y),
                   static_cast<float>(item.width - 1), static_cast<float>(item.height - 1), 4);
    g.FillPath(cell, path);
    g.DrawPath(edge, path);
  }
}

}  // namespace tovel::skin
