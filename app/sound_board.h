#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/board_settings.h"
#include "runtime/control_access.h"
#include "runtime/media.h"

namespace tovel {

class Runtime;

inline constexpr int kPadCount = kBoardPads;

// Shown in the volume label when a pad's own file has gone.
inline constexpr char kMissingClipText[] = "找不到声音文件：";

// Where one pad's clip is in its life. Stopped keeps the device, so "继续" plays it again.
enum class PadState { Idle, Playing, Paused, Stopped };

// The sound-effects window: opening and docking it below the player, its clips,
// transport and volume. Each pad plays on a device of its own, so clips overlap; the
// devices live at most as long as the window.
class SoundBoard {
 public:
  // `windows` is how the board reaches its window and controls (the runtime, or a
  // stand-in in tests); `clipFolder` ends with a separator; the pads' own choices are kept
  // in `configPath` (nowhere when empty).
  SoundBoard(FormAccess& windows, MciChannel& mci, std::wstring clipFolder, std::wstring configPath = {});
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
  // Gives back the devices whose clips have ended; the board's timer runs it while a clip plays.
  void Poll();

  // A pad's own sound file, kept; the built-in clip back; the pads' captions from the choices.
  void ChooseFile(int number, const std::wstring& file);
  void RestoreBuiltIn(int number);
  void ShowCaptions();
  BoardSettings& settings() { return settings_; }
  const BoardSettings& settings() const { return settings_; }

  // Told true when the song should be turned down (the option is on and a clip sounds)
  // and false when it should come back.
  void OnDucking(std::function<void(bool)> fn) { onDucking_ = std::move(fn); }
  void SetDuckingOption(bool on);
  // Told each pad's tip text whenever its caption is set, and pad 0 when the window goes.
  void OnPadShown(std::function<void(int, const Text&)> fn) { onPadShown_ = std::move(fn); }
  bool Sounding() const;

  // Pad `number`'s device while the window exists, else null.
  MediaPlayControl* pad(int number) const;
  PadState padState(int number) const;
  const std::wstring& clipFolder() const { return clipFolder_; }

  bool IsOpen() const { return windows_.IsLoaded(kBoardWindowId); }
  // The slider's volume, kept when the window closes and given to it when it opens again.
  int KeptVolume() const { return volume_; }
  void SetVolume(int volume);
  // Whether the window was open when the player closed and took it along.
  bool WasOpenAtExit() const { return openAtExit_; }

 private:
  struct Pad {
    std::unique_ptr<MediaPlayControl> device;
    PadState state = PadState::Idle;
  };

  int SliderVolume() const;
  std::wstring ClipPath(int number);
  void ShowCaption(int number);
  void ReleasePads();
  void SetPolling(bool on);
  void ReportDucking();

  FormAccess& windows_;
  MciChannel& mci_;
  std::wstring clipFolder_;
  BoardSettings settings_;
  std::array<Pad, kPadCount> pads_;
  std::function<void(bool)> onDucking_;
  std::function<void(int, const Text&)> onPadShown_;
  bool reportedDucking_ = false;
  int volume_ = 100;
  bool openAtExit_ = false;
};

void BindSoundBoardHandlers(Runtime& rt, SoundBoard& board);

// A file's name without its extension, cut with "…" to fit a pad: a CJK character counts
// two units, any other one; the pads are scaled with their font, so units fit at any scale.
std::wstring PadCaption(std::wstring_view path, int units = 11);

}  // namespace tovel
