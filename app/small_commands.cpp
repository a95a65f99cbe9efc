#include "app/small_commands.h"

#include <shellapi.h>

#include "app/com_session.h"
#include "runtime/message_box.h"
#include "base/text.h"

namespace tovel {
namespace {

// Absolute mouse coordinates run 0..65535 over the virtual screen; rounding up
// makes the platform's mapping back land on the same pixel.
LONG Normalised(int pixel, int origin, int extent) {
  if (extent <= 0) return 0;
  return static_cast<LONG>((static_cast<long long>(pixel - origin) * 65536 + extent - 1) / extent);
}

INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.dwFlags = flags;
  return in;
}

void SelectEntryAt(HWND list, POINT screen) {
  POINT client = screen;
  ::ScreenToClient(list, &client);
  const LRESULT hit = ::SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  // The high word is 1 when the point is outside the entries (below the last one, say).
  if (HIWORD(hit) != 0) return;
  const WPARAM index = LOWORD(hit);
  ::SendMessageW(list, LB_SETCURSEL, index, 0);
  ::SendMessageW(list, LB_SETCARETINDEX, index, FALSE);
}

}  // namespace

Text AboutText() {
  return "作者:[Tovel]\r\n"
         "联系方式: tovel.musicbox@example.com\r\n"
         "本人刚开始学编程不久，做得不好的地方还请大家多多包涵\r\n"
         "有什么建议或意见尽管找我就好OwO\r\n"
         "欢迎使用Tovel音乐盒子哦！";
}

HWND ContactOwnerWindow() { return ::FindWindowW(nullptr, L"Microsoft Internet Explorer"); }

void SelectUnderCursor(HWND list, InputSender send) {
  POINT cursor;
  if (!::GetCursorPos(&cursor)) return;
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  INPUT click[3] = {
      MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK,
                 Normalised(cursor.x, left, width), Normalised(cursor.y, top, height)),
      MouseInput(MOUSEEVENTF_LEFTDOWN),
      MouseInput(MOUSEEVENTF_LEFTUP),
  };
  // SendInput returns how many events went in; none means the input queue is closed to us.
  if (send(3, click, sizeof(INPUT)) == 0) SelectEntryAt(list, cursor);
}

void ShowContextMenu(HWND owner, HMENU menu) {
  POINT cursor;
  if (!menu || !::GetCursorPos(&cursor)) return;
  // The chosen item arrives as WM_COMMAND at the owner, which runs its handler.
  ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, cursor.x + 3, cursor.y + 3, 0, owner, nullptr);
}

void BindSmallCommands(Runtime& rt, PlayerState&) {
  rt.Bind(HandlerKey::AboutBox, [] { ShowMessage(AboutText(), kAboutCaption, MB_TASKMODAL); });
  rt.Bind(HandlerKey::ContactLink, [] {
    // Nothing is reported when no program takes the link. The shell may hand it on through COM.
    EnsureCom();
    ::ShellExecuteW(ContactOwnerWindow(), L"open", Widen(kContactLink).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  });
  rt.Bind(HandlerKey::SelectUnderCursor,
          [&rt] { SelectUnderCursor(rt.ControlHandle(kPlayerWindowId, player::kList)); });
  rt.Bind(HandlerKey::ShowContextMenu, [&rt] {
    ShowContextMenu(rt.WindowHandle(kPlayerWindowId), rt.Menu(kPlayerWindowId, player::kContextMenu));
  });
}

}  // namespace tovel
