#include <windows.h>

#include "app/board_hot_keys.h"
#include "app/board_menu.h"
#include "app/board_tips.h"
#include "app/clips.h"
#include "app/com_session.h"
#include "app/desk.h"
#include "app/play_order_win.h"
#include "app/playback.h"
#include "app/player_state.h"
#include "app/resume_win.h"
#include "app/skin_setup.h"
#include "app/small_commands.h"
#include "app/song_list.h"
#include "app/song_list_rules.h"
#include "app/song_list_win.h"
#include "app/song_search_win.h"
#include "app/sound_board.h"
#include "app/startup.h"
#include "base/handle.h"
#include "base/library_search.h"
#include "runtime/controls.h"
#include "runtime/mci_channel.h"
#include "runtime/message_box.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tovel;
  RestrictLibrarySearch();
  InstallFatalMessageBox();
  // COM starts when something first needs it. First in, last out: it ends only after
  // every media device has closed.
  const ScopeExit endCom([] { EndCom(); });
  InitialiseSkin();

  Runtime& rt = Runtime::Get();
  PlayerState state;
  MediaPlayControl playerMedia(PlatformMci(), NewMediaAlias);
  Playback playback(rt, playerMedia, state);
  SoundBoard board(rt, PlatformMci(), DefaultClipFolder(), ConfigFilePath());
  board.OnDucking([&playback](bool duck) { playback.SetDucked(duck); });
  SongSearch search(rt, state, playback);
  bool restored = false;  // only a run that took the state over stores it again

  rt.Bind(HandlerKey::PlayerStartup, [&] {
    OnPlayerStartup([&] {
      LoadStoredSongList(rt, state);
      PrepareSearchField(rt, search);
    });
    // A second start closed the window again: it leaves the board and the file alone.
    if (!rt.IsLoaded(kPlayerWindowId)) return;
    RestorePlayState(rt, state, playback, board);
    AddPlayOrderButton(rt, state);
    restored = true;
  });
  rt.Bind(HandlerKey::PlayerRememberState, [&] {
    if (restored) RememberPlayState(rt, state, playback, board);
  });
  BindPlayOrderHandlers(rt, state);
  BindSongListHandlers(rt, state);
  BindPlaybackHandlers(rt, playback);
  BindSmallCommands(rt, state);
  BindSoundBoardHandlers(rt, board);
  BindSongSearch(rt, search);
  // Declared after the board: its keys are given back before the board goes.
  BoardHotKeys hotKeys(board);
  BindBoardWindowHandlers(rt, board, hotKeys);
  BoardTips tips(rt);
  board.OnPadShown([&tips](int pad, const Text& text) { tips.Show(pad, text); });

  // Its shell objects are let go before COM ends.
  Desk desk(rt, DeskParts{&ShellNotifyArea(), MakeShellTaskbarList, ConfigFilePath(),
                          [&] { return ShownSongName(playerMedia.fileName(), state.titles); }});
  int code = 0;
  if (rt.LoadForm(PlayerForm())) {
    // Once the player shows, so a message about keys that could not be had comes after it;
    // not in a second start, whose player has closed again.
    if (rt.IsLoaded(kPlayerWindowId)) hotKeys.RegisterStored();
    desk.Attach();
    code = rt.RunMessageLoop(kPlayerWindowId);
  }
  return code;
}
