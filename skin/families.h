#pragma once

// What the control families share: the take-over walk, registration with its
// properties, the entry lookup, and the release at a control's end. No family
// knows another's code; the engine's core calls only AttachControlFamilies.

#include <windows.h>

#include <functional>

#include "skin/engine.h"

namespace tovel::skin {

// Takes over the window's child controls, family by family, in the order the
// skin needs them (push buttons first). Called by SkinWindow while child-control
// skinning is on.
void AttachControlFamilies(SkinEngine& engine, int n, HWND window);

// A list with its empty first entry.
void NewControlList(ControlList& list, Family family);

// Calls `take` for every direct child of `parent` of the given class, in order.
void ForEachChildOfClass(HWND parent, const wchar_t* className,
                         const std::function<void(HWND)>& take);

// True when the control is already in the list.
bool IsRegistered(const ControlList& list, HWND control);

// Puts the control into the window's list for its family (the empty first entry
// when it is the only one), installs `proc` and sets the family's properties.
// Returns the entry, or null when the control could not be subclassed.
ControlEntry* RegisterControl(SkinnedWindow& w, int n, Family family, HWND control, WNDPROC proc);

// The control's entry in its family's list, found through its window; null when
// the control is not one of ours.
ControlEntry* FindEntry(const SkinEngine& engine, HWND control, Family family);

// The entry's 1-based position in its list.
int EntryNumber(HWND control, Family family);

// The record of the skinned window a control lies on.
SkinnedWindow* WindowOfControl(const SkinEngine& engine, HWND control);

// At the control's own WM_NCDESTROY (after passing it on), or when its window goes
// first: our procedure and every property of ours go, and the entry is emptied.
void ReleaseControl(ControlEntry& entry);

// The window number stored on the control after windows were released.
void RenumberControl(const ControlEntry& entry, int windowNumber);

}  // namespace tovel::skin
