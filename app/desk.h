#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/taskbar_buttons.h"
#include "app/tray_icon.h"
#include "base/value.h"

namespace tovel {

class Runtime;

inline constexpr char kTraySection[] = "通知区域";
inline constexpr char kMinimizeToTrayKey[] = "最小化到通知区域";

// What the player's place on the desktop is made of; the program passes the shell's
// parts, a test its recorders.
struct DeskParts {
  NotifyArea* notifyArea = nullptr;
  TaskbarListMaker makeTaskbarList;
  std::wstring configPath;              // "歌曲配置.ini"
  std::function<Text()> playingSong;    // the shown name of the song the device has open
};

// The player outside its window: the icon in the notification area and its menu, the
// taskbar button's thumbnail buttons and progress, hiding to the notification area when
// minimized, and coming forward when a later start asks. Attach after the player window
// exists; everything is let go when that window is destroyed or this object goes.
class Desk {
 public:
  Desk(Runtime& rt, DeskParts parts);
  ~Desk();
  Desk(const Desk&) = delete;
  Desk& operator=(const Desk&) = delete;

  void Attach();

  // Shows the player restored and in front, with its board docked below it when open.
  void ShowPlayer();

  bool minimizeToTray() const { return minimizeToTray_; }
  TrayIcon* tray() const { return tray_.get(); }

 private:
  static LRESULT CALLBACK PlayerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  bool OnPlayerMessage(UINT msg, WPARAM wp, LPARAM lp);
  void AfterPlayerMessage(UINT msg, WPARAM wp);
  void OnTrayCommand(TrayCommand command);
  void OnTransport(PlayState state);
  void HideToTray();
  void ToggleMinimizeToTray();
  void Detach();

  Runtime& rt_;
  DeskParts parts_;
  HWND player_ = nullptr;
  bool minimizeToTray_ = false;
  UniqueIcon icon_;
  std::unique_ptr<TrayIcon> tray_;
  std::unique_ptr<TaskbarButtons> taskbar_;
};


}  // namespace tovel
