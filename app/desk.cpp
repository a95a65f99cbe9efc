#include "app/desk.h"

#include <shobjidl.h>

#include "app/bring_forward.h"
#include "app/config_file.h"
#include "app/playback.h"
#include "app/song_list_rules.h"
#include "base/text.h"
#include "base/window_dpi.h"
#include "runtime/controls.h"

namespace tovel {
namespace {

constexpr int kSmallIcon = 16;  // at 96 DPI

// The player's procedure under ours. It outlives the Desk when a later subclasser keeps
// ours in the chain: then messages still go on to it until the window dies.
struct PlayerHook {
  HWND window = nullptr;
  WNDPROC previous = nullptr;
  Desk* desk = nullptr;
};
PlayerHook gHook;

UniqueIcon ProgramIcon(HWND player) {
  const int size = ScaleOf(player).Px(kSmallIcon);
  return UniqueIcon(static_cast<HICON>(
      ::LoadImageW(::GetModuleHandleW(nullptr), L"DEFAULT_ICON", IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

bool IsThumbClick(UINT msg, WPARAM wp, LPARAM lp) {
  return msg == WM_COMMAND && HIWORD(wp) == THBN_CLICKED && lp == 0 && TaskbarButtons::HandlerFor(LOWORD(wp));
}

}  // namespace

Desk::Desk(Runtime& rt, DeskParts parts) : rt_(rt), parts_(std::move(parts)) {
  // A damaged or missing value leaves the option off.
  minimizeToTray_ = ReadIniValue(parts_.configPath, kTraySection, kMinimizeToTrayKey).value_or("0") == "1";
}

Desk::~Desk() {
  ListenToTransport({});
  Detach();
}

void Desk::Attach() {
  HWND player = rt_.WindowHandle(kPlayerWindowId);
  if (!player || gHook.window) return;
  player_ = player;
  gHook = PlayerHook{player, reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(player, GWLP_WNDPROC)), this};
  ::SetWindowLongPtrW(player, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PlayerProc));

  taskbar_ = std::make_unique<TaskbarButtons>(player, parts_.makeTaskbarList);
  icon_ = ProgramIcon(player);
  if (parts_.notifyArea) {
    tray_ = std::make_unique<TrayIcon>(*parts_.notifyArea, icon_.get(), [this](TrayCommand c) { OnTrayCommand(c); });
    tray_->SetMinimizeChecked(minimizeToTray_);
    tray_->Add();
  }
  ListenToTransport({[this](PlayState state) { OnTransport(state); },
                     [this](int position, int length) {
                       if (taskbar_) taskbar_->OnCounted(position, length);
                     }});
}

void Desk::Detach() {
  if (taskbar_) taskbar_->Release();
  if (tray_) tray_->Remove();
  if (gHook.desk != this) return;
  gHook.desk = nullptr;
  // Our procedure goes only when it is the current one; otherwise it keeps passing messages on.
  HWND window = gHook.window;
  if (window && ::IsWindow(window) &&
      ::GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(PlayerProc)) {
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gHook.previous));
    gHook = PlayerHook{};
  }
}

LRESULT CALLBACK Desk::PlayerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const WNDPROC previous = gHook.previous;
  if (hwnd != gHook.window || !previous) return ::DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    const LRESULT r = ::CallWindowProcW(previous, hwnd, msg, wp, lp);
    if (::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(PlayerProc))
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    if (gHook.desk) gHook.desk->player_ = nullptr;
    gHook = PlayerHook{};
    return r;
  }
  if (gHook.desk && gHook.desk->OnPlayerMessage(msg, wp, lp)) return 0;
  const LRESULT r = ::CallWindowProcW(previous, hwnd, msg, wp, lp);
  // What ran below may have ended the Desk: look it up again.
  if (gHook.window == hwnd && gHook.desk) gHook.desk->AfterPlayerMessage(msg, wp);
  return r;
}

// The messages that are ours alone; true when handled.
bool Desk::OnPlayerMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == BringForwardMessage()) {
    ShowPlayer();
    return true;
  }
  if (msg == TaskbarButtons::ButtonCreatedMessage()) {
    if (taskbar_) taskbar_->OnButtonCreated();
    return true;
  }
  // A thumbnail button acts as the player's own button.
  if (IsThumbClick(msg, wp, lp)) {
    rt_.Raise(*TaskbarButtons::HandlerFor(LOWORD(wp)));
    return true;
  }
  return false;
}

void Desk::AfterPlayerMessage(UINT msg, WPARAM wp) {
  switch (msg) {
    case WM_SIZE:
      if (wp == SIZE_MINIMIZED && minimizeToTray_) HideToTray();
      return;
    case WM_DESTROY:
      // Also when the window goes from under a dialog box at the end of the session.
      if (tray_) tray_->Remove();
      if (taskbar_) taskbar_->Release();
      return;
  }
}

// Hidden windows have no taskbar button: the icon is the way back.
void Desk::HideToTray() {
  if (!player_ || !::IsWindowVisible(player_)) return;
  ::ShowWindow(player_, SW_HIDE);
  if (HWND board = rt_.WindowHandle(kBoardWindowId)) ::ShowWindow(board, SW_HIDE);
}

void Desk::ShowPlayer() {
  HWND player = rt_.WindowHandle(kPlayerWindowId);
  if (!player) return;
  // Restored if minimized, shown if hidden, raised and in front.
  rt_.BringToFront(kPlayerWindowId);
  HWND board = rt_.WindowHandle(kBoardWindowId);
  if (!board) return;
  // Docked below the player's restored place before it shows.
  rt_.Raise(HandlerKey::PlayerMoved);
  board = rt_.WindowHandle(kBoardWindowId);
  if (board)
    ::SetWindowPos(board, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Desk::OnTrayCommand(TrayCommand command) {
  switch (command) {
    case TrayCommand::PlayPause: rt_.Raise(HandlerKey::PlayButton); return;
    case TrayCommand::Previous: rt_.Raise(HandlerKey::PreviousSong); return;
    case TrayCommand::Next: rt_.Raise(HandlerKey::NextSong); return;
    case TrayCommand::Stop: rt_.Raise(HandlerKey::StopSong); return;
    case TrayCommand::ShowPlayer: ShowPlayer(); return;
    case TrayCommand::MinimizeToTray: ToggleMinimizeToTray(); return;
    case TrayCommand::Quit:
      // As a close from outside: declined under a modal box, which comes forward instead.
      if (HWND player = rt_.WindowHandle(kPlayerWindowId)) ::PostMessageW(player, WM_CLOSE, 0, 0);
      return;
  }
}

void Desk::ToggleMinimizeToTray() {
  minimizeToTray_ = !minimizeToTray_;
  if (tray_) tray_->SetMinimizeChecked(minimizeToTray_);
  WriteIniValue(parts_.configPath, kTraySection, kMinimizeToTrayKey, minimizeToTray_ ? "1" : "0");
}

void Desk::OnTransport(PlayState state) {
  if (taskbar_) taskbar_->OnTransport(state);
  if (!tray_) return;
  const Text song = parts_.playingSong ? parts_.playingSong() : Text();
  tray_->SetTip(state != PlayState::Idle && !song.empty() ? Widen(song) : std::wstring(kIdleTip));
}

}  // namespace tovel
