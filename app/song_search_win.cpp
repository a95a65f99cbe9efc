#include "app/song_search_win.h"

#include <windows.h>

#include <unordered_map>

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

struct FieldHook {
  WNDPROC previous = nullptr;
  SongSearch* search = nullptr;
};
std::unordered_map<HWND, FieldHook> gFieldHooks;

// A new scale places every control from the form again, the list last before the field:
// once the field has its new place, the list gives it its band back.
LRESULT CALLBACK FieldProc(HWND field, UINT msg, WPARAM wp, LPARAM lp) {
  auto it = gFieldHooks.find(field);
  if (it == gFieldHooks.end()) return ::DefWindowProcW(field, msg, wp, lp);
  const FieldHook hook = it->second;
  const LRESULT result = ::CallWindowProcW(hook.previous, field, msg, wp, lp);
  if (msg == WM_WINDOWPOSCHANGED) {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
    if (!(pos->flags & SWP_NOMOVE) || !(pos->flags & SWP_NOSIZE)) hook.search->KeepPlace();
  } else if (msg == WM_NCDESTROY) {
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(field, GWLP_WNDPROC)) == FieldProc)
      ::SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook.previous));
    gFieldHooks.erase(field);
  }
  return result;
}

}  // namespace

void BindSongSearch(Runtime& rt, SongSearch& search) {
  rt.Bind(HandlerKey::SearchChanged, [&search] { search.TextChanged(); });
  rt.SetMessageFilter([&rt, &search](const MSG& msg) { return OnMessage(rt, search, msg); });
}

void PrepareSearchField(Runtime& rt, SongSearch& search) {
  HWND field = rt.ControlHandle(W, player::kSearchField);
  if (!field || gFieldHooks.count(field)) return;
  Skin().SetControlTextColour(field, 0x00FFFFFF);
  auto previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(field, GWLP_WNDPROC));
  gFieldHooks[field] = FieldHook{previous, &search};
  ::SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldProc));
}

}  // namespace tovel
