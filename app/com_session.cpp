#include "app/com_session.h"

#include <windows.h>
#include <ole2.h>

namespace tovel {
namespace {

enum class ComState { NotStarted, Started, Failed };
ComState gCom = ComState::NotStarted;

}  // namespace

bool EnsureCom() {
  // One try: a thread that refuses COM refuses it again.
  if (gCom == ComState::NotStarted) gCom = SUCCEEDED(::OleInitialize(nullptr)) ? ComState::Started : ComState::Failed;
  return gCom == ComState::Started;
}

void EndCom() {
  if (gCom == ComState::Started) ::OleUninitialize();
  gCom = ComState::NotStarted;
}

}  // namespace tovel
