// The skinned window's handlers of its frame procedure. Messages a handler does not
// consume go on to the procedure it replaced. After any call that can run code of
// the window's own (the previous procedure, a capture change, a button's action),
// the window is looked up again: that code may have ended it.

#include <windowsx.h>

#include <optional>
#include <utility>

#include "base/text.h"
#include "skin/helpers.h"
#include "skin/skinned_window.h"

namespace tovel::skin {

RECT SkinnedWindow::Client() const {
  RECT rc{};
  ::GetClientRect(hwnd, &rc);
  return rc;
}

void SkinnedWindow::EnsureComposed() {
  if (!cache_.composed || cache_.dirty) Render(false);
}

void SkinnedWindow::BlitComposed(HDC dc) {
  EnsureComposed();
  if (cache_.composed)
    ::BitBlt(dc, 0, 0, cache_.composed.width(), cache_.composed.height(), cache_.composed.get(), 0, 0, SRCCOPY);
}

void SkinnedWindow::DrawRestingButton(int button, bool pressed) {
  DrawButton(button, nullptr, pressed, pressed ? 0 : fade_.steps.RestingAlpha(button, pointer_.hotButton));
}

SkinnedWindow::Result SkinnedWindow::OnShowWindow(bool shown) {
  if (!shown) return std::nullopt;
  // Compose before the first paint, so the window never shows unskinned.
  if (pointer_.minimized)
    pointer_.minimized = false;
  else
    EnsureComposed();
  return std::nullopt;
}

// A child that draws its parent's background behind it (a transparent label)
// asks with its own DC; the window's own erase is left to WM_PAINT.
SkinnedWindow::Result SkinnedWindow::OnEraseBackground(HDC dc) {
  if (::WindowFromDC(dc) != hwnd) BlitComposed(dc);
  return 1;
}

SkinnedWindow::Result SkinnedWindow::OnPrintClient(HDC dc) {
  BlitComposed(dc);
  return 0;
}

SkinnedWindow::Result SkinnedWindow::OnPaint() {
  PaintDc paint(hwnd);
  if (!pointer_.minimized && !::IsIconic(hwnd)) {
    const bool wasDirty = !cache_.composed || cache_.dirty;
    EnsureComposed();
    Present(paint.get());
    if (wasDirty && !engine_.startupPending()) RefreshChildren();
  }
  return 0;
}

SkinnedWindow::Result SkinnedWindow::OnSize(WPARAM kind, LPARAM size) {
  if (kind == SIZE_MINIMIZED) pointer_.minimized = true;
  engine_.EndStartup();
  // Showing a window sends a size it already has: nothing to compose again then.
  const int width = GET_X_LPARAM(size), height = GET_Y_LPARAM(size);
  if (cache_.composed && cache_.composed.width() == width && cache_.composed.height() == height)
    return std::nullopt;
  pointer_.hotButton = 0;
  fade_.steps.Reset();
  cache_.dirty = true;
  // The picture is stretched to the size: all of it changes.
  ::InvalidateRect(hwnd, nullptr, FALSE);
  // Last: the docked windows' own procedures see their move and may end this window.
  OnSized();
  return std::nullopt;
}

// The default procedure would draw a platform caption over the skin: it runs with
// the window marked invisible, then the skin draws the caption itself.
SkinnedWindow::Result SkinnedWindow::OnSetText(UINT msg, WPARAM wp, LPARAM lp) {
  const HWND self = hwnd;
  const LONG_PTR style = ::GetWindowLongPtrW(self, GWL_STYLE);
  if (style & WS_VISIBLE) ::SetWindowLongPtrW(self, GWL_STYLE, style & ~WS_VISIBLE);
  const LRESULT result = ::CallWindowProcW(previous_, self, msg, wp, lp);
  SkinnedWindow* now = SkinnedWindowOf(self);
  if (!now) return result;
  if (style & WS_VISIBLE) ::SetWindowLongPtrW(self, GWL_STYLE, style);
  if (msg == WM_SETTEXT && now->look_.captionText && now->look_.framed && lp)
    now->DrawCaptionText(nullptr, Narrow(reinterpret_cast<const wchar_t*>(lp)));
  return result;
}

SkinnedWindow::Result SkinnedWindow::OnActivateApp(bool active) {
  if (active) return std::nullopt;
  // Trims our own working set off the interface thread.
  ::QueueUserWorkItem(
      [](void*) -> DWORD {
        ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
        return 0;
      },
      nullptr, WT_EXECUTEDEFAULT);
  return std::nullopt;
}

// Maximized fills the work area of the window's own monitor; with no taskbar
// that is the whole monitor.
SkinnedWindow::Result SkinnedWindow::OnGetMinMaxInfo(MINMAXINFO* info) {
  MONITORINFO mi{sizeof(mi)};
  if (::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi)) {
    const RECT& work = mi.rcWork;
    const RECT& screen = mi.rcMonitor;
    info->ptMaxPosition = POINT{work.left - screen.left, work.top - screen.top};
    info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
    const Extent usable = UsableArea(screen.right - screen.left, screen.bottom - screen.top,
                                     (screen.bottom - screen.top) - (work.bottom - work.top), ::IsZoomed(hwnd) != FALSE);
    info->ptMaxTrackSize = POINT{usable.width, usable.height};
  }
  info->ptMinTrackSize = POINT{metrics_.minimumSize.width, metrics_.minimumSize.height};
  return 0;
}

