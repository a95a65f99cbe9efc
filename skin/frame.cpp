// A skinned window has no platform caption or border the user can see: pressing
// anywhere moves it, the edges and corners resize it.

#include <windowsx.h>

#include "skin/engine.h"

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

void SkinEngine::OnFrameMouseDown(int n, LPARAM lParam, const RECT& client) {
  SkinnedWindow* w = Record(n);
  if (!w || !w->framed) return;
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  if (InCaptionStrip(w->caption, static_cast<float>(x), static_cast<float>(y))) return;
  const Zone zone = w->sizable ? ZoneAt(x, y, client.right, client.bottom) : Zone::None;
  HWND hwnd = w->hwnd;
  if (zone != Zone::None) {
    w->backgroundDirty = true;
    ShowZoneCursor(zone);
    ::SendMessageW(hwnd, WM_SYSCOMMAND, static_cast<WPARAM>(ZoneSizeCommand(zone)),
                   ScreenPoint(hwnd, x, y));
    return;
  }
  ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(hwnd, x, y));
}

void SkinEngine::OnFrameMouseMove(int n, LPARAM lParam, const RECT& client) {
  const SkinnedWindow* w = Record(n);
  if (!w || !w->sizable) return;
  ShowZoneCursor(ZoneAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), client.right, client.bottom));
}

void SkinEngine::LayoutItems(int n) {
  SkinnedWindow* w = Record(n);
  if (!w) return;
  RECT rc{};
  ::GetClientRect(w->hwnd, &rc);
  w->items = skin::LayoutItems(rc.right, rc.bottom, w->itemAreaSize, w->itemSpecs);
}

void SkinEngine::OnWindowSized(int n) {
  SkinnedWindow* w = Record(n);
  if (!w) return;
  RECT rc{};
  ::GetClientRect(w->hwnd, &rc);
  for (const DockedWindow& d : w->docked) {
    if (!d.hwnd || !::IsWindow(d.hwnd)) continue;
    ::MoveWindow(d.hwnd, 2, d.top, rc.right - 4, rc.bottom - d.top - w->itemAreaSize - 3, TRUE);
  }
}

bool SkinEngine::SetItemArea(HWND hwnd, int height, std::vector<int> specWidths) {
  const int n = WindowNumber(hwnd);
  SkinnedWindow* w = Record(n);
  if (!w || height < 0) return false;
  w->itemAreaSize = height;
  w->itemSpecs = std::move(specWidths);
  LayoutItems(n);
  w->backgroundDirty = true;
  ::InvalidateRect(hwnd, nullptr, FALSE);
  return true;
}

bool SkinEngine::DockWindow(HWND hwnd, HWND docked, int top) {
  const int n = WindowNumber(hwnd);
  SkinnedWindow* w = Record(n);
  if (!w || !docked || ::GetParent(docked) != hwnd) return false;
  w->docked.push_back(DockedWindow{docked, top});
  OnWindowSized(n);
  return true;
}

}  // namespace tovel::skin
