#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/controls.h"
#include "runtime/media.h"

namespace tovel {

// The sound-effects window: opening and docking it below the player, its clips,
// transport and volume. Its media-play control lives exactly as long as its window.
class SoundBoard {
 public:
  // `ui` is how the handlers read and write controls (the runtime itself, or a
  // recorder around it in tests); `clipFolder` ends with a separator.
  SoundBoard(Runtime& rt, ControlAccess& ui, MciChannel& mci, std::wstring clipFolder);
  SoundBoard(const SoundBoard&) = delete;
  SoundBoard& operator=(const SoundBoard&) = delete;

  void Open();
  void Dock();
  void OnCreated();
  void PlayClip(int number);  // 1..12, in button order
  void PauseResume();
  void Continue();
  void Stop();
  void Volume();
  void ReapplyVolume();

  // The board's device while its window exists, else null.
  MediaPlayControl* media() const { return media_.get(); }
  const std::wstring& clipFolder() const { return clipFolder_; }

 private:
  void OnWindowDestroyed();
  void BringToFront();
  int SliderVolume() const;
  void ApplyVolume(int volume);

  Runtime& rt_;
  ControlAccess& ui_;
  MciChannel& mci_;
  std::wstring clipFolder_;
  std::unique_ptr<MediaPlayControl> media_;
  // What the device last got, so the 10 ms tick sends nothing while both stay the same.
  std::optional<int> appliedVolume_;
  std::uint64_t appliedOpenCount_ = 0;
};

void BindSoundBoardHandlers(Runtime& rt, SoundBoard& board);

// The program's board: the platform's MCI and the clip folder under the user's temporary folder.
void BindSoundBoardHandlers(Runtime& rt);

}  // namespace tovel
