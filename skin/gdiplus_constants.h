#pragma once

// The graphics library's enumeration values as the skin passes them. Its headers
// stay inside gfx/, so the values the skin uses are named here, once.

#include <windows.h>

#include "skin/layout.h"

namespace tovel::skin {

// Unit
inline constexpr int kUnitPixel = 2;

// SmoothingMode
inline constexpr int kSmoothingAntiAlias = 4;

// CompositingQuality
inline constexpr int kCompositingHighQuality = 2;
inline constexpr int kCompositingGammaCorrected = 3;

// CombineMode
inline constexpr int kCombineReplace = 0;
inline constexpr int kCombineIntersect = 1;

// MatrixOrder
inline constexpr int kOrderAppend = 1;

// StringFormatFlags
inline constexpr int kNoWrap = 0x1000;
inline constexpr int kNoClip = 0x4000;

// StringAlignment
inline constexpr int kAlignNear = 0;
inline constexpr int kAlignCentre = 1;
inline constexpr int kAlignFar = 2;

// StringTrimming
inline constexpr int kTrimEllipsisCharacter = 3;

// FontStyle
inline constexpr int kFontBold = 1;
inline constexpr int kFontItalic = 2;
inline constexpr int kFontUnderline = 4;
inline constexpr int kFontStrikeout = 8;

// The colour key: what is drawn in it is left out when a picture is copied.
inline constexpr COLORREF kColourKey = RGB(255, 0, 255);
inline constexpr Argb kColourKeyArgb = 0xFFFF00FF;

}  // namespace tovel::skin
