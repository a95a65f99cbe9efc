// List-type controls in the skin's look. The controls paint their own items; the
// skin draws the frame and, with translucency, puts the skin behind the items.

#include "skin/list_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "gfx/brush.h"
#include "gfx/graphics.h"
#include "gfx/pen.h"
#include "skin/colour_answers.h"
#include "skin/families.h"
#include "skin/gdiplus_constants.h"

namespace tovel::skin {
namespace {

// The frame's width at 96 DPI; hovered, its inner pixel lies on the control's edge.
constexpr int kFrameWidth = 1, kHoveredFrameWidth = 2;

LRESULT CALLBACK ListControlProc(HWND c, UINT msg, WPARAM wp, LPARAM lp);

bool Translucent(const ControlContext& c) { return c.engine->options().translucentControls; }

// Tree views, list views and list boxes that draw their own rows.
bool IsListLike(HWND c) {
  return IsClass(c, WC_TREEVIEWW) || IsClass(c, WC_LISTVIEWW) ||
         (IsClass(c, L"ListBox") && !IsOwnerDrawnListBox(c));
}

bool HasBorder(HWND c) {
  const LONG_PTR style = ::GetWindowLongPtrW(c, GWL_STYLE), ex = ::GetWindowLongPtrW(c, GWL_EXSTYLE);
  return (style & WS_BORDER) || (ex & (WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE));
}

void PaintFrame(const ControlContext& c, HWND control) {
  const ListState& s = StateOf<ListState>(c);
  // A drop list and a control without a border show no frame.
  if (IsClass(control, L"ComboLBox") || !HasBorder(control)) return;
  RECT window;
  ::GetWindowRect(control, &window);
  ListFrameLook look;
  look.width = window.right - window.left;
  look.height = window.bottom - window.top;
  look.inner = ClientAndBarsRect(control);
  look.hovered = s.hovered;
  look.focused = s.focused;
  look.translucent = Translucent(c);
  look.controlAlpha = c.engine->options().controlAlpha;
  look.highlight = c.engine->options().highlightColour;
  ControlBackground behind(*c.engine, control, RECT{0, 0, look.width, look.height});
  if (!behind) return;
  DibDc picture(look.width, look.height);
  ::BitBlt(picture.get(), 0, 0, look.width, look.height, behind.get(), 0, 0, SRCCOPY);
  const Scale scale = c.window->scale();
  PaintListFrame(picture, look, scale);
  WindowDc dc(control, true);
  const RECT keep = ControlPart(look, scale);
  ::ExcludeClipRect(dc.get(), keep.left, keep.top, keep.right, keep.bottom);
  ::BitBlt(dc.get(), 0, 0, look.width, look.height, picture.get(), 0, 0, SRCCOPY);
}

// The control paints itself twice, on black and on white, so what it left empty
// (the rows' background included, which some list boxes fill opaque) is told
// from what it drew. False when the control went while it painted (its colour
// request reaches the parent's code).
bool PaintTwoPasses(const ControlContext& c, HWND control, DibDc& base) {
  const int w = base.width(), h = base.height();
  DibDc onBlack(w, h), onWhite(w, h);
  if (!onBlack || !onWhite) return true;
  const auto pass = [&](DibDc& target, COLORREF colour) {
    SetSkinProp(control, kPropPassColour, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(colour | 0x1000000)));
    const PassedOn passed = PassOnThenLookUp(c, control, WM_PAINT, reinterpret_cast<WPARAM>(target.get()), 0);
    RemoveSkinProp(control, kPropPassColour);
    return static_cast<bool>(passed.now);
  };
  if (!pass(onBlack, RGB(0, 0, 0)) || !pass(onWhite, RGB(255, 255, 255))) return false;
  ::GdiFlush();
  ComposeOverBase(onBlack.pixels(), onWhite.pixels(), base.pixels(), static_cast<size_t>(w) * h);
  return true;
}

LRESULT OnTranslucentPaint(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  const bool tree = IsClass(control, WC_TREEVIEWW);
  const bool list = IsClass(control, WC_LISTVIEWW) || IsClass(control, L"ListBox");
  if (!tree && !list) return PassOn(c, control, msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(control, &ps);
  DibDc base = TranslucentBackground(*c.engine, control);
  // The control's own painting asks the parent's code for colours, which may destroy it.
  const auto paintInto = [&](HDC target) {
    return static_cast<bool>(PassOnThenLookUp(c, control, WM_PAINT, reinterpret_cast<WPARAM>(target), 0).now);
  };
  bool lives = true;
  if (base) {
    if (IsClass(control, L"ListBox") && !IsOwnerDrawnListBox(control)) {
      lives = PaintTwoPasses(c, control, base);
    } else if (tree) {
      // The tree fills its background with the key colour, which is left out.
      DibDc drawn(base.width(), base.height());
      lives = paintInto(drawn.get());
      ::TransparentBlt(base.get(), 0, 0, base.width(), base.height(), drawn.get(), 0, 0, base.width(),
                       base.height(), kColourKey);
    } else {
      lives = paintInto(base.get());
    }
    if (lives) ::BitBlt(dc, 0, 0, base.width(), base.height(), base.get(), 0, 0, SRCCOPY);
  }
  ::EndPaint(control, &ps);
  if (lives) InvalidateVisibleChildren(control);
  return 0;
}

LRESULT OnEraseBackground(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  HDC dc = reinterpret_cast<HDC>(wp);
  if (!Translucent(c) || IsOwnerDrawnListBox(control) || IsClass(control, L"ComboLBox"))
    return PassOn(c, control, msg, wp, lp);
  ::SetBkMode(dc, TRANSPARENT);
  if (IsListLike(control)) return 1;
  // Address and date controls: the skin behind them.
  ControlBackground behind(*c.engine, control, ClientInWindowRect(control));
  if (behind)
    ::BitBlt(dc, 0, 0, behind.dib().width(), behind.dib().height(), behind.get(), 0, 0, SRCCOPY);
  ::SetTextColor(dc, static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(GetSkinProp(control, kPropTextColour))));
  return 1;
}

// The system paints the scroll bars, and only them; the skin draws the frame.
LRESULT OnNcPaint(const ControlContext& c, HWND control, LPARAM lp) {
  LRESULT result = 0;
  if (UniqueRegion bars = ScrollBarsRegion(control))
    result = ::DefWindowProcW(control, WM_NCPAINT, reinterpret_cast<WPARAM>(bars.get()), lp);
  PaintFrame(c, control);
  return result;
}

// What a list box shows: when its rows moved or its selection changed, the system
// drew part of it straight to the screen, opaque; it is painted again over the skin.
struct ListSnapshot {
  LRESULT top, caret, selection;
  bool operator==(const ListSnapshot&) const = default;
};
ListSnapshot Snapshot(HWND c) {
  return ListSnapshot{::SendMessageW(c, LB_GETTOPINDEX, 0, 0), ::SendMessageW(c, LB_GETCARETINDEX, 0, 0),
                      ::SendMessageW(c, LB_GETCURSEL, 0, 0)};
}

bool MayMoveRows(UINT msg) {
  switch (msg) {
    case WM_KEYDOWN: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_MOUSEMOVE: case WM_MOUSEWHEEL:
    case WM_VSCROLL: case WM_HSCROLL: case WM_TIMER: case WM_SETFOCUS: case WM_KILLFOCUS:
    case LB_SETCURSEL: case LB_SETSEL: case LB_SETCARETINDEX: case LB_SETTOPINDEX: case LB_SELECTSTRING:
      return true;
  }
  return false;
}

PassedOn PassOnWatchingRows(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  if (!Translucent(c) || !MayMoveRows(msg) || !IsClass(control, L"ListBox"))
    return PassOnThenLookUp(c, control, msg, wp, lp);
  const ListSnapshot before = Snapshot(control);
  const PassedOn passed = PassOnThenLookUp(c, control, msg, wp, lp);
  if (passed.now && !(Snapshot(control) == before)) {
    ::InvalidateRect(control, nullptr, FALSE);
    ::UpdateWindow(control);
  }
  return passed;
}

LRESULT PassOnWatching(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  return PassOnWatchingRows(c, control, msg, wp, lp).result;
}

void OnPointer(const ControlContext& c, HWND control, Pointer pointer, LPARAM) {
  ListState& s = StateOf<ListState>(c);
  if (pointer == Pointer::Entered) {
    s.hovered = true;
    PaintFrame(c, control);
  } else if (pointer == Pointer::Left) {
    const bool wasHovered = std::exchange(s.hovered, false);
    PaintFrame(c, control);
    // The hovered frame's inner pixel lay on the control's own edge: that edge is the
    // control's to paint again.
    if (wasHovered) ::InvalidateRect(control, nullptr, FALSE);
  }
}

// The focus change's handlers (LBN_SETFOCUS, LBN_KILLFOCUS) may destroy the control.
LRESULT OnFocus(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  StateOf<ListState>(c).focused = msg == WM_SETFOCUS;
  const PassedOn passed = PassOnWatchingRows(c, control, msg, wp, lp);
  if (passed.now) PaintFrame(passed.now, control);
  return passed.result;
}

std::optional<LRESULT> OnMessage(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  ListState& s = StateOf<ListState>(c);
  switch (msg) {
    case WM_MOVE:
      if (Translucent(c)) ::InvalidateRect(control, nullptr, TRUE);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return OnFocus(c, control, msg, wp, lp);
    case WM_PAINT: {
      const LRESULT result = Translucent(c) ? OnTranslucentPaint(c, control, msg, wp, lp)
                                            : PassOn(c, control, msg, wp, lp);
      // Last, so the control's own painting cannot cover it; that painting asked
      // the parent's code for colours, which may have destroyed the control.
      if (const ControlContext now = LookUp(control, Family::ListControls)) PaintFrame(now, control);
      return result;
    }
    case WM_ERASEBKGND: return OnEraseBackground(c, control, msg, wp, lp);
    case WM_NCPAINT: return OnNcPaint(c, control, lp);
    case WM_KEYDOWN:
      if (wp >= VK_LEFT && wp <= VK_DOWN) s.arrowHeld = true;
      break;
    case WM_KEYUP:
      ::ReleaseCapture();
      s.arrowHeld = false;
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
      if (Translucent(c)) ::InvalidateRect(control, nullptr, TRUE);
      break;
  }
  return std::nullopt;
}

// What the list box shows is watched across every message passed on.
constexpr ControlFamily kListControls{Family::ListControls, &OnMessage, &OnPointer, &PassOnWatching};

LRESULT CALLBACK ListControlProc(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  return Dispatch(kListControls, control, msg, wp, lp);
}

void Register(SkinEngine& engine, int n, HWND control) {
  SkinnedWindow* w = engine.Record(n);
  if (!w || !RegisterControl(*w, n, Family::ListControls, control, ListControlProc, ListState{::GetFocus() == control}))
    return;
  if (!engine.options().translucentControls) return;
  // The views draw over what is behind them only without a background colour of
  // their own; a tree view's background becomes the key colour, left out later.
  if (IsClass(control, WC_LISTVIEWW)) {
    ListView_SetBkColor(control, CLR_NONE);
    ListView_SetTextBkColor(control, CLR_NONE);
  } else if (IsClass(control, WC_TREEVIEWW)) {
    TreeView_SetBkColor(control, kColourKey);
  }
}

}  // namespace

