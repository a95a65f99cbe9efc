#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/handle.h"

namespace tovel {

class SoundBoard;

inline constexpr char kHotKeyTakenText[] = "热键已被其他程序占用：";

// A hot key as the hot-key control gives it (virtual key, HOTKEYF_* flags in the high
// byte) turned into RegisterHotKey's modifiers and key.
UINT HotKeyModifiers(unsigned hotKey);
UINT HotKeyVirtualKey(unsigned hotKey);
// "Ctrl+Alt+F7" and the like.
std::wstring HotKeyName(unsigned hotKey);

// The pads' hot keys, registered only when the user chose them, on a message-only window
// that lives as long as this object (the whole run). WM_HOTKEY plays the pad even while
// the board is closed: it is opened first.
class BoardHotKeys {
 public:
  explicit BoardHotKeys(SoundBoard& board);
  ~BoardHotKeys();
  BoardHotKeys(const BoardHotKeys&) = delete;
  BoardHotKeys& operator=(const BoardHotKeys&) = delete;

  // Registers every stored key; says once which could not be had.
  void RegisterStored();
  // Takes the key for the pad (0 clears it); false, with the pad's old key kept, when
  // another program holds it.
  bool Set(int pad, unsigned hotKey);
  // The hot-key dialog for `pad`, owned by `owner`; a refused key is said in a message.
  void AskAndSet(HWND owner, int pad);
  // Run by WM_HOTKEY; the pad's number is the hot key's identifier.
  void OnHotKey(int pad);
  HWND window() const { return window_.get(); }

 private:
  SoundBoard& board_;
  UniqueWindow window_;
  std::array<unsigned, 12> held_{};
};

// The hot-key dialog alone: the key chosen (0 for "清除"), or nothing when cancelled.
std::optional<unsigned> AskHotKey(HWND owner, unsigned current);

}  // namespace tovel
