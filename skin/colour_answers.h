#pragma once

#include <windows.h>

#include <optional>

namespace tovel::skin {

class SkinEngine;
class SkinnedWindow;

// A control that paints in passes may ask for one background colour for a pass:
// the list controls do, to tell what they drew from what they left.
inline constexpr wchar_t kPropPassColour[] = L"Kj_Bkys";

// The answer to a child's WM_CTLCOLOR* request: a hollow brush for buttons and
// list boxes, a brush of the skin behind the control for edits and statics.
// nullopt: the request goes on to the window's own procedure.
std::optional<LRESULT> AnswerControlColour(SkinEngine& engine, SkinnedWindow& w, UINT msg, HDC dc,
                                           HWND control);

// The answer for a control that shows the skin behind it: the edit part of a
// combo box, whose requests the combo box sees first.
LRESULT AnswerTranslucent(const SkinEngine& engine, SkinnedWindow& w, HDC dc, HWND control);

}  // namespace tovel::skin
