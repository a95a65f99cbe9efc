// List-view headers in the skin's look: every item a gradient face on the skin,
// with hover and pressed overlays for headers that act as buttons. The header
// keeps its tracking, dragging and notifications.

#include "skin/header.h"

#include <commctrl.h>
#include <windowsx.h>

#include <optional>
#include <string>

#include "base/text.h"
#include "gfx/brush.h"
#include "gfx/font.h"
#include "gfx/graphics.h"
#include "gfx/image.h"
#include "gfx/pen.h"
#include "skin/families.h"
#include "skin/gdiplus_constants.h"

namespace tovel::skin {
namespace {

constexpr int kDividerZone = 5;

int ItemCount(HWND header) { return static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)); }

RECT ItemRect(HWND header, int index) {
  RECT r{};
  ::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

struct ItemData {
  Text text;
  int format = 0;
  int image = -1;
};

ItemData ReadItem(HWND header, int index) {
  wchar_t text[260] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  item.pszText = text;
  item.cchTextMax = ARRAYSIZE(text);
  ItemData data;
  if (!::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
    return data;
  data.text = Narrow(item.pszText ? item.pszText : L"");
  data.format = item.fmt;
  data.image = (item.fmt & HDF_IMAGE) ? item.iImage : -1;
  return data;
}

HeaderAlign AlignOf(int format) {
  switch (format & HDF_JUSTIFYMASK) {
    case HDF_RIGHT: return HeaderAlign::Right;
    case HDF_CENTER: return HeaderAlign::Centre;
  }
  return HeaderAlign::Left;
}

// The header of a list view reaches across the whole view.
int ViewRight(HWND header) {
  HWND parent = ::GetParent(header);
  if (!IsClass(parent, WC_LISTVIEWW)) return 0;
  RECT client;
  ::GetClientRect(parent, &client);
  return client.right;
}

// The header's image list is the header's: it is only borrowed for the icon.
std::shared_ptr<Bitmap> ItemIcon(HWND header, int image) {
  auto list = reinterpret_cast<HIMAGELIST>(::SendMessageW(header, HDM_GETIMAGELIST, 0, 0));
  if (!list || image < 0) return nullptr;
  UniqueIcon icon(::ImageList_GetIcon(list, image, ILD_NORMAL));
  auto picture = std::make_shared<Bitmap>();
  if (!icon || !picture->CreateFromHICON(icon.get())) return nullptr;
  return picture;
}

void Paint(const ControlContext& c, HWND header) {
  const HeaderState& s = StateOf<HeaderState>(c);
  RECT client;
  ::GetClientRect(header, &client);
  BufferedPaint paint(*c.engine, header, client.right, client.bottom);
  if (!paint) return;
  Graphics& g = paint.surface();
  const int count = ItemCount(header);
  const int margin = static_cast<int>(::SendMessageW(header, HDM_GETBITMAPMARGIN, 0, 0));
  const int viewRight = ViewRight(header);
  // The header's own font, made once for all its items.
  auto hfont = reinterpret_cast<HFONT>(::SendMessageW(header, WM_GETFONT, 0, 0));
  if (!hfont) hfont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  Font font;
  const bool hasFont = font.CreateFontFromHFONT(paint.dc(), hfont);
  for (int i = 1; i <= count; ++i) {
    RECT r = ItemRect(header, i - 1);
    if (i == count && r.right < viewRight) r.right = viewRight;
    if (r.right <= r.left || r.bottom <= r.top) continue;
    const ItemData data = ReadItem(header, i - 1);
    const std::shared_ptr<Bitmap> icon = ItemIcon(header, data.image);
    HeaderItemLook look;
    look.width = r.right - r.left;
    look.height = r.bottom - r.top;
    look.buttons = s.buttons;
    look.hot = s.hovered && s.hotItem == i;
    look.pressed = s.pressedItem == i;
    look.translucent = c.engine->options().translucentControls;
    look.controlAlpha = c.engine->options().controlAlpha;
    look.highlight = c.engine->options().highlightColour;
    look.text = data.text;
    look.align = AlignOf(data.format);
    look.margin = margin;
    look.icon = icon.get();
    look.font = hasFont ? &font : nullptr;
    g.TranslateWorldTransform(static_cast<float>(r.left), static_cast<float>(r.top), kOrderAppend);
    g.SetClipRectI(0, 0, look.width, look.height, kCombineReplace);
    PaintHeaderItem(g, look, c.window->scale());
    g.ResetClip();
    g.ResetWorldTransform();
  }
  WindowDc dc(header);
  paint.CopyTo(dc.get());
}

// The header lights the item under the pointer, whether the pointer just came or
// was already on it.
void OnMouseMove(const ControlContext& c, HWND header, LPARAM lp) {
  HeaderState& s = StateOf<HeaderState>(c);
  const bool wasHovered = s.hovered;
  s.hovered = true;
  s.hotItem = HeaderItemAt(header, GET_X_LPARAM(lp), c.window->scale());
  if (s.hotItem >= 1 && s.hotItem != s.lastHotItem && !s.buttonDown) {
    s.lastHotItem = s.hotItem;
    Paint(c, header);
  } else if (s.hotItem == 0) {
    // On a divider: nothing is lit. Painted once, when the light goes out.
    const bool wasLit = wasHovered && s.lastHotItem != 0;
    s.lastHotItem = 0;
    s.hovered = false;
    if (wasLit) Paint(c, header);
  }
}

void OnPointer(const ControlContext& c, HWND header, Pointer pointer, LPARAM lp) {
  if (pointer != Pointer::Left) {
    OnMouseMove(c, header, lp);
    return;
  }
  HeaderState& s = StateOf<HeaderState>(c);
  s.lastHotItem = s.hotItem = 0;
  s.hovered = false;
  Paint(c, header);
}

LRESULT OnButton(const ControlContext& c, HWND header, UINT msg, WPARAM wp, LPARAM lp) {
  HeaderState& s = StateOf<HeaderState>(c);
  s.buttonDown = msg == WM_LBUTTONDOWN;
  if (msg == WM_LBUTTONUP)
    s.pressedItem = 0;
  else if (s.hotItem >= 1)
    s.pressedItem = s.hotItem;
  return PassOn(c, header, msg, wp, lp);
}

void Take(SkinnedWindow& w, int n, HWND header) {
  HeaderState s;
  s.buttons = (::GetWindowLongPtrW(header, GWL_STYLE) & HDS_BUTTONS) != 0;
  RegisterControl(w, n, Family::Headers, header, HeaderProc, s);
}

void DrawItemText(Graphics& g, const HeaderItemLook& look, float left) {
  if (look.text.empty() || !look.font) return;
  StringFormat format;
  SolidBrush ink;
  if (!format.CreateStringFormat(kNoWrap) || !ink.CreateSolidFill(0xFF000000)) return;
  const int align = look.align == HeaderAlign::Right ? kAlignFar
                    : look.align == HeaderAlign::Centre ? kAlignCentre
                                                        : kAlignNear;
  format.SetStringFormatAlign(align);
  format.SetStringFormatLineAlign(kAlignCentre);
  format.SetStringFormatTrimming(kTrimEllipsisCharacter);
  const float right = static_cast<float>(look.width - look.margin);
  g.DrawString(look.text, *look.font, ink, RectF{left, 0, right - left, static_cast<float>(look.height)}, format);
}

// The image list stays with the header at its end: whoever gave it destroys it.
std::optional<LRESULT> OnMessage(const ControlContext& c, HWND header, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOVE: Paint(c, header); break;
    case WM_PAINT: return PaintWhole(header, [&] { Paint(c, header); });
    case WM_ERASEBKGND: return SkipErase(wp);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return OnButton(c, header, msg, wp, lp);
  }
  return std::nullopt;
}

constexpr ControlFamily kHeaders{Family::Headers, &OnMessage, &OnPointer};

}  // namespace

