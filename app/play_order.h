#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

#include "base/value.h"

namespace tovel {

// How the player goes on from one song to the next; stored by its number.
enum class PlayOrder { InOrder = 0, RepeatList = 1, RepeatOne = 2, Shuffle = 3 };

inline constexpr int kPlayOrderCount = 4;

// The mode's name as the caption button's tip and the menu show it.
const char* PlayOrderName(PlayOrder order);
// The mode one click of the caption button moves on to.
PlayOrder FollowingPlayOrder(PlayOrder order);
// A stored number back to the mode; anything else is no mode.
std::optional<PlayOrder> PlayOrderFromNumber(std::string_view text);

// Why the player moves on: the user stepped, or the song came to its end.
enum class Advance { UserStep, SongEnded };

// Which song comes next or before, given the mode, the list and what was played.
// Songs are 0-based positions in the list; the list is given as its paths, so songs
// keep their place in a shuffled cycle across additions and removals.
class PlayOrderModel {
 public:
  explicit PlayOrderModel(std::uint32_t seed = std::random_device{}()) : random_(seed) {}

  PlayOrder mode() const { return mode_; }
  // Turning shuffle on starts a new cycle in which only the current song counts as played.
  void SetMode(PlayOrder mode);

  // The list as it is now. Songs still there keep their shuffled order and history;
  // removed ones drop out; new ones join the not-yet-played part at random places.
  void Sync(const std::vector<Text>& songs);

  // The song after `current` (-1: none); nothing when the list is empty, or when the
  // last song ended in order.
  std::optional<int> Next(int current, Advance why);
  // The song before `current`; in shuffle, the one played before it.
  std::optional<int> Previous(int current);
  // A song started by other means (a double-click, the play button): it counts as
  // played in this cycle and joins the history.
  void Played(int song);

 private:
  int Count() const { return static_cast<int>(known_.size()); }
  std::optional<int> NextShuffled(int current);
  void NewCycle(int current);
  void MarkPlayed(int song);
  void Remember(int song);

  PlayOrder mode_ = PlayOrder::InOrder;
  std::mt19937 random_;
  std::vector<Text> known_;
  std::vector<int> cycle_;      // the shuffled order; the first `played_` were played
  size_t played_ = 0;
  std::vector<int> history_;    // songs in the order they played
  size_t historyAt_ = 0;        // where in the history the current song is
};

}  // namespace tovel
