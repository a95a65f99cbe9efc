// Buttons in the skin's look: translucent rounded push buttons with a gloss, a
// highlight under the pointer and a glow with the focus; check boxes and radio
// buttons with their marks on the skin.

#include "skin/button.h"

#include <memory>
#include <optional>
#include <vector>

#include "base/text.h"
#include "gfx/brush.h"
#include "gfx/font.h"
#include "gfx/graphics.h"
#include "gfx/path.h"
#include "gfx/pen.h"
#include "skin/families.h"
#include "skin/gdiplus_constants.h"
#include "skin/glyphs.h"

namespace tovel::skin {
namespace {

// The pictures a button showed: a handful of looks at most (normal, hot, focused,
// pressed, disabled).
using Faces = std::vector<ButtonFace>;
constexpr size_t kFacesKept = 6;

constexpr Argb kSilver = 0xFFC0C0C0;
constexpr ColourRef kFocusGlow = 0x00DDCA22;
// Sizes at 96 DPI.
constexpr int kCorner = 5;          // a push button's corners, as AddRoundedRect takes them
constexpr int kMarkCorner = 3;
constexpr int kMarkGlow = 2;        // the hot mark's soft edge
constexpr int kFocusGlowWidth = 3;  // a focused push button's soft edge
constexpr int kPressInset = 2;      // the pressed shade inside the face
constexpr int kTextDrop = 2;        // a push button's text sits this much below the middle
// A mark's text: its left edge, and the width it leaves of the control's.
constexpr int kTextBesideMark = 17, kTextBesideMarkInset = 19;
constexpr float kRadioSize = 12, kRadioDot = 6;

LRESULT CALLBACK ButtonProc(HWND b, UINT msg, WPARAM wp, LPARAM lp);

Text WindowTextOf(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, text.data(), length + 1)));
  return Narrow(text);
}

ControlEntry* Take(SkinEngine& engine, int n, HWND button, ButtonKindOf kind) {
  SkinnedWindow* w = engine.Record(n);
  if (!w) return nullptr;
  ButtonState s;
  s.kind = kind;
  s.text = WindowTextOf(button);
  s.focused = ::GetFocus() == button;
  const WindowFont& font = engine.FontOf(button);
  s.fontName = font.name;
  s.fontSize = font.size;
  s.fontStyle = font.style;
  s.fontUnit = font.unit;
  s.font = font.font;
  return RegisterControl(*w, n, Family::Buttons, button, ButtonProc, std::move(s));
}

LONG_PTR TypeOf(HWND button) { return ::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK; }
bool IsOwnerDrawn(HWND button) { return (TypeOf(button) & BS_OWNERDRAW) == BS_OWNERDRAW; }

ButtonLook LookOf(const SkinEngine& engine, HWND button, const ButtonState& s, UINT state) {
  ButtonLook look;
  look.text = s.text;
  look.fontName = s.fontName;
  look.fontSize = s.fontSize;
  look.fontStyle = s.fontStyle;
  look.fontUnit = s.fontUnit;
  look.font = s.font.get();
  look.textColour = static_cast<ColourRef>(reinterpret_cast<UINT_PTR>(GetSkinProp(button, kPropTextColour)));
  look.highlight = engine.options().highlightColour;
  look.state = state;
  look.checked = ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return look;
}

// The state a repaint outside WM_DRAWITEM shows: the button's own, and hot when the
// pointer is on it. A disabled button is never hot.
UINT CurrentState(const ControlContext& c, HWND button) {
  const ButtonState& s = StateOf<ButtonState>(c);
  UINT state = 0;
  if (!::IsWindowEnabled(button)) return ODS_DISABLED;
  if (s.focused || ::GetFocus() == button) state |= ODS_FOCUS;
  if (::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) state |= ODS_SELECTED;
  if (IsHot(c)) state |= ODS_HOTLIGHT;
  return state;
}

ButtonFace* Remembered(Faces& faces, const ButtonLook& look, int generation, int dpi, int w, int h) {
  for (ButtonFace& f : faces)
    if (f.state == look.state && f.checked == look.checked && f.text == look.text &&
        f.textColour == look.textColour && f.generation == generation && f.dpi == dpi &&
        f.picture.width() == w && f.picture.height() == h)
      return &f;
  return nullptr;
}

