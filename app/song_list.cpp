#include "app/song_list.h"

#include <vector>

#include "app/song_list_rules.h"
#include "runtime/forms.h"

namespace tovel {
namespace {

constexpr std::uint32_t W = kPlayerWindowId;

}  // namespace

void SongListHandlers::AppendStored(const Text& value) {
  for (Text& part : SplitStoredList(value)) state_.songList.Append(std::move(part));
}

void SongListHandlers::LoadList() {
  const Text value = storage_.ReadStoredList();
  if (value.empty()) return;
  AppendStored(value);
  RefreshListBox();
}

void SongListHandlers::RefreshListBox() {
  std::vector<Text> entries;
  entries.reserve(static_cast<size_t>(state_.songList.Count()));
  for (const Text& path : state_.songList) entries.push_back(ListEntryText(static_cast<int>(entries.size()) + 1, path));
  ui_.ListAddAll(W, player::kList, entries);
}

// A song shows by its bare name until the list is refreshed.
void SongListHandlers::CollectSong(const Text& directoryPrefix, const Text& fileName, StoredListBuilder& stored) {
  ui_.ListAdd(W, player::kList, fileName);
  stored.Add(directoryPrefix, fileName);
}

// The folder's own files only, not its sub-folders.
void SongListHandlers::CollectFolder(const Text& directoryPrefix, StoredListBuilder& stored) {
  for (const Text& name : storage_.FileNamesIn(directoryPrefix))
    if (IsSongFileName(name)) CollectSong(directoryPrefix, name, stored);
}

void SongListHandlers::StoreAndShow(const Text& value) {
  const bool written = storage_.WriteStoredList(value);
  ui_.ListClear(W, player::kList);
  // Without a written file the songs still join the list for this run.
  AppendStored(written ? storage_.ReadStoredList() : value);
  // Also when nothing was found: the list box must keep matching SongList.
  RefreshListBox();
}

void SongListHandlers::AddFolder() {
  // A cancelled browser means "no folder", not the root of the current drive.
  const auto folder = storage_.BrowseFolder(kAddFolderTitle);
  if (!folder || folder->empty()) return;
  StoredListBuilder stored;
  CollectFolder(DirectoryPrefix(*folder), stored);
  StoreAndShow(stored.value());
}

void SongListHandlers::AddDropped(const std::vector<Text>& paths) {
  StoredListBuilder stored;
  for (const Text& path : paths) {
    if (storage_.IsFolder(path)) {
      CollectFolder(DirectoryPrefix(path), stored);
    } else {
      const Text name = FileNameOf(path);
      if (IsSongFileName(name) && storage_.FileExists(path)) CollectSong(FolderPrefixOf(path), name, stored);
    }
  }
  // Unlike a chosen folder, a drop without songs is no choice: the stored list stays.
  if (stored.value().empty()) return;
  StoreAndShow(stored.value());
}

void SongListHandlers::ClearList() {
  ui_.SetInt(W, player::kTick, Prop::TypeSpecific, 0);
  storage_.DeleteExportFile();
  ui_.ListClear(W, player::kList);
  state_.songList.Clear();
  ui_.SetText(W, player::kElapsedLabel, Prop::TypeSpecific, "00:00");
  state_.statusWord = kStatusCleared;
  ui_.SetInt(W, player::kSeekSlider, Prop::SliderPosition, 0);
  ui_.SetInt(W, player::kSeekSlider, Prop::Disabled, 1);
}

void SongListHandlers::RemoveEntry() {
  int p = ui_.ListCaret(W, player::kList);
  if (p >= 0 && p < state_.songList.Count()) state_.songList.RemoveAtPosition(p);
  ui_.ListClear(W, player::kList);
  RefreshListBox();
  ui_.Focus(W, player::kList);
  if (state_.songList.Count() == p) --p;  // the removed entry was the last one
  ui_.ListSelect(W, player::kList, p);
  state_.listModified = 1;
}

void SongListHandlers::DeleteSongFile() {
  if (ui_.ListCount(W, player::kList) == 0) {
    tell_(kDeleteFailedText);
    return;
  }
  const int entry = ui_.ListCaret(W, player::kList) + 1;
  if (entry < 1 || entry > state_.songList.Count()) return;
  const Text path = state_.songList.At(entry);
  if (!storage_.FileExists(path) || !storage_.RemoveFile(path)) return;
  RemoveEntry();
  tell_(kDeleteDoneText);
}

void SongListHandlers::SaveOnExit() {
  if (state_.listModified != 1) return;
  state_.listExportText += ExportText(state_.songList);
  storage_.ReleaseHeldFiles();
  storage_.DeleteExportFile();
  storage_.WriteExportFile(state_.listExportText);
}

}  // namespace tovel
