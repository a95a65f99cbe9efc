#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "base/handle.h"

namespace tovel {

inline constexpr wchar_t kIdleTip[] = L"Tovel音乐盒";

// What the icon's menu offers, in menu order; the menu item of each is its value.
enum class TrayCommand : UINT {
  PlayPause = 0x7201,
  Previous,
  Next,
  Stop,
  ShowPlayer,
  Quit,
  MinimizeToTray,
};

// The shell's notification area (Shell_NotifyIconW), or a test's recorder.
class NotifyArea {
 public:
  virtual ~NotifyArea() = default;
  virtual bool Notify(DWORD message, NOTIFYICONDATAW& data) = 0;
};
NotifyArea& ShellNotifyArea();

// The program's icon in the notification area, with the hidden window that its clicks,
// its menu's commands and the shell's "TaskbarCreated" come to.
class TrayIcon {
 public:
  static constexpr UINT kCallbackMessage = WM_APP + 1;
  static constexpr UINT kIconId = 1;

  // `onCommand` runs for a menu item and for a left click (ShowPlayer).
  TrayIcon(NotifyArea& area, HICON icon, std::function<void(TrayCommand)> onCommand);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Adds the icon; false when the shell refused it. It is added again whenever the shell
  // starts, until Remove.
  bool Add();
  void Remove();
  // The tool tip; shown at once when the icon is there.
  void SetTip(const std::wstring& tip);
  void SetMinimizeChecked(bool checked) { minimizeChecked_ = checked; }

  HWND window() const { return window_.get(); }
  bool shown() const { return shown_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void OnIconEvent(UINT event, POINT anchor);
  void ShowMenu(POINT at);
  NOTIFYICONDATAW Data(UINT flags) const;

  NotifyArea& area_;
  HICON icon_;
  std::function<void(TrayCommand)> onCommand_;
  std::wstring tip_ = kIdleTip;
  bool minimizeChecked_ = false;
  bool wanted_ = false;  // Add was asked for, and no Remove since
  bool shown_ = false;
  bool version4_ = false;  // the shell speaks NOTIFYICON_VERSION_4
  UINT taskbarCreated_ = 0;
  UniqueWindow window_;
};

}  // namespace tovel
