// The skin gallery as a program of its own, for a look at every family at once.
#include <windows.h>

#include "gfx/graphics_object.h"
#include "skin/engine.h"
#include "tests/gallery/gallery_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  tovel::StartGraphics();
  tovel::skin::SkinEngine engine;
  HWND gallery = tovel::gallery::OpenGallery(engine);
  MSG msg;
  while (::IsWindow(gallery) && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
