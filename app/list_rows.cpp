#include "app/list_rows.h"

#include <algorithm>

#include "app/player_state.h"
#include "runtime/control_access.h"
#include "runtime/forms.h"

namespace tovel {
namespace {

constexpr std::uint32_t W = kPlayerWindowId;

bool IsSong(int song, const PlayerState& state) { return song >= 0 && song < state.songList.Count(); }

// A place kept across a removal: gone with its song, one up when after it.
int AfterRemoval(int kept, int removed) {
  if (kept == removed) return -1;
  return kept > removed ? kept - 1 : kept;
}

}  // namespace

int ListRows::Count(int songCount) const {
  if (!filtered_) return songCount;
  return static_cast<int>(std::count_if(songs_.begin(), songs_.end(), [&](int s) { return s < songCount; }));
}

int ListRows::SongAt(int row, int songCount) const {
  if (row < 0) return -1;
  if (!filtered_) return row < songCount ? row : -1;
  if (row >= static_cast<int>(songs_.size())) return -1;
  const int song = songs_[static_cast<size_t>(row)];
  return song < songCount ? song : -1;
}

int ListRows::RowOf(int song, int songCount) const {
  if (song < 0 || song >= songCount) return -1;
  if (!filtered_) return song;
  const auto it = std::find(songs_.begin(), songs_.end(), song);
  return it == songs_.end() ? -1 : static_cast<int>(it - songs_.begin());
}

int SongAtCaret(const ControlAccess& ui, const PlayerState& state) {
  return state.rows.SongAt(ui.ListCaret(W, player::kList), state.songList.Count());
}

int SelectedSong(const ControlAccess& ui, const PlayerState& state) {
  const int selected = ui.ListSelection(W, player::kList);
  if (selected >= 0) return state.rows.SongAt(selected, state.songList.Count());
  if (IsSong(state.pickedSong, state)) return state.pickedSong;
  return SongAtCaret(ui, state);
}

void SelectSong(ControlAccess& ui, PlayerState& state, int song) {
  const int row = state.rows.RowOf(song, state.songList.Count());
  ui.ListSelect(W, player::kList, row);
  state.pickedSong = row < 0 && IsSong(song, state) ? song : -1;
}

void ForgetRemovedSong(PlayerState& state, int song) {
  state.pickedSong = AfterRemoval(state.pickedSong, song);
  state.songBeforeSearch = AfterRemoval(state.songBeforeSearch, song);
}

}  // namespace tovel
