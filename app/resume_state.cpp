#include "app/resume_state.h"

#include <string>

namespace tovel {
namespace {

constexpr int kVolumeMin = 1;
constexpr int kVolumeMax = 100;
// Longer than any song; a bigger number is a damaged value.
constexpr int kPositionMax = 24 * 60 * 60;

// Plain decimal digits only, within [low, high].
std::optional<int> Number(std::string_view text, int low, int high) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n < low || n > high) return std::nullopt;
  return n;
}

std::optional<int> NumberAt(const ReadStoredValue& read, std::string_view key, int low, int high) {
  const std::optional<Text> value = read(key);
  return value ? Number(*value, low, high) : std::nullopt;
}

void ParseSong(const std::optional<Text>& value, ResumeState& state) {
  if (!value) return;
  const size_t bar = value->find('|');
  if (bar == Text::npos || bar + 1 >= value->size()) return;
  const std::optional<int> position = Number(std::string_view(*value).substr(0, bar), 1, 1 << 30);
  if (!position) return;
  state.songPath = value->substr(bar + 1);
  state.songHint = *position - 1;
}

}  // namespace

ResumeState ParseResumeState(const ReadStoredValue& read) {
  ResumeState state;
  ParseSong(read(kSelectedSongKey), state);
  state.positionSeconds = NumberAt(read, kPositionKey, 0, kPositionMax).value_or(0);
  state.playerVolume = NumberAt(read, kPlayerVolumeKey, kVolumeMin, kVolumeMax);
  state.boardVolume = NumberAt(read, kBoardVolumeKey, kVolumeMin, kVolumeMax);
  if (const std::optional<Text> order = read(kPlayOrderKey)) state.order = PlayOrderFromNumber(*order);
  if (const std::optional<int> open = NumberAt(read, kBoardOpenKey, 0, 1)) state.boardOpen = *open == 1;
  return state;
}

std::vector<std::pair<const char*, Text>> ResumeValues(const ResumeState& state) {
  std::vector<std::pair<const char*, Text>> values;
  // An empty list leaves nothing selected: the key is cleared, not left pointing at a song.
  values.emplace_back(kSelectedSongKey,
                      state.songPath ? std::to_string(state.songHint + 1) + "|" + *state.songPath : Text());
  values.emplace_back(kPositionKey, std::to_string(state.positionSeconds));
  if (state.playerVolume) values.emplace_back(kPlayerVolumeKey, std::to_string(*state.playerVolume));
  if (state.boardVolume) values.emplace_back(kBoardVolumeKey, std::to_string(*state.boardVolume));
  if (state.order) values.emplace_back(kPlayOrderKey, std::to_string(static_cast<int>(*state.order)));
  if (state.boardOpen) values.emplace_back(kBoardOpenKey, *state.boardOpen ? "1" : "0");
  return values;
}

int FindRememberedSong(const ResumeState& state, const Array<Text>& songs) {
  if (!state.songPath) return -1;
  if (state.songHint >= 0 && state.songHint < songs.Count() && songs.At(state.songHint + 1) == *state.songPath)
    return state.songHint;
  for (int i = 0; i < songs.Count(); ++i)
    if (songs.At(i + 1) == *state.songPath) return i;
  return -1;
}

}  // namespace tovel
