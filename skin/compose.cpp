// Composition: each skinned window's client area is drawn off screen once and
// then only copied; a partial repaint of the caption restores from a saved copy.

#include <algorithm>

#include "gfx/brush.h"
#include "gfx/graphics.h"
#include "gfx/image.h"
#include "gfx/path.h"
#include "gfx/pen.h"
#include "skin/caption_text.h"
#include "base/handle.h"
#include "skin/gdiplus_constants.h"
#include "skin/helpers.h"
#include "skin/skinned_window.h"

namespace tovel::skin {
namespace {


// A copy of part of the composed picture, kept for partial repaints.
void KeepCopy(DibDc& copy, const DibDc& from, const IntBox& box) {
  if (box.width < 1 || box.height < 1) {
    copy = DibDc();
    return;
  }
  if (copy.width() != box.width || copy.height() != box.height) copy = DibDc(box.width, box.height);
  if (copy) ::BitBlt(copy.get(), 0, 0, box.width, box.height, from.get(), box.x, box.y, SRCCOPY);
}

// Opaque pictures go through the platform's blits, the rest through the graphics
// library; both lay the picture out the same way.
void DrawOpaque(HDC dc, const Picture& p, int mode, int w, int h) {
  HDC src = p.opaquePixels.get();
  const int pw = p.width, ph = p.height;
  switch (mode) {
    case 0: ::BitBlt(dc, 0, 0, pw, ph, src, 0, 0, SRCCOPY); break;
    case 1: ::BitBlt(dc, w - pw, 0, pw, ph, src, 0, 0, SRCCOPY); break;
    case 2: ::BitBlt(dc, (w - pw) / 2, (h - ph) / 2, pw, ph, src, 0, 0, SRCCOPY); break;
    case 3:
      ::SetStretchBltMode(dc, HALFTONE);
      ::SetBrushOrgEx(dc, 0, 0, nullptr);
      ::StretchBlt(dc, 0, 0, w, h, src, 0, 0, pw, ph, SRCCOPY);
      break;
    case 4:  // side by side across the width, every second copy mirrored
      ::SetStretchBltMode(dc, COLORONCOLOR);
      for (int x = 0, i = 0; x < w; x += pw, ++i) {
        if (i % 2)
          ::StretchBlt(dc, x + pw - 1, 0, -pw, ph, src, 0, 0, pw, ph, SRCCOPY);
        else
          ::BitBlt(dc, x, 0, pw, ph, src, 0, 0, SRCCOPY);
      }
      break;
    default: break;  // an unknown mode shows the plain colour
  }
}

void DrawTranslucent(Graphics& g, const Picture& p, int mode, int w, int h) {
  const Bitmap& b = *p.bitmap;
  const int pw = p.width, ph = p.height;
  switch (mode) {
    case 0: g.DrawImageRectRectI(b, 0, 0, pw, ph, 0, 0, pw, ph, kUnitPixel); break;
    case 1: g.DrawImageRectRectI(b, w - pw, 0, pw, ph, 0, 0, pw, ph, kUnitPixel); break;
    case 2: g.DrawImageRectRectI(b, (w - pw) / 2, (h - ph) / 2, pw, ph, 0, 0, pw, ph, kUnitPixel); break;
    case 3: g.DrawImageRectRectI(b, 0, 0, w, h, 0, 0, pw, ph, kUnitPixel); break;
    case 4:
      for (int x = 0, i = 0; x < w; x += pw, ++i) {
        if (i % 2)
          g.DrawImagePointsI(b, x + pw, 0, x, 0, x + pw, ph);
        else
          g.DrawImageI(b, x, 0);
      }
      break;
    default: break;
  }
}

// The window's shape: a rectangle with its corners rounded at the window's scale.
UniqueRegion FrameShape(int width, int height, int corner) {
  return UniqueRegion(::CreateRoundRectRgn(0, 0, width + 1, height + 1, corner, corner));
}

// A rounded outline drawn as four short pieces: the library's cost grows with the
// area a figure spans, and one closed outline spans the whole window.
void OutlineWindowFrame(Graphics& g, Argb colour, float x, float y, float w, float h, int r, float penWidth) {
  Pen pen;
  if (!pen.CreatePen1(colour, penWidth)) return;
  const float d = static_cast<float>(r);
  GraphicsPath top, bottom;
  if (!top.CreatePath() || !bottom.CreatePath()) return;
  top.AddPathArc(x, y, d, d, 180, 90);
  top.AddPathArc(x + w - d, y, d, d, 270, 90);
  bottom.AddPathArc(x + w - d - 1, y + h - d - 1, d + 1, d + 1, 0, 90);
  bottom.AddPathArc(x, y + h - d, d, d, 90, 90);
  g.DrawPath(pen, top);
  g.DrawPath(pen, bottom);
  g.DrawLine(pen, x + w, y + d / 2 + 1, x + w, y + h - d / 2 - 1);
  g.DrawLine(pen, x, y + h - d / 2 - 1, x, y + d / 2 + 1);
}

}  // namespace

void SkinnedWindow::SetRegion(int width, int height) {
  if (width < 1 || height < 1) return;
  if (cache_.regionSize.cx == width && cache_.regionSize.cy == height) return;
  UniqueRegion shape = FrameShape(width, height, metrics_.regionCorner);
  // The system owns a region it accepted; we never delete it.
  if (shape && ::SetWindowRgn(hwnd, shape.get(), FALSE)) {
    shape.release();
    cache_.regionSize = SIZE{width, height};
  }
}

void SkinnedWindow::Render(bool show) {
  const RECT rc = Client();
  const int width = rc.right, height = rc.bottom;
  if (width < 1 || height < 1) return;
  // A maximized window got its region before the size applied (Wine drops the
  // maximized state when a maximized window gets a new region).
  if (!::IsZoomed(hwnd)) SetRegion(width, height);
  if (cache_.composed.width() != width || cache_.composed.height() != height) cache_.composed = DibDc(width, height);
  if (!cache_.composed) return;
  {
    Graphics g;
    if (!g.CreateFromDC(cache_.composed.get())) return;
    PaintBackground(g);
    if (look_.framed) PaintFrame(g);
    g.Flush();
    // The copy holds background and frame only, so restoring from it erases a
    // caption button or text before it is drawn again.
    if (look_.framed)
      KeepCopy(cache_.captionStrip, cache_.composed,
               IntBox{0, 0, width, std::min(height, std::max(metrics_.captionHeight, metrics_.captionBandBottom))});
    if (look_.framed) {
      if (look_.captionText) DrawCaptionText(&g, std::nullopt);
      for (int b = 1; b <= static_cast<int>(caption_.buttons.size()); ++b)
        DrawButton(b, &g, false, fade_.steps.RestingAlpha(b, pointer_.hotButton));
    }
    if (items_.size > 0) PaintItems(g);
  }
  cache_.dirty = false;
  ++cache_.generation;
  if (!show) return;
  {
    ChildCutDc dc(hwnd);
    ::BitBlt(dc.get(), 0, 0, width, height, cache_.composed.get(), 0, 0, SRCCOPY);
  }
  if (!engine_.startupPending()) RefreshChildren();
}

void SkinnedWindow::Present(HDC dc) {
  if (!cache_.composed) return;
  ExcludeChildren(hwnd, dc);
  ::BitBlt(dc, 0, 0, cache_.composed.width(), cache_.composed.height(), cache_.composed.get(), 0, 0, SRCCOPY);
}

void SkinnedWindow::PaintBackground(Graphics& g) {
  const RECT rc = Client();
  const int width = rc.right, height = rc.bottom;
  const bool own = own_.used();
  const Picture* picture = own ? own_.picture.get() : engine_.SkinPicture();
  const int mode = own ? own_.mode : engine_.options().imageMode;
  // Painting stays inside the window region's own shape: what the region cuts is
  // exactly what is left as key colour, so no key pixel can ever show.
  UniqueRegion shape = FrameShape(width, height, metrics_.regionCorner);
  if (HDC dc = g.GetDC()) {
    UniqueRegion outside(::CreateRectRgn(0, 0, width, height));
    ::CombineRgn(outside.get(), outside.get(), shape.get(), RGN_DIFF);
    UniqueBrush key(::CreateSolidBrush(kColourKey));
    ::FillRgn(dc, outside.get(), key.get());
    ::SelectClipRgn(dc, shape.get());
    const bool covered = picture && picture->opaquePixels && mode == 3;
    if (!covered) {
      UniqueBrush fill(::CreateSolidBrush(own ? own_.mainColour : engine_.options().mainColour));
      ::FillRect(dc, &rc, fill.get());
    }
    if (picture && picture->opaquePixels) DrawOpaque(dc, *picture, mode, width, height);
    ::SelectClipRgn(dc, nullptr);
    g.ReleaseDC(dc);
  }
  g.SetClipHrgn(shape.get(), kCombineReplace);
  if (picture && !picture->opaquePixels) DrawTranslucent(g, *picture, mode, width, height);
  if (look_.gloss) {
    LinearGradientBrush gloss;
    gloss.CreateLineBrush(PointF{0, 0}, PointF{0, static_cast<float>(metrics_.captionHeight)}, 0x96FFFFFF,
                          0x00FFFFFF);
    g.FillRectangleI(gloss, 0, 0, width, metrics_.captionHeight);
  }
}

void SkinnedWindow::PaintFrame(Graphics& g) {
  const RECT rc = Client();
  const float width = static_cast<float>(rc.right), height = static_cast<float>(rc.bottom);
  const FrameMetrics& m = metrics_;
  // Each outline a pen's width wide, inside the window: at scale 1 on its outermost
  // pixels and one pixel in.
  const float p = m.penWidth, half = (p - 1) / 2;
  OutlineWindowFrame(g, 0xB4000000, half, half, width - p, height - p, m.outerCorner, p);
  OutlineWindowFrame(g, 0xB4FFFFFF, p + half, p + half, width - 3 * p, height - 3 * p, m.innerCorner, p);
}

void SkinnedWindow::RestoreCaptionStrip(const RECT& r) {
  if (!cache_.composed || !cache_.captionStrip) return;
  RECT clipped;
  const RECT strip{0, 0, cache_.captionStrip.width(), cache_.captionStrip.height()};
  if (!::IntersectRect(&clipped, &r, &strip)) return;
  ::BitBlt(cache_.composed.get(), clipped.left, clipped.top, clipped.right - clipped.left,
           clipped.bottom - clipped.top, cache_.captionStrip.get(), clipped.left, clipped.top, SRCCOPY);
}

// Every visible child repaints over the new picture; those that paint their
// parent's background behind them (transparent labels, translucent lists) need it.
void SkinnedWindow::RefreshChildren() {
  for (HWND child = ::FindWindowExW(hwnd, nullptr, nullptr, nullptr); child;
       child = ::FindWindowExW(hwnd, child, nullptr, nullptr)) {
    if (::IsWindowVisible(child))
      ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  }
}

void SkinnedWindow::Repaint() {
  cache_.dirty = true;
  ::InvalidateRect(hwnd, nullptr, FALSE);
}

void SkinnedWindow::PaintItems(Graphics& g) const {
  // The item band: each item a translucent cell, so the skin shows through.
  SolidBrush cell;
  Pen edge;
  if (!cell.CreateSolidFill(0x28FFFFFF) || !edge.CreatePen1(0x50FFFFFF, metrics_.penWidth)) return;
  for (const IntBox& item : items_.layout.items) {
    if (item.width < 2 || item.height < 2) continue;
    GraphicsPath path;
    path.CreatePath();
    AddRoundedRect(path, static_cast<float>(item.x), static_cast<float>(item.y),
                   static_cast<float>(item.width - 1), static_cast<float>(item.height - 1), metrics_.itemCorner);
    g.FillPath(cell, path);
    g.DrawPath(edge, path);
  }
}

}  // namespace tovel::skin
