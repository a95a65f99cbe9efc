#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/player_state.h"
#include "base/handle.h"
#include "runtime/forms.h"

namespace tovel {

// The thumbnail toolbar's buttons, by the identifier THBN_CLICKED carries.
enum class ThumbButton : UINT { Previous = 0x7301, PlayPause, Next };

enum class TaskbarProgress { None, Normal, Paused };

struct ThumbButtonFace {
  ThumbButton id;
  HICON icon;
  std::wstring tip;
};

// What the player asks of the shell's taskbar list (ITaskbarList3); a test stands in a recorder.
class TaskbarList {
 public:
  virtual ~TaskbarList() = default;
  virtual bool AddButtons(HWND window, const std::vector<ThumbButtonFace>& buttons) = 0;
  virtual bool UpdateButtons(HWND window, const std::vector<ThumbButtonFace>& buttons) = 0;
  virtual void SetProgressState(HWND window, TaskbarProgress state) = 0;
  virtual void SetProgressValue(HWND window, ULONGLONG done, ULONGLONG total) = 0;
};

// The shell's list through COM, or null where there is none (COM refused, Wine without it).
using TaskbarListMaker = std::function<std::unique_ptr<TaskbarList>()>;
std::unique_ptr<TaskbarList> MakeShellTaskbarList();

// The player's taskbar button: previous, play/pause and next under its thumbnail, and the
// song's progress on the button. Nothing is asked of the shell before it says the button
// exists ("TaskbarButtonCreated"): COM starts only then.
class TaskbarButtons {
 public:
  TaskbarButtons(HWND player, TaskbarListMaker make);
  TaskbarButtons(const TaskbarButtons&) = delete;
  TaskbarButtons& operator=(const TaskbarButtons&) = delete;

  static UINT ButtonCreatedMessage();
  // The handler a click on this button runs, or nothing for an identifier not ours.
  static std::optional<HandlerKey> HandlerFor(UINT id);

  void OnButtonCreated();
  void OnTransport(PlayState state);
  void OnCounted(int position, int length);
  // Lets the shell's list go; before COM ends.
  void Release();

 private:
  std::vector<ThumbButtonFace> Faces() const;
  void MakeIcons();
  void ShowProgressState();

  HWND player_;
  TaskbarListMaker make_;
  std::unique_ptr<TaskbarList> list_;
  bool added_ = false;
  PlayState state_ = PlayState::Idle;
  int iconSize_ = 0;
  UniqueIcon previous_, play_, pause_, next_;
};

}  // namespace tovel
