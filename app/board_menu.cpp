#include "app/board_menu.h"

#include <commdlg.h>

#include "app/board_hot_keys.h"
#include "app/sound_board.h"
#include "base/handle.h"
#include "base/text.h"
#include "runtime/controls.h"

namespace tovel {
namespace {

enum MenuCommand : UINT { kChooseFile = 1, kBuiltIn, kHotKey, kDucking };

bool IsSoundFile(const Text& path) {
  const Text type = MediaFileType(path);
  return (type == "mp3" || type == "wav") && path.size() > 4 && path[path.size() - 4] == '.';
}

std::optional<std::wstring> AskForSoundFile(HWND owner) {
  std::wstring file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = L"声音文件 (*.mp3;*.wav)\0*.mp3;*.wav\0";
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = L"选择声音";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!::GetOpenFileNameW(&ofn)) return std::nullopt;
  file.resize(std::wcslen(file.c_str()));
  return file;
}

UniqueMenu BuildMenu(const SoundBoard& board, int pad) {
  UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return menu;
  if (pad) {
    ::AppendMenuW(menu.get(), MF_STRING, kChooseFile, L"选择声音…");
    const bool own = !board.settings().Pad(pad).file.empty();
    ::AppendMenuW(menu.get(), MF_STRING | (own ? 0u : MF_GRAYED), kBuiltIn, L"恢复原声");
    ::AppendMenuW(menu.get(), MF_STRING, kHotKey, L"设置热键…");
    ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  }
  const bool ducking = board.settings().Ducking();
  ::AppendMenuW(menu.get(), MF_STRING | (ducking ? MF_CHECKED : 0u), kDucking, L"播放音效时降低音乐音量");
  return menu;
}

}  // namespace

int PadAt(const Runtime& rt, POINT at) {
  for (int n = 1; n <= kPadCount; ++n) {
    HWND button = rt.ControlHandle(kBoardWindowId, board::kClipButtons[n - 1]);
    RECT rc{};
    if (button && ::GetWindowRect(button, &rc) && ::PtInRect(&rc, at)) return n;
  }
  return 0;
}

std::optional<Text> FirstSoundFile(const std::vector<Text>& paths) {
  for (const Text& p : paths)
    if (IsSoundFile(p)) return p;
  return std::nullopt;
}

void OnBoardDrop(Runtime& rt, SoundBoard& board) {
  const int pad = PadAt(rt, rt.EventPoint());
  const std::optional<Text> file = FirstSoundFile(rt.DroppedFiles());
  if (pad && file) board.ChooseFile(pad, Widen(*file));
}

void OnBoardContextMenu(Runtime& rt, SoundBoard& board, BoardHotKeys& keys) {
  HWND owner = rt.WindowHandle(kBoardWindowId);
  const POINT at = rt.EventPoint();
  const int pad = PadAt(rt, at);
  UniqueMenu menu = BuildMenu(board, pad);
  if (!menu) return;
  const UINT command = static_cast<UINT>(
      ::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
  // The menu ran a message loop of its own: the board may have closed meanwhile.
  if (!rt.IsLoaded(kBoardWindowId)) return;
  switch (command) {
    case kChooseFile:
      if (auto file = AskForSoundFile(rt.WindowHandle(kBoardWindowId)); file && rt.IsLoaded(kBoardWindowId))
        board.ChooseFile(pad, *file);
      return;
    case kBuiltIn:
      board.RestoreBuiltIn(pad);
      return;
    case kHotKey:
      keys.AskAndSet(rt.WindowHandle(kBoardWindowId), pad);
      return;
    case kDucking:
      board.SetDuckingOption(!board.settings().Ducking());
      return;
    default:
      return;
  }
}

void BindBoardWindowHandlers(Runtime& rt, SoundBoard& board, BoardHotKeys& keys) {
  rt.Bind(HandlerKey::BoardFilesDropped, [&rt, &board] { OnBoardDrop(rt, board); });
  rt.Bind(HandlerKey::BoardContextMenu, [&rt, &board, &keys] { OnBoardContextMenu(rt, board, keys); });
}

}  // namespace tovel
