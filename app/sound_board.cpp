#include "app/sound_board.h"

#include <utility>

#include <windows.h>

#include "app/board_tips.h"
#include "app/clips.h"
#include "app/skin_setup.h"
#include "base/text.h"
#include "runtime/controls.h"
#include "base/jpeg_picture.h"
#include "runtime/mci_channel.h"

namespace tovel {

SoundBoard::SoundBoard(FormAccess& windows, MciChannel& mci, std::wstring clipFolder, std::wstring configPath)
    : windows_(windows), mci_(mci), clipFolder_(std::move(clipFolder)), settings_(std::move(configPath)) {
  settings_.Load();
}

namespace {
// Often enough that a clip's end is noticed well within half a second.
constexpr int kPollPeriodMs = 150;
}  // namespace

// A second click only raises the window that is already there.
void SoundBoard::Open() {
  if (windows_.IsLoaded(kBoardWindowId)) {
    windows_.BringToFront(kBoardWindowId);
    return;
  }
  // Aliases are made at a pad's first command: pads never pressed cost nothing.
  for (Pad& p : pads_) p = Pad{std::make_unique<MediaPlayControl>(mci_, NewMediaAlias)};
  if (!windows_.OpenForm(SoundBoardForm())) {
    ReleasePads();
    return;
  }
  // The form has no "destroyed" event of its own; the devices must close with the window.
  // Docking is done by its "created" handler, before the window is first shown.
  windows_.OnFormDestroyed(kBoardWindowId, [this] {
    ReleasePads();
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

void SoundBoard::ReleasePads() {
  for (Pad& p : pads_) p = Pad{};
  if (onPadShown_) onPadShown_(0, {});
  ReportDucking();
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

MediaPlayControl* SoundBoard::pad(int number) const {
  if (number < 1 || number > kPadCount) return nullptr;
  return pads_[static_cast<size_t>(number - 1)].device.get();
}

PadState SoundBoard::padState(int number) const {
  if (number < 1 || number > kPadCount) return PadState::Idle;
  return pads_[static_cast<size_t>(number - 1)].state;
}

bool SoundBoard::Sounding() const {
  for (const Pad& p : pads_)
    if (p.state == PadState::Playing) return true;
  return false;
}

// The pad's own file, or the built-in clip written out; "" when there is nothing to play.
std::wstring SoundBoard::ClipPath(int number) {
  const std::wstring& own = settings_.Pad(number).file;
  if (!own.empty()) {
    if (::GetFileAttributesW(own.c_str()) != INVALID_FILE_ATTRIBUTES) return own;
    // The choice stays: the file may come back (a drive plugged in again).
    windows_.SetText(kBoardWindowId, board::kVolumeLabel, Prop::TypeSpecific,
                     kMissingClipText + Narrow(PadCaption(own, 40)));
    ShowCaption(number);
    return {};
  }
  const Clip& clip = Clips()[static_cast<size_t>(number - 1)];
  const std::wstring path = clipFolder_ + Widen(clip.label);
  // A file that cannot be made right is not played: it could hold anything.
  return EnsureClipFile(path, ResourceBytes(clip.resource)) ? path : std::wstring();
}

void SoundBoard::PlayClip(int number) {
  if (!pad(number)) return;
  Pad& p = pads_[static_cast<size_t>(number - 1)];
  const std::wstring path = ClipPath(number);
  if (path.empty()) return;
  // Opening closes the pad's previous file, so a clip clicked again starts from its
  // beginning; the new file gets the slider's volume before a sound of it is heard.
  // Every clip on the DirectShow device, WAV too: the plain wave device has no volume.
  if (!p.device->OpenAs(Narrow(path), "MPEGvideo")) {
    p.state = PadState::Idle;
    ReportDucking();
    return;
  }
  const int volume = SliderVolume();
  p.device->SetVolume(volume, volume);
  p.device->Play(-1);
  p.state = PadState::Playing;
  SetPolling(true);
  ReportDucking();
}

void SoundBoard::ChooseFile(int number, const std::wstring& file) {
  if (number < 1 || number > kPadCount || file.empty()) return;
  settings_.SetFile(number, file);
  ShowCaption(number);
}

void SoundBoard::RestoreBuiltIn(int number) {
  if (number < 1 || number > kPadCount) return;
  settings_.SetFile(number, {});
  ShowCaption(number);
}

void SoundBoard::ShowCaptions() {
  for (int n = 1; n <= kPadCount; ++n) ShowCaption(n);
}

void SoundBoard::ShowCaption(int number) {
  if (!windows_.IsLoaded(kBoardWindowId)) return;
  const std::wstring& own = settings_.Pad(number).file;
  const std::uint32_t button = board::kClipButtons[number - 1];
  const Text builtIn(Clips()[static_cast<size_t>(number - 1)].caption);
  windows_.SetText(kBoardWindowId, button, Prop::ButtonCaption, own.empty() ? builtIn : Narrow(PadCaption(own)));
  if (onPadShown_) onPadShown_(number, PadTipText(settings_, number, builtIn));
}

// Pauses every clip that sounds; when none does, the paused ones go on.
void SoundBoard::PauseResume() {
  const bool pausing = Sounding();
  for (Pad& p : pads_) {
    if (pausing && p.state == PadState::Playing) {
      p.device->PauseResume();
      p.state = PadState::Paused;
    } else if (!pausing && p.state == PadState::Paused) {
      p.device->PauseResume();
      p.state = PadState::Playing;
    }
  }
  if (!pausing) SetPolling(true);
  ReportDucking();
}

void SoundBoard::Continue() {
  for (Pad& p : pads_) {
    if (p.state != PadState::Paused && p.state != PadState::Stopped) continue;
    p.device->Play(-1);
    p.state = PadState::Playing;
    SetPolling(true);
  }
  ReportDucking();
}

void SoundBoard::Stop() {
  for (Pad& p : pads_) {
    if (p.state != PadState::Playing && p.state != PadState::Paused) continue;
    p.device->Stop();
    p.state = PadState::Stopped;
  }
  ReportDucking();
}

// A clip that played to its end reports "stopped": its device is given back.
void SoundBoard::Poll() {
  for (Pad& p : pads_) {
    if (p.state != PadState::Playing || p.device->StatusMode() != MediaMode::Stopped) continue;
    p.device->Close();
    p.state = PadState::Idle;
  }
  if (!Sounding()) SetPolling(false);
  ReportDucking();
}

// Every move of the slider, and every clip opened, sends the volume, to every device that
// holds a clip; the timer only looks for clips that ended.
void SoundBoard::Volume() {
  const int volume = SliderVolume();
  volume_ = volume;
  windows_.SetText(kBoardWindowId, board::kVolumeLabel, Prop::TypeSpecific, "音量:" + std::to_string(volume));
  for (Pad& p : pads_)
    if (p.device && p.state != PadState::Idle) p.device->SetVolume(volume, volume);
}

int SoundBoard::SliderVolume() const {
  return windows_.GetInt(kBoardWindowId, board::kVolumeSlider, Prop::SliderPosition);
}

void SoundBoard::SetPolling(bool on) {
  if (!windows_.IsLoaded(kBoardWindowId)) return;
  const int period = on ? kPollPeriodMs : 0;
  if (windows_.GetInt(kBoardWindowId, board::kTick, Prop::TypeSpecific) != period)
    windows_.SetInt(kBoardWindowId, board::kTick, Prop::TypeSpecific, period);
}

void SoundBoard::SetDuckingOption(bool on) {
  settings_.SetDucking(on);
  ReportDucking();
}

void SoundBoard::ReportDucking() {
  const bool duck = settings_.Ducking() && Sounding();
  if (duck == reportedDucking_) return;
  reportedDucking_ = duck;
  if (onDucking_) onDucking_(duck);
}

std::wstring PadCaption(std::wstring_view path, int units) {
  const size_t slash = path.find_last_of(L"\\/");
  std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind(L'.');
  if (dot != std::wstring_view::npos && dot > 0) name = name.substr(0, dot);
  auto width = [](wchar_t c) { return c >= 0x1100 ? 2 : 1; };
  int total = 0;
  for (wchar_t c : name) total += width(c);
  if (total <= units) return std::wstring(name);
  std::wstring cut;
  int used = 2;  // the ellipsis
  for (wchar_t c : name) {
    if (used + width(c) > units) break;
    cut += c;
    used += width(c);
  }
  return cut + L"…";
}

void BindSoundBoardHandlers(Runtime& rt, SoundBoard& board) {
  rt.Bind(HandlerKey::OpenSoundBoard, [&board] { board.Open(); });
  rt.Bind(HandlerKey::PlayerMoved, [&board] { board.Dock(); });
  // "created" runs while the window is still hidden: docked now, its very first frame is
  // below the player, not at the form's place over it. It wears the same skin as the player;
  // attaching repaints the player once.
  rt.Bind(HandlerKey::BoardCreated, [&rt, &board] {
    board.Dock();
    // The form's timer starts with the window; it runs only while a clip plays.
    rt.SetInt(kBoardWindowId, board::kTick, Prop::TypeSpecific, 0);
    board.ShowCaptions();
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
  rt.Bind(HandlerKey::BoardReapplyVolume, [&board] { board.Poll(); });
}

}  // namespace tovel
