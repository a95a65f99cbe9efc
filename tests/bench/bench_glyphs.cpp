// Prints what a glyph costs: drawn from its shape at several scales against the
// carried picture, whose first decode also loads the graphics library's codecs.
// The vector glyphs are measured first, while no codec is loaded yet.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/resource.h"
#include "gfx/graphics.h"
#include "gfx/image.h"
#include "skin/glyphs.h"

namespace {

using namespace tovel;

double Now() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

template <class F>
double Milliseconds(F&& f) {
  const double start = Now();
  f();
  return (Now() - start) * 1000.0;
}

// The median of single runs: other work on the machine shows far less in it.
template <class F>
double Median(int rounds, F&& f) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) times.push_back(Milliseconds(f));
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

constexpr int kKinds = static_cast<int>(skin::GlyphKind::ArrowDown) + 1;
const wchar_t* const kPictures[] = {
    L"CAPTION_CLOSE", L"CAPTION_MAXIMIZE", L"CAPTION_RESTORE", L"CAPTION_MINIMIZE", L"CAPTION_HELP",
    L"CAPTION_MENU",  L"CHECK_BOX",        L"CHECK_MARK",      L"COMBO_ARROW",      L"ARROW_LEFT",
    L"ARROW_UP",      L"ARROW_RIGHT",      L"ARROW_DOWN"};

void DrawEvery(Graphics& g, float scale) {
  for (int k = 0; k < kKinds; ++k) {
    const auto kind = static_cast<skin::GlyphKind>(k);
    const SIZE e = skin::GlyphExtent(kind, scale);
    skin::DrawGlyph(g, RectF{4, 4, static_cast<float>(e.cx), static_cast<float>(e.cy)}, kind,
                    scale);
  }
}

}  // namespace

int wmain() {
  StartGraphics();
  Bitmap canvas;
  Graphics g;
  if (!canvas.CreateBlank(128, 64) || !g.CreateFromImage(canvas)) return 1;

  const double firstVector = Milliseconds([&] { DrawEvery(g, 1.0f); });
  std::printf("glyphs: first drawing of all %d vector glyphs at scale 1 %.3f ms\n", kKinds,
              firstVector);
  for (float scale : {1.0f, 1.25f, 1.5f, 2.0f}) {
    const double all = Median(200, [&] { DrawEvery(g, scale); });
    std::printf("glyphs: all %d vector glyphs at scale %.2f %.3f ms (%.3f ms each)\n", kKinds,
                scale, all, all / kKinds);
  }
  const RectF closeBox{4, 4, 38, 18};
  std::printf("glyphs: one close glyph, vector, at scale 1 %.3f ms\n", Median(500, [&] {
                skin::DrawGlyph(g, closeBox, skin::GlyphKind::CaptionClose, 1.0f);
              }));

  std::vector<Bitmap> pictures(kKinds);
  const double firstDecode =
      Milliseconds([&] { pictures[0].CreateFromBytes(ResourceBytes(kPictures[0])); });
  const double restDecode = Milliseconds([&] {
    for (int k = 1; k < kKinds; ++k)
      pictures[static_cast<size_t>(k)].CreateFromBytes(ResourceBytes(kPictures[k]));
  });
  std::printf(
      "glyphs: first picture decode (loads the codecs) %.3f ms; the other %d pictures %.3f ms\n",
      firstDecode, kKinds - 1, restDecode);
  std::printf("glyphs: one more picture decode %.3f ms\n", Median(200, [&] {
                Bitmap b;
                b.CreateFromBytes(ResourceBytes(kPictures[0]));
              }));
  std::printf("glyphs: one decoded close picture drawn 1:1 %.3f ms\n", Median(500, [&] {
                g.DrawImageRectRectI(pictures[0], 4, 4, 38, 18, 0, 0, 38, 18, 2);
              }));
  return 0;
}
