#pragma once

#include <memory>
#include <string>

#include "runtime/control_access.h"
#include "runtime/media.h"

namespace tovel {

class Runtime;

// The sound-effects window: opening and docking it below the player, its clips,
// transport and volume. Its media-play control lives exactly as long as its window.
class SoundBoard {
 public:
  // `windows` is how the board reaches its window and controls (the runtime, or a
  // stand-in in tests); `clipFolder` ends with a separator.
  SoundBoard(FormAccess& windows, MciChannel& mci, std::wstring clipFolder);
  SoundBoard(const SoundBoard&) = delete;
  SoundBoard& operator=(const SoundBoard&) = delete;

  // Loads the window; a second call raises the one that is there.
  void Open();
  // Below the player, sharing its left edge; bound to the board's "created" event, which
  // runs before the window is shown, and to the player's "moved" event.
  void Dock();
  void PlayClip(int number);  // 1..12, in button order
  void PauseResume();
  void Continue();
  void Stop();
  void Volume();

  // The board's device while its window exists, else null.
  MediaPlayControl* media() const { return media_.get(); }
  const std::wstring& clipFolder() const { return clipFolder_; }

  bool IsOpen() const { return windows_.IsLoaded(kBoardWindowId); }
  // The slider's volume, kept when the window closes and given to it when it opens again.
  int Volume() const { return volume_; }
  void SetVolume(int volume);
  // Whether the window was open when the player closed and took it along.
  bool WasOpenAtExit() const { return openAtExit_; }

 private:
  int SliderVolume() const;

  FormAccess& windows_;
  MciChannel& mci_;
  std::wstring clipFolder_;
  std::unique_ptr<MediaPlayControl> media_;
  int volume_ = 100;
  bool openAtExit_ = false;
};

void BindSoundBoardHandlers(Runtime& rt, SoundBoard& board);

}  // namespace tovel
