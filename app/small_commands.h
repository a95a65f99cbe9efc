#pragma once

#include <windows.h>

#include "app/player_state.h"
#include "runtime/controls.h"

namespace tovel {

inline constexpr char kAboutCaption[] = "温馨提示：";
inline constexpr char kContactLink[] = "mailto:tovel.musicbox@example.com";

// The about box's five lines, CR LF separated.
Text AboutText();

// The window that the shell gets as owner of the contact link: the browser's, if one is open.
HWND ContactOwnerWindow();

// How synthesised input reaches the platform; SendInput itself in the program.
using InputSender = UINT(WINAPI*)(UINT count, INPUT* inputs, int size);

// Makes the list entry under the cursor the selection and caret: a synthesised
// left click there, or, where synthesised input is refused, a direct selection.
void SelectUnderCursor(HWND list, InputSender send = ::SendInput);

// Pops the menu up 3 pixels right of and below the cursor; its command goes to `owner`.
void ShowContextMenu(HWND owner, HMENU menu);

// About box, contact link, and the list box's right-button handlers.
void BindSmallCommands(Runtime& rt, PlayerState& state);

}  // namespace tovel
