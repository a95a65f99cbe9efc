#pragma once

#include <string>
#include <string_view>

#include "app/list_rows.h"
#include "app/player_state.h"
#include "runtime/control_access.h"
#include "base/value.h"

namespace tovel {

class Playback;

// A text made comparable without regard to case: the platform's lower case on Windows.
std::wstring FoldCase(std::wstring_view text);

// Whether a shown name holds the search text (already folded); "" is in every name.
bool NameHolds(std::string_view shownName, std::wstring_view foldedSearch);

// The rows of a search: the songs whose shown name holds `search`, in list order.
ListRows RowsMatching(const Array<Text>& songs, std::string_view search, const SongTitles& titles = {});

// Find as you type over the song list: the field, the rows it leaves, and its keys.
// The stored list and the songs' numbers never change through it.
class SongSearch {
 public:
  SongSearch(ControlAccess& ui, PlayerState& state, Playback& playback)
      : ui_(ui), state_(state), playback_(playback) {}

  bool Shown() const { return state_.search.has_value(); }
  // Shows the field over the list (the whole list still in it) and gives it the focus.
  void Open();
  // The field's text changed: the list shows the songs that match it.
  void TextChanged();
  // Enter: the chosen match plays, the first when none is chosen.
  void PlayChosen();
  // Up and down in the field move the choice among the matches.
  void MoveChoice(int delta);
  // Esc: the field goes, the whole list comes back with the same song selected.
  void Close();
  // The controls were placed again (the window's scale changed): the list gives the field
  // its band again.
  void KeepPlace();

 private:
  void PlaceField(bool shown);
  void ShowRows();

  ControlAccess& ui_;
  PlayerState& state_;
  Playback& playback_;
};

}  // namespace tovel
