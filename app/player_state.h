#pragma once

#include <optional>

#include "app/list_rows.h"
#include "app/play_order.h"
#include "app/song_titles.h"
#include "base/value.h"

namespace tovel {

// The player's transport state, with the numbers the design stores for it.
enum class PlayState { Idle = 0, Playing = 1, Paused = 2 };

// What the player is doing, as the tick and the play button test it: "播放", "暂停",
// "清空" (the list was cleared), "文件已经不存在" (a start with an empty list), or "".
enum class StatusWord { None, Playing, Paused, Cleared, NoFile };

// The player window's data, shared by the song-list and playback handlers.
struct PlayerState {
  // Song list.
  Array<Text> songList;  // full paths, in the list box's order
  int listModified = 0;  // 1 once an entry was removed; read at exit
  Text listExportText;

  // Playback.
  PlayState playState = PlayState::Idle;
  StatusWord statusWord = StatusWord::None;
  int elapsedMinutes = 0;
  int elapsedSeconds = 0;
  int sliderMark = 0;
  int songLengthSeconds = 0;

  // Find as you type.
  std::optional<Text> search;  // what the search field holds while it is shown
  ListRows rows;               // the song each row of the list box shows
  int pickedSong = -1;         // picked while no row showed it (a step during a search)
  int songBeforeSearch = -1;   // selected when the search opened, kept if none is chosen in it
  // Play order, and the song that plays or is paused (0-based; -1 when idle).
  PlayOrderModel order;
  int currentSong = -1;
  // Where the last run left off: the first start of that song begins there.
  struct ResumePoint {
    int song = -1;
    Text path;
    int seconds = 0;
  };
  std::optional<ResumePoint> resume;
  // Names shown in the list: file names, or titles from the songs' tags.
  SongTitles titles;
};

}  // namespace tovel
