#pragma once

// The taken-over controls of a skinned window: their families, their entries and
// the window's hover bookkeeping.

#include <windows.h>

#include <any>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace tovel::skin {

// The control families, in the order of the window record's control lists.
enum class Family {
  Buttons,
  ListControls,
  Sliders,
  Progress,
  Edits,
  Combos,
  Spins,
  Headers,
  Translucent,
  kCount
};
inline constexpr size_t kFamilyCount = static_cast<size_t>(Family::kCount);

// One taken-over control. Each family keeps its own fields in `state`.
struct ControlEntry {
  HWND hwnd = nullptr;
  Family family = Family::Buttons;
  WNDPROC proc = nullptr;      // ours
  WNDPROC previous = nullptr;  // the one ours replaced
  std::any state;
  // Puts back what taking the control over changed on it, when the skin lets go of
  // a control that lives on.
  std::function<void(HWND)> restore;
};

// Entries are numbered from 1; a new list holds one empty entry that the first
// control fills. Entries never move, so a family may keep a pointer to one.
using ControlList = std::vector<std::unique_ptr<ControlEntry>>;

// Hover bookkeeping shared by the families: at most one control per window is
// drawn hot at a time.
struct HoverState {
  int controlUnderMouse = 0;
  int lastHot = 0;  // position of the control last drawn hot, 0 none
  Family lastHotFamily = Family::Buttons;
  HWND lastEditParent = nullptr;
  int lastMoveControl = 0;
  int pointerState = 0;
};

}  // namespace tovel::skin
