#include "app/song_search_win.h"

#include <windows.h>

#include "app/skin_setup.h"
#include "runtime/controls.h"

namespace tovel {
namespace {

constexpr std::uint32_t W = kPlayerWindowId;

bool ControlHeld() { return ::GetKeyState(VK_CONTROL) < 0; }

bool InPlayer(const Runtime& rt, HWND hwnd) {
  HWND player = rt.WindowHandle(W);
  return player && hwnd && (hwnd == player || ::IsChild(player, hwnd));
}

// A character that shows: no control code (Ctrl+letter, Backspace, Tab, Enter, Esc).
bool Shows(WPARAM ch) { return ch >= 0x20 && ch != 0x7F; }

// Keys in the field; Enter and Esc are taken before they become characters the edit
// box would answer with a beep.
bool OnFieldKey(SongSearch& search, WPARAM key) {
  switch (key) {
    case VK_RETURN: search.PlayChosen(); return true;
    case VK_ESCAPE: search.Close(); return true;
    case VK_DOWN: search.MoveChoice(+1); return true;
    case VK_UP: search.MoveChoice(-1); return true;
  }
  return false;
}

bool OnMessage(Runtime& rt, SongSearch& search, const MSG& msg) {
  HWND list = rt.ControlHandle(W, player::kList);
  HWND field = rt.ControlHandle(W, player::kSearchField);
  if (!list || !field) return false;
  if (msg.message == WM_KEYDOWN && msg.wParam == 'F' && ControlHeld() && InPlayer(rt, msg.hwnd)) {
    search.Open();
    ::SendMessageW(field, EM_SETSEL, 0, -1);
    return true;
  }
  if (msg.message == WM_KEYDOWN && msg.hwnd == field) return OnFieldKey(search, msg.wParam);
  // The character that opens the search is its first.
  if (msg.message == WM_CHAR && msg.hwnd == list && Shows(msg.wParam)) {
    search.Open();
    ::SendMessageW(field, WM_CHAR, msg.wParam, msg.lParam);
    return true;
  }
  return false;
}

}  // namespace

void BindSongSearch(Runtime& rt, SongSearch& search) {
  rt.Bind(HandlerKey::SearchChanged, [&search] { search.TextChanged(); });
  rt.SetMessageFilter([&rt, &search](const MSG& msg) { return OnMessage(rt, search, msg); });
}

void PrepareSearchField(Runtime& rt) {
  Skin().SetControlTextColour(rt.ControlHandle(W, player::kSearchField), 0x00FFFFFF);
}

}  // namespace tovel
