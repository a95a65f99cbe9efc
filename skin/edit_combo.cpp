// Edit boxes and combo boxes in the skin's look. Edit boxes draw their own text;
// the skin draws their frame and, with translucency, the skin behind the text.
// Combo boxes are drawn whole, apart from their edit part and a list shown inside.

#include "skin/edit_combo.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "base/text.h"
#include "gfx/brush.h"
#include "gfx/font.h"
#include "gfx/graphics.h"
#include "gfx/image.h"
#include "gfx/pen.h"
#include "skin/colour_answers.h"
#include "skin/families.h"
#include "skin/gdiplus_constants.h"
#include "skin/glyphs.h"

namespace tovel::skin {
namespace {

constexpr char kComboFont[] = "宋体";

// Sizes at 96 DPI.
constexpr float kComboFontSize = 12;
constexpr float kComboTextLeft = 4;
constexpr int kDropListCorner = 4, kDropButtonCorner = 3;
constexpr int kDropButtonInset = 1;  // the drop button's face inside its rectangle
constexpr int kFrameWidth = 1;
constexpr int kHotFrameWidth = 2;  // its inner pixel lies on a thin border's client edge

LRESULT CALLBACK EditProc(HWND e, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK ComboProc(HWND b, UINT msg, WPARAM wp, LPARAM lp);

bool Translucent(const ControlContext& c) { return c.engine->options().translucentControls; }

bool HasScrollBars(HWND c) { return (::GetWindowLongPtrW(c, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0; }

bool IsOwnerDrawnCombo(HWND b) {
  return (::GetWindowLongPtrW(b, GWL_STYLE) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}

COLORREF TextColourOf(HWND c) {
  return static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(GetSkinProp(c, kPropTextColour)));
}

// ---- Edit boxes

void PaintFrame(const ControlContext& c, HWND e) {
  const EditState& s = StateOf<EditState>(c);
  RECT window;
  ::GetWindowRect(e, &window);
  EditFrameLook look;
  look.width = window.right - window.left;
  look.height = window.bottom - window.top;
  look.inner = ClientAndBarsRect(e);
  // Without a border there is no frame to draw.
  if (look.inner.left <= 0 && look.inner.top <= 0 && look.inner.right >= look.width &&
      look.inner.bottom >= look.height)
    return;
  look.hot = s.hot;
  look.focused = s.focused;
  look.translucent = Translucent(c);
  look.controlAlpha = c.engine->options().controlAlpha;
  look.highlight = c.engine->options().highlightColour;
  BufferedPaint paint(*c.engine, e, look.width, look.height);
  if (!paint) return;
  const Scale scale = c.window->scale();
  PaintEditFrame(paint.surface(), look, scale);
  WindowDc dc(e, true);
  // A hot frame is two pixels wide: on a thin border its inner pixel lies on the
  // client's edge.
  const int shrink = look.hot ? scale.Px(kHotFrameWidth) - scale.Px(kFrameWidth) : 0;
  ::ExcludeClipRect(dc.get(), look.inner.left + shrink, look.inner.top + shrink, look.inner.right - shrink,
                    look.inner.bottom - shrink);
  paint.CopyTo(dc.get());
}

// The system paints the scroll bars, and only them; the skin draws the frame.
LRESULT OnEditNcPaint(const ControlContext& c, HWND e, LPARAM lp) {
  LRESULT result = 0;
  if (UniqueRegion bars = ScrollBarsRegion(e))
    result = ::DefWindowProcW(e, WM_NCPAINT, reinterpret_cast<WPARAM>(bars.get()), lp);
  PaintFrame(c, e);
  return result;
}

LRESULT OnEditErase(const ControlContext& c, HWND e, UINT msg, WPARAM wp, LPARAM lp) {
  if (!Translucent(c)) return PassOn(c, e, msg, wp, lp);
  HDC dc = reinterpret_cast<HDC>(wp);
  ::SetBkMode(dc, TRANSPARENT);
  // The same picture as the brush its window gives it, so text and gaps agree.
  if (DibDc behind = TranslucentBackground(*c.engine, e))
    ::BitBlt(dc, 0, 0, behind.width(), behind.height(), behind.get(), 0, 0, SRCCOPY);
  return 1;
}

// The focus change's handlers (EN_SETFOCUS, EN_KILLFOCUS) may destroy the edit box.
LRESULT OnEditFocus(const ControlContext& c, HWND e, UINT msg, WPARAM wp, LPARAM lp) {
  StateOf<EditState>(c).focused = msg == WM_SETFOCUS;
  const PassedOn passed = PassOnThenLookUp(c, e, msg, wp, lp);
  if (!passed.now) return passed.result;
  HWND parent = ::GetParent(e);
  if (msg == WM_KILLFOCUS && IsClass(parent, L"ComboBox"))
    ::InvalidateRect(parent, nullptr, TRUE);
  else if (msg == WM_KILLFOCUS)
    ::InvalidateRect(e, nullptr, TRUE);
  else
    PaintFrame(passed.now, e);
  return passed.result;
}

void OnEditPointer(const ControlContext& c, HWND e, Pointer pointer, LPARAM) {
  EditState& s = StateOf<EditState>(c);
  if (pointer != Pointer::Left) {
    if (pointer == Pointer::Entered) {
      s.hot = true;
      PaintFrame(c, e);
    }
    // A selection dragged over translucent text leaves no trace behind.
    if (s.pressed && !HasScrollBars(e) && Translucent(c)) ::InvalidateRect(e, nullptr, TRUE);
  } else {
    const bool wasHot = std::exchange(s.hot, false);
    PaintFrame(c, e);
    // On a thin border the hot frame's inner pixel lay on the client's edge, which
    // is the control's to paint again.
    const RECT inner = ClientAndBarsRect(e);
    if (wasHot && (inner.left < kHotFrameWidth || inner.top < kHotFrameWidth)) ::InvalidateRect(e, nullptr, FALSE);
  }
}

LRESULT OnEditPaint(const ControlContext& c, HWND e, UINT msg, WPARAM wp, LPARAM lp) {
  const PassedOn passed = PassOnThenLookUp(c, e, msg, wp, lp);
  if (passed.now) PaintFrame(passed.now, e);
  return passed.result;
}

std::optional<LRESULT> OnEditMessage(const ControlContext& c, HWND e, UINT msg, WPARAM wp, LPARAM lp) {
  EditState& s = StateOf<EditState>(c);
  switch (msg) {
    case WM_MOVE:
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Translucent(c)) ::InvalidateRect(e, nullptr, TRUE);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return OnEditFocus(c, e, msg, wp, lp);
    case WM_PAINT: return OnEditPaint(c, e, msg, wp, lp);
    case WM_ERASEBKGND: return OnEditErase(c, e, msg, wp, lp);
    case WM_NCPAINT: return OnEditNcPaint(c, e, lp);
    case WM_KEYDOWN:
      if (Translucent(c) && !HasScrollBars(e)) ::InvalidateRect(e, nullptr, TRUE);
      break;
    case WM_LBUTTONDOWN:
      s.pressed = true;
      if (Translucent(c) && !HasScrollBars(e)) ::InvalidateRect(e, nullptr, TRUE);
      break;
    case WM_LBUTTONUP: s.pressed = false; break;
  }
  return std::nullopt;
}

constexpr ControlFamily kEdits{Family::Edits, &OnEditMessage, &OnEditPointer};

LRESULT CALLBACK EditProc(HWND e, UINT msg, WPARAM wp, LPARAM lp) { return Dispatch(kEdits, e, msg, wp, lp); }

void TakeEdit(SkinnedWindow& w, int n, HWND e) {
  RegisterControl(w, n, Family::Edits, e, EditProc, EditState{::GetFocus() == e});
}

// ---- Combo boxes

Text SelectedText(HWND b) {
  const LRESULT item = ::SendMessageW(b, CB_GETCURSEL, 0, 0);
  if (item < 0) return {};
  const LRESULT length = ::SendMessageW(b, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got =
      ::SendMessageW(b, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return Narrow(text);
}

// A child's rectangle relative to the combo box's window, empty when hidden.
RECT PartRect(HWND part, const RECT& window) {
  RECT r{};
  if (!part || !::IsWindowVisible(part)) return r;
  ::GetWindowRect(part, &r);
  ::OffsetRect(&r, -window.left, -window.top);
  return r;
}

void PaintCombo(const ControlContext& c, HWND b) {
  const ComboState& s = StateOf<ComboState>(c);
  RECT window;
  ::GetWindowRect(b, &window);
  ComboLook look;
  look.width = window.right - window.left;
  look.height = window.bottom - window.top;
  COMBOBOXINFO info{sizeof(info)};
  if (!::GetComboBoxInfo(b, &info)) return;
  const LONG_PTR style = ::GetWindowLongPtrW(b, GWL_STYLE);
  look.dropList = (style & 3) == CBS_DROPDOWNLIST;
  look.hot = s.hot;
  if (!(info.stateButton & STATE_SYSTEM_INVISIBLE)) {
    // The button's rectangle is in client coordinates, which a combo box's are.
    look.button = info.rcButton;
    const RECT client = ClientInWindowRect(b);
    ::OffsetRect(&look.button, client.left, client.top);
  }
  if (info.hwndItem && info.hwndItem != b) look.edit = PartRect(info.hwndItem, window);
  // Only a list inside the box (a simple combo box's) is in its picture.
  if (info.hwndList && ::GetParent(info.hwndList) == b) look.list = PartRect(info.hwndList, window);
  look.translucent = Translucent(c);
  look.controlAlpha = c.engine->options().controlAlpha;
  look.highlight = c.engine->options().highlightColour;
  if (look.dropList) {
    look.text = SelectedText(b);
    look.textColour = TextColourOf(b);
  }
  BufferedPaint paint(*c.engine, b, look.width, look.height);
  if (!paint) return;
  PaintComboBox(paint.surface(), look, c.window->scale());
  paint.surface().Flush();
  WindowDc dc(b, true);
  ::TransparentBlt(dc.get(), 0, 0, look.width, look.height, paint.dc(), 0, 0, look.width, look.height, kColourKey);
}

void OnComboPointer(const ControlContext& c, HWND b, Pointer pointer, LPARAM) {
  if (pointer == Pointer::Within) return;
  StateOf<ComboState>(c).hot = pointer == Pointer::Entered;
  PaintCombo(c, b);
}

LRESULT OnComboCommand(const ControlContext& c, HWND b, UINT msg, WPARAM wp, LPARAM lp) {
  HWND from = reinterpret_cast<HWND>(lp);
  const WORD code = HIWORD(wp);
  if (from && Translucent(c) && IsClass(from, L"Edit") &&
      (code == EN_VSCROLL || code == EN_HSCROLL || code == EN_CHANGE || code == EN_UPDATE))
    ::InvalidateRect(from, nullptr, TRUE);
  return PassOn(c, b, msg, wp, lp);
}

// The edit part asks its combo box for colours; with translucency it gets the skin.
LRESULT OnComboEditColour(const ControlContext& c, HWND b, UINT msg, WPARAM wp, LPARAM lp) {
  HWND edit = reinterpret_cast<HWND>(lp);
  if (!Translucent(c) || !edit) return PassOn(c, b, msg, wp, lp);
  return AnswerTranslucent(*c.engine, *c.window, reinterpret_cast<HDC>(wp), edit);
}

// Selecting and dropping the list make the platform draw parts of the box straight
// to the screen; the skin's picture goes over them at once.
LRESULT PassOnThenPaint(const ControlContext& c, HWND b, UINT msg, WPARAM wp, LPARAM lp) {
  const PassedOn passed = PassOnThenLookUp(c, b, msg, wp, lp);
  if (StateOf<ComboState>(passed.now.entry)) PaintCombo(passed.now, b);
  return passed.result;
}

std::optional<LRESULT> OnComboMessage(const ControlContext& c, HWND b, UINT msg, WPARAM wp, LPARAM lp) {
  ComboState& s = StateOf<ComboState>(c);
  switch (msg) {
    case WM_MOVE: PaintCombo(c, b); break;
    case WM_SETFOCUS:
      s.focused = true;
      return PassOnThenPaint(c, b, msg, wp, lp);
    case WM_KILLFOCUS: s.focused = false; return PassOnThenPaint(c, b, msg, wp, lp);
    case WM_SETTEXT:
      if (::FindWindowExW(b, nullptr, L"Edit", nullptr)) ::InvalidateRect(b, nullptr, TRUE);
      break;
    case WM_PAINT: return PaintWhole(b, [&] { PaintCombo(c, b); });
    case WM_ERASEBKGND: return SkipErase(wp);
    case WM_NCPAINT: PaintCombo(c, b); return 0;
    case WM_COMMAND: return OnComboCommand(c, b, msg, wp, lp);
    case WM_CTLCOLOREDIT: return OnComboEditColour(c, b, msg, wp, lp);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_CAPTURECHANGED:
    case CB_SETCURSEL:
    case CB_SHOWDROPDOWN: return PassOnThenPaint(c, b, msg, wp, lp);
  }
  return std::nullopt;
}

constexpr ControlFamily kCombos{Family::Combos, &OnComboMessage, &OnComboPointer};

LRESULT CALLBACK ComboProc(HWND b, UINT msg, WPARAM wp, LPARAM lp) { return Dispatch(kCombos, b, msg, wp, lp); }

void TakeCombo(SkinnedWindow& w, int n, HWND b) {
  if (IsOwnerDrawnCombo(b)) return;  // its owner draws it
  if (!RegisterControl(w, n, Family::Combos, b, ComboProc, ComboState{::GetFocus() == b})) return;
  COMBOBOXINFO info{sizeof(info)};
  if (::GetComboBoxInfo(b, &info) && info.hwndItem && info.hwndItem != b && IsClass(info.hwndItem, L"Edit"))
    TakeEdit(w, n, info.hwndItem);
}

void DrawComboText(Graphics& g, const ComboLook& look, float right, float f) {
  if (look.text.empty()) return;
  Font font;
  StringFormat format;
  SolidBrush ink;
  const float left = kComboTextLeft * f;
  if (!(font.CreateFontFromName(kComboFont, kComboFontSize * f, 0, kUnitPixel) || font.CreateDefaultFont()) ||
      !format.CreateStringFormat(kNoWrap) || !ink.CreateSolidFill(ToArgb(look.textColour)))
    return;
  format.SetStringFormatAlign(kAlignNear);
  format.SetStringFormatLineAlign(kAlignCentre);
  format.SetStringFormatTrimming(kTrimEllipsisCharacter);
  g.DrawString(look.text, font, ink, RectF{left, 0, right - left, static_cast<float>(look.height)}, format);
}

// A frame line of n whole pixels along the outermost rows and columns of w x h.
void Ring(Graphics& g, int w, int h, Argb colour, int n) {
  Pen pen;
  if (!pen.CreatePen1(colour, static_cast<float>(n))) return;
  // A pen's middle lies on pixel centres when odd, between pixels when even.
  const float at = static_cast<float>(n / 2), odd = static_cast<float>(n % 2);
  g.DrawRectangle(pen, at, at, static_cast<float>(w) - 2 * at - odd, static_cast<float>(h) - 2 * at - odd);
}

}  // namespace

void AttachEditsAndCombos(SkinEngine& engine, int n, HWND window) {
  SkinnedWindow* w = engine.Record(n);
  if (!w) return;
  ForEachChildOfClass(window, L"Edit", [&](HWND e) { TakeEdit(*w, n, e); });
  ForEachChildOfClass(window, L"ComboBox", [&](HWND b) { TakeCombo(*w, n, b); });
}

void PaintEditFrame(Graphics& g, const EditFrameLook& look, Scale scale) {
  const int w = look.width, h = look.height;
  SolidBrush layer;
  if (look.translucent && look.controlAlpha > 0 && layer.CreateSolidFill(ToArgb(0x00FFFFFF, look.controlAlpha))) {
    // The ring as four strips: a figure's cost grows with the area it spans.
    const RECT& in = look.inner;
    g.FillRectangleI(layer, 0, 0, w, in.top);
    g.FillRectangleI(layer, 0, in.bottom, w, h - in.bottom);
    g.FillRectangleI(layer, 0, in.top, in.left, in.bottom - in.top);
    g.FillRectangleI(layer, in.right, in.top, w - in.right, in.bottom - in.top);
  }
  if (look.hot)
    Ring(g, w, h, ToArgb(look.highlight, 180), scale.Px(kHotFrameWidth));
  else
    Ring(g, w, h, look.focused ? ToArgb(look.highlight, 180) : 0x50000000, scale.Px(kFrameWidth));
}

void PaintComboBox(Graphics& g, const ComboLook& look, Scale scale) {
  const float f = Factor(scale);
  const int w = look.width, h = look.height;
  const float fw = static_cast<float>(w), fh = static_cast<float>(h);
  // A list inside the box keeps its own area: the face stops above it.
  const int faceHeight = ::IsRectEmpty(&look.list) ? h : std::min(h, static_cast<int>(look.list.top));
  SolidBrush face;
  if ((!look.translucent || look.controlAlpha > 0) &&
      face.CreateSolidFill(look.translucent ? ToArgb(0x00FFFFFF, look.controlAlpha) : 0xFFFFFFFF))
    g.FillRectangleI(face, 0, 0, w, faceHeight);
  const Argb border = look.hot ? ToArgb(look.highlight, 200) : 0x50000000;
  if (look.dropList) {
    OutlineRounded(g, 0, 0, fw - 1, fh - 1, kDropListCorner * f, border, f);
  } else {
    Ring(g, w, faceHeight, border, scale.Px(kFrameWidth));
  }
  const RECT& b = look.button;
  float right = fw - 2;
  if (!::IsRectEmpty(&b)) {
    const int inset = scale.Px(kDropButtonInset);
    const float x = static_cast<float>(b.left + inset), y = static_cast<float>(b.top + inset);
    const float bw = static_cast<float>(b.right - b.left - 2 * inset);
    const float bh = static_cast<float>(b.bottom - b.top - 2 * inset);
    const Argb top = look.hot ? ToArgb(look.highlight, 30) : 0x64FFFFFF;
    const Argb bottom = ToArgb(look.highlight, look.hot ? 100 : 150);
    FillRoundedGradient(g, x, y, bw, bh, kDropButtonCorner * f, PointF{x, y - f}, PointF{x, y + bh + f}, top,
                        bottom);
    DrawGlyph(g,
              RectF{static_cast<float>(b.left), static_cast<float>(b.top), static_cast<float>(b.right - b.left),
                    static_cast<float>(b.bottom - b.top)},
              GlyphKind::ComboArrow, f);
    right = static_cast<float>(b.left);
  }
  if (look.dropList) DrawComboText(g, look, right, f);
  // Last, so that no border or shade is blended into what the parts keep.
  for (const RECT* part : {&look.edit, &look.list}) {
    if (::IsRectEmpty(part)) continue;
    g.SetClipRectI(part->left, part->top, part->right - part->left, part->bottom - part->top, kCombineReplace);
    g.Clear(kColourKeyArgb);
    g.ResetClip();
  }
}

}  // namespace tovel::skin