void Paint(const ControlContext& c, HWND button, HDC dc, const RECT& r, UINT state) {
  ButtonState& s = StateOf<ButtonState>(c);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const ButtonLook look = LookOf(*c.engine, button, s, state);
  Faces& faces = s.faces;
  const Scale scale = c.window->scale();
  if (const ButtonFace* known = Remembered(faces, look, c.window->Generation(), scale.dpi(), w, h)) {
    ::BitBlt(dc, r.left, r.top, w, h, known->picture.get(), 0, 0, SRCCOPY);
    return;
  }
  BufferedPaint paint(*c.engine, button, w, h);
  if (!paint) return;
  const Rect all{0, 0, w, h};
  switch (s.kind) {
    case ButtonKindOf::Push: PaintPushButton(paint.surface(), all, look, scale); break;
    case ButtonKindOf::CheckBox: PaintCheckBox(paint.surface(), all, look, scale); break;
    case ButtonKindOf::Radio: PaintRadioButton(paint.surface(), all, look, scale); break;
  }
  if (faces.size() >= kFacesKept) faces.erase(faces.begin());
  ButtonFace face{look.state, look.checked, look.text, look.textColour, c.window->Generation(), scale.dpi(),
                  DibDc(w, h)};
  paint.CopyTo(face.picture.get());
  ::BitBlt(dc, r.left, r.top, w, h, face.picture.get(), 0, 0, SRCCOPY);
  faces.push_back(std::move(face));
}

void RedrawNow(const ControlContext& c, HWND button) {
  RECT r;
  ::GetClientRect(button, &r);
  HDC dc = ::GetDC(button);
  Paint(c, button, dc, r, CurrentState(c, button));
  ::ReleaseDC(button, dc);
}

bool IsMarked(const ButtonState& s) { return s.kind != ButtonKindOf::Push; }

// The platform paints check boxes and radio buttons straight to the screen when
// their state changes; the skin's picture goes over it at once, unless the click's
// handler destroyed the button or its window.
LRESULT PassOnThenRepaint(const ControlContext& c, HWND b, UINT msg, WPARAM wp, LPARAM lp) {
  const PassedOn passed = PassOnThenLookUp(c, b, msg, wp, lp);
  const ButtonState* s = StateOf<ButtonState>(passed.now.entry);
  if (s && IsMarked(*s)) RedrawNow(passed.now, b);
  return passed.result;
}

LRESULT OnPaint(const ControlContext& c, HWND b, UINT msg, WPARAM wp, LPARAM lp) {
  if (!IsMarked(StateOf<ButtonState>(c))) return PassOn(c, b, msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(b, &ps);
  RECT r;
  ::GetClientRect(b, &r);
  Paint(c, b, dc, r, CurrentState(c, b));
  ::EndPaint(b, &ps);
  return 0;
}

// A disabled button is never drawn hot; leaving repaints whatever the state.
void OnPointer(const ControlContext& c, HWND b, Pointer pointer, LPARAM) {
  if (pointer == Pointer::Left || (pointer == Pointer::Entered && ::IsWindowEnabled(b))) RedrawNow(c, b);
}

std::optional<LRESULT> OnMessage(const ControlContext& c, HWND b, UINT msg, WPARAM wp, LPARAM lp) {
  ButtonState& s = StateOf<ButtonState>(c);
  switch (msg) {
    case WM_MOVE: ::InvalidateRect(b, nullptr, TRUE); break;
    case WM_SETFOCUS:
      s.focused = true;
      return PassOnThenRepaint(c, b, msg, wp, lp);
    case WM_KILLFOCUS:
      s.focused = false;
      return PassOnThenRepaint(c, b, msg, wp, lp);
    case WM_SETTEXT:
      s.text = lp ? Narrow(reinterpret_cast<const wchar_t*>(lp)) : Text();
      return PassOnThenRepaint(c, b, msg, wp, lp);
    case WM_PAINT: return OnPaint(c, b, msg, wp, lp);
    case WM_ERASEBKGND: return SkipErase(wp);
    case WM_NCPAINT: return 0;  // buttons have no frame of the platform's
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_ENABLE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
      return PassOnThenRepaint(c, b, msg, wp, lp);
    case WM_LBUTTONDBLCLK: return 0;  // a double click is not two clicks
  }
  return std::nullopt;
}

constexpr ControlFamily kButtons{Family::Buttons, &OnMessage, &OnPointer};

LRESULT CALLBACK ButtonProc(HWND b, UINT msg, WPARAM wp, LPARAM lp) { return Dispatch(kButtons, b, msg, wp, lp); }

void AddUpperHalf(GraphicsPath& path, float x, float y, float w, float h, float r) {
  path.AddPathLine(x, y + h, x, y + r);
  path.AddPathArc(x, y, r, r, 180, 90);
  path.AddPathLine(x + r, y, x + w - r, y);
  path.AddPathArc(x + w - r, y, r, r, 270, 90);
  path.AddPathLine(x + w, y + r, x + w, y + h);
}

void DrawText(Graphics& g, const ButtonLook& look, const RectF& layout, int align) {
  if (look.text.empty()) return;
  Font made;
  StringFormat format;
  SolidBrush ink;
  const Font* font = look.font;
  if (!font && ((!look.fontName.empty() &&
                 made.CreateFontFromName(look.fontName, look.fontSize, look.fontStyle, look.fontUnit)) ||
                made.CreateDefaultFont()))
    font = &made;
  if (!font || !format.CreateStringFormat(kNoWrap | kNoClip) || !ink.CreateSolidFill(ToArgb(look.textColour)))
    return;
  format.SetStringFormatAlign(align);
  format.SetStringFormatLineAlign(kAlignCentre);
  g.DrawString(look.text, *font, ink, layout, format);
}

// The mark's square lights up under the pointer.
void HotMark(Graphics& g, float x, float y, float size, ColourRef highlight, bool round, float f) {
  GraphicsPath path;
  LinearGradientBrush light;
  if (!path.CreatePath() ||
      !light.CreateLineBrush(PointF{x, y - f}, PointF{x, y + size + f}, ToArgb(highlight, 100), 0))
    return;
  if (round)
    path.AddPathEllipse(x, y, size - 1, size - 1);
  else
    AddRoundedRect(path, x, y, size - 1, size - 1, kMarkCorner * f);
  g.FillPath(light, path);
  Glow(g, path, kMarkGlow, ToArgb(kFocusGlow, 30), f);
}

void DisabledFace(Graphics& g, const Rect& r, float f) {
  SolidBrush silver;
  if (silver.CreateSolidFill(kSilver)) g.FillRectangleI(silver, r.x, r.y, r.width, r.height);
  OutlineRounded(g, static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.width - 1),
                 static_cast<float>(r.height - 1), kCorner * f, 0x50000000, f);
}

