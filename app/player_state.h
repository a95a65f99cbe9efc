#pragma once

#include "base/value.h"

namespace tovel {

// The player window's data, shared by the song-list and playback handlers.
struct PlayerState {
  // Song list.
  Array<Text> songList;  // full paths, in the list box's order
  int listModified = 0;  // 1 once an entry was removed; read at exit
  Text listExportText;

  // Playback.
  int playState = 0;  // 0 idle, 1 playing, 2 paused
  Text statusWord;    // "播放", "暂停", "清空", "文件已经不存在" or ""
  int elapsedMinutes = 0;
  int elapsedSeconds = 0;
  int sliderMark = 0;
  int songLengthSeconds = 0;
};

inline constexpr char kStatusPlaying[] = "播放";
inline constexpr char kStatusPaused[] = "暂停";
inline constexpr char kStatusCleared[] = "清空";
inline constexpr char kStatusNoFile[] = "文件已经不存在";

}  // namespace tovel
