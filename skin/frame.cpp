// A skinned window has no platform caption or border the user can see: pressing
// anywhere moves it, the edges and corners resize it.

#include "skin/skinned_window.h"

#include <vector>

namespace tovel::skin {
namespace {

// The platform's move and size loops take the point where the press began.
LPARAM ScreenPoint(HWND hwnd, int x, int y) {
  POINT pt{x, y};
  ::ClientToScreen(hwnd, &pt);
  return MAKELPARAM(static_cast<short>(pt.x), static_cast<short>(pt.y));
}

void ShowZoneCursor(Zone zone) {
  if (const int id = ZoneCursorId(zone)) ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(id)));
}

}  // namespace

void SkinnedWindow::OnFrameMouseDown(int x, int y) {
  if (!look_.framed) return;
  if (InCaptionStrip(caption_.geometry, static_cast<float>(x), static_cast<float>(y))) return;
  const RECT client = Client();
  const Zone zone =
      look_.sizable ? ZoneAt(x, y, client.right, client.bottom, metrics_.zones) : Zone::None;
  if (zone != Zone::None) {
    cache_.dirty = true;
    ShowZoneCursor(zone);
    ::SendMessageW(hwnd, WM_SYSCOMMAND, static_cast<WPARAM>(ZoneSizeCommand(zone)), ScreenPoint(hwnd, x, y));
    return;
  }
  ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(hwnd, x, y));
}

void SkinnedWindow::OnFrameMouseMove(int x, int y) {
  if (!look_.sizable) return;
  const RECT client = Client();
  ShowZoneCursor(ZoneAt(x, y, client.right, client.bottom, metrics_.zones));
}

void SkinnedWindow::LayoutItems() {
  const RECT rc = Client();
  items_.layout = skin::LayoutItems(rc.right, rc.bottom, items_.size, items_.widths, metrics_.itemMargin);
}

// A docked window's procedure sees its move and may end this window: the list is
// walked as a copy, and the window looked up again after each move.
void SkinnedWindow::OnSized() {
  const RECT rc = Client();
  const HWND self = hwnd;
  const int band = items_.size;
  const std::vector<DockedWindow> docked = items_.docked;
  for (const DockedWindow& d : docked) {
    if (!d.hwnd || !::IsWindow(d.hwnd)) continue;
    ::MoveWindow(d.hwnd, 2, d.top, rc.right - 4, rc.bottom - d.top - band - 3, TRUE);
    if (SkinnedWindowOf(self) != this) return;
  }
}

void SkinnedWindow::SetItemArea(int height, std::vector<int> itemWidths) {
  items_.size = height;
  items_.widths = std::move(itemWidths);
  LayoutItems();
  cache_.dirty = true;
  ::InvalidateRect(hwnd, nullptr, FALSE);
}

void SkinnedWindow::Dock(HWND docked, int top) {
  items_.docked.push_back(DockedWindow{docked, top});
  OnSized();
}

}  // namespace tovel::skin
