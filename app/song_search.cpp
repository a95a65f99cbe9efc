#include "app/song_search.h"

#include <algorithm>
#include <vector>

#include "app/playback.h"
#include "app/song_list.h"
#include "app/song_list_rules.h"
#include "runtime/forms.h"
#include "base/text.h"

namespace tovel {
namespace {

constexpr std::uint32_t W = kPlayerWindowId;

}  // namespace

bool NameHolds(std::string_view shownName, std::wstring_view foldedSearch) {
  if (foldedSearch.empty()) return true;
  return FoldCase(Widen(shownName)).find(foldedSearch) != std::wstring::npos;
}

ListRows RowsMatching(const Array<Text>& songs, std::string_view search, const SongTitles& titles) {
  const std::wstring folded = FoldCase(Widen(search));
  std::vector<int> shown;
  int song = 0;
  for (const Text& path : songs) {
    if (NameHolds(ShownSongName(path, titles), folded)) shown.push_back(song);
    ++song;
  }
  return ListRows(std::move(shown));
}

void SongSearch::Open() {
  if (!Shown()) {
    state_.songBeforeSearch = SelectedSong(ui_, state_);
    state_.search = ui_.GetText(W, player::kSearchField, Prop::TypeSpecific);
    PlaceField(true);
    ShowRows();
  }
  ui_.Focus(W, player::kSearchField);
}

void SongSearch::TextChanged() {
  // A text the program sets while the field is hidden searches for nothing.
  if (!Shown()) return;
  Text text = ui_.GetText(W, player::kSearchField, Prop::TypeSpecific);
  if (text == *state_.search) return;
  state_.search = std::move(text);
  ShowRows();
}

void SongSearch::PlayChosen() {
  if (!Shown() || ui_.ListCount(W, player::kList) == 0) return;
  const int chosen = ui_.ListSelection(W, player::kList);
  ui_.ListSelect(W, player::kList, chosen >= 0 ? chosen : 0);
  playback_.PlaySelectedOnDoubleClick();
}

void SongSearch::MoveChoice(int delta) {
  const int count = ui_.ListCount(W, player::kList);
  if (!Shown() || count == 0) return;
  const int chosen = ui_.ListSelection(W, player::kList);
  const int row = chosen < 0 ? (delta > 0 ? 0 : count - 1) : std::clamp(chosen + delta, 0, count - 1);
  ui_.ListSelect(W, player::kList, row);
}

void SongSearch::Close() {
  if (!Shown()) return;
  const int chosen = ui_.ListSelection(W, player::kList);
  int song = chosen >= 0 ? state_.rows.SongAt(chosen, state_.songList.Count()) : state_.pickedSong;
  if (song < 0) song = state_.songBeforeSearch;
  state_.search.reset();
  ui_.SetText(W, player::kSearchField, Prop::TypeSpecific, "");
  PlaceField(false);
  ShowRows();
  if (song >= 0) SelectSong(ui_, state_, song);
  ui_.Focus(W, player::kList);
}

void SongSearch::KeepPlace() {
  if (Shown()) PlaceField(true);
}

// The field takes the list's top band; the list gives it up and keeps its bottom.
// Pixels as the controls are placed now, so the window's scale needs no second rule.
void SongSearch::PlaceField(bool shown) {
  const int fieldTop = ui_.GetInt(W, player::kSearchField, Prop::Top);
  const int fieldBottom = fieldTop + ui_.GetInt(W, player::kSearchField, Prop::Height);
  const int listBottom = ui_.GetInt(W, player::kList, Prop::Top) + ui_.GetInt(W, player::kList, Prop::Height);
  const int listTop = shown ? fieldBottom : fieldTop;
  ui_.SetInt(W, player::kSearchField, Prop::Visible, shown ? 1 : 0);
  ui_.SetInt(W, player::kList, Prop::Top, listTop);
  ui_.SetInt(W, player::kList, Prop::Height, listBottom - listTop);
}

// Nothing is selected in a fresh search: Enter takes its first match.
void SongSearch::ShowRows() {
  ui_.ListClear(W, player::kList);
  ShowSongRows(ui_, state_);
}

}  // namespace tovel
