#include "app/tray_icon.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>

namespace tovel {
namespace {

constexpr wchar_t kTrayClass[] = L"TovelTrayIcon";

class PlatformNotifyArea : public NotifyArea {
 public:
  bool Notify(DWORD message, NOTIFYICONDATAW& data) override { return ::Shell_NotifyIconW(message, &data) != 0; }
};

struct MenuLine {
  TrayCommand command;
  const wchar_t* caption;
  bool separatorAfter;
};
constexpr MenuLine kMenu[] = {
    {TrayCommand::PlayPause, L"播放/暂停", false}, {TrayCommand::Previous, L"上一首", false},
    {TrayCommand::Next, L"下一首", false},         {TrayCommand::Stop, L"停止", true},
    {TrayCommand::ShowPlayer, L"显示播放器", false}, {TrayCommand::MinimizeToTray, L"最小化到通知区域", true},
    {TrayCommand::Quit, L"退出", false},
};

bool IsMenuCommand(UINT id) {
  return std::any_of(std::begin(kMenu), std::end(kMenu),
                     [id](const MenuLine& line) { return static_cast<UINT>(line.command) == id; });
}

bool RegisterTrayClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (::GetClassInfoExW(instance, kTrayClass, &wc)) return true;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.lpszClassName = kTrayClass;
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

NotifyArea& ShellNotifyArea() {
  static PlatformNotifyArea area;
  return area;
}

TrayIcon::TrayIcon(NotifyArea& area, HICON icon, std::function<void(TrayCommand)> onCommand)
    : area_(area), icon_(icon), onCommand_(std::move(onCommand)) {
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterTrayClass(instance, Proc)) return;
  // A hidden top-level window, not a message-only one: "TaskbarCreated" is broadcast to
  // top-level windows only.
  window_.reset(::CreateWindowExW(0, kTrayClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this));
}

TrayIcon::~TrayIcon() {
  Remove();
  if (window_) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

NOTIFYICONDATAW TrayIcon::Data(UINT flags) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_.get();
  data.uID = kIconId;
  data.uFlags = flags;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = icon_;
  // The tip is cut to what the structure holds, its terminating zero kept.
  const size_t n = std::min(tip_.size(), std::size(data.szTip) - 1);
  std::copy_n(tip_.c_str(), n, data.szTip);
  data.szTip[n] = L'\0';
  data.uVersion = NOTIFYICON_VERSION_4;
  return data;
}

bool TrayIcon::Add() {
  wanted_ = true;
  if (!window_) return false;
  NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP);
  // After a restart of the shell the old icon is gone; elsewhere a second add is refused.
  if (!area_.Notify(NIM_ADD, data) && !area_.Notify(NIM_MODIFY, data)) return shown_ = false;
  shown_ = true;
  version4_ = area_.Notify(NIM_SETVERSION, data);
  return true;
}

void TrayIcon::Remove() {
  wanted_ = false;
  if (!shown_) return;
  NOTIFYICONDATAW data = Data(0);
  area_.Notify(NIM_DELETE, data);
  shown_ = false;
}

void TrayIcon::SetTip(const std::wstring& tip) {
  if (tip == tip_) return;
  tip_ = tip;
  if (!shown_) return;
  NOTIFYICONDATAW data = Data(NIF_TIP | NIF_SHOWTIP);
  area_.Notify(NIM_MODIFY, data);
}

LRESULT CALLBACK TrayIcon::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<TrayIcon*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
  return self->OnMessage(hwnd, msg, wp, lp);
}

// `hwnd`, not window_: during creation the window has no owner yet.
LRESULT TrayIcon::OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
    // The shell started (again): its notification area is empty.
    if (wanted_) {
      shown_ = false;
      Add();
    }
    return 0;
  }
  switch (msg) {
    case kCallbackMessage:
      // Version 4: the event in the low word of lParam, the place in wParam. Before it: the
      // mouse message in lParam, and the place is the cursor's.
      if (version4_) {
        OnIconEvent(LOWORD(lp), POINT{GET_X_LPARAM(wp), GET_Y_LPARAM(wp)});
      } else {
        POINT at{};
        ::GetCursorPos(&at);
        OnIconEvent(static_cast<UINT>(lp), at);
      }
      return 0;
    case WM_COMMAND:
      // A menu item sends its identifier with a notification code of 0.
      if (HIWORD(wp) == 0 && IsMenuCommand(LOWORD(wp)) && onCommand_)
        onCommand_(static_cast<TrayCommand>(LOWORD(wp)));
      return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

void TrayIcon::OnIconEvent(UINT event, POINT anchor) {
  switch (event) {
    case NIN_SELECT:
    case NIN_KEYSELECT:
      if (onCommand_) onCommand_(TrayCommand::ShowPlayer);
      return;
    case WM_LBUTTONUP:  // what shells before version 4 send instead
      if (!version4_ && onCommand_) onCommand_(TrayCommand::ShowPlayer);
      return;
    case WM_CONTEXTMENU:
      ShowMenu(anchor);
      return;
    case WM_RBUTTONUP:
      if (!version4_) ShowMenu(anchor);
      return;
  }
}

void TrayIcon::ShowMenu(POINT at) {
  UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return;
  for (const MenuLine& line : kMenu) {
    UINT flags = MF_STRING;
    if (line.command == TrayCommand::MinimizeToTray && minimizeChecked_) flags |= MF_CHECKED;
    ::AppendMenuW(menu.get(), flags, static_cast<UINT_PTR>(line.command), line.caption);
    if (line.separatorAfter) ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  }
  HWND hwnd = window_.get();
  // A menu of a window in the background closes only when its window is in front, and
  // stays open after a choice unless a message follows it (the shell's documented pairing).
  ::SetForegroundWindow(hwnd);
  ::TrackPopupMenuEx(menu.get(), TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, at.x, at.y, hwnd, nullptr);
  ::PostMessageW(hwnd, WM_NULL, 0, 0);
}

}  // namespace tovel