// The text beside a check box's or radio button's mark.
void TextBesideMark(Graphics& g, const Rect& r, const ButtonLook& look, float x, Scale scale) {
  DrawText(g, look,
           RectF{x + static_cast<float>(scale.Px(kTextBesideMark)), static_cast<float>(r.y),
                 static_cast<float>(r.width - scale.Px(kTextBesideMarkInset)), static_cast<float>(r.height)},
           kAlignNear);
}

}  // namespace

void AttachPushButtons(SkinEngine& engine, int n, HWND window) {
  ForEachChildOfClass(window, L"Button", [&](HWND button) {
    const LONG_PTR type = TypeOf(button);
    if (IsOwnerDrawn(button) || (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_USERBUTTON))
      return;
    ControlEntry* entry = Take(engine, n, button, ButtonKindOf::Push);
    if (!entry) return;
    ::SetWindowLongPtrW(button, GWL_STYLE, ::GetWindowLongPtrW(button, GWL_STYLE) | BS_OWNERDRAW);
    // Left owner-drawn without the skin, it would show nothing: the platform draws it again.
    entry->restore = [type](HWND b) {
      ::SetWindowLongPtrW(b, GWL_STYLE, (::GetWindowLongPtrW(b, GWL_STYLE) & ~BS_TYPEMASK) | type);
      ::InvalidateRect(b, nullptr, TRUE);
    };
  });
}

void AttachCheckBoxes(SkinEngine& engine, int n, HWND window) {
  ForEachChildOfClass(window, L"Button", [&](HWND button) {
    const LONG_PTR type = TypeOf(button);
    if (IsOwnerDrawn(button)) return;
    if (type == BS_AUTORADIOBUTTON)
      Take(engine, n, button, ButtonKindOf::Radio);
    else if ((type & 2) && !(type & 4))  // check box, auto check box, push box
      Take(engine, n, button, ButtonKindOf::CheckBox);
  });
}

bool DrawPushButtonItem(SkinEngine& engine, const DRAWITEMSTRUCT& item) {
  const ControlContext c = LookUp(item.hwndItem, Family::Buttons);
  const ButtonState* s = StateOf<ButtonState>(c.entry);
  if (!s || c.engine != &engine || s->kind != ButtonKindOf::Push) return false;
  UINT state = item.itemState & (ODS_SELECTED | ODS_DISABLED | ODS_FOCUS);
  // The platform's own repaints (a click, the focus) keep the hot look under the pointer.
  if (!(state & ODS_DISABLED) && IsHot(c)) state |= ODS_HOTLIGHT;
  Paint(c, item.hwndItem, item.hDC, item.rcItem, state);
  return true;
}

