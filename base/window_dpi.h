#pragma once

#include <windows.h>

#include "base/scale.h"

namespace tovel {

// The DPI the window is shown at: GetDpiForWindow where the system has it (Windows 10
// 1607 and later), else the screen's (the system DPI of Windows 7 and 8).
int WindowDpi(HWND window);
// The screen's DPI, for a window that does not exist yet.
int SystemDpi();

inline Scale ScaleOf(HWND window) { return Scale(WindowDpi(window)); }

}  // namespace tovel
