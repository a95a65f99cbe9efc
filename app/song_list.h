#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "app/player_state.h"
#include "runtime/control_access.h"
#include "base/value.h"

namespace tovel {

class Runtime;
class StoredListBuilder;

inline constexpr char kAddFolderTitle[] = "添加MP3文件夹";
inline constexpr char kDeleteFailedText[] = "删除失败 文件未找到";
inline constexpr char kDeleteDoneText[] = "删除文件 成功";

// What the song-list handlers need from the platform: the configuration file,
// the folder browser, files on disk, the export file and the held marker.
class SongStorage {
 public:
  virtual ~SongStorage() = default;

  // The stored list value; "" when the file, section or key is missing.
  virtual Text ReadStoredList() = 0;
  // False when the file could not be written; the old file is then left whole.
  virtual bool WriteStoredList(const Text& value) = 0;

  // The chosen folder, or nothing when the user cancelled.
  virtual std::optional<Text> BrowseFolder(const Text& title) = 0;
  // Names of the files (not folders) in the folder, in the platform's search order.
  virtual std::vector<Text> FileNamesIn(const Text& directoryPrefix) = 0;
  virtual bool IsFolder(const Text& path) = 0;

  virtual bool FileExists(const Text& path) = 0;
  virtual bool RemoveFile(const Text& path) = 0;

  virtual void DeleteExportFile() = 0;
  // Replaces the export whole; false, with the old one left as it was, when the new one
  // cannot be written.
  virtual bool WriteExportFile(const Text& text) = 0;
  // Closes the files the program holds open (the single-instance marker).
  virtual void ReleaseHeldFiles() = 0;
};

using ShowText = std::function<void(const Text&)>;

// The song list's handlers: list box, SongList and the configuration file.
class SongListHandlers {
 public:
  SongListHandlers(ControlAccess& ui, PlayerState& state, SongStorage& storage, ShowText tell)
      : ui_(ui), state_(state), storage_(storage), tell_(std::move(tell)) {}

  void LoadList();
  void RefreshListBox();
  void AddFolder();
  // Files and folders dropped from the shell, taken as "添加" takes a folder.
  void AddDropped(const std::vector<Text>& paths);
  void ClearList();
  void RemoveEntry();
  void DeleteSongFile();
  void SaveOnExit();

  // Where the songs whose tags are unread go to be read; results come back through TitlesRead.
  void SetTitleRequests(std::function<void(std::vector<TitleJob>)> request) { requestTitles_ = std::move(request); }
  // Keeps what the tags gave; the rows whose shown name changed, to be written again.
  std::vector<RowText> TitlesRead(const std::vector<TitleResult>& results);
  // Switches between file names and tag titles; every row whose text changed.
  std::vector<RowText> ShowNames(ShownNames shown);

 private:
  void RequestMissingTitles();
  void AppendStored(const Text& value);
  struct Found;
  void CollectSong(const Text& directoryPrefix, const Text& fileName, Found& found);
  void CollectFolder(const Text& directoryPrefix, Found& found);
  void StoreAndShow(const Found& found);

  ControlAccess& ui_;
  PlayerState& state_;
  SongStorage& storage_;
  ShowText tell_;
  std::function<void(std::vector<TitleJob>)> requestTitles_;
};

// Fills the list box (emptied by the caller) with the rows of SongList: every song, or the
// matches of the search shown, each with its own number.
void ShowSongRows(ControlAccess& ui, PlayerState& state);

// "添加", "清空", the two context-menu items and save-on-exit.
void BindSongListHandlers(Runtime& rt, PlayerState& state);

// Start-up: the stored list into SongList and the list box.
void LoadStoredSongList(Runtime& rt, PlayerState& state);

}  // namespace tovel
