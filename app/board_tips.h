#pragma once

#include <windows.h>

#include <array>

#include "app/board_settings.h"
#include "base/value.h"
#include "gfx/tool_tip.h"

namespace tovel {

class Runtime;

// What a pad's tip says: its sound (the built-in clip's caption or the file's path, or
// that the file has gone) and its hot key.
Text PadTipText(const BoardSettings& settings, int pad, const Text& builtInCaption);

// One tip per pad button, made when the pad is first shown and gone with the board.
class BoardTips {
 public:
  explicit BoardTips(const Runtime& rt) : rt_(rt) {}
  // Pad 0: the board's window is going, and the tips with it.
  void Show(int pad, const Text& text);
  HWND TipOf(int pad) const;

 private:
  const Runtime& rt_;
  std::array<ToolTip, kBoardPads> tips_;
};

}  // namespace tovel
