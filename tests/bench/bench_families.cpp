// Prints what a repaint of each control of the skin gallery costs, and what it
// costs to open the gallery: the figures that say whether a control's painting
// stays within a few milliseconds under Wine.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "gfx/graphics_object.h"
#include "skin/engine.h"
#include "skin/helpers.h"
#include "tests/gallery/gallery_window.h"
#include "tests/support/pump.h"

namespace {

double Now() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

int wmain() {
  using namespace tovel;
  StartGraphics();
  skin::SkinEngine engine;
  const double openStart = Now();
  HWND gallery = gallery::OpenGallery(engine);
  testing::PumpPending();
  const double open = (Now() - openStart) * 1000.0;
  std::printf("families: opening the gallery, first paint included: %.1f ms\n", open);
  std::printf("families: per control, the best of 5 batches of 10 (whole / frame only / client only)\n");
  for (HWND c : gallery::VisibleControls(gallery)) {
    const auto best = [](auto&& paint) {
      paint();
      double fastest = 1e9;
      for (int batch = 0; batch < 5; ++batch) {
        const double start = Now();
        for (int i = 0; i < 10; ++i) paint();
        fastest = std::min(fastest, (Now() - start) * 100.0);
      }
      return fastest;
    };
    const double whole = best([c] {
      ::RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    });
    const double frame = best([c] { ::SendMessageW(c, WM_NCPAINT, 1, 0); });
    const double client = best([c] { ::RedrawWindow(c, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); });
    RECT r;
    ::GetWindowRect(c, &r);
    std::printf("families: repaint %-20ls id %4d %3ldx%-3ld %6.2f / %6.2f / %6.2f ms\n", skin::ClassName(c).c_str(),
                ::GetDlgCtrlID(c), r.right - r.left, r.bottom - r.top, whole, frame, client);
  }
  ::DestroyWindow(gallery);
  testing::PumpPending();
  return 0;
}
