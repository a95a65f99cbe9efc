#pragma once

// The taken-over controls of a skinned window: their families, their entries and
// the window's hover bookkeeping.

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "skin/family.h"
#include "skin/family_states.h"
#include "skin/hover.h"

namespace tovel::skin {

// One taken-over control, with its family's state.
struct ControlEntry {
  HWND hwnd = nullptr;
  Family family = Family::Buttons;
  WNDPROC proc = nullptr;      // ours
  WNDPROC previous = nullptr;  // the one ours replaced
  FamilyState state;
  // Puts back what taking the control over changed on it, when the skin lets go of
  // a control that lives on.
  std::function<void(HWND)> restore;
};

// Entries are numbered from 1; a new list holds one empty entry that the first
// control fills. Entries never move, so a family may keep a pointer to one.
using ControlList = std::vector<std::unique_ptr<ControlEntry>>;

}  // namespace tovel::skin
