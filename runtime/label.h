#pragma once

#include <windows.h>

namespace tovel {

// Window class of transparent labels: text without background over the parent's picture.
inline constexpr wchar_t kLabelClass[] = L"TovelTransparentLabel";

bool RegisterLabelClass(HINSTANCE instance);

// Paints the parent's background behind `child` into `dc` (in child coordinates):
// the parent gets WM_ERASEBKGND, then WM_PRINTCLIENT, with its origin moved.
void PaintParentBackground(HWND child, HDC dc);

}  // namespace tovel
