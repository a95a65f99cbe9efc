#pragma once

#include <windows.h>

namespace tovel::testing {

// Dispatches this thread's messages for `ms` milliseconds, as a message loop would.
// A WM_QUIT left by a closed main window is dropped: the test goes on.
inline void Pump(DWORD ms) {
  const DWORD end = ::GetTickCount() + ms;
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(5);
  } while (static_cast<LONG>(::GetTickCount() - end) < 0);
}

}  // namespace tovel::testing
