#include "skin/colour_answers.h"

#include "base/handle.h"
#include "skin/engine.h"
#include "skin/helpers.h"

namespace tovel::skin {
namespace {

COLORREF TextColourOf(HWND control) {
  return static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(GetSkinProp(control, kPropTextColour)));
}

void Prepare(HDC dc, HWND control) {
  ::SetTextColor(dc, TextColourOf(control));
  ::SetBkMode(dc, TRANSPARENT);
}

LRESULT Hollow(HDC dc, HWND control) {
  Prepare(dc, control);
  return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

// The brush a control is given lives in the window's record until the next answer
// replaces it or the window goes.
LRESULT Keep(SkinnedWindow& w, HWND control, UniqueBrush brush) {
  const LRESULT handle = reinterpret_cast<LRESULT>(brush.get());
  w.answerBrushes[control] = std::move(brush);
  return handle;
}

// A group box paints only its frame and caption, and a parent that clips its
// children leaves the box's area to it: the skin goes where no sibling paints, or
// that area stays black.
void UnderGroupBox(HDC dc, HWND box, const DibDc& picture) {
  const int saved = ::SaveDC(dc);
  HWND parent = ::GetParent(box);
  for (HWND sibling = ::FindWindowExW(parent, nullptr, nullptr, nullptr); sibling;
       sibling = ::FindWindowExW(parent, sibling, nullptr, nullptr)) {
    if (sibling == box || !::IsWindowVisible(sibling)) continue;
    RECT r;
    ::GetWindowRect(sibling, &r);
    ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  ::BitBlt(dc, 0, 0, picture.width(), picture.height(), picture.get(), 0, 0, SRCCOPY);
  ::RestoreDC(dc, saved);
}

// The skin behind the control's client area under a white layer, as a pattern.
LRESULT Translucent(const SkinEngine& engine, SkinnedWindow& w, HDC dc, HWND control) {
  Prepare(dc, control);
  ControlBackground behind(engine, control, ClientInWindowRect(control));
  if (!behind) return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
  DibDc picture(behind.dib().width(), behind.dib().height());
  ::BitBlt(picture.get(), 0, 0, picture.width(), picture.height(), behind.get(), 0, 0, SRCCOPY);
  LayWhite(picture, engine.options().controlAlpha);
  if (IsClass(control, L"Button")) UnderGroupBox(dc, control, picture);
  // The brush keeps a copy of the pattern, so the picture goes at once.
  return Keep(w, control, UniqueBrush(::CreatePatternBrush(picture.bitmap())));
}

LRESULT PassColour(SkinnedWindow& w, HDC dc, HWND control, COLORREF colour) {
  ::SetTextColor(dc, TextColourOf(control));
  ::SetBkColor(dc, colour);
  ::SetBkMode(dc, OPAQUE);
  return Keep(w, control, UniqueBrush(::CreateSolidBrush(colour)));
}

}  // namespace

// A drop list has no edit part: the skin draws its text, in its own colour.
void SkinEngine::SetControlTextColour(HWND control, ColourRef colour) {
  if (control && IsClass(control, L"ComboBox")) {
    if (HWND edit = ::FindWindowExW(control, nullptr, L"Edit", nullptr)) control = edit;
  }
  if (!control) return;
  SetSkinProp(control, kPropTextColour, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(colour)));
  ::InvalidateRect(control, nullptr, TRUE);
}

LRESULT AnswerTranslucent(const SkinEngine& engine, SkinnedWindow& w, HDC dc, HWND control) {
  return Translucent(engine, w, dc, control);
}

std::optional<LRESULT> AnswerControlColour(SkinEngine& engine, SkinnedWindow& w, UINT msg, HDC dc,
                                           HWND control) {
  const SkinOptions& o = engine.options();
  if (!o.skinControls || !control) return std::nullopt;
  if (HANDLE pass = GetSkinProp(control, kPropPassColour))
    return PassColour(w, dc, control, static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(pass)) & 0xFFFFFF);
  switch (msg) {
    case WM_CTLCOLOREDIT:
      if (IsClass(::GetParent(control), L"ComboBox") || !o.translucentControls) return std::nullopt;
      return Translucent(engine, w, dc, control);
    case WM_CTLCOLORLISTBOX:
      if (!o.translucentControls || !IsClass(control, L"ListBox") || IsOwnerDrawnListBox(control))
        return std::nullopt;
      return Hollow(dc, control);
    case WM_CTLCOLORBTN:
      return o.translucentControls ? std::optional<LRESULT>(Hollow(dc, control)) : std::nullopt;
    case WM_CTLCOLORSTATIC:
      return o.translucentControls ? std::optional<LRESULT>(Translucent(engine, w, dc, control))
                                   : std::nullopt;
  }
  return std::nullopt;
}

}  // namespace tovel::skin
