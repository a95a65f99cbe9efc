#include "runtime/shell_input.h"

#include <string>

#include "base/text.h"

namespace tovel {
namespace {

struct MediaKey {
  EventKind event;
  int appCommand;
};

constexpr MediaKey kMediaKeys[] = {
    {EventKind::MediaPlayPause, APPCOMMAND_MEDIA_PLAY_PAUSE},
    {EventKind::MediaStop, APPCOMMAND_MEDIA_STOP},
    {EventKind::MediaNextTrack, APPCOMMAND_MEDIA_NEXTTRACK},
    {EventKind::MediaPreviousTrack, APPCOMMAND_MEDIA_PREVIOUSTRACK},
};

bool Binds(const FormState& form, EventKind kind) {
  for (const auto& e : form.desc->events)
    if (e.event == kind) return true;
  return false;
}

bool BindsMediaKeys(const FormState& form) {
  for (const MediaKey& key : kMediaKeys)
    if (Binds(form, key.event)) return true;
  return false;
}

UINT ShellHookMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"SHELLHOOK");
  return message;
}

std::vector<Text> DroppedPaths(HDROP drop) {
  std::vector<Text> paths;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    // Length first: a path may be longer than MAX_PATH.
    const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    path.resize(::DragQueryFileW(drop, i, path.data(), length + 1));
    if (!path.empty()) paths.push_back(Narrow(path));
  }
  return paths;
}

}  // namespace

// A media key reaches the focused window as WM_APPCOMMAND, which the default procedure
// passes up to the form. When the program in front leaves it unused, its default
// procedure hands it to the shell, which tells its hook windows (HSHELL_APPCOMMAND).
// Hot keys would take the keys from every other program, so there are none.
void AcceptShellInput(FormState& form) {
  // The style DragAcceptFiles would set: the shell stays unloaded until a drop comes.
  if (Binds(form, EventKind::FilesDropped))
    ::SetWindowLongPtrW(form.hwnd, GWL_EXSTYLE, ::GetWindowLongPtrW(form.hwnd, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
  // Where the platform has no shell hook (Wine) this fails, and the keys act through
  // WM_APPCOMMAND alone.
  if (BindsMediaKeys(form)) ::RegisterShellHookWindow(form.hwnd);
}

void ReleaseShellInput(FormState& form) {
  if (BindsMediaKeys(form)) ::DeregisterShellHookWindow(form.hwnd);
}

// The receiver of WM_DROPFILES owns the drop and frees it with DragFinish.
void OnDropFiles(FormState& form, HDROP drop) {
  std::vector<Text> paths = DroppedPaths(drop);
  POINT at{};
  ::DragQueryPoint(drop, &at);  // in the client area
  ::ClientToScreen(form.hwnd, &at);
  ::DragFinish(drop);
  if (Binds(form, EventKind::FilesDropped))
    Runtime::Get().RaiseFilesDropped(form.desc->events, std::move(paths), at);
}

bool OnAppCommand(FormState& form, int command) {
  for (const MediaKey& key : kMediaKeys) {
    if (key.appCommand != command || !Binds(form, key.event)) continue;
    Runtime::Get().RaiseEvent(form.desc->events, key.event);
    return true;
  }
  return false;
}

bool IsShellHookMessage(UINT msg) { return msg != 0 && msg == ShellHookMessage(); }

// The command is in the high word, as in WM_APPCOMMAND; other shell news is none of ours.
bool OnShellHook(FormState& form, WPARAM code, LPARAM lp) {
  return code == HSHELL_APPCOMMAND && OnAppCommand(form, GET_APPCOMMAND_LPARAM(lp));
}

}  // namespace tovel
