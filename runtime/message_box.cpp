#include "runtime/message_box.h"

#include "base/text.h"

namespace tovel {
namespace {

void ReportInMessageBox(const Text& formatted) {
  ::MessageBoxW(nullptr, Widen(formatted).c_str(), Widen(kDefaultCaption).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace

int ShowMessage(const Text& text, const Text& caption, UINT extraFlags) {
  return ::MessageBoxW(nullptr, Widen(text).c_str(), Widen(caption).c_str(), MB_OK | extraFlags);
}

void InstallFatalMessageBox() { SetFatalReporter(ReportInMessageBox); }

}  // namespace tovel