void AttachListControls(SkinEngine& engine, int n, HWND window) {
  if (!engine.options().skinControls) return;
  const auto take = [&](HWND c) { Register(engine, n, c); };
  ForEachChildOfClass(window, L"ListBox", take);
  ForEachChildOfClass(window, L"ComboBox", [&](HWND combo) {
    COMBOBOXINFO info{sizeof(info)};
    // The drop list is a window of its own, found through the combo box.
    if (::GetComboBoxInfo(combo, &info) && info.hwndList &&
        !(::GetWindowLongPtrW(info.hwndList, GWL_STYLE) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)))
      take(info.hwndList);
  });
  ForEachChildOfClass(window, WC_LISTVIEWW, [&](HWND view) {
    if (!(::GetWindowLongPtrW(view, GWL_STYLE) & LVS_OWNERDRAWFIXED)) take(view);
  });
  ForEachChildOfClass(window, WC_TREEVIEWW, take);
  ForEachChildOfClass(window, WC_IPADDRESSW, take);
  ForEachChildOfClass(window, DATETIMEPICK_CLASSW, take);
}

RECT ControlPart(const ListFrameLook& look, Scale scale) {
  // A hovered frame is two pixels wide: its inner pixel lies on the control's edge.
  const int shrink = look.hovered ? scale.Px(kHoveredFrameWidth) - scale.Px(kFrameWidth) : 0;
  return RECT{look.inner.left + shrink, look.inner.top + shrink, look.inner.right - shrink,
              look.inner.bottom - shrink};
}

