#include "app/playback.h"
#include "runtime/controls.h"

namespace tovel {

void BindPlaybackHandlers(Runtime& rt, Playback& playback) {
  rt.Bind(HandlerKey::PlayButton, [&playback] { playback.PlayButton(); });
  rt.Bind(HandlerKey::PlaySelectedOnDoubleClick, [&playback] { playback.PlaySelectedOnDoubleClick(); });
  rt.Bind(HandlerKey::StopSong, [&playback] { playback.Stop(); });
  rt.Bind(HandlerKey::NextSong, [&playback] { playback.Next(); });
  rt.Bind(HandlerKey::PreviousSong, [&playback] { playback.Previous(); });
  rt.Bind(HandlerKey::SongTick, [&playback] { playback.Tick(); });
  rt.Bind(HandlerKey::Seek, [&playback] { playback.Seek(); });
  rt.Bind(HandlerKey::SongVolume, [&playback] { playback.Volume(); });
}

}  // namespace tovel
