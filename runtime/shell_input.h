#pragma once

#include <windows.h>
#include <shellapi.h>

#include "runtime/controls.h"

namespace tovel {

// Input from outside the form's controls: files dropped from the shell and the
// keyboard's media keys, raised as the form's events.

// Once the form is up: takes drops, and hears of the media keys that the form binds
// when another program in front leaves them unused. No key is taken from other programs.
void AcceptShellInput(FormState& form);
// Stops hearing from the shell; the window is going.
void ReleaseShellInput(FormState& form);

// Frees the drop whether the form has a use for it or not.
void OnDropFiles(FormState& form, HDROP drop);
// True when the command is a media key that the form binds.
bool OnAppCommand(FormState& form, int command);

// The shell's registered message to its hook windows (never 0, WM_NULL, when it has none).
bool IsShellHookMessage(UINT msg);
// True when it carried a media key that the form binds.
bool OnShellHook(FormState& form, WPARAM code, LPARAM lp);

}  // namespace tovel