void PaintListFrame(DibDc& picture, const ListFrameLook& look, Scale scale) {
  if (!picture) return;
  ::GdiFlush();
  const int w = picture.width(), h = picture.height();
  const RECT keep = ControlPart(look, scale);
  const int width = scale.Px(look.hovered ? kHoveredFrameWidth : kFrameWidth);
  const Argb border = look.hovered || look.focused ? ToArgb(look.highlight, 200) : 0x5A000000;
  const auto blend = [](std::uint32_t under, Argb over, int alpha) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const int a = static_cast<int>((under >> shift) & 0xFF), b = static_cast<int>((over >> shift) & 0xFF);
      out |= static_cast<std::uint32_t>(a + ((b - a) * alpha + (b > a ? 127 : -127)) / 255) << shift;
    }
    return out;
  };
  for (int y = 0; y < h; ++y) {
    std::uint32_t* row = picture.pixels() + static_cast<size_t>(y) * w;
    for (int x = 0; x < w; ++x) {
      if (x >= keep.left && x < keep.right && y >= keep.top && y < keep.bottom) {
        x = keep.right - 1;  // the control's own part is left alone
        continue;
      }
      std::uint32_t p = look.translucent ? blend(row[x], 0x00FFFFFF, look.controlAlpha) : 0x00FFFFFF;
      const bool onBorder = x < width || y < width || x >= w - width || y >= h - width;
      if (onBorder) p = blend(p, border & 0x00FFFFFF, static_cast<int>(border >> 24));
      row[x] = p;
    }
  }
}

void ComposeOverBase(const std::uint32_t* onBlack, const std::uint32_t* onWhite, std::uint32_t* base,
                     size_t count) {
  for (size_t i = 0; i < count; ++i) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const int drawn = static_cast<int>((onBlack[i] >> shift) & 0xFF);
      const int left = std::max(0, static_cast<int>((onWhite[i] >> shift) & 0xFF) - drawn);  // 255 × (1 − coverage)
      const int behind = static_cast<int>((base[i] >> shift) & 0xFF);
      out |= static_cast<std::uint32_t>(std::min(255, drawn + (behind * left + 127) / 255)) << shift;
    }
    base[i] = out;
  }
}

}  // namespace tovel::skin
