#include "app/board_tips.h"

#include "app/board_hot_keys.h"
#include "app/sound_board.h"
#include "base/text.h"
#include "runtime/controls.h"

namespace tovel {

Text PadTipText(const BoardSettings& settings, int pad, const Text& builtInCaption) {
  const PadChoice& choice = settings.Pad(pad);
  Text text = builtInCaption;
  if (!choice.file.empty()) {
    const bool there = ::GetFileAttributesW(choice.file.c_str()) != INVALID_FILE_ATTRIBUTES;
    text = there ? Narrow(choice.file) : kMissingClipText + Narrow(PadCaption(choice.file, 40));
  }
  if (choice.hotKey) text += "\n热键：" + Narrow(HotKeyName(choice.hotKey));
  return text;
}

void BoardTips::Show(int pad, const Text& text) {
  if (pad == 0) {
    for (ToolTip& tip : tips_) tip = ToolTip();
    return;
  }
  if (pad < 1 || pad > kBoardPads) return;
  HWND button = rt_.ControlHandle(kBoardWindowId, board::kClipButtons[pad - 1]);
  if (!button) return;
  ToolTip& tip = tips_[static_cast<size_t>(pad - 1)];
  if (tip.GetWindow()) {
    tip.UpdateTipText(1, text);
    return;
  }
  RECT area{};
  ::GetClientRect(button, &area);
  if (!tip.Create(button)) return;
  tip.SetMaxTipWidth(600);  // long paths wrap instead of running off the screen
  tip.AddTool(area, text, 1);
}

HWND BoardTips::TipOf(int pad) const {
  return pad >= 1 && pad <= kBoardPads ? tips_[static_cast<size_t>(pad - 1)].GetWindow() : nullptr;
}

}  // namespace tovel
