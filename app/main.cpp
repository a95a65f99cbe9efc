#include <windows.h>
#include <ole2.h>

#include "app/clips.h"
#include "app/playback.h"
#include "app/player_state.h"
#include "app/small_commands.h"
#include "app/song_list.h"
#include "app/sound_board.h"
#include "app/startup.h"
#include "base/handle.h"
#include "runtime/controls.h"
#include "runtime/mci_channel.h"
#include "runtime/message_box.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tovel;
  InstallFatalMessageBox();
  // The folder browser and the shell need COM on this thread. First in, last out:
  // it goes only after every media device has closed.
  const HRESULT ole = ::OleInitialize(nullptr);
  const ScopeExit uninitialize([ole] {
    if (SUCCEEDED(ole)) ::OleUninitialize();
  });

  Runtime& rt = Runtime::Get();
  PlayerState state;
  MediaPlayControl playerMedia(PlatformMci(), NewMediaAlias());
  Playback playback(rt, playerMedia, state);
  SoundBoard board(rt, PlatformMci(), DefaultClipFolder());

  rt.Bind(HandlerKey::PlayerStartup, [&] { OnPlayerStartup([&] { LoadStoredSongList(rt, state); }); });
  BindSongListHandlers(rt, state);
  BindPlaybackHandlers(rt, playback);
  BindSmallCommands(rt, state);
  BindSoundBoardHandlers(rt, board);

  int code = 0;
  if (rt.LoadForm(PlayerForm())) code = rt.RunMessageLoop(kPlayerWindowId);
  return code;
}
