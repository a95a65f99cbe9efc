#include "app/sound_board.h"


#include <utility>

#include "app/clips.h"
#include "app/skin_setup.h"
#include "runtime/jpeg_picture.h"
#include "runtime/mci_channel.h"
#include "base/text.h"

namespace tovel {

SoundBoard::SoundBoard(Runtime& rt, ControlAccess& ui, MciChannel& mci, std::wstring clipFolder)
    : rt_(rt), ui_(ui), mci_(mci), clipFolder_(std::move(clipFolder)) {}

// A second click only raises the window that is already there.
void SoundBoard::Open() {
  if (rt_.IsLoaded(kBoardWindowId)) {
    BringToFront();
    return;
  }
  media_ = std::make_unique<MediaPlayControl>(mci_, NewMediaAlias());
  appliedVolume_.reset();
  appliedOpenCount_ = 0;
  HWND board = rt_.LoadForm(SoundBoardForm());
  if (!board) {
    media_.reset();
    return;
  }
  // The form has no "destroyed" event of its own; the device must close with the window.
  rt_.OnFormDestroyed(kBoardWindowId, [this] { OnWindowDestroyed(); });
  Dock();
}

// The player's "moved" event comes at creation and after the board was closed: nothing to place then.
void SoundBoard::Dock() {
  if (!rt_.IsLoaded(kBoardWindowId)) return;
  const int left = ui_.GetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Left);
  const int top = ui_.GetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Top) +
                  ui_.GetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Height);
  ui_.SetInt(kBoardWindowId, kBoardWindowControl, Prop::Left, left);
  ui_.SetInt(kBoardWindowId, kBoardWindowControl, Prop::Top, top);
}

// The board wears the same skin as the player; attaching repaints the player once.
void SoundBoard::OnCreated() { AttachSkin(rt_.WindowHandle(kBoardWindowId)); }

void SoundBoard::PlayClip(int number) {
  if (!media_ || number < 1 || number > static_cast<int>(Clips().size())) return;
  const Clip& clip = Clips()[static_cast<size_t>(number - 1)];
  const std::wstring path = clipFolder_ + Widen(clip.label);
  // A file that cannot be made right is not played: it could hold anything.
  if (!EnsureClipFile(path, ResourceBytes(clip.resource))) return;
  // Opening closes the previous file, so a clip clicked again starts from its beginning.
  if (!media_->Open(Narrow(path))) return;
  ApplyVolume(SliderVolume());
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

void SoundBoard::Volume() {
  const int volume = SliderVolume();
  ui_.SetText(kBoardWindowId, board::kVolumeLabel, Prop::TypeSpecific, "音量:" + std::to_string(volume));
  if (media_) ApplyVolume(volume);
}

// Every 10 ms: only a new file or a new slider position is worth a command to the device.
void SoundBoard::ReapplyVolume() {
  if (!media_ || media_->openCount() == 0) return;
  const int volume = SliderVolume();
  if (appliedVolume_ == volume && appliedOpenCount_ == media_->openCount()) return;
  ApplyVolume(volume);
}

void SoundBoard::ApplyVolume(int volume) {
  media_->SetVolume(volume, volume);
  appliedVolume_ = volume;
  appliedOpenCount_ = media_->openCount();
}

int SoundBoard::SliderVolume() const {
  return ui_.GetInt(kBoardWindowId, board::kVolumeSlider, Prop::SliderPosition);
}

void SoundBoard::BringToFront() {
  HWND board = rt_.WindowHandle(kBoardWindowId);
  if (!board) return;
  if (::IsIconic(board)) ::ShowWindow(board, SW_RESTORE);
  ::SetWindowPos(board, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  ::SetForegroundWindow(board);
}

void SoundBoard::OnWindowDestroyed() {
  media_.reset();  // closes the board's device; the player's is another one
  appliedVolume_.reset();
  appliedOpenCount_ = 0;
}

void BindSoundBoardHandlers(Runtime& rt, SoundBoard& board) {
  rt.Bind(HandlerKey::OpenSoundBoard, [&board] { board.Open(); });
  rt.Bind(HandlerKey::PlayerMoved, [&board] { board.Dock(); });
  rt.Bind(HandlerKey::BoardCreated, [&board] { board.OnCreated(); });
  for (int n = 1; n <= 12; ++n) {
    const auto key = static_cast<HandlerKey>(static_cast<int>(HandlerKey::PlayClip1) + n - 1);
    rt.Bind(key, [&board, n] { board.PlayClip(n); });
  }
  rt.Bind(HandlerKey::BoardPause, [&board] { board.PauseResume(); });
  rt.Bind(HandlerKey::BoardContinue, [&board] { board.Continue(); });
  rt.Bind(HandlerKey::BoardStop, [&board] { board.Stop(); });
  rt.Bind(HandlerKey::BoardVolume, [&board] { board.Volume(); });
  rt.Bind(HandlerKey::BoardReapplyVolume, [&board] { board.ReapplyVolume(); });
}

void BindSoundBoardHandlers(Runtime& rt) {
  static SoundBoard board(rt, rt, PlatformMci(), DefaultClipFolder());
  BindSoundBoardHandlers(rt, board);
}

}  // namespace tovel
