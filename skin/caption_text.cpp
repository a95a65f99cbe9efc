#include "skin/caption_text.h"

#include <algorithm>

#include "base/text.h"
#include "gfx/brush.h"
#include "gfx/font.h"
#include "gfx/graphics.h"
#include "skin/gdiplus_constants.h"
#include "skin/helpers.h"
#include "skin/skinned_window.h"

namespace tovel::skin {
namespace {


int ClientWidth(HWND hwnd) {
  RECT rc{};
  ::GetClientRect(hwnd, &rc);
  return rc.right;
}

Text WindowText(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
  const int got = ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(got, 0)));
  return Narrow(text);
}

bool MakeFont(Font& font, const Text& face, float size, int style) {
  if (font.CreateFontFromName(face, size, style, kUnitPixel)) return true;
  return font.CreateDefaultFont();
}

}  // namespace

RECT CaptionTextBand(const SkinnedWindow& w) {
  const FrameMetrics& m = w.Metrics();
  const int bandWidth = ClientWidth(w.hwnd) - w.Caption().stripWidth - m.textGap - 2 * m.caption.margin;
  // Never into the caption buttons: restoring the band would erase them.
  const int right = std::min(m.textLeft + bandWidth, w.Caption().areaLeft - 1);
  return RECT{m.textLeft, m.textTop, std::max(right, m.textLeft), m.captionBandBottom};
}

RECT CaptionBand(const SkinnedWindow& w) {
  RECT band = CaptionTextBand(w);
  band.left = w.Metrics().iconLeft;
  band.top = w.Metrics().iconTop;
  return band;
}

void DrawHaloText(Graphics& g, const Text& text, const RECT& r, const HaloText& style) {
  if (text.empty()) return;
  Font font;
  StringFormat format;
  SolidBrush halo, ink;
  if (!MakeFont(font, style.font, style.size, style.style) ||
      !format.CreateStringFormat(kNoWrap) ||
      !halo.CreateSolidFill(ToArgb(style.shadowColour, 150)) ||
      !ink.CreateSolidFill(ToArgb(style.textColour)))
    return;
  format.SetStringFormatAlign(style.align);
  format.SetStringFormatLineAlign(style.lineAlign);
  format.SetStringFormatTrimming(kTrimEllipsisCharacter);
  const RectF layout{static_cast<float>(r.left), static_cast<float>(r.top),
                     static_cast<float>(r.right - r.left), static_cast<float>(r.bottom - r.top)};
  const float c = style.haloOffset;
  for (const PointF shift : {PointF{c, 0}, PointF{-c, 0}, PointF{0, c}, PointF{0, -c}}) {
    RectF moved = layout;
    moved.x += shift.x;
    moved.y += shift.y;
    g.DrawString(text, font, halo, moved, format);
  }
  g.DrawString(text, font, ink, layout, format);
}

void SkinnedWindow::SetCaptionStyle(const CaptionTextArgs& args) {
  CaptionStyle& s = caption_.style;
  if (args.font) s.font = *args.font;
  if (args.size) s.size = *args.size;
  if (args.textColour) s.text = *args.textColour;
  if (args.shadowColour) s.shadow = *args.shadowColour;
  if (args.bold) s.bold = *args.bold;
  DrawCaptionText(nullptr, std::nullopt);
}

void SkinnedWindow::DrawCaptionText(Graphics* surface, const std::optional<Text>& text) {
  if (!cache_.composed) return;
  const RECT band = CaptionBand(*this);
  Graphics own;
  if (!surface) {
    RestoreCaptionStrip(band);
    if (!own.CreateFromDC(cache_.composed.get())) return;
    surface = &own;
  }
  if (HICON icon = engine_.ApplicationIcon()) {
    surface->Flush();
    ::DrawIconEx(cache_.composed.get(), band.left, band.top, icon, metrics_.iconSize, metrics_.iconSize, 0, nullptr,
                 DI_NORMAL);
  }
  HaloText style;
  style.textColour = caption_.style.text;
  style.shadowColour = caption_.style.shadow;
  if (!caption_.style.font.empty()) style.font = caption_.style.font;
  style.style = caption_.style.bold ? 1 : 0;
  style.size = caption_.style.size * metrics_.factor;
  style.haloOffset = metrics_.factor;
  DrawHaloText(*surface, text ? *text : WindowText(hwnd), CaptionTextBand(*this), style);
  if (surface != &own) return;
  own.Delete();
  ChildCutDc dc(hwnd);
  ::BitBlt(dc.get(), band.left, band.top, band.right - band.left, band.bottom - band.top, cache_.composed.get(),
           band.left, band.top, SRCCOPY);
}

}  // namespace tovel::skin
