#include "runtime/shell_input.h"

#include <iterator>
#include <string>

#include "base/text.h"

namespace tovel {
namespace {

struct MediaKey {
  EventKind event;
  int appCommand;
  UINT virtualKey;
};

// A hot key's identifier is its place in this table plus one.
constexpr MediaKey kMediaKeys[] = {
    {EventKind::MediaPlayPause, APPCOMMAND_MEDIA_PLAY_PAUSE, VK_MEDIA_PLAY_PAUSE},
    {EventKind::MediaStop, APPCOMMAND_MEDIA_STOP, VK_MEDIA_STOP},
    {EventKind::MediaNextTrack, APPCOMMAND_MEDIA_NEXTTRACK, VK_MEDIA_NEXT_TRACK},
    {EventKind::MediaPreviousTrack, APPCOMMAND_MEDIA_PREVIOUSTRACK, VK_MEDIA_PREV_TRACK},
};

bool Binds(const FormState& form, EventKind kind) {
  for (const auto& e : form.desc->events)
    if (e.event == kind) return true;
  return false;
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

// A registered hot key takes the key-down from which the focused window's
// WM_APPCOMMAND would be made, so each press arrives once: as WM_HOTKEY while we
// hold the key, as WM_APPCOMMAND (remote controls, or while another program
// holds the key) otherwise.
void AcceptShellInput(FormState& form) {
  // The style DragAcceptFiles would set: the shell stays unloaded until a drop comes.
  if (Binds(form, EventKind::FilesDropped))
    ::SetWindowLongPtrW(form.hwnd, GWL_EXSTYLE, ::GetWindowLongPtrW(form.hwnd, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
  for (size_t i = 0; i < std::size(kMediaKeys); ++i) {
    if (!Binds(form, kMediaKeys[i].event)) continue;
    const int id = static_cast<int>(i) + 1;
    // Without MOD_NOREPEAT a held "next" would race through the list.
    if (::RegisterHotKey(form.hwnd, id, MOD_NOREPEAT, kMediaKeys[i].virtualKey)) form.hotKeys.push_back(id);
  }
}

void ReleaseShellInput(FormState& form) {
  for (int id : form.hotKeys) ::UnregisterHotKey(form.hwnd, id);
  form.hotKeys.clear();
}

// The receiver of WM_DROPFILES owns the drop and frees it with DragFinish.
void OnDropFiles(FormState& form, HDROP drop) {
  std::vector<Text> paths = DroppedPaths(drop);
  ::DragFinish(drop);
  if (Binds(form, EventKind::FilesDropped)) Runtime::Get().RaiseFilesDropped(form.desc->events, std::move(paths));
}

bool OnAppCommand(FormState& form, int command) {
  for (const MediaKey& key : kMediaKeys) {
    if (key.appCommand != command || !Binds(form, key.event)) continue;
    Runtime::Get().RaiseEvent(form.desc->events, key.event);
    return true;
  }
  return false;
}

void OnHotKey(FormState& form, int id) {
  if (id < 1 || id > static_cast<int>(std::size(kMediaKeys))) return;
  Runtime::Get().RaiseEvent(form.desc->events, kMediaKeys[id - 1].event);
}

}  // namespace tovel
