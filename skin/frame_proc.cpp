// The skinned window's procedure: a table of named handlers. Messages it does not
// consume go on to the procedure it replaced.

#include <windowsx.h>

#include <optional>

#include "base/text.h"
#include "skin/colour_answers.h"
#include "skin/engine.h"
#include "skin/families.h"
#include "skin/helpers.h"

namespace tovel::skin {

class FrameHandlers {
 public:
  FrameHandlers(SkinnedWindow& w) : w_(w), engine_(*w.engine), hwnd_(w.hwnd) {}

  // nullopt: the message goes on to the previous procedure.
  using Result = std::optional<LRESULT>;

  Result OnNcCalcSize() { return 0; }  // the whole window is client area
  Result OnShowWindow(bool shown);
  Result OnEraseBackground(HDC dc);
  Result OnPrintClient(HDC dc);
  Result OnPaint();
  Result OnSize(WPARAM kind, LPARAM size);
  Result OnSetText(UINT msg, WPARAM wp, LPARAM lp);
  Result OnActivateApp(bool active);
  Result OnGetMinMaxInfo(MINMAXINFO* info);
  Result OnWindowPosChanging(UINT msg, WPARAM wp, LPARAM lp);
  Result OnWindowPosChanged();
  Result OnSysCommand(WPARAM command);
  Result OnTimer(UINT_PTR id);
  Result OnSetCursor(LPARAM lp);
  Result OnMouseMove(int x, int y, LPARAM lp);
  Result OnLButtonDown(int x, int y, LPARAM lp);
  Result OnLButtonUp(int x, int y);
  Result OnLButtonDblClk(int x, int y, LPARAM lp);
  Result OnMouseLeave();
  Result OnCaptureChanged(HWND gaining);

 private:
  int Number() const { return engine_.WindowNumber(hwnd_); }
  RECT Client() const {
    RECT rc{};
    ::GetClientRect(hwnd_, &rc);
    return rc;
  }
  void EnsureComposed();
  void BlitComposed(HDC dc);
  void DrawButton(int button, bool pressed);
  void Press(int button);

  SkinnedWindow& w_;
  SkinEngine& engine_;
  HWND hwnd_;
};

void FrameHandlers::EnsureComposed() {
  if (!w_.composed || w_.backgroundDirty) engine_.RenderWindow(Number(), false);
}

void FrameHandlers::BlitComposed(HDC dc) {
  EnsureComposed();
  if (w_.composed)
    ::BitBlt(dc, 0, 0, w_.composed.width(), w_.composed.height(), w_.composed.get(), 0, 0, SRCCOPY);
}

void FrameHandlers::DrawButton(int button, bool pressed) {
  engine_.DrawCaptionButton(Number(), button, nullptr, pressed,
                            pressed ? 0 : w_.fade.RestingAlpha(button, w_.hotButton));
}

FrameHandlers::Result FrameHandlers::OnShowWindow(bool shown) {
  if (!shown) return std::nullopt;
  // Compose before the first paint, so the window never shows unskinned.
  if (w_.minimized)
    w_.minimized = false;
  else
    EnsureComposed();
  return std::nullopt;
}

// A child that draws its parent's background behind it (a transparent label)
// asks with its own DC; the window's own erase is left to WM_PAINT.
FrameHandlers::Result FrameHandlers::OnEraseBackground(HDC dc) {
  if (::WindowFromDC(dc) != hwnd_) BlitComposed(dc);
  return 1;
}

FrameHandlers::Result FrameHandlers::OnPrintClient(HDC dc) {
  BlitComposed(dc);
  return 0;
}

FrameHandlers::Result FrameHandlers::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd_, &ps);
  if (!w_.minimized && !::IsIconic(hwnd_)) {
    const bool wasDirty = !w_.composed || w_.backgroundDirty;
    EnsureComposed();
    engine_.PresentWindow(Number(), dc);
    if (wasDirty && !engine_.startupPending()) engine_.RefreshChildren(Number());
  }
  ::EndPaint(hwnd_, &ps);
  return 0;
}

