#include <windows.h>
#include <ole2.h>

#include "app/playback.h"
#include "app/player_state.h"
#include "app/skin_setup.h"
#include "app/small_commands.h"
#include "app/song_list.h"
#include "app/sound_board.h"
#include "app/startup.h"
#include "runtime/controls.h"
#include "runtime/mci_channel.h"
#include "runtime/message_box.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tovel;
  InstallFatalMessageBox();
  // The folder browser and the shell need COM on this thread.
  const HRESULT ole = ::OleInitialize(nullptr);
  InitialiseSkin();

  Runtime& rt = Runtime::Get();
  PlayerState state;
  MediaPlayControl playerMedia(PlatformMci(), NewMediaAlias());
  Playback playback(rt, playerMedia, state);

  rt.Bind(HandlerKey::PlayerStartup, [&] { OnPlayerStartup([&] { LoadStoredSongList(rt, state); }); });
  BindSongListHandlers(rt, state);
  BindPlaybackHandlers(rt, playback);
  BindSmallCommands(rt, state);
  BindSoundBoardHandlers(rt);

  int code = 0;
  if (rt.LoadForm(PlayerForm())) code = rt.RunMessageLoop(kPlayerWindowId);
  if (SUCCEEDED(ole)) ::OleUninitialize();
  return code;
}
