// Prints what the skin costs: one full composition of a player-sized window against
// one caption-button fade step, measured in the same run.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include <string>
#include <vector>

#include "app/skin_setup.h"
#include "base/resource.h"
#include "gfx/graphics_object.h"
#include "runtime/controls.h"
#include "runtime/forms.h"
#include "skin/engine.h"

namespace {

double Now() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// The median of single runs: other work on the machine shows in the mean, far less
// in the median.
template <class F>
double MillisecondsEach(int rounds, F&& f) {
  for (int i = 0; i < rounds / 10 + 1; ++i) f(i);  // warm up
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const double start = Now();
    f(i);
    times.push_back((Now() - start) * 1000.0);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// The player window, plain and then skinned, repainted whole with every control.
void PlayerRepaint() {
  using namespace tovel;
  Runtime& rt = Runtime::Get();
  HWND player = rt.LoadForm(PlayerForm());
  if (!player) return;
  std::vector<Text> songs;
  for (int i = 1; i <= 20; ++i) songs.push_back("D:\\music\\song " + std::to_string(i) + ".mp3");
  rt.ListAddAll(kPlayerWindowId, player::kList, songs);
  const auto repaint = [&](int) {
    ::RedrawWindow(player, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  const double plain = MillisecondsEach(50, repaint);
  AttachSkin(player);
  const double skinned = MillisecondsEach(50, repaint);
  std::printf("skin: repaint of the player with its controls %.3f ms skinned, %.3f ms plain (ratio %.2f; goal at most 3)\n",
              skinned, plain, skinned / plain);
  rt.CloseForm(kPlayerWindowId);
}

}  // namespace

int wmain() {
  using namespace tovel;
  InitialiseSkin();
  skin::SkinEngine& engine = Skin();
  WNDCLASSEXW wc{sizeof(wc)};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TovelSkinBench";
  ::RegisterClassExW(&wc);
  HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"[Tovel音乐盒] -Tovel音乐盒播放器",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 50, 50, 351, 391, nullptr,
                                nullptr, wc.hInstance, nullptr);
  AttachSkin(hwnd);
  ::ShowWindow(hwnd, SW_SHOW);
  ::UpdateWindow(hwnd);
  const int n = engine.WindowNumber(hwnd);

  const double compose = MillisecondsEach(100, [&](int) { engine.RenderWindow(n, false); });
  // A fade step draws a look the first time after a composition and copies it after.
  std::vector<double> drawn;
  for (int round = 0; round < 30; ++round) {
    engine.RenderWindow(n, false);
    for (int step = 1; step <= 8; ++step) {
      const double start = Now();
      engine.DrawCaptionButton(n, 1 + round % 3, nullptr, false, 30 * step);
      drawn.push_back((Now() - start) * 1000.0);
    }
  }
  std::sort(drawn.begin(), drawn.end());
  const double fadeDrawn = drawn[drawn.size() / 2];
  const double fade = MillisecondsEach(1000, [&](int i) {
    engine.DrawCaptionButton(n, 1 + i % 3, nullptr, false, 30 * (1 + i % 8));
  });
  const double caption = MillisecondsEach(200, [&](int) { engine.DrawCaptionText(n, nullptr, std::nullopt); });
  std::printf("skin: full composition of the player window %.3f ms\n", compose);
  std::printf("skin: one caption-button fade step %.3f ms drawn (%.2f of a composition; target at most 0.20),"
              " %.3f ms when its look is copied\n",
              fadeDrawn, fadeDrawn / compose, fade);
  std::printf("skin: caption text repaint %.3f ms\n", caption);
  ::DestroyWindow(hwnd);
  PlayerRepaint();
  return 0;
}