FrameHandlers::Result FrameHandlers::OnSize(WPARAM kind, LPARAM size) {
  if (kind == SIZE_MINIMIZED) w_.minimized = true;
  engine_.startupPending_ = false;
  // Showing a window sends a size it already has: nothing to compose again then.
  const int width = GET_X_LPARAM(size), height = GET_Y_LPARAM(size);
  if (w_.composed && w_.composed.width() == width && w_.composed.height() == height) return std::nullopt;
  w_.hotButton = 0;
  w_.fade.Reset();
  w_.backgroundDirty = true;
  engine_.OnWindowSized(Number());
  // The picture is stretched to the size: all of it changes.
  ::InvalidateRect(hwnd_, nullptr, FALSE);
  return std::nullopt;
}

// The default procedure would draw a platform caption over the skin: it runs with
// the window marked invisible, then the skin draws the caption itself.
FrameHandlers::Result FrameHandlers::OnSetText(UINT msg, WPARAM wp, LPARAM lp) {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  if (style & WS_VISIBLE) ::SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~WS_VISIBLE);
  const LRESULT result = ::CallWindowProcW(w_.previous, hwnd_, msg, wp, lp);
  if (style & WS_VISIBLE) ::SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
  if (msg == WM_SETTEXT && w_.captionText && w_.framed && lp)
    engine_.DrawCaptionText(Number(), nullptr, Narrow(reinterpret_cast<const wchar_t*>(lp)));
  return result;
}

FrameHandlers::Result FrameHandlers::OnActivateApp(bool active) {
  if (!active) {
    // Trims our own working set off the interface thread.
    ::QueueUserWorkItem(
        [](void*) -> DWORD {
          ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1),
                                     static_cast<SIZE_T>(-1));
          return 0;
        },
        nullptr, WT_EXECUTEDEFAULT);
  }
  return std::nullopt;
}

// Maximized fills the work area of the window's own monitor; with no taskbar
// that is the whole monitor.
FrameHandlers::Result FrameHandlers::OnGetMinMaxInfo(MINMAXINFO* info) {
  MONITORINFO mi{sizeof(mi)};
  if (::GetMonitorInfoW(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &mi)) {
    const RECT& work = mi.rcWork;
    const RECT& screen = mi.rcMonitor;
    info->ptMaxPosition = POINT{work.left - screen.left, work.top - screen.top};
    info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
    const Extent usable = UsableArea(screen.right - screen.left, screen.bottom - screen.top,
                                     (screen.bottom - screen.top) - (work.bottom - work.top),
                                     ::IsZoomed(hwnd_) != FALSE);
    info->ptMaxTrackSize = POINT{usable.width, usable.height};
  }
  info->ptMinTrackSize = POINT{200, 150};
  return 0;
}

// The region follows every change of size, whatever the route (the caption button,
// ShowWindow, a sizing loop, SetWindowPos), and goes on before the new size applies:
// Wine forgets the maximized state when a window already maximized gets a new
// region. The previous procedure first clamps the size to the tracking limits.
FrameHandlers::Result FrameHandlers::OnWindowPosChanging(UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT result = ::CallWindowProcW(w_.previous, hwnd_, msg, wp, lp);
  const auto& pos = *reinterpret_cast<const WINDOWPOS*>(lp);
  if (pos.flags & SWP_NOSIZE || ::IsIconic(hwnd_)) return result;
  if (SkinnedWindow* w = engine_.Record(Number())) engine_.SetWindowRegion(*w, pos.cx, pos.cy);
  return result;
}

FrameHandlers::Result FrameHandlers::OnWindowPosChanged() {
  const int n = Number();
  engine_.OnWindowMoved(n);
  if (w_.itemAreaSize > 0) engine_.LayoutItems(n);
  return std::nullopt;
}

FrameHandlers::Result FrameHandlers::OnSysCommand(WPARAM command) {
  switch (command & 0xFFF0) {
    case SC_MAXIMIZE:
      w_.backgroundDirty = true;
      break;
    case SC_RESTORE:
      w_.backgroundDirty = true;
      w_.minimized = false;
      break;
    case SC_MINIMIZE:
      w_.backgroundDirty = true;
      w_.minimized = true;
      break;
  }
  return std::nullopt;
}

FrameHandlers::Result FrameHandlers::OnTimer(UINT_PTR id) {
  if (id != kFadeTimerId) return std::nullopt;
  engine_.OnFadeTimer(w_);
  return 0;
}

