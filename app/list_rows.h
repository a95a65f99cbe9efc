#pragma once

#include <vector>

namespace tovel {

class ControlAccess;
struct PlayerState;

// Which song each row of the list box shows: every song in order, or while a search is
// shown only the matching ones, each keeping its place in the whole list. Songs are
// counted from 0 by their place in SongList.
class ListRows {
 public:
  ListRows() = default;  // every song, row i showing song i
  explicit ListRows(std::vector<int> songs) : filtered_(true), songs_(std::move(songs)) {}

  bool filtered() const { return filtered_; }
  int Count(int songCount) const;
  // The song in `row`; -1 when there is no such row.
  int SongAt(int row, int songCount) const;
  // The row that shows `song`; -1 when none does.
  int RowOf(int song, int songCount) const;

 private:
  bool filtered_ = false;
  std::vector<int> songs_;
};

// The song the caret's row shows; -1 when there is none. What acts on the row the
// user sees (remove entry, delete file) takes this one.
int SongAtCaret(const ControlAccess& ui, const PlayerState& state);

// The song the player acts on: the selected row's; without a selection, the song picked
// while no row could show it; else the caret's. -1 when there is none.
int SelectedSong(const ControlAccess& ui, const PlayerState& state);

// Selects the row of `song`; a song no row shows stays picked with no row selected.
void SelectSong(ControlAccess& ui, PlayerState& state, int song);

// The song at `song` left SongList: what pointed at a later song follows it up a place.
void ForgetRemovedSong(PlayerState& state, int song);

}  // namespace tovel
