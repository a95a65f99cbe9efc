#include "skin/hover.h"

namespace tovel::skin {

Pointer HoverState::Move(ControlPosition control) {
  if (IsHot(control)) return Pointer::Within;
  hot_ = control;
  return Pointer::Entered;
}

Pointer HoverState::Leave(ControlPosition control) {
  if (IsHot(control)) hot_ = {};
  return Pointer::Left;
}

bool HoverState::IsHot(ControlPosition control) const { return control.position >= 1 && hot_ == control; }

}  // namespace tovel::skin
