#include "runtime/label.h"

#include <algorithm>
#include <map>
#include <string>

#include "base/dc.h"
#include "base/handle.h"

namespace tovel {
namespace {

// A label's font as given, and the narrower one it draws with when its caption would not fit.
struct LabelFonts {
  HFONT given = nullptr;
  UniqueFont fitted;
  HFONT Drawn() const { return fitted ? fitted.get() : given; }
};
std::map<HWND, LabelFonts> gLabels;

std::wstring Caption(HWND hwnd) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

int TextWidth(HDC dc, HFONT font, const std::wstring& text) {
  SelectGuard select(dc, font);
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// The caption is never cut: where it is wider than the label (a face standing in for one the
// system lacks, or a height rounded up at some scale) it is drawn condensed, same face and height.
void FitCaption(HWND hwnd, LabelFonts& fonts) {
  fonts.fitted.reset();
  RECT rc;
  ::GetClientRect(hwnd, &rc);
  const std::wstring text = Caption(hwnd);
  HFONT given = fonts.given ? fonts.given : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  WindowDc dc(hwnd);
  const int natural = TextWidth(dc.get(), given, text);
  if (natural <= rc.right || rc.right <= 0 || text.empty()) return;
  LOGFONTW lf{};
  TEXTMETRICW tm{};
  if (!::GetObjectW(given, sizeof(lf), &lf)) return;
  {
    SelectGuard select(dc.get(), given);
    ::GetTextMetricsW(dc.get(), &tm);
  }
  // From the proportional width down, a pixel at a time, until it fits.
  for (lf.lfWidth = std::max<LONG>(1, tm.tmAveCharWidth * rc.right / natural); lf.lfWidth >= 1; --lf.lfWidth) {
    UniqueFont narrower(::CreateFontIndirectW(&lf));
    if (!narrower) return;
    const bool fits = TextWidth(dc.get(), narrower.get(), text) <= rc.right;
    fonts.fitted = std::move(narrower);
    if (fits) return;
  }
}

void PaintLabel(HWND hwnd, const LabelFonts& fonts) {
  PaintDc paint(hwnd);
  RECT rc;
  ::GetClientRect(hwnd, &rc);
  // Compose off screen so the text never flickers over a half-drawn background.
  MemoryDc mem(paint.get(), rc.right, rc.bottom);
  if (!mem) return;
  PaintParentBackground(hwnd, mem.get());

  const std::wstring text = Caption(hwnd);
  HFONT font = fonts.Drawn();
  SelectGuard selectFont(mem.get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(mem.get(), TRANSPARENT);
  ::SetTextColor(mem.get(), RGB(255, 255, 255));
  ::DrawTextW(mem.get(), text.c_str(), static_cast<int>(text.size()), &rc,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  ::BitBlt(paint.get(), 0, 0, rc.right, rc.bottom, mem.get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LabelFonts& fonts = gLabels[hwnd];
  switch (msg) {
    case WM_PAINT:
      PaintLabel(hwnd, fonts);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT draws the background itself
    case WM_SETFONT:
      fonts.given = reinterpret_cast<HFONT>(wp);
      FitCaption(hwnd, fonts);
      if (LOWORD(lp)) ::InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_GETFONT:  // the font the text is drawn with
      return reinterpret_cast<LRESULT>(fonts.Drawn());
    case WM_SETTEXT: {
      const LRESULT r = ::DefWindowProcW(hwnd, msg, wp, lp);
      FitCaption(hwnd, fonts);
      ::InvalidateRect(hwnd, nullptr, FALSE);
      return r;
    }
    case WM_SIZE:
      FitCaption(hwnd, fonts);
      break;
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks belong to the window underneath
    case WM_NCDESTROY:
      gLabels.erase(hwnd);
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
