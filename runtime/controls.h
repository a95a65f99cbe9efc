#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "runtime/control_access.h"
#include "runtime/forms.h"
#include "base/handle.h"
#include "base/scale.h"
#include "base/value.h"

namespace tovel {

using Handler = std::function<void()>;

struct ControlState {
  const ControlDesc* desc = nullptr;
  HWND hwnd = nullptr;     // null for controls without a window of their own
  int timerPeriod = 0;
};

struct FormState {
  const FormDesc* desc = nullptr;
  HWND hwnd = nullptr;
  HWND lastFocus = nullptr;  // given back when the window is activated again
  Scale scale;               // of the display the window is on
  UniqueBitmap background;
  int backgroundWidth = 0;
  int backgroundHeight = 0;
  UniqueBitmap scaledBackground;  // the picture at the client size, made once per size
  SIZE scaledSize{};
  std::function<void()> onDestroyed;  // for code that owns something tied to the window
  UniqueFont buttonFont;
  std::map<std::uint32_t, UniqueFont> labelFonts;  // by height
  std::map<std::uint32_t, ControlState> controls;  // by control identifier
  std::map<std::uint32_t, UniqueMenu> menus;       // by menu identifier
};

// Windows and controls addressed by (window identifier, control identifier);
// events from the form descriptions are dispatched to the bound handlers.
class Runtime : public FormAccess {
 public:
  static Runtime& Get();

  void Bind(HandlerKey key, Handler handler);
  bool IsBound(HandlerKey key) const;

  // Creates the window and its controls, raises "created", then shows the window.
  // Returns null when the window cannot be created.
  HWND LoadForm(const FormDesc& form);
  bool OpenForm(const FormDesc& form) override { return LoadForm(form) != nullptr; }
  bool IsLoaded(std::uint32_t windowId) const override;
  void BringToFront(std::uint32_t windowId) override;

  // The native handle of a window (its window-control identifier) or of a control.
  HWND WindowHandle(std::uint32_t windowId) const;
  HWND ControlHandle(std::uint32_t windowId, std::uint32_t controlId) const;

  int GetInt(std::uint32_t windowId, std::uint32_t controlId, Prop prop) const override;
  void SetInt(std::uint32_t windowId, std::uint32_t controlId, Prop prop, int value) override;
  Text GetText(std::uint32_t windowId, std::uint32_t controlId, Prop prop) const override;
  void SetText(std::uint32_t windowId, std::uint32_t controlId, Prop prop, const Text& value) override;

  // List box commands.
  int ListCount(std::uint32_t windowId, std::uint32_t controlId) const override;
  int ListCaret(std::uint32_t windowId, std::uint32_t controlId) const override;
  void ListAdd(std::uint32_t windowId, std::uint32_t controlId, const Text& item) override;
  void ListAddAll(std::uint32_t windowId, std::uint32_t controlId, const std::vector<Text>& items) override;
  void ListClear(std::uint32_t windowId, std::uint32_t controlId) override;
  void ListSelect(std::uint32_t windowId, std::uint32_t controlId, int index) override;
  int ListSelection(std::uint32_t windowId, std::uint32_t controlId) const override;

  void Focus(std::uint32_t windowId, std::uint32_t controlId) override;
  HMENU Menu(std::uint32_t windowId, std::uint32_t menuId) const;

  // The paths of the drop whose handlers are running; empty at any other time.
  const std::vector<Text>& DroppedFiles() const { return droppedFiles_; }
  // In screen coordinates: where the drop or the context menu whose handlers are running
  // happened (the cursor's place for a menu asked for by keyboard).
  POINT EventPoint() const { return eventPoint_; }

  // Runs `fn` when the form's window is destroyed (after its "about to be destroyed" handler).
  void OnFormDestroyed(std::uint32_t windowId, std::function<void()> fn) override;

  // Destroys the window; for the main window this ends the message loop.
  void CloseForm(std::uint32_t windowId);
  // Destroys every form's window but one: the main window takes the others with it.
  void CloseFormsBut(std::uint32_t windowId);

  // Runs until the main window is destroyed; returns the exit code, or -1 when the
  // queue fails. `getMessage` is GetMessageW but in tests.
  using MessageGetter = BOOL(WINAPI*)(MSG* msg, HWND window, UINT first, UINT last);
  int RunMessageLoop(std::uint32_t mainWindowId, MessageGetter getMessage = ::GetMessageW);
  // Sees each message of the loop before it is translated and dispatched, as keyboard
  // accelerators do; true: it was handled and goes no further.
  using MessageFilter = std::function<bool(const MSG& msg)>;
  void SetMessageFilter(MessageFilter filter) { messageFilter_ = std::move(filter); }

  // Called by the form window procedure.
  void Raise(HandlerKey key);
  void RaiseEvent(const std::vector<EventBinding>& events, EventKind kind);
  void RaiseFilesDropped(const std::vector<EventBinding>& events, std::vector<Text> paths, POINT at = {});
  void RaiseAt(const std::vector<EventBinding>& events, EventKind kind, POINT at);
  void ForgetForm(HWND hwnd);
  std::uint32_t MainWindowId() const { return mainWindowId_; }

 private:
  Runtime() = default;
  FormState* Form(std::uint32_t windowId) const;
  const ControlState* Control(std::uint32_t windowId, std::uint32_t controlId) const;
  ControlState* Control(std::uint32_t windowId, std::uint32_t controlId);
  void SetTimerPeriod(FormState& form, std::uint32_t controlId, ControlState& timer, int period);

  std::array<Handler, static_cast<size_t>(HandlerKey::kCount)> handlers_;
  std::map<std::uint32_t, std::unique_ptr<FormState>> forms_;
  std::uint32_t mainWindowId_ = 0;
  std::vector<Text> droppedFiles_;
  MessageFilter messageFilter_;
  POINT eventPoint_{};
};

}  // namespace tovel