// The region follows every change of size, whatever the route (the caption button,
// ShowWindow, a sizing loop, SetWindowPos), and goes on before the new size applies:
// Wine forgets the maximized state when a window already maximized gets a new
// region. The previous procedure first clamps the size to the tracking limits.
SkinnedWindow::Result SkinnedWindow::OnWindowPosChanging(UINT msg, WPARAM wp, LPARAM lp) {
  const HWND self = hwnd;
  const LRESULT result = ::CallWindowProcW(previous_, self, msg, wp, lp);
  const auto& pos = *reinterpret_cast<const WINDOWPOS*>(lp);
  if (pos.flags & SWP_NOSIZE || ::IsIconic(self)) return result;
  if (SkinnedWindow* now = SkinnedWindowOf(self)) now->SetRegion(pos.cx, pos.cy);
  return result;
}

SkinnedWindow::Result SkinnedWindow::OnWindowPosChanged() {
  LayoutCaption();
  if (items_.size > 0) LayoutItems();
  return std::nullopt;
}

SkinnedWindow::Result SkinnedWindow::OnSysCommand(WPARAM command) {
  switch (command & 0xFFF0) {
    case SC_MAXIMIZE:
      cache_.dirty = true;
      break;
    case SC_RESTORE:
      cache_.dirty = true;
      pointer_.minimized = false;
      break;
    case SC_MINIMIZE:
      cache_.dirty = true;
      pointer_.minimized = true;
      break;
  }
  return std::nullopt;
}

SkinnedWindow::Result SkinnedWindow::OnTimer(UINT_PTR id) {
  if (id != kFadeTimerId) return std::nullopt;
  OnFadeTimer();
  return 0;
}

// The sizing cursors show over the edges, as over a platform border.
SkinnedWindow::Result SkinnedWindow::OnSetCursor(LPARAM lp) {
  if (LOWORD(lp) != HTCLIENT || !look_.framed || !look_.sizable || ::IsZoomed(hwnd)) return std::nullopt;
  POINT pt;
  ::GetCursorPos(&pt);
  ::ScreenToClient(hwnd, &pt);
  const RECT rc = Client();
  const int id = ZoneCursorId(ZoneAt(pt.x, pt.y, rc.right, rc.bottom, metrics_.zones));
  if (!id) return std::nullopt;
  ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(id)));
  return TRUE;
}

SkinnedWindow::Result SkinnedWindow::OnMouseMove(int x, int y) {
  if (!pointer_.tracked) {
    pointer_.tracked = true;
    TrackMouse(hwnd, TME_HOVER | TME_LEAVE, 1);
  }
  if (!look_.framed) return std::nullopt;
  if (!caption_.tip.GetWindow() && caption_.tip.Create(hwnd)) LayoutCaption();
  const int hit = HitTestButton(x, y);
  if (hit != pointer_.hotButton) {
    const int before = pointer_.hotButton;
    if (auto cut = fade_.steps.Hover(before, hit)) DrawRestingButton(cut->button, false);
    pointer_.hotButton = hit;
    // A held button looks pressed only while the pointer is on it.
    const int pressed = pointer_.pressedButton;
    if (pressed && (before == pressed || hit == pressed)) DrawRestingButton(pressed, hit == pressed);
    StartFade();
  }
  if (!::IsZoomed(hwnd)) OnFrameMouseMove(x, y);
  return std::nullopt;
}

