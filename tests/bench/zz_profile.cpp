#include <windows.h>
#include <cstdio>
#include "app/skin_setup.h"
#include "base/resource.h"
#include "gfx/graphics_object.h"
#include "runtime/controls.h"
#include "runtime/forms.h"
#include "skin/engine.h"
using namespace tovel;
static double Now(){LARGE_INTEGER f,c;QueryPerformanceFrequency(&f);QueryPerformanceCounter(&c);return (double)c.QuadPart/f.QuadPart*1000;}
int wmain() {
  double t0 = Now();
  StartGraphics();
  double t1 = Now();
  Runtime& rt = Runtime::Get();
  HWND player = rt.LoadForm(PlayerForm());
  double t2 = Now();
  skin::SkinEngine& e = Skin();
  skin::SetSkinArgs look; ByteView p = ResourceBytes(L"PLAYER_BACKGROUND"); look.imageData.assign(p.begin(), p.end()); look.mode = 3; look.highlightColour = 0x51AE51;
  e.SetSkin(look);
  double t3 = Now();
  e.SetOptions(true, 0);
  skin::SkinWindowArgs a; a.captionHeight = 110; a.mode = 3;
  e.SkinWindow(player, a);
  double t4 = Now();
  ::RedrawWindow(player, nullptr, nullptr, RDW_INVALIDATE|RDW_ERASE|RDW_ALLCHILDREN|RDW_UPDATENOW|RDW_FRAME);
  double t5 = Now();
  ::RedrawWindow(player, nullptr, nullptr, RDW_INVALIDATE|RDW_ERASE|RDW_ALLCHILDREN|RDW_UPDATENOW|RDW_FRAME);
  double t6 = Now();
  std::printf("gdiplus start %.1f, form %.1f, setskin %.1f, skinwindow %.1f, first paint %.1f, second paint %.1f\n", t1-t0, t2-t1, t3-t2, t4-t3, t5-t4, t6-t5);
  return 0;
}
