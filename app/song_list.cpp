#include "app/song_list.h"

#include <vector>

#include "app/playback.h"
#include "app/song_list_rules.h"
#include "app/song_search.h"
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
  ShowSongRows(ui_, state_);
  RequestMissingTitles();
}

void ShowSongRows(ControlAccess& ui, PlayerState& state) {
  state.rows = state.search ? RowsMatching(state.songList, *state.search, state.titles) : ListRows();
  // The whole list shows every song: the selection alone says which is chosen.
  if (!state.rows.filtered()) state.pickedSong = -1;
  const int songs = state.songList.Count();
  const int rows = state.rows.Count(songs);
  std::vector<Text> entries;
  entries.reserve(static_cast<size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    const int song = state.rows.SongAt(row, songs);
    entries.push_back(ListEntryText(song + 1, state.songList.At(song + 1), state.titles));
  }
  ui.ListAddAll(W, player::kList, entries);
}

// Rows may have moved: every request names the songs by their present positions.
void SongListHandlers::RequestMissingTitles() {
  if (!requestTitles_) return;
  std::vector<TitleJob> jobs;
  if (state_.titles.shown == ShownNames::TagTitle) {
    int index = 0;
    for (const Text& path : state_.songList) {
      if (!state_.titles.Known(path)) jobs.push_back(TitleJob{index, path});
      ++index;
    }
  }
  requestTitles_(std::move(jobs));
}

std::vector<RowText> SongListHandlers::TitlesRead(const std::vector<TitleResult>& results) {
  std::vector<RowText> rows;
  for (const TitleResult& result : results) {
    state_.titles.Remember(result.path, result.tags ? TagTitleText(*result.tags) : std::nullopt);
    // A row that no longer holds this song keeps its text; its own song comes with a later request.
    if (result.index < 0 || result.index >= state_.songList.Count()) continue;
    if (state_.songList.At(result.index + 1) != result.path) continue;
    const int row = state_.rows.RowOf(result.index, state_.songList.Count());
    if (row >= 0 && state_.titles.shown == ShownNames::TagTitle && state_.titles.TitleOf(result.path))
      rows.push_back(RowText{row, ListEntryText(result.index + 1, result.path, state_.titles)});
  }
  return rows;
}

std::vector<RowText> SongListHandlers::ShowNames(ShownNames shown) {
  std::vector<RowText> rows;
  if (state_.titles.shown == shown) return rows;
  state_.titles.shown = shown;
  int index = 0;
  for (const Text& path : state_.songList) {
    const int row = state_.rows.RowOf(index, state_.songList.Count());
    if (row >= 0 && state_.titles.TitleOf(path)) rows.push_back(RowText{row, ListEntryText(index + 1, path, state_.titles)});
    ++index;
  }
  RequestMissingTitles();
  return rows;
}

// The songs found, to be stored and shown by their bare names until the list is refreshed.
struct SongListHandlers::Found {
  StoredListBuilder stored;
  std::vector<Text> names;
};

void SongListHandlers::CollectSong(const Text& directoryPrefix, const Text& fileName, Found& found) {
  found.stored.Add(directoryPrefix, fileName);
  found.names.push_back(fileName);
}

// The folder's own files only, not its sub-folders.
void SongListHandlers::CollectFolder(const Text& directoryPrefix, Found& found) {
  for (const Text& name : storage_.FileNamesIn(directoryPrefix))
    if (IsSongFileName(name)) CollectSong(directoryPrefix, name, found);
}

void SongListHandlers::StoreAndShow(const Found& found) {
  // The bare names show while the list is stored, added in one batch as the start-up does.
  ui_.ListAddAll(W, player::kList, found.names);
  const bool written = storage_.WriteStoredList(found.stored.value());
  ui_.ListClear(W, player::kList);
  // Without a written file the songs still join the list for this run.
  AppendStored(written ? storage_.ReadStoredList() : found.stored.value());
  // Also when nothing was found: the list box must keep matching SongList.
  RefreshListBox();
}

void SongListHandlers::AddFolder() {
  // A cancelled browser means "no folder", not the root of the current drive.
  const auto folder = storage_.BrowseFolder(kAddFolderTitle);
  if (!folder || folder->empty()) return;
  Found found;
  CollectFolder(DirectoryPrefix(*folder), found);
  StoreAndShow(found);
}

void SongListHandlers::AddDropped(const std::vector<Text>& paths) {
  Found found;
  for (const Text& path : paths) {
    if (storage_.IsFolder(path)) {
      CollectFolder(DirectoryPrefix(path), found);
    } else {
      const Text name = FileNameOf(path);
      if (IsSongFileName(name) && storage_.FileExists(path)) CollectSong(FolderPrefixOf(path), name, found);
    }
  }
  // Unlike a chosen folder, a drop without songs is no choice: the stored list stays.
  if (found.names.empty()) return;
  StoreAndShow(found);
}

void SongListHandlers::ClearList() {
  storage_.DeleteExportFile();
  ui_.ListClear(W, player::kList);
  state_.songList.Clear();
  state_.rows = ListRows();
  state_.pickedSong = state_.songBeforeSearch = -1;
  RequestMissingTitles();  // nothing left to read
  state_.statusWord = StatusWord::Cleared;
  // A song that plays goes on, but nothing in the list is left to play: the transport shows idle.
  state_.playState = PlayState::Idle;
  ShowTransport(ui_, PlayState::Idle);
}

void SongListHandlers::RemoveEntry() {
  int p = ui_.ListCaret(W, player::kList);
  // The song the caret's row shows, which keeps its own place while a search is shown.
  if (const int song = SongAtCaret(ui_, state_); song >= 0) {
    state_.songList.RemoveAtPosition(song);
    ForgetRemovedSong(state_, song);
  }
  ui_.ListClear(W, player::kList);
  RefreshListBox();
  ui_.Focus(W, player::kList);
  if (state_.rows.Count(state_.songList.Count()) == p) --p;  // the removed entry was the last one
  ui_.ListSelect(W, player::kList, p);
  state_.listModified = 1;
}

void SongListHandlers::DeleteSongFile() {
  if (ui_.ListCount(W, player::kList) == 0) {
    tell_(kDeleteFailedText);
    return;
  }
  const int entry = SongAtCaret(ui_, state_) + 1;
  if (entry < 1) return;
  const Text path = state_.songList.At(entry);
  if (!storage_.FileExists(path) || !storage_.RemoveFile(path)) return;
  RemoveEntry();
  tell_(kDeleteDoneText);
}

void SongListHandlers::SaveOnExit() {
  if (state_.listModified != 1) return;
  state_.listExportText += ExportText(state_.songList);
  storage_.ReleaseHeldFiles();
  // Replaced, not deleted first: when the new one cannot be written the old one stays.
  storage_.WriteExportFile(state_.listExportText);
}

}  // namespace tovel
