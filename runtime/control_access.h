#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "base/value.h"
#include "runtime/forms.h"

namespace tovel {

// Numbered properties of windows and controls.
enum class Prop : int {
  Left = 0,
  Top = 1,
  Height = 3,
  Disabled = 6,
  TypeSpecific = 8,  // caption of a transparent label; period of a timer
  ButtonCaption = 10,
  SliderMaximum = 18,
  SliderPosition = 19,
  Visible = 5,
};

// How handlers read and change controls, addressed by (window identifier, control
// identifier). The runtime implements it on real windows; host tests on a fake.
class ControlAccess {
 public:
  virtual ~ControlAccess() = default;

  virtual int GetInt(std::uint32_t windowId, std::uint32_t controlId, Prop prop) const = 0;
  virtual void SetInt(std::uint32_t windowId, std::uint32_t controlId, Prop prop, int value) = 0;
  virtual Text GetText(std::uint32_t windowId, std::uint32_t controlId, Prop prop) const = 0;
  virtual void SetText(std::uint32_t windowId, std::uint32_t controlId, Prop prop, const Text& value) = 0;

  // List box commands; the caret index is 0-based.
  virtual int ListCount(std::uint32_t windowId, std::uint32_t controlId) const = 0;
  virtual int ListCaret(std::uint32_t windowId, std::uint32_t controlId) const = 0;
  virtual void ListAdd(std::uint32_t windowId, std::uint32_t controlId, const Text& item) = 0;
  // Many entries at once, drawn once at the end.
  virtual void ListAddAll(std::uint32_t windowId, std::uint32_t controlId, const std::vector<Text>& items) = 0;
  virtual void ListClear(std::uint32_t windowId, std::uint32_t controlId) = 0;
  // Selects an entry; an index out of range is refused and changes nothing, -1 clears the selection.
  virtual void ListSelect(std::uint32_t windowId, std::uint32_t controlId, int index) = 0;
  // The selected entry, -1 for none; a list that keeps no selection apart answers with its caret.
  virtual int ListSelection(std::uint32_t windowId, std::uint32_t controlId) const {
    return ListCaret(windowId, controlId);
  }

  virtual void Focus(std::uint32_t windowId, std::uint32_t controlId) = 0;
};

// Controls, and the windows themselves: what handlers need that open a window of their own.
class FormAccess : public ControlAccess {
 public:
  virtual bool IsLoaded(std::uint32_t windowId) const = 0;
  // Creates the form's window and controls, raises "created" and shows it; false when it cannot.
  virtual bool OpenForm(const FormDesc& form) = 0;
  // Raises a loaded window above the others, restored if it was minimised.
  virtual void BringToFront(std::uint32_t windowId) = 0;
  // Runs `fn` when the form's window is destroyed (after its "about to be destroyed" handler).
  virtual void OnFormDestroyed(std::uint32_t windowId, std::function<void()> fn) = 0;
};

}  // namespace tovel
