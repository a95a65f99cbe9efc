#pragma once

#include <windows.h>

namespace tovel::testing {

// The DPI the display is set to: Wine's LogPixels, 96 when it was never set.
inline int ConfiguredDpi() {
  DWORD value = 0, size = sizeof(value);
  if (::RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS || value == 0)
    return 96;
  return static_cast<int>(value);
}

// Windows made and rectangles read by this thread are in real pixels, not in a DPI-unaware
// program's 96-DPI picture of them. Per-monitor v2 where the system has it, else per-monitor.
inline bool MakeThreadDpiAware() {
  using SetContextFn = HANDLE(WINAPI*)(HANDLE);
  const auto set = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
  if (!set) return false;
  return set(reinterpret_cast<HANDLE>(-4)) != nullptr || set(reinterpret_cast<HANDLE>(-3)) != nullptr;
}

}  // namespace tovel::testing
