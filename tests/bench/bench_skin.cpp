// Prints what the skin costs: one full composition of a player-sized window against
// one caption-button fade step, measured in the same run.
#include <windows.h>

#include <cstdio>

#include "base/resource.h"
#include "gfx/graphics_object.h"
#include "skin/engine.h"

namespace {

double Now() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

template <class F>
double MillisecondsEach(int rounds, F&& f) {
  for (int i = 0; i < rounds / 10 + 1; ++i) f(i);  // warm up
  const double start = Now();
  for (int i = 0; i < rounds; ++i) f(i);
  return (Now() - start) * 1000.0 / rounds;
}

}  // namespace

int wmain() {
  using namespace tovel;
  StartGraphics();
  skin::SkinEngine engine;
  engine.SetApplicationIcon(::LoadIconW(nullptr, IDI_APPLICATION));
  skin::SetSkinArgs look;
  const ByteView picture = ResourceBytes(L"PLAYER_BACKGROUND");
  look.imageData.assign(picture.begin(), picture.end());
  look.highlightColour = 0x0051AE51;
  look.mode = 3;
  engine.SetSkin(look);
  engine.SetOptions(true, 0);

  WNDCLASSEXW wc{sizeof(wc)};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TovelSkinBench";
  ::RegisterClassExW(&wc);
  HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"[Tovel音乐盒] -Tovel音乐盒播放器",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 50, 50, 351, 391, nullptr,
                                nullptr, wc.hInstance, nullptr);
  skin::SkinWindowArgs args;
  args.captionHeight = 110;
  args.mode = 3;
  engine.SkinWindow(hwnd, args);
  ::ShowWindow(hwnd, SW_SHOW);
  ::UpdateWindow(hwnd);
  const int n = engine.WindowNumber(hwnd);

  const double compose = MillisecondsEach(100, [&](int) { engine.RenderWindow(n, false); });
  const double fade = MillisecondsEach(1000, [&](int i) {
    engine.DrawCaptionButton(n, 1 + i % 3, nullptr, false, 30 * (1 + i % 8));
  });
  const double caption = MillisecondsEach(200, [&](int) { engine.DrawCaptionText(n, nullptr, std::nullopt); });
  std::printf("skin: full composition of the player window %.3f ms\n", compose);
  std::printf("skin: one caption-button fade step %.3f ms (%.2f of a composition; target at most 0.20)\n",
              fade, fade / compose);
  std::printf("skin: caption text repaint %.3f ms\n", caption);
  ::DestroyWindow(hwnd);
  return 0;
}
