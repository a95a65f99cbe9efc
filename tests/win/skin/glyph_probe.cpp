// Draws every glyph at every scale, or decodes one picture, and tells through its exit
// code whether the graphics library's picture codecs were loaded on the way (1) or not
// (0). A process of its own, because the codecs stay loaded once any test decodes.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/graphics.h"
#include "gfx/image.h"
#include "skin/glyphs.h"

namespace {

bool Decode(const wchar_t* path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  tovel::Bitmap picture;
  return picture.CreateFromBytes(tovel::ByteView(bytes.data(), bytes.size()));
}

bool DrawAll() {
  using namespace tovel;
  Bitmap canvas;
  Graphics g;
  if (!canvas.CreateBlank(96, 48) || !g.CreateFromImage(canvas)) return false;
  for (float scale : {1.0f, 1.25f, 1.5f, 2.0f})
    for (int k = 0; k <= static_cast<int>(skin::GlyphKind::ArrowDown); ++k)
      skin::DrawGlyph(g, RectF{4, 4, 80, 40}, static_cast<skin::GlyphKind>(k), scale);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3 || !tovel::StartGraphics()) return 2;
  const std::wstring mode = argv[1];
  if (!(mode == L"decode" ? Decode(argv[2]) : DrawAll())) return 3;
  return ::GetModuleHandleW(L"windowscodecs.dll") ? 1 : 0;
}