LRESULT CALLBACK HeaderProc(HWND header, UINT msg, WPARAM wp, LPARAM lp) {
  return Dispatch(kHeaders, header, msg, wp, lp);
}

void AttachHeaders(SkinEngine& engine, int n, HWND window) {
  SkinnedWindow* w = engine.Record(n);
  if (!w) return;
  ForEachChildOfClass(window, WC_HEADERW, [&](HWND header) { Take(*w, n, header); });
  ForEachChildOfClass(window, WC_LISTVIEWW, [&](HWND view) {
    if (HWND header = ::FindWindowExW(view, nullptr, WC_HEADERW, nullptr)) Take(*w, n, header);
  });
}

int HeaderItemAt(HWND header, int x, Scale scale) {
  const int count = ItemCount(header), zone = scale.Px(kDividerZone);
  for (int i = 1; i <= count; ++i) {
    const RECT r = ItemRect(header, i - 1);
    if (x >= r.left + zone && x <= r.right - zone) return i;
  }
  return 0;
}

void PaintHeader(HWND header) {
  if (const ControlContext c = LookUp(header, Family::Headers)) Paint(c, header);
}

void PaintHeaderItem(Graphics& g, const HeaderItemLook& look, Scale scale) {
  const int w = look.width, h = look.height;
  const float fh = static_cast<float>(h);
  SolidBrush face;
  if (face.CreateSolidFill(look.translucent ? ToArgb(0x00FFFFFF, look.controlAlpha) : 0xFFFFFFFF))
    g.FillRectangleI(face, 0, 0, w, h);
  const auto shade = [&](Argb top, Argb bottom) {
    LinearGradientBrush brush;
    if (brush.CreateLineBrush(PointF{0, -1}, PointF{0, fh + 1}, top, bottom)) g.FillRectangleI(brush, 0, 0, w, h);
  };
  if (look.buttons)
    shade(0x50FFFFFF, ToArgb(look.highlight, 120));
  else
    shade(ToArgb(look.highlight, 60), ToArgb(look.highlight, 10));
  if (look.buttons && look.hot) shade(ToArgb(look.highlight, 60), 0x1E000000);
  if (look.buttons && look.pressed) shade(0x1E000000, 0x78FFFFFF);

  LinearGradientBrush dividerShade;
  Pen divider;
  const int n = scale.Px(1);  // the divider covers the item's last n columns
  const float at = static_cast<float>(w) - static_cast<float>(n + 1) / 2;
  if (dividerShade.CreateLineBrush(PointF{0, -1}, PointF{0, fh + 1}, 0x3C000000, 0x32FFFFFF) &&
      divider.CreatePen2(dividerShade, static_cast<float>(n)))
    g.DrawLine(divider, at, 0, at, fh);

  float left = static_cast<float>(look.margin);
  if (look.icon) {
    const int iw = static_cast<int>(look.icon->GetWidth()), ih = static_cast<int>(look.icon->GetHeight());
    DrawGlyph(g, look.icon, look.margin, (h - ih) / 2);
    left += static_cast<float>(iw + look.margin);
  }
  DrawItemText(g, look, left);
}

}  // namespace tovel::skin