// The sizing cursors show over the edges, as over a platform border.
FrameHandlers::Result FrameHandlers::OnSetCursor(LPARAM lp) {
  if (LOWORD(lp) != HTCLIENT || !w_.framed || !w_.sizable || ::IsZoomed(hwnd_)) return std::nullopt;
  POINT pt;
  ::GetCursorPos(&pt);
  ::ScreenToClient(hwnd_, &pt);
  const RECT rc = Client();
  const int id = ZoneCursorId(ZoneAt(pt.x, pt.y, rc.right, rc.bottom));
  if (!id) return std::nullopt;
  ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(id)));
  return TRUE;
}

FrameHandlers::Result FrameHandlers::OnMouseMove(int x, int y, LPARAM lp) {
  if (!w_.mouseTracked) {
    w_.mouseTracked = true;
    TrackMouse(hwnd_, TME_HOVER | TME_LEAVE, 1);
  }
  if (!w_.framed) return std::nullopt;
  if (!w_.tip.GetWindow() && w_.tip.Create(hwnd_)) engine_.OnWindowMoved(Number());
  const int hit = engine_.HitTestCaptionButton(Number(), x, y);
  if (hit != w_.hotButton) {
    const int before = w_.hotButton;
    if (auto cut = w_.fade.Hover(before, hit)) DrawButton(cut->button, false);
    w_.hotButton = hit;
    // A held button looks pressed only while the pointer is on it.
    const int pressed = w_.pressedButton;
    if (pressed && (before == pressed || hit == pressed)) DrawButton(pressed, hit == pressed);
    engine_.StartFade(w_);
  }
  if (!::IsZoomed(hwnd_)) engine_.OnFrameMouseMove(Number(), lp, Client());
  return std::nullopt;
}

void FrameHandlers::Press(int button) {
  w_.pressedButton = button;
  ::SetCapture(hwnd_);
  DrawButton(button, true);
}

FrameHandlers::Result FrameHandlers::OnLButtonDown(int x, int y, LPARAM lp) {
  if (!w_.framed) return std::nullopt;
  if (const int hit = engine_.HitTestCaptionButton(Number(), x, y)) {
    Press(hit);
    return 0;
  }
  if (!::IsZoomed(hwnd_) && !::IsIconic(hwnd_) && !w_.minimized)
    engine_.OnFrameMouseDown(Number(), lp, Client());
  return std::nullopt;
}

// A caption button acts on release, and only when the press began on it.
FrameHandlers::Result FrameHandlers::OnLButtonUp(int x, int y) {
  const int pressed = std::exchange(w_.pressedButton, 0);
  if (!pressed) return std::nullopt;
  if (::GetCapture() == hwnd_) ::ReleaseCapture();
  const int n = Number();
  const int hit = engine_.HitTestCaptionButton(n, x, y);
  DrawButton(pressed, false);
  // Acting may destroy the window and its record: nothing of them is used after.
  if (hit == pressed && w_.framed) engine_.OnCaptionButton(n, pressed);
  return 0;
}

FrameHandlers::Result FrameHandlers::OnLButtonDblClk(int x, int y, LPARAM lp) {
  if (!w_.framed) return std::nullopt;
  // The second press of a quick double click on a caption button is a press.
  if (const int hit = engine_.HitTestCaptionButton(Number(), x, y)) {
    Press(hit);
    return 0;
  }
  if (y > w_.captionHeight || !w_.sizable) return std::nullopt;
  if (const int b = engine_.CaptionDoubleClickButton(Number())) engine_.OnCaptionButton(Number(), b);
  return 0;
}

FrameHandlers::Result FrameHandlers::OnMouseLeave() {
  w_.mouseTracked = false;
  if (w_.hotButton >= 1 && w_.framed && !w_.pressedButton) {
    if (auto cut = w_.fade.Hover(w_.hotButton, 0)) DrawButton(cut->button, false);
    w_.hotButton = 0;
    engine_.StartFade(w_);
  }
  return std::nullopt;
}

FrameHandlers::Result FrameHandlers::OnCaptureChanged(HWND gaining) {
  if (gaining == hwnd_ || !w_.pressedButton) return std::nullopt;
  const int pressed = std::exchange(w_.pressedButton, 0);
  DrawButton(pressed, false);
  return std::nullopt;
}

namespace {
// Text colours given to children that no family took over: removed while the
// children still exist, as their own end is not seen here.
void ForgetChildColours(HWND window) {
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM) -> BOOL {
        RemoveSkinProp(child, kPropTextColour);
        return TRUE;
      },
      0);
}
}  // namespace

