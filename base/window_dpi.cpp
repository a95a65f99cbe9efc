#include "base/window_dpi.h"

#include "base/dc.h"

namespace tovel {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Looked up once: user32 is loaded already, and Windows 7 and 8 do not have it.
GetDpiForWindowFn DpiForWindowFunction() {
  static const auto fn = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return fn;
}

}  // namespace

int SystemDpi() {
  WindowDc screen(nullptr);
  const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
  return dpi > 0 ? dpi : Scale::kBaseDpi;
}

int WindowDpi(HWND window) {
  if (const auto fn = DpiForWindowFunction(); fn && window) {
    if (const UINT dpi = fn(window)) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

}  // namespace tovel
