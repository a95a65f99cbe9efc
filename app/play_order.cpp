#include "app/play_order.h"

#include <algorithm>
#include <map>

namespace tovel {
namespace {

// Long enough to step back through any evening; bounded so it cannot grow without end.
constexpr size_t kHistoryLimit = 1000;

int Wrapped(int index, int count) { return (index % count + count) % count; }

// Each old position's new one (-1: removed); equal paths pair up in their order.
std::vector<int> NewPlaces(const std::vector<Text>& before, const std::vector<Text>& after) {
  std::map<Text, std::vector<int>> places;
  for (int i = 0; i < static_cast<int>(after.size()); ++i) places[after[static_cast<size_t>(i)]].push_back(i);
  std::map<Text, size_t> taken;
  std::vector<int> moved;
  moved.reserve(before.size());
  for (const Text& path : before) {
    const std::vector<int>& free = places[path];
    const size_t k = taken[path]++;
    moved.push_back(k < free.size() ? free[k] : -1);
  }
  return moved;
}

// Keeps the entries still there, renumbered; returns how many of the first `mark` stayed.
size_t Renumber(std::vector<int>& songs, const std::vector<int>& moved, size_t mark) {
  std::vector<int> kept;
  size_t keptBeforeMark = 0;
  for (size_t i = 0; i < songs.size(); ++i) {
    const int to = moved[static_cast<size_t>(songs[i])];
    if (to < 0) continue;
    kept.push_back(to);
    if (i < mark) ++keptBeforeMark;
  }
  songs = std::move(kept);
  return keptBeforeMark;
}

}  // namespace

const char* PlayOrderName(PlayOrder order) {
  switch (order) {
    case PlayOrder::InOrder: return "顺序播放";
    case PlayOrder::RepeatList: return "列表循环";
    case PlayOrder::RepeatOne: return "单曲循环";
    case PlayOrder::Shuffle: return "随机播放";
  }
  return "";
}

PlayOrder FollowingPlayOrder(PlayOrder order) {
  return static_cast<PlayOrder>((static_cast<int>(order) + 1) % kPlayOrderCount);
}

std::optional<PlayOrder> PlayOrderFromNumber(std::string_view text) {
  if (text.size() != 1 || text[0] < '0' || text[0] >= '0' + kPlayOrderCount) return std::nullopt;
  return static_cast<PlayOrder>(text[0] - '0');
}

void PlayOrderModel::SetMode(PlayOrder mode) {
  const bool startShuffling = mode == PlayOrder::Shuffle && mode_ != PlayOrder::Shuffle;
  mode_ = mode;
  if (!startShuffling) return;
  NewCycle(-1);
  if (historyAt_ < history_.size()) MarkPlayed(history_[historyAt_]);
}

void PlayOrderModel::Sync(const std::vector<Text>& songs) {
  if (songs == known_) return;
  const std::vector<int> moved = NewPlaces(known_, songs);
  played_ = Renumber(cycle_, moved, played_);
  const size_t historyKept = Renumber(history_, moved, historyAt_ + 1);
  historyAt_ = historyKept > 0 ? historyKept - 1 : 0;
  std::vector<bool> present(songs.size(), false);
  for (int to : moved)
    if (to >= 0) present[static_cast<size_t>(to)] = true;
  known_ = songs;
  for (int song = 0; song < Count(); ++song) {
    if (present[static_cast<size_t>(song)]) continue;
    std::uniform_int_distribution<size_t> place(played_, cycle_.size());
    cycle_.insert(cycle_.begin() + static_cast<std::ptrdiff_t>(place(random_)), song);
  }
}

std::optional<int> PlayOrderModel::Next(int current, Advance why) {
  if (Count() == 0) return std::nullopt;
  if (mode_ == PlayOrder::Shuffle) return NextShuffled(current);
  if (mode_ == PlayOrder::RepeatOne && why == Advance::SongEnded && current >= 0 && current < Count())
    return current;
  // In order ends with the last song; the buttons still go round, as they always have.
  if (mode_ == PlayOrder::InOrder && why == Advance::SongEnded && current >= Count() - 1) return std::nullopt;
  return Wrapped(current + 1, Count());
}

std::optional<int> PlayOrderModel::Previous(int current) {
  if (Count() == 0) return std::nullopt;
  if (mode_ != PlayOrder::Shuffle) return Wrapped(current - 1, Count());
  if (historyAt_ > 0 && historyAt_ < history_.size()) return history_[--historyAt_];
  // Nothing played before: the song starts again.
  return current >= 0 && current < Count() ? current : 0;
}

void PlayOrderModel::Played(int song) {
  if (song < 0 || song >= Count()) return;
  if (historyAt_ < history_.size() && history_[historyAt_] == song) return;
  MarkPlayed(song);
  Remember(song);
}

// Forward through songs stepped back over first, then on through the cycle.
std::optional<int> PlayOrderModel::NextShuffled(int current) {
  if (historyAt_ + 1 < history_.size()) return history_[++historyAt_];
  if (played_ >= cycle_.size()) NewCycle(current);
  const int song = cycle_[played_++];
  Remember(song);
  return song;
}

// A new cycle does not start with the song that just played, when there is another.
void PlayOrderModel::NewCycle(int current) {
  cycle_.resize(known_.size());
  for (int i = 0; i < Count(); ++i) cycle_[static_cast<size_t>(i)] = i;
  std::shuffle(cycle_.begin(), cycle_.end(), random_);
  if (cycle_.size() > 1 && cycle_.front() == current) std::swap(cycle_.front(), cycle_.back());
  played_ = 0;
}

void PlayOrderModel::MarkPlayed(int song) {
  const auto from = cycle_.begin() + static_cast<std::ptrdiff_t>(played_);
  const auto it = std::find(from, cycle_.end(), song);
  if (it == cycle_.end()) return;  // already played in this cycle
  std::rotate(from, it, it + 1);
  ++played_;
}

void PlayOrderModel::Remember(int song) {
  if (!history_.empty()) history_.resize(std::min(historyAt_ + 1, history_.size()));
  history_.push_back(song);
  if (history_.size() > kHistoryLimit) history_.erase(history_.begin());
  historyAt_ = history_.size() - 1;
}

}  // namespace tovel
