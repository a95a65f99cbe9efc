#pragma once
// The skin gallery: one skinned window holding a control of every family the skin
// takes over, for the tests to drive and for the README's picture.

#include <windows.h>

#include <vector>

namespace tovel::skin {
class SkinEngine;
}

namespace tovel::gallery {

inline constexpr wchar_t kTitle[] = L"Tovel 皮肤样板";
inline constexpr int kWidth = 600, kHeight = 560;

// Control identifiers, for the tests.
enum Id : int {
  kPushNormal = 100,
  kPushDefault,
  kPushDisabled,
  kPushFocused,
  kOwnerDrawn,
  kCheckBox = 110,
  kRadioOne,
  kRadioTwo,
  kGroupBox,
  kSliderHorizontal = 120,
  kSliderVertical,
  kListBox = 130,
  kListView,
  kTreeView,
  kIpAddress,
  kDatePicker,
  kComboSimple = 140,
  kComboDropDown,
  kComboDropList,
  kComboOwnerDrawn,
  kProgress = 150,  // 20..120 at 70
  kProgressVertical,
  kEditScroll,  // multi-line, with a vertical scroll bar
  kSpinBuddy,   // the edit box the spin control steps
  kSpin,        // 16 x 22
  kToolbar,     // handed over as a translucent control
};

// Gives the engine the program's skin and opens the gallery, skinned and shown.
HWND OpenGallery(skin::SkinEngine& engine, int controlAlpha = 0);

// Every visible control of the window, nested ones (edit parts, headers) included.
std::vector<HWND> VisibleControls(HWND window);

}  // namespace tovel::gallery
