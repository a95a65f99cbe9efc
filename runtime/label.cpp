#include "runtime/label.h"

#include "base/dc.h"

namespace tovel {
namespace {

void PaintLabel(HWND hwnd) {
  PaintDc paint(hwnd);
  RECT rc;
  ::GetClientRect(hwnd, &rc);
  // Compose off screen so the text never flickers over a half-drawn background.
  MemoryDc mem(paint.get(), rc.right, rc.bottom);
  if (!mem) return;
  PaintParentBackground(hwnd, mem.get());

  wchar_t text[512];
  const int len = ::GetWindowTextW(hwnd, text, ARRAYSIZE(text));
  auto font = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
  SelectGuard selectFont(mem.get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(mem.get(), TRANSPARENT);
  ::SetTextColor(mem.get(), RGB(255, 255, 255));
  ::DrawTextW(mem.get(), text, len, &rc, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  ::BitBlt(paint.get(), 0, 0, rc.right, rc.bottom, mem.get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      PaintLabel(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT draws the background itself
    case WM_SETFONT:
      ::SetPropW(hwnd, L"Tovel_Font", reinterpret_cast<HANDLE>(wp));
      if (LOWORD(lp)) ::InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(::GetPropW(hwnd, L"Tovel_Font"));
    case WM_SETTEXT: {
      const LRESULT r = ::DefWindowProcW(hwnd, msg, wp, lp);
      ::InvalidateRect(hwnd, nullptr, FALSE);
      return r;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks belong to the window underneath
    case WM_NCDESTROY:
      ::RemovePropW(hwnd, L"Tovel_Font");
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

bool RegisterLabelClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (::GetClassInfoExW(instance, kLabelClass, &wc)) return true;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = LabelProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kLabelClass;
  return ::RegisterClassExW(&wc) != 0;
}

void PaintParentBackground(HWND child, HDC dc) {
  HWND parent = ::GetParent(child);
  if (!parent) return;
  POINT origin{0, 0};
  ::MapWindowPoints(child, parent, &origin, 1);
  POINT old;
  ::OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  ::SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

}  // namespace tovel
