#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "app/play_order.h"
#include "base/value.h"

namespace tovel {

inline constexpr char kResumeSection[] = "播放状态";
inline constexpr char kSelectedSongKey[] = "选中歌曲";  // "<1-based position>|<path>"
inline constexpr char kPositionKey[] = "播放位置";      // seconds into that song
inline constexpr char kPlayerVolumeKey[] = "播放音量";
inline constexpr char kBoardVolumeKey[] = "音效音量";
inline constexpr char kPlayOrderKey[] = "播放顺序";
inline constexpr char kBoardOpenKey[] = "音效窗口";     // 1 when the board was open

// Where the user left off. Every part is on its own: a damaged or missing value is
// simply not there, and the rest still counts.
struct ResumeState {
  std::optional<Text> songPath;
  int songHint = -1;  // 0-based position the song had
  int positionSeconds = 0;
  std::optional<int> playerVolume;
  std::optional<int> boardVolume;
  std::optional<PlayOrder> order;
  std::optional<bool> boardOpen;
};

using ReadStoredValue = std::function<std::optional<Text>(std::string_view key)>;

ResumeState ParseResumeState(const ReadStoredValue& read);
// The keys and values to store, in a fixed order.
std::vector<std::pair<const char*, Text>> ResumeValues(const ResumeState& state);

// The song's position in `songs` (paths, in list order): at its old place if it is still
// there, else its first place; -1 when it is gone.
int FindRememberedSong(const ResumeState& state, const Array<Text>& songs);

}  // namespace tovel
