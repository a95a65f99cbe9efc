#include "app/startup.h"

#include <windows.h>

#include "app/bring_forward.h"
#include "app/skin_setup.h"
#include "runtime/controls.h"
#include "runtime/message_box.h"

namespace tovel {

InstanceLock& HeldInstanceLock() {
  static InstanceLock lock;
  return lock;
}

void OnPlayerStartup(const std::function<void()>& loadSongList) {
  Runtime& rt = Runtime::Get();
  AttachSkin(rt.WindowHandle(kPlayerWindowId));
  // The song names are read over the skin's dark picture.
  Skin().SetControlTextColour(rt.ControlHandle(kPlayerWindowId, player::kList), 0x00FFFFFF);
  rt.SetText(kPlayerWindowId, player::kWelcomeLabel, Prop::TypeSpecific, kWelcomeText);
  if (loadSongList) loadSongList();
  rt.Focus(kPlayerWindowId, player::kList);
  rt.SetInt(kPlayerWindowId, player::kSeekSlider, Prop::Disabled, 1);

  InstanceLock lock = AcquireInstanceLock(kInstanceMutexName, PrimaryMarkerPath(), FallbackMarkerPath);
  if (lock.outcome == LockOutcome::HeldElsewhere) {
    // The running player comes back while the user reads why this start ends.
    AskRunningPlayerForward(kPlayerWindowMappingName);
    ShowMessage(kAlreadyRunningText);
    rt.CloseForm(kPlayerWindowId);
    return;
  }
  HeldInstanceLock() = std::move(lock);
  if (HeldInstanceLock().outcome == LockOutcome::Acquired)
    HeldInstanceLock().window = PublishPlayerWindow(kPlayerWindowMappingName, rt.WindowHandle(kPlayerWindowId));
}

}  // namespace tovel
