// Raises runtime error 4 the way a handler would, to show the fatal path.
#include <windows.h>

#include "runtime/message_box.h"
#include "base/value.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  tovel::InstallFatalMessageBox();
  tovel::Array<tovel::Text> songs;
  songs.Append("a.mp3");
  songs.At(0);
  return 0;
}