void PaintPushButton(Graphics& g, const Rect& r, const ButtonLook& look, Scale scale) {
  const float f = Factor(scale), corner = kCorner * f;
  const float x = static_cast<float>(r.x), y = static_cast<float>(r.y);
  const float w = static_cast<float>(r.width), h = static_cast<float>(r.height);
  const PointF top{x, y}, bottom{x, y + h - 1};
  FillRounded(g, x, y, w - 1, h - 1, corner, 0x78FFFFFF);
  if (look.state & ODS_DISABLED) {
    DisabledFace(g, r, f);
  } else {
    FillRoundedGradient(g, x, y, w - 1, h - 1, corner, top, bottom, 0x00FFFFFF, ToArgb(0x808080, 60));
    GraphicsPath gloss;
    LinearGradientBrush shine;
    if (gloss.CreatePath() && shine.CreateLineBrush(top, PointF{x, y + h * 0.5f}, 0x32FFFFFF, 0x0AFFFFFF)) {
      AddUpperHalf(gloss, x, y, w - 1, h * 0.5f, corner);
      g.FillPath(shine, gloss);
    }
    if (look.state & ODS_HOTLIGHT) {
      FillRoundedGradient(g, x, y, w - 1, h - 1, corner, top, bottom, ToArgb(look.highlight, 60),
                          ToArgb(look.highlight, 10));
      OutlineRounded(g, x, y, w - 1, h - 1, corner, ToArgb(look.highlight), f);
    } else if (look.state & ODS_FOCUS) {
      GraphicsPath edge;
      if (edge.CreatePath()) {
        AddRoundedRect(edge, x, y, w - 1, h - 1, corner);
        Glow(g, edge, kFocusGlowWidth, ToArgb(kFocusGlow, 120), f);
      }
      OutlineRounded(g, x, y, w - 1, h - 1, corner, 0x46000000, f);
    } else {
      OutlineRounded(g, x, y, w - 1, h - 1, corner, 0x78000000, f);
    }
    if (look.state & ODS_SELECTED) {
      const float inset = static_cast<float>(scale.Px(kPressInset));
      FillRoundedGradient(g, x + inset, y + inset, w - 1 - inset, h - 1 - inset, corner, PointF{inset, inset},
                          PointF{inset, h - inset}, ToArgb(look.highlight, 60), 0x64FFFFFF);
    }
  }
  DrawText(g, look, RectF{x, y + static_cast<float>(scale.Px(kTextDrop)), w, h}, kAlignCentre);
}

void PaintCheckBox(Graphics& g, const Rect& r, const ButtonLook& look, Scale scale) {
  const float f = Factor(scale);
  if (look.state & ODS_DISABLED) DisabledFace(g, r, f);
  const int size = GlyphExtent(GlyphKind::CheckBox, f).cx;
  const float x = static_cast<float>(r.x);
  const float y = static_cast<float>(r.y + (r.height - size) / 2);
  const float side = static_cast<float>(size);
  if (look.state & ODS_HOTLIGHT && !(look.state & ODS_DISABLED)) HotMark(g, x, y, side, look.highlight, false, f);
  const RectF square{x, y, side, side};
  DrawGlyph(g, square, GlyphKind::CheckBox, f);
  if (look.checked) DrawGlyph(g, square, GlyphKind::CheckMark, f);
  if (look.state & ODS_FOCUS)
    OutlineRounded(g, x - f, y - f, side + f, side + f, kMarkCorner * f, ToArgb(kFocusGlow, 160), f);
  TextBesideMark(g, r, look, x, scale);
}

void PaintRadioButton(Graphics& g, const Rect& r, const ButtonLook& look, Scale scale) {
  const float f = Factor(scale), size = kRadioSize * f, dotSize = kRadioDot * f;
  if (look.state & ODS_DISABLED) DisabledFace(g, r, f);
  const float x = static_cast<float>(r.x);
  const float y = static_cast<float>(r.y) + (static_cast<float>(r.height) - size) / 2;
  const int smoothing = g.GetSmoothingMode();
  g.SetSmoothingMode(kSmoothingAntiAlias);
  if (look.state & ODS_HOTLIGHT && !(look.state & ODS_DISABLED))
    HotMark(g, x, y, size + 1, look.highlight, true, f);
  SolidBrush inner;
  Pen ring;
  if (inner.CreateSolidFill(0xDCFFFFFF)) g.FillEllipse(inner, x + f, y + f, size - 2 * f, size - 2 * f);
  if (ring.CreatePen1(0xC8000000, f)) g.DrawEllipse(ring, x, y, size, size);
  if (look.state & ODS_FOCUS && ring.CreatePen1(ToArgb(kFocusGlow, 160), f))
    g.DrawEllipse(ring, x - f, y - f, size + 2 * f, size + 2 * f);
  if (look.checked) {
    GraphicsPath dot;
    PathGradientBrush fill;
    const float d = (size - dotSize) / 2;
    if (dot.CreatePath() && dot.AddPathEllipse(x + d, y + d, dotSize, dotSize) &&
        fill.CreatePathGradientFromPath(dot)) {
      fill.SetPathGradientCenterColor(0x64FFFFFF);
      const Argb surround[] = {ToArgb(look.highlight)};
      fill.SetPathGradientSurroundColorsWithCount(surround);
      g.FillPath(fill, dot);
    }
  }
  g.SetSmoothingMode(smoothing);
  TextBesideMark(g, r, look, x, scale);
}

}  // namespace tovel::skin
