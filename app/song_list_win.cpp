#include <windows.h>
#include <shlobj.h>

#include <memory>

#include "app/com_session.h"
#include "app/config_file.h"
#include "app/song_list_win.h"
#include "app/startup.h"
#include "app/tag_titles.h"
#include "app/title_filler.h"
#include "runtime/controls.h"
#include "runtime/message_box.h"
#include "base/file_path.h"
#include "base/handle.h"
#include "base/text.h"

namespace tovel {
namespace {

constexpr wchar_t kConfigFileName[] = L"歌曲配置.ini";

std::wstring ExecutableDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return L".";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\'));
}

struct PidlDeleter {
  void operator()(ITEMIDLIST* p) const { ::CoTaskMemFree(p); }
};


class WinSongStorage : public SongStorage {
 public:
  WinSongStorage(const Runtime& rt, std::wstring exportPath)
      : rt_(rt), configPath_(ConfigFilePath()), exportPath_(std::move(exportPath)) {}

  Text ReadStoredList() override {
    return ReadIniValue(configPath_, kSongSection, kSongListKey).value_or(Text());
  }

  bool WriteStoredList(const Text& value) override {
    return WriteIniValue(configPath_, kSongSection, kSongListKey, value);
  }

  std::optional<Text> BrowseFolder(const Text& title) override {
    const std::wstring wideTitle = Widen(title);
    BROWSEINFOW info{};
    // Owned by the player window, so "添加" cannot open a second browser meanwhile.
    info.hwndOwner = rt_.WindowHandle(kPlayerWindowId);
    info.lpszTitle = wideTitle.c_str();
    // The browser with the new dialog style needs COM on this thread.
    info.ulFlags = EnsureCom() ? BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE : BIF_RETURNONLYFSDIRS;
    std::unique_ptr<ITEMIDLIST, PidlDeleter> chosen(::SHBrowseForFolderW(&info));
    if (!chosen) return std::nullopt;
    wchar_t path[MAX_PATH];
    if (!::SHGetPathFromIDListW(chosen.get(), path)) return std::nullopt;
    return Narrow(path);
  }

  std::vector<Text> FileNamesIn(const Text& directoryPrefix) override {
    std::vector<Text> names;
    WIN32_FIND_DATAW data;
    // Owned, so the search closes also when a name cannot be kept (out of memory).
    UniqueFindHandle find(::FindFirstFileW(FileSystemPath(directoryPrefix + "*.*").c_str(), &data));
    if (!find) return names;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(Narrow(data.cFileName));
    } while (::FindNextFileW(find.get(), &data));
    return names;
  }

  bool IsFolder(const Text& path) override {
    const DWORD attributes = ::GetFileAttributesW(FileSystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool FileExists(const Text& path) override {
    const DWORD attributes = ::GetFileAttributesW(FileSystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool RemoveFile(const Text& path) override { return ::DeleteFileW(FileSystemPath(path).c_str()) != 0; }

  void DeleteExportFile() override { ::DeleteFileW(exportPath_.c_str()); }

  bool WriteExportFile(const Text& text) override { return ReplaceFileBytes(exportPath_, EncodeFileText(text)); }

  void ReleaseHeldFiles() override { HeldInstanceLock().file.reset(); }

 private:
  const Runtime& rt_;
  std::wstring configPath_;
  std::wstring exportPath_;
};

void ShowPlainMessage(const Text& text) { ShowMessage(text); }

struct SongListParts {
  SongListParts(Runtime& rt, PlayerState& state)
      : storage(MakeWinSongStorage(rt)), handlers(rt, state, *storage, ShowPlainMessage),
        titles(rt, state, handlers, ReadSongTags) {}
  std::unique_ptr<SongStorage> storage;
  SongListHandlers handlers;
  TitleFiller titles;
};

// One set for the program's life; the runtime and the state outlive every handler call.
SongListParts& Parts(Runtime& rt, PlayerState& state) {
  static std::unique_ptr<SongListParts> parts;
  if (!parts) parts = std::make_unique<SongListParts>(rt, state);
  return *parts;
}

SongListHandlers& Handlers(Runtime& rt, PlayerState& state) { return Parts(rt, state).handlers; }

}  // namespace

std::unique_ptr<SongStorage> MakeWinSongStorage(const Runtime& rt, std::wstring exportPath) {
  return std::make_unique<WinSongStorage>(rt, std::move(exportPath));
}

void BindSongListHandlers(Runtime& rt, PlayerState& state) {
  SongListHandlers& h = Handlers(rt, state);
  rt.Bind(HandlerKey::AddFolder, [&h] { h.AddFolder(); });
  rt.Bind(HandlerKey::AddDroppedSongs, [&h, &rt] { h.AddDropped(rt.DroppedFiles()); });
  rt.Bind(HandlerKey::ClearList, [&h] { h.ClearList(); });
  rt.Bind(HandlerKey::RemoveEntry, [&h] { h.RemoveEntry(); });
  rt.Bind(HandlerKey::DeleteFile, [&h] { h.DeleteSongFile(); });
  TitleFiller& titles = Parts(rt, state).titles;
  // The worker ends with the window, not at process end.
  rt.Bind(HandlerKey::PlayerSaveOnExit, [&h, &titles] {
    titles.Stop();
    h.SaveOnExit();
  });
  rt.Bind(HandlerKey::ToggleTagTitles, [&titles] { titles.Toggle(); });
}

void LoadStoredSongList(Runtime& rt, PlayerState& state) {
  Parts(rt, state).titles.ShowCheck();
  Handlers(rt, state).LoadList();
}

std::wstring ConfigFilePath() { return ExecutableDirectory() + L"\\" + kConfigFileName; }

}  // namespace tovel
