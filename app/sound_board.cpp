#include "app/sound_board.h"

#include <utility>

#include "app/clips.h"
#include "app/skin_setup.h"
#include "base/text.h"
#include "runtime/controls.h"
#include "base/jpeg_picture.h"
#include "runtime/mci_channel.h"

namespace tovel {

SoundBoard::SoundBoard(FormAccess& windows, MciChannel& mci, std::wstring clipFolder)
    : windows_(windows), mci_(mci), clipFolder_(std::move(clipFolder)) {}

// A second click only raises the window that is already there.
void SoundBoard::Open() {
  if (windows_.IsLoaded(kBoardWindowId)) {
    windows_.BringToFront(kBoardWindowId);
    return;
  }
  media_ = std::make_unique<MediaPlayControl>(mci_, NewMediaAlias());
  if (!windows_.OpenForm(SoundBoardForm())) {
    media_.reset();
    return;
  }
  // The form has no "destroyed" event of its own; the device must close with the window.
  // Docking is done by its "created" handler, before the window is first shown.
  windows_.OnFormDestroyed(kBoardWindowId, [this] {
    media_.reset();
    // The player hides before it is destroyed and takes the board along: closed by the user,
    // the board goes while the player is still shown.
    openAtExit_ = !::IsWindowVisible(Runtime::Get().WindowHandle(kPlayerWindowId));
  });
  if (volume_ != SliderVolume()) SetVolume(volume_);
}

void SoundBoard::SetVolume(int volume) {
  volume_ = volume;
  if (!IsOpen()) return;
  windows_.SetInt(kBoardWindowId, board::kVolumeSlider, Prop::SliderPosition, volume);
  Volume();
}

// The player's "moved" event comes at its creation and after the board was closed: nothing to place then.
void SoundBoard::Dock() {
  if (!windows_.IsLoaded(kBoardWindowId)) return;
  const int left = windows_.GetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Left);
  const int top = windows_.GetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Top) +
                  windows_.GetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Height);
  // A place already right is not set again: a change of DPI both moves and resizes the
  // player, and each raises "moved".
  if (windows_.GetInt(kBoardWindowId, kBoardWindowControl, Prop::Left) != left)
    windows_.SetInt(kBoardWindowId, kBoardWindowControl, Prop::Left, left);
  if (windows_.GetInt(kBoardWindowId, kBoardWindowControl, Prop::Top) != top)
    windows_.SetInt(kBoardWindowId, kBoardWindowControl, Prop::Top, top);
}


void SoundBoard::PlayClip(int number) {
  if (!media_ || number < 1 || number > static_cast<int>(Clips().size())) return;
  const Clip& clip = Clips()[static_cast<size_t>(number - 1)];
  const std::wstring path = clipFolder_ + Widen(clip.label);
  // A file that cannot be made right is not played: it could hold anything.
  if (!EnsureClipFile(path, ResourceBytes(clip.resource))) return;
  // Opening closes the previous file, so a clip clicked again starts from its beginning;
  // the new file gets the slider's volume before a sound of it is heard.
  if (!media_->Open(Narrow(path))) return;
  const int volume = SliderVolume();
  media_->SetVolume(volume, volume);
  media_->Play(-1);
}

void SoundBoard::PauseResume() {
  if (media_) media_->PauseResume();
}

void SoundBoard::Continue() {
  if (media_) media_->Play(-1);
}

void SoundBoard::Stop() {
  if (media_) media_->Stop();
}

// Every move of the slider, and every clip opened, sends the volume: nothing else changes it,
// so the form's 10 ms re-apply timer is left unbound and wakes nobody.
void SoundBoard::Volume() {
  const int volume = SliderVolume();
  volume_ = volume;
  windows_.SetText(kBoardWindowId, board::kVolumeLabel, Prop::TypeSpecific, "音量:" + std::to_string(volume));
  if (media_) media_->SetVolume(volume, volume);
}

int SoundBoard::SliderVolume() const {
  return windows_.GetInt(kBoardWindowId, board::kVolumeSlider, Prop::SliderPosition);
}

void BindSoundBoardHandlers(Runtime& rt, SoundBoard& board) {
  rt.Bind(HandlerKey::OpenSoundBoard, [&board] { board.Open(); });
  rt.Bind(HandlerKey::PlayerMoved, [&board] { board.Dock(); });
  // "created" runs while the window is still hidden: docked now, its very first frame is
  // below the player, not at the form's place over it. It wears the same skin as the player;
  // attaching repaints the player once.
  rt.Bind(HandlerKey::BoardCreated, [&rt, &board] {
    board.Dock();
    AttachSkin(rt.WindowHandle(kBoardWindowId));
  });
  for (int n = 1; n <= 12; ++n) {
    const auto key = static_cast<HandlerKey>(static_cast<int>(HandlerKey::PlayClip1) + n - 1);
    rt.Bind(key, [&board, n] { board.PlayClip(n); });
  }
  rt.Bind(HandlerKey::BoardPause, [&board] { board.PauseResume(); });
  rt.Bind(HandlerKey::BoardContinue, [&board] { board.Continue(); });
  rt.Bind(HandlerKey::BoardStop, [&board] { board.Stop(); });
  rt.Bind(HandlerKey::BoardVolume, [&board] { board.Volume(); });
}

}  // namespace tovel
