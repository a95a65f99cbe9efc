#include "app/board_hot_keys.h"

#include <commctrl.h>

#include "app/sound_board.h"
#include "base/text.h"
#include "runtime/message_box.h"

namespace tovel {
namespace {

constexpr wchar_t kHotKeyWindowClass[] = L"TovelBoardHotKeys";

LRESULT CALLBACK HotKeyWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_HOTKEY) {
    if (auto* keys = reinterpret_cast<BoardHotKeys*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
      keys->OnHotKey(static_cast<int>(wp));
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

HWND CreateHotKeyWindow() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = HotKeyWindowProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = kHotKeyWindowClass;
  ::RegisterClassExW(&wc);  // a second object finds the class there already
  return ::CreateWindowExW(0, kHotKeyWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

}  // namespace

UINT HotKeyModifiers(unsigned hotKey) {
  const unsigned flags = (hotKey >> 8) & 0xFF;
  UINT mods = MOD_NOREPEAT;
  if (flags & HOTKEYF_ALT) mods |= MOD_ALT;
  if (flags & HOTKEYF_CONTROL) mods |= MOD_CONTROL;
  if (flags & HOTKEYF_SHIFT) mods |= MOD_SHIFT;
  return mods;
}

UINT HotKeyVirtualKey(unsigned hotKey) { return hotKey & 0xFF; }

std::wstring HotKeyName(unsigned hotKey) {
  if (!hotKey) return {};
  const unsigned flags = (hotKey >> 8) & 0xFF;
  std::wstring name;
  if (flags & HOTKEYF_CONTROL) name += L"Ctrl+";
  if (flags & HOTKEYF_ALT) name += L"Alt+";
  if (flags & HOTKEYF_SHIFT) name += L"Shift+";
  const UINT vk = HotKeyVirtualKey(hotKey);
  LONG scan = static_cast<LONG>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
  if (flags & HOTKEYF_EXT) scan |= 1 << 24;
  wchar_t key[64] = {};
  if (::GetKeyNameTextW(scan, key, 64) > 0)
    name += key;
  else
    name += L"#" + std::to_wstring(vk);
  return name;
}

BoardHotKeys::BoardHotKeys(SoundBoard& board) : board_(board), window_(CreateHotKeyWindow()) {
  if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

// Every key is given back before the window goes.
BoardHotKeys::~BoardHotKeys() {
  for (int pad = 1; pad <= kPadCount; ++pad)
    if (held_[static_cast<size_t>(pad - 1)]) ::UnregisterHotKey(window_.get(), pad);
  if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

void BoardHotKeys::RegisterStored() {
  std::wstring refused;
  for (int pad = 1; pad <= kPadCount; ++pad) {
    const unsigned key = board_.settings().Pad(pad).hotKey;
    if (!key) continue;
    if (::RegisterHotKey(window_.get(), pad, HotKeyModifiers(key), HotKeyVirtualKey(key)))
      held_[static_cast<size_t>(pad - 1)] = key;
    else
      refused += (refused.empty() ? L"" : L"、") + HotKeyName(key);
  }
  // One message for all of them, and the choices stay: the other program may let go.
  if (!refused.empty()) ShowMessage(kHotKeyTakenText + Narrow(refused));
}

bool BoardHotKeys::Set(int pad, unsigned hotKey) {
  if (pad < 1 || pad > kPadCount) return false;
  unsigned& held = held_[static_cast<size_t>(pad - 1)];
  if (hotKey == held) return true;
  if (held) ::UnregisterHotKey(window_.get(), pad);
  if (hotKey && !::RegisterHotKey(window_.get(), pad, HotKeyModifiers(hotKey), HotKeyVirtualKey(hotKey))) {
    // Refused: the pad keeps the key it had.
    if (held) ::RegisterHotKey(window_.get(), pad, HotKeyModifiers(held), HotKeyVirtualKey(held));
    return false;
  }
  held = hotKey;
  board_.settings().SetHotKey(pad, hotKey);
  board_.ShowCaptions();  // the tip names the key
  return true;
}

void BoardHotKeys::AskAndSet(HWND owner, int pad) {
  const std::optional<unsigned> key = AskHotKey(owner, held_[static_cast<size_t>(pad - 1)]);
  if (!key) return;
  if (!Set(pad, *key)) ShowMessage(kHotKeyTakenText + Narrow(HotKeyName(*key)));
}

void BoardHotKeys::OnHotKey(int pad) {
  if (pad < 1 || pad > kPadCount) return;
  if (!board_.pad(pad)) board_.Open();
  board_.PlayClip(pad);
}

}  // namespace tovel