// Taking the capture tells the window that held it, whose procedure may end this one.
void SkinnedWindow::Press(int button) {
  pointer_.pressedButton = button;
  const HWND self = hwnd;
  ::SetCapture(self);
  if (SkinnedWindow* now = SkinnedWindowOf(self)) now->DrawRestingButton(button, true);
}

SkinnedWindow::Result SkinnedWindow::OnLButtonDown(int x, int y) {
  if (!look_.framed) return std::nullopt;
  if (const int hit = HitTestButton(x, y)) {
    Press(hit);
    return 0;
  }
  if (!::IsZoomed(hwnd) && !::IsIconic(hwnd) && !pointer_.minimized) OnFrameMouseDown(x, y);
  return std::nullopt;
}

// A caption button acts on release, and only when the press began on it.
SkinnedWindow::Result SkinnedWindow::OnLButtonUp(int x, int y) {
  const int pressed = std::exchange(pointer_.pressedButton, 0);
  if (!pressed) return std::nullopt;
  const HWND self = hwnd;
  // Giving the capture back tells the window's own procedure, which may end it.
  if (::GetCapture() == self) ::ReleaseCapture();
  SkinnedWindow* now = SkinnedWindowOf(self);
  if (!now) return 0;
  const int hit = now->HitTestButton(x, y);
  now->DrawRestingButton(pressed, false);
  if (hit == pressed && now->look_.framed) now->ActOnButton(pressed);
  return 0;
}

SkinnedWindow::Result SkinnedWindow::OnLButtonDblClk(int x, int y) {
  if (!look_.framed) return std::nullopt;
  // The second press of a quick double click on a caption button is a press.
  if (const int hit = HitTestButton(x, y)) {
    Press(hit);
    return 0;
  }
  if (y > metrics_.captionHeight || !look_.sizable) return std::nullopt;
  if (const int b = DoubleClickButton()) ActOnButton(b);
  return 0;
}

SkinnedWindow::Result SkinnedWindow::OnMouseLeave() {
  pointer_.tracked = false;
  if (pointer_.hotButton >= 1 && look_.framed && !pointer_.pressedButton) {
    if (auto cut = fade_.steps.Hover(pointer_.hotButton, 0)) DrawRestingButton(cut->button, false);
    pointer_.hotButton = 0;
    StartFade();
  }
  return std::nullopt;
}

SkinnedWindow::Result SkinnedWindow::OnCaptureChanged(HWND gaining) {
  if (gaining == hwnd || !pointer_.pressedButton) return std::nullopt;
  const int pressed = std::exchange(pointer_.pressedButton, 0);
  DrawRestingButton(pressed, false);
  return std::nullopt;
}

// The new scale first, so the size change the window's own procedure makes from the
// suggested rectangle is laid out and composed at it; one change, no loop.
SkinnedWindow::Result SkinnedWindow::OnDpiChanged(UINT msg, WPARAM wp, LPARAM lp) {
  const HWND self = hwnd;
  TakeScale(Scale(LOWORD(wp)));
  const LRESULT result = ::CallWindowProcW(previous_, self, msg, wp, lp);
  // Also when the size stayed the same, the frame is drawn again at the new scale.
  if (SkinnedWindow* now = SkinnedWindowOf(self)) {
    const RECT rc = now->Client();
    // Not while maximized: Wine drops the maximized state of a window given a region.
    if (!::IsIconic(self) && !::IsZoomed(self)) now->SetRegion(rc.right, rc.bottom);
    now->LayoutCaption();
    now->Repaint();
  }
  return result;
}

// The size at the new DPI is the window's 96-DPI size scaled with the one rule.
SkinnedWindow::Result SkinnedWindow::OnGetDpiScaledSize(int dpi, SIZE* size) const {
  if (!size || dpi <= 0) return std::nullopt;
  RECT rc{};
  ::GetWindowRect(hwnd, &rc);
  const Extent now = RescaledSize(Extent{rc.right - rc.left, rc.bottom - rc.top}, scale_, Scale(dpi));
  *size = SIZE{now.width, now.height};
  return TRUE;
}

}  // namespace tovel::skin
