#pragma once

#include <windows.h>

namespace tovel::testing {

// Dispatches what is queued for this thread now, as a message loop would, without
// waiting. A WM_QUIT left by a closed main window is dropped: the test goes on.
inline void PumpPending() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Dispatches this thread's messages until `done()` holds or `ms` have passed; whether it held.
template <class Pred>
bool PumpUntil(Pred done, DWORD ms) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    PumpPending();
    if (done()) return true;
    if (::GetTickCount() - start > ms) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

}  // namespace tovel::testing