void SkinEngine::StartFade(SkinnedWindow& w) {
  if (w.fadeTimerRunning || w.fade.Idle()) return;
  w.fadeTimerRunning = ::SetTimer(w.hwnd, kFadeTimerId, kFadeIntervalMs, nullptr) != 0;
}

void SkinEngine::OnFadeTimer(SkinnedWindow& w) {
  const int n = WindowNumber(w.hwnd);
  for (const FadeDraw& d : w.fade.Tick()) {
    // A held button keeps its pressed look.
    if (d.button == w.pressedButton && d.button == w.hotButton) continue;
    DrawCaptionButton(n, d.button, nullptr, false, d.alpha);
  }
  if (w.fade.Idle()) {
    ::KillTimer(w.hwnd, kFadeTimerId);
    w.fadeTimerRunning = false;
  }
}

LRESULT CALLBACK SkinEngine::FrameWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const FrameBinding bound = BindingOf(hwnd);
  SkinnedWindow* w = bound.record;
  // Let go of, but kept in the chain by someone who subclassed after us.
  if (!w) return PassOnLetGo(hwnd, bound.previous, msg, wp, lp);
  const WNDPROC previous = w->previous;
  if (msg == WM_NCDESTROY) {
    // Passed on first; then our procedure, properties and record go, the record last.
    const LRESULT result = ::CallWindowProcW(previous, hwnd, msg, wp, lp);
    w->engine->ReleaseWindow(hwnd, true);
    return result;
  }
  FrameHandlers h(*w);
  FrameHandlers::Result r;
  const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_NCCALCSIZE: r = h.OnNcCalcSize(); break;
    case WM_NCPAINT: r = 0; break;  // there is no platform frame to paint
    // -1: the default procedure changes the state without painting a frame.
    case WM_NCACTIVATE: return ::CallWindowProcW(previous, hwnd, msg, wp, -1);
    case WM_SHOWWINDOW: r = h.OnShowWindow(wp != FALSE); break;
    case WM_ERASEBKGND: r = h.OnEraseBackground(reinterpret_cast<HDC>(wp)); break;
    case WM_PRINTCLIENT: r = h.OnPrintClient(reinterpret_cast<HDC>(wp)); break;
    case WM_PAINT: r = h.OnPaint(); break;
    case WM_SIZE: r = h.OnSize(wp, lp); break;
    case WM_SETTEXT:
    case WM_SETICON: r = h.OnSetText(msg, wp, lp); break;
    case WM_QUERYOPEN: w->minimized = false; break;
    case WM_DESTROY: ForgetChildColours(hwnd); break;
    case WM_ACTIVATEAPP: r = h.OnActivateApp(wp != FALSE); break;
    case WM_GETMINMAXINFO: r = h.OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp)); break;
    case WM_WINDOWPOSCHANGING: r = h.OnWindowPosChanging(msg, wp, lp); break;
    case WM_WINDOWPOSCHANGED: r = h.OnWindowPosChanged(); break;
    case WM_SYSCOMMAND: r = h.OnSysCommand(wp); break;
    case WM_TIMER: r = h.OnTimer(wp); break;
    case WM_SETCURSOR: r = h.OnSetCursor(lp); break;
    case WM_MOUSEMOVE: r = h.OnMouseMove(x, y, lp); break;
    case WM_LBUTTONDOWN: r = h.OnLButtonDown(x, y, lp); break;
    case WM_LBUTTONUP: r = h.OnLButtonUp(x, y); break;
    case WM_LBUTTONDBLCLK: r = h.OnLButtonDblClk(x, y, lp); break;
    case WM_MOUSELEAVE: r = h.OnMouseLeave(); break;
    case WM_CAPTURECHANGED: r = h.OnCaptureChanged(reinterpret_cast<HWND>(lp)); break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      r = AnswerControlColour(*w->engine, *w, msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
      break;
    case WM_DRAWITEM:
      if (DrawTakenOverItem(*w->engine, *reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) r = TRUE;
      break;
    case WM_COMMAND: InvalidateAfterCommand(*w->engine, wp, lp); break;
    case WM_NOTIFY:
      InvalidateAfterNotify(*w->engine, *reinterpret_cast<const NMHDR*>(lp));
      r = AnswerCustomDraw(*reinterpret_cast<NMHDR*>(lp));
      break;
    default: break;
  }
  if (r) return *r;
  return ::CallWindowProcW(previous, hwnd, msg, wp, lp);
}

}  // namespace tovel::skin
