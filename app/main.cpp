#include <windows.h>

#include "app/startup.h"
#include "runtime/controls.h"
#include "runtime/message_box.h"

namespace tovel {
namespace {

void BindPlayerHandlers(Runtime& rt) {
  rt.Bind(HandlerKey::PlayerStartup, OnPlayerStartup);
}

}  // namespace
}  // namespace tovel

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tovel;
  InstallFatalMessageBox();
  Runtime& rt = Runtime::Get();
  BindPlayerHandlers(rt);
  if (!rt.LoadForm(PlayerForm())) return 0;
  return rt.RunMessageLoop(kPlayerWindowId);
}
