// Controls handed over one by one: they paint themselves as usual, onto the skin,
// and the colour they fill their face with is keyed out.

#include "skin/translucent.h"

#include <commctrl.h>

#include "skin/families.h"

namespace tovel::skin {
namespace {

// Controls that draw over what is behind them: they are given the skin to paint on.
bool PaintsOnGivenPicture(HWND c) {
  for (const wchar_t* name : {MONTHCAL_CLASSW, WC_TABCONTROLW, TOOLBARCLASSNAMEW, STATUSCLASSNAMEW, L"Button",
                              TRACKBAR_CLASSW})
    if (IsClass(c, name)) return true;
  return false;
}

bool IsRichEdit(HWND c) { return IsClass(c, L"RichEdit20A") || IsClass(c, L"RichEdit20W"); }

bool IsOurs(HWND c) { return GetSkinProp(c, L"Kj_lbID") != nullptr; }

COLORREF TextColourOf(HWND c) {
  return static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(GetSkinProp(c, kPropTextColour)));
}

// The control paints onto the skin; where it left its face, the skin under the
// translucent white layer shows.
LRESULT PaintOnSkin(const ControlContext& c, HWND control, UINT msg, COLORREF face) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(control, &ps);
  ControlBackground drawn(*c.engine, control, ClientInWindowRect(control));
  LRESULT result = 0;
  if (drawn) {
    const PassedOn passed = PassOnThenLookUp(c, control, msg, reinterpret_cast<WPARAM>(drawn.get()), 0);
    result = passed.result;
    const int w = drawn.dib().width(), h = drawn.dib().height();
    if (DibDc base = passed.now ? TranslucentBackground(*passed.now.engine, control) : DibDc()) {
      ::TransparentBlt(base.get(), 0, 0, w, h, drawn.get(), 0, 0, w, h, face);
      ::BitBlt(dc, 0, 0, w, h, base.get(), 0, 0, SRCCOPY);
    }
  }
  ::EndPaint(control, &ps);
  return result;
}

// Any other control paints on a canvas of its face colour, or, when it takes no
// DC and paints the screen itself, is read back from there; its face is replaced
// by the skin.
LRESULT PaintThenKey(const ControlContext& c, HWND control, UINT msg, COLORREF face) {
  RECT client;
  ::GetClientRect(control, &client);
  RECT r;
  if (!::GetUpdateRect(control, &r, FALSE)) r = client;
  const int w = client.right, h = client.bottom;
  DibDc drawn(w, h);
  ControlBackground skin(*c.engine, control, ClientInWindowRect(control));
  if (!drawn || !skin) return PassOn(c, control, msg, 0, 0);
  UniqueBrush faceBrush(::CreateSolidBrush(face));
  ::FillRect(drawn.get(), &client, faceBrush.get());
  const PassedOn passed = PassOnThenLookUp(c, control, msg, reinterpret_cast<WPARAM>(drawn.get()), 0);
  const LRESULT result = passed.result;
  if (!passed.now) return result;  // its painting's requests reached code that destroyed it
  WindowDc dc(control);
  HDC source = drawn.get();
  // A control that drew into the given DC leaves its update region to the caller.
  if (::GetUpdateRect(control, nullptr, FALSE))
    ::ValidateRect(control, nullptr);
  else
    source = dc.get();
  const int rw = r.right - r.left, rh = r.bottom - r.top;
  ::GdiFlush();
  ::TransparentBlt(skin.get(), r.left, r.top, rw, rh, source, r.left, r.top, rw, rh, face);
  ::BitBlt(dc.get(), r.left, r.top, rw, rh, skin.get(), r.left, r.top, SRCCOPY);
  InvalidateVisibleChildren(control);
  return result;
}

LRESULT OnPaint(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  // A paint into a given DC (a parent printing its children) is the control's own.
  if (!c.engine->options().skinControls || wp) return PassOn(c, control, msg, wp, lp);
  const COLORREF face = StateOf<TranslucentState>(c).face;
  return PaintsOnGivenPicture(control) ? PaintOnSkin(c, control, msg, face) : PaintThenKey(c, control, msg, face);
}

std::optional<LRESULT> OnMessage(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  const bool translucent = c.engine->options().translucentControls;
  switch (msg) {
    case WM_MOVE:
      if (translucent) ::InvalidateRect(control, nullptr, TRUE);
      break;
    case WM_ERASEBKGND:
      if (!translucent) break;
      ::SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
      return 1;
    case WM_PAINT: return OnPaint(c, control, msg, wp, lp);
    // A rich edit scrolls by moving pixels, which would move the skin with them.
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (IsRichEdit(control)) ::InvalidateRect(control, nullptr, TRUE);
      break;
  }
  return std::nullopt;
}

constexpr ControlFamily kTranslucent{Family::Translucent, &OnMessage};

}  // namespace

LRESULT CALLBACK TranslucentControlProc(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  return Dispatch(kTranslucent, control, msg, wp, lp);
}

bool AttachTranslucentControl(SkinEngine& engine, HWND control, std::optional<ColourRef> faceColour) {
  SkinnedWindow* w = control ? WindowOfControl(engine, control) : nullptr;
  if (!w) return false;
  if (IsRegistered(w->List(Family::Translucent), control)) return true;
  const int n = engine.WindowNumber(w->hwnd);
  const TranslucentState state{faceColour.value_or(::GetSysColor(COLOR_BTNFACE))};
  if (!RegisterControl(*w, n, Family::Translucent, control, TranslucentControlProc, state)) return false;
  ::InvalidateRect(control, nullptr, TRUE);
  return true;
}

std::optional<LRESULT> AnswerTranslucentCustomDraw(NMHDR& header) {
  if (header.code != NM_CUSTOMDRAW || !IsClass(header.hwndFrom, TOOLBARCLASSNAMEW) || !IsOurs(header.hwndFrom) ||
      !GetSkinProp(header.hwndFrom, kPropTextColour))
    return std::nullopt;
  // The notification is the toolbar's own structure, which it reads back.
  auto& draw = reinterpret_cast<NMTBCUSTOMDRAW&>(header);
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      draw.clrText = TextColourOf(header.hwndFrom);
      return CDRF_DODEFAULT;
  }
  return std::nullopt;
}

}  // namespace tovel::skin
