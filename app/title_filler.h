#pragma once

#include <windows.h>

#include "app/player_state.h"
#include "app/song_list.h"
#include "app/title_worker.h"
#include "base/handle.h"

namespace tovel {

class Runtime;

inline constexpr char kPlayStateSection[] = "播放状态";
inline constexpr char kTagTitlesKey[] = "标签标题";

// Tag titles in the player's list: the switch in the list's menu (remembered in the
// configuration file), a worker that reads the songs' tags, and a message-only window
// through which its results come back to this thread to fill the rows in.
class TitleFiller {
 public:
  TitleFiller(Runtime& rt, PlayerState& state, SongListHandlers& handlers, TagReader read);
  ~TitleFiller() { worker_.Stop(); }
  TitleFiller(const TitleFiller&) = delete;
  TitleFiller& operator=(const TitleFiller&) = delete;

  // The menu item: file names <-> tag titles.
  void Toggle();
  // The menu's check mark as the switch stands; the menu exists once the window does.
  void ShowCheck();
  // Ends the worker; the rows keep what they show.
  void Stop() { worker_.Stop(); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void OnResultsWaiting();

  Runtime& rt_;
  PlayerState& state_;
  SongListHandlers& handlers_;
  UniqueWindow window_;
  TitleWorker worker_;  // after the window: it ends before the window goes
};

}  // namespace tovel
