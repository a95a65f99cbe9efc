#include "runtime/slider_input.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace tovel {
namespace {

struct SliderHook {
  WNDPROC previous = nullptr;
  int wheelRest = 0;  // a fine wheel's part of a notch, kept for the next turn
};
// Looked up on every message: an in-process table, not a window property.
std::unordered_map<HWND, SliderHook> gSliderHooks;

int Send(HWND s, UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return static_cast<int>(::SendMessageW(s, msg, wp, lp)); }

RECT Query(HWND s, UINT msg) {
  RECT r{};
  ::SendMessageW(s, msg, 0, reinterpret_cast<LPARAM>(&r));
  return r;
}

bool Vertical(HWND s) { return (::GetWindowLongPtrW(s, GWL_STYLE) & TBS_VERT) != 0; }

// As a user's scroll: the parent hears TB_THUMBPOSITION with the new position.
void MoveAndReport(HWND s, int position) {
  ::SendMessageW(s, TBM_SETPOS, TRUE, position);
  ::SendMessageW(::GetParent(s), Vertical(s) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, Send(s, TBM_GETPOS)),
                 reinterpret_cast<LPARAM>(s));
}

LRESULT PassOn(HWND s, UINT msg, WPARAM wp, LPARAM lp) {
  auto it = gSliderHooks.find(s);
  if (it == gSliderHooks.end()) return ::DefWindowProcW(s, msg, wp, lp);
  return ::CallWindowProcW(it->second.previous, s, msg, wp, lp);
}

// Off the thumb the platform would move a page; the thumb goes under the pointer instead.
// Once there, the press goes on, so holding the button drags it as a press on the thumb does.
LRESULT OnLButtonDown(HWND s, WPARAM wp, LPARAM lp) {
  const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  RECT thumb = Query(s, TBM_GETTHUMBRECT);
  if (Vertical(s) || ::PtInRect(&thumb, p)) return PassOn(s, WM_LBUTTONDOWN, wp, lp);
  const int target = SliderPositionAt(s, p.x);
  if (target != Send(s, TBM_GETPOS)) MoveAndReport(s, target);
  // The handler may have closed the window.
  if (!::IsWindow(s)) return 0;
  thumb = Query(s, TBM_GETTHUMBRECT);
  if (::PtInRect(&thumb, p)) return PassOn(s, WM_LBUTTONDOWN, wp, lp);
  ::SetFocus(s);
  return 0;
}

LRESULT OnMouseWheel(HWND s, SliderHook& hook, int delta) {
  if (!::IsWindowEnabled(s)) return 0;
  hook.wheelRest += delta;
  const int notches = hook.wheelRest / WHEEL_DELTA;
  hook.wheelRest %= WHEEL_DELTA;
  if (notches == 0) return 0;
  const int low = Send(s, TBM_GETRANGEMIN), high = Send(s, TBM_GETRANGEMAX);
  const int from = Send(s, TBM_GETPOS);
  const int to = std::clamp(from + notches * Send(s, TBM_GETPAGESIZE), low, high);
  if (to != from) MoveAndReport(s, to);
  return 0;
}

LRESULT CALLBACK SliderInputProc(HWND s, UINT msg, WPARAM wp, LPARAM lp) {
  auto it = gSliderHooks.find(s);
  if (it == gSliderHooks.end()) return ::DefWindowProcW(s, msg, wp, lp);
  switch (msg) {
    case WM_LBUTTONDOWN: return OnLButtonDown(s, wp, lp);
    case WM_MOUSEWHEEL: return OnMouseWheel(s, it->second, GET_WHEEL_DELTA_WPARAM(wp));
    case WM_NCDESTROY: {
      // Passed on first; then ours goes, put back only while still first in the chain.
      const WNDPROC previous = it->second.previous;
      const LRESULT result = ::CallWindowProcW(previous, s, msg, wp, lp);
      if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(s, GWLP_WNDPROC)) == SliderInputProc)
        ::SetWindowLongPtrW(s, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      gSliderHooks.erase(s);
      return result;
    }
  }
  return ::CallWindowProcW(it->second.previous, s, msg, wp, lp);
}

}  // namespace

int SliderPositionAt(HWND s, int x) {
  const RECT channel = Query(s, TBM_GETCHANNELRECT);
  const RECT thumb = Query(s, TBM_GETTHUMBRECT);
  const int low = Send(s, TBM_GETRANGEMIN), high = Send(s, TBM_GETRANGEMAX);
  const int thumbWidth = thumb.right - thumb.left;
  // The thumb's middle runs from half a thumb into the channel to half a thumb before its end.
  const double start = channel.left + thumbWidth / 2.0;
  const double span = (channel.right - channel.left) - thumbWidth;
  if (span <= 0 || high <= low) return Send(s, TBM_GETPOS);
  const double ratio = std::clamp((x - start) / span, 0.0, 1.0);
  return low + static_cast<int>(std::lround(ratio * (high - low)));
}

void HookSliderInput(HWND slider) {
  if (!slider || gSliderHooks.count(slider)) return;
  auto previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(slider, GWLP_WNDPROC));
  gSliderHooks[slider] = SliderHook{previous};
  ::SetWindowLongPtrW(slider, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SliderInputProc));
}

void RouteWheelToSlider(MSG& msg) {
  if (msg.message != WM_MOUSEWHEEL) return;
  const POINT screen{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  // A disabled or hidden slider is not found here: the wheel goes where it went.
  HWND under = ::WindowFromPoint(screen);
  if (under && under != msg.hwnd && gSliderHooks.count(under)) msg.hwnd = under;
}

}  // namespace tovel
