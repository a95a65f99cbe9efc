#pragma once

// Hover bookkeeping shared by the families, kept free of the platform so that its
// rules are tested on the host.

#include "skin/family.h"

namespace tovel::skin {

// What the pointer did on a control, as its family hears it.
enum class Pointer {
  Entered,  // it came onto the control: the control is drawn hot
  Within,   // it moved on the control, which is already hot
  Left,     // it went away
};

// A control of a window: its family and its position in that family's list, from 1.
struct ControlPosition {
  Family family = Family::Buttons;
  int position = 0;
  bool operator==(const ControlPosition&) const = default;
};

// At most one control per window is drawn hot at a time: the one the pointer was
// last seen on, until it leaves.
class HoverState {
 public:
  // A WM_MOUSEMOVE on the control.
  Pointer Move(ControlPosition control);
  // Its WM_MOUSELEAVE. The pointer may already be on another control, whose move
  // came first: that one stays hot.
  Pointer Leave(ControlPosition control);
  bool IsHot(ControlPosition control) const;

 private:
  ControlPosition hot_;  // position 0: none
};

}  // namespace tovel::skin
