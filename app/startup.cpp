#include "app/startup.h"

#include <windows.h>

#include <cstdlib>

#include "runtime/controls.h"
#include "runtime/message_box.h"

namespace tovel {

InstanceLock& HeldInstanceLock() {
  static InstanceLock lock;
  return lock;
}

void OnPlayerStartup(const std::function<void()>& loadSongList) {
  Runtime& rt = Runtime::Get();
  rt.SetText(kPlayerWindowId, player::kWelcomeLabel, Prop::TypeSpecific, kWelcomeText);
  // The skin's colour sampling draws random positions.
  std::srand(static_cast<unsigned>(::GetTickCount()));
  if (loadSongList) loadSongList();
  rt.Focus(kPlayerWindowId, player::kList);
  rt.SetInt(kPlayerWindowId, player::kSeekSlider, Prop::Disabled, 1);

  InstanceLock lock = AcquireInstanceLock(PrimaryMarkerPath(), FallbackMarkerPath);
  if (lock.outcome == LockOutcome::HeldElsewhere) {
    ShowMessage(kAlreadyRunningText);
    rt.CloseForm(kPlayerWindowId);
    return;
  }
  HeldInstanceLock() = std::move(lock);
}

}  // namespace tovel
