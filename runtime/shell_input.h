#pragma once

#include <windows.h>
#include <shellapi.h>

#include "runtime/controls.h"

namespace tovel {

// Input from outside the form's controls: files dropped from the shell and the
// keyboard's media keys, raised as the form's events.

// Once the form is up: takes drops and the media keys that the form binds.
// A key that another program holds already is left to it, without a word.
void AcceptShellInput(FormState& form);
// Gives the hot keys back; the window is going.
void ReleaseShellInput(FormState& form);

// Frees the drop whether the form has a use for it or not.
void OnDropFiles(FormState& form, HDROP drop);
// True when the command is a media key that the form binds.
bool OnAppCommand(FormState& form, int command);
void OnHotKey(FormState& form, int id);

}  // namespace tovel
