#pragma once

// What each control family keeps for one of its controls: a closed set, one struct
// per family.

#include <windows.h>

#include <memory>
#include <variant>
#include <vector>

#include "base/dc.h"
#include "base/value.h"
#include "skin/gdiplus_constants.h"
#include "skin/layout.h"

namespace tovel {
class Font;
}

namespace tovel::skin {

enum class ButtonKindOf { Push = 0, Radio = 4, CheckBox = 5 };

// A picture a button showed: the same look on the same skin is copied, not drawn again.
struct ButtonFace {
  UINT state = 0;
  bool checked = false;
  Text text;
  ColourRef textColour = 0;
  int generation = -1;
  int dpi = 0;  // the scale it was drawn at
  DibDc picture;
};

struct ButtonState {
  ButtonKindOf kind = ButtonKindOf::Push;
  Text text;
  bool focused = false;
  Text fontName;
  float fontSize = 12;
  int fontStyle = 0;
  int fontUnit = kUnitPixel;
  std::shared_ptr<Font> font;  // made once: finding a face is slow
  std::vector<ButtonFace> faces;
};

struct ListState {
  bool focused = false;
  bool hovered = false;
  bool arrowHeld = false;
};

enum class TickPlacement { TopOrLeft = 0, BottomOrRight = 1, Both = 2, None = 3 };

struct SliderState {
  bool vertical = false;
  TickPlacement ticks = TickPlacement::BottomOrRight;
  bool hot = false;
  bool selectionRange = false;
};

struct ProgressState {
  bool vertical = false;
};

struct EditState {
  bool focused = false;
  bool hot = false;
  bool pressed = false;  // the left button went down in it
};

struct ComboState {
  bool focused = false;
  bool hot = false;
};

struct SpinState {
  bool horizontal = false;
  bool hovered = false;
  int hoveredHalf = 0;
  bool pressed = false;
  LPARAM pressPosition = 0;
};

struct HeaderState {
  bool buttons = false;  // HDS_BUTTONS: items act as buttons and show hover and press
  bool hovered = false;
  int hotItem = 0;
  int lastHotItem = 0;
  int pressedItem = 0;
  bool buttonDown = false;
};

struct TranslucentState {
  COLORREF face = 0;
};

// An entry's state: empty until a control fills it.
using FamilyState = std::variant<std::monostate, ButtonState, ListState, SliderState, ProgressState, EditState,
                                 ComboState, SpinState, HeaderState, TranslucentState>;

}  // namespace tovel::skin
