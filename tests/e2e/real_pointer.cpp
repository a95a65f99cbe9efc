#include "tests/e2e/real_pointer.h"

namespace tovel::e2e {

void MoveTo(int x, int y) {
  ::SetCursorPos(x, y);
  INPUT move{INPUT_MOUSE};
  move.mi.dwFlags = MOUSEEVENTF_MOVE;
  ::SendInput(1, &move, sizeof(INPUT));
}

void Button(bool down) {
  INPUT in{INPUT_MOUSE};
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  ::SendInput(1, &in, sizeof(INPUT));
}

bool InMoveSize(HWND window) {
  GUITHREADINFO info{sizeof(info)};
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) && (info.flags & GUI_INMOVESIZE);
}

}  // namespace tovel::e2e
