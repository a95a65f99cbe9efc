#pragma once

#include <windows.h>

#include <optional>

#include "skin/layout.h"

namespace tovel::skin {

class SkinEngine;

// Hands one control of a skinned window to the engine: it goes on painting itself,
// but onto the skin, with its face colour (the button face when none is given)
// keyed out. A control can be handed over in addition to its own family; handed
// over again, it stays as it is. False when it lies on no skinned window.
bool AttachTranslucentControl(SkinEngine& engine, HWND control, std::optional<ColourRef> faceColour = {});

// The window procedure that replaces a handed-over control's.
LRESULT CALLBACK TranslucentControlProc(HWND control, UINT msg, WPARAM wp, LPARAM lp);

// Custom draw of a handed-over toolbar: its text in the colour the engine was
// given for it (SetControlTextColour). nullopt for any other notification.
std::optional<LRESULT> AnswerTranslucentCustomDraw(NMHDR& header);

}  // namespace tovel::skin
