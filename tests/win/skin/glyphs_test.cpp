// The glyph painters drawn into bitmaps: where the ink lands, how it scales, how
// close it stays to the pictures the skin carried before, and that drawing them
// decodes nothing.
#include "skin/glyphs.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "base/resource.h"
#include "gfx/graphics.h"
#include "gfx/image.h"
#include "tests/win/skin/skin_test_support.h"

namespace tovel::skin::test {
namespace {

struct Named {
  GlyphKind kind;
  const wchar_t* picture;  // the carried picture of the same glyph
};

constexpr Named kGlyphs[] = {
    {GlyphKind::CaptionClose, L"CAPTION_CLOSE"},
    {GlyphKind::CaptionMaximize, L"CAPTION_MAXIMIZE"},
    {GlyphKind::CaptionRestore, L"CAPTION_RESTORE"},
    {GlyphKind::CaptionMinimize, L"CAPTION_MINIMIZE"},
    {GlyphKind::CaptionHelp, L"CAPTION_HELP"},
    {GlyphKind::CaptionMenu, L"CAPTION_MENU"},
    {GlyphKind::CheckBox, L"CHECK_BOX"},
    {GlyphKind::CheckMark, L"CHECK_MARK"},
    {GlyphKind::ComboArrow, L"COMBO_ARROW"},
    {GlyphKind::ArrowLeft, L"ARROW_LEFT"},
    {GlyphKind::ArrowUp, L"ARROW_UP"},
    {GlyphKind::ArrowRight, L"ARROW_RIGHT"},
    {GlyphKind::ArrowDown, L"ARROW_DOWN"},
};
constexpr float kScales[] = {1.0f, 1.25f, 1.5f, 2.0f};
constexpr int kMargin = 6;

// A transparent canvas with the glyph's box `kMargin` pixels in from each side,
// read back once as 0xAARRGGBB.
class Drawn {
 public:
  // The box is the glyph's extent, `grow` pixels wider and higher.
  Drawn(GlyphKind kind, float scale, int grow = 0)
      : Drawn(kind, scale, DefaultGlyphColours(kind), grow) {}
  Drawn(GlyphKind kind, float scale, const GlyphColours& colours, int grow = 0)
      : extent_(GlyphExtent(kind, scale)) {
    extent_.cx += grow, extent_.cy += grow;
    Draw([&](Graphics& g) {
      DrawGlyph(
          g,
          RectF{kMargin, kMargin, static_cast<float>(extent_.cx), static_cast<float>(extent_.cy)},
          kind, colours, scale);
    });
  }
  Drawn(const Bitmap& picture)
      : extent_{static_cast<LONG>(picture.GetWidth()), static_cast<LONG>(picture.GetHeight())} {
    Draw([&](Graphics& g) {
      g.DrawImageRectRectI(picture, kMargin, kMargin, extent_.cx, extent_.cy, 0, 0, extent_.cx,
                           extent_.cy, 2);
    });
  }
  int Width() const { return extent_.cx + 2 * kMargin; }
  int Height() const { return extent_.cy + 2 * kMargin; }
  // In the glyph's box coordinates; outside the canvas reads as transparent.
  Argb At(int x, int y) const {
    x += kMargin, y += kMargin;
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    return pixels_[static_cast<size_t>(y * Width() + x)];
  }
  SIZE Extent() const { return extent_; }
  const std::vector<Argb>& Pixels() const { return pixels_; }

 private:
  template <class F>
  void Draw(F&& paint) {
    Bitmap canvas;
    Graphics g;
    ASSERT_TRUE(canvas.CreateBlank(Width(), Height()));
    ASSERT_TRUE(g.CreateFromImage(canvas));
    paint(g);
    g.Delete();
    BitmapData data;
    ASSERT_TRUE(canvas.LockBits(Rect{0, 0, Width(), Height()}, 1, kPixelFormat32bppArgb, data));
    for (int y = 0; y < Height(); ++y) {
      const auto* row = reinterpret_cast<const Argb*>(static_cast<const std::uint8_t*>(data.scan0) +
                                                      y * data.stride);
      pixels_.insert(pixels_.end(), row, row + Width());
    }
    canvas.UnlockBits(data);
  }
  SIZE extent_;
  std::vector<Argb> pixels_;
};

int Alpha(Argb c) { return static_cast<int>(c >> 24); }
int Channel(Argb c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// Colour as it shows over black, so two transparent pixels of different colour agree.
bool Close(Argb a, Argb b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    const int x = Channel(a, shift) * Alpha(a) / 255, y = Channel(b, shift) * Alpha(b) / 255;
    if (std::abs(x - y) > tolerance) return false;
  }
  return std::abs(Alpha(a) - Alpha(b)) <= tolerance;
}

std::string Name(const Named& n, float scale) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%ls at scale %.2f", n.picture, scale);
  return buffer;
}

TEST(Glyphs, InkStaysInsideItsBoxAtEveryScale) {
  StartGraphics();
  for (const Named& n : kGlyphs)
    for (float scale : kScales) {
      SCOPED_TRACE(Name(n, scale));
      const Drawn d(n.kind, scale);
      int inside = 0, outside = 0;
      for (int y = -kMargin; y < d.Extent().cy + kMargin; ++y)
        for (int x = -kMargin; x < d.Extent().cx + kMargin; ++x) {
          if (!Alpha(d.At(x, y))) continue;
          const bool in = x >= 0 && y >= 0 && x < d.Extent().cx && y < d.Extent().cy;
          (in ? inside : outside)++;
        }
      EXPECT_GT(inside, 0);
      EXPECT_EQ(outside, 0);
    }
}

// A box smaller than the glyph cuts it: nothing spills onto the neighbours.
TEST(Glyphs, TooSmallABoxClipsTheGlyph) {
  StartGraphics();
  for (const Named& n : kGlyphs) {
    SCOPED_TRACE(Name(n, 2));
    Bitmap canvas;
    Graphics g;
    ASSERT_TRUE(canvas.CreateBlank(40, 40));
    ASSERT_TRUE(g.CreateFromImage(canvas));
    DrawGlyph(g, RectF{10, 10, 6, 6}, n.kind, 2.0f);
    g.Delete();
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        if (x < 10 || y < 10 || x >= 16 || y >= 16) {
          ASSERT_EQ(Alpha(canvas.GetPixel(x, y)), 0) << x << "," << y;
        }
  }
}

// Summed alpha: the same shape a half pixel over spreads onto more pixels but covers
// the same area.
double InkArea(const Drawn& d) {
  double area = 0;
  for (Argb p : d.Pixels()) area += Alpha(p) / 255.0;
  return area;
}

// A box a pixel short (the pressed caption button's picture) re-centres the glyph
// without making it any bigger.
TEST(Glyphs, AShorterBoxNeverEnlargesTheGlyph) {
  StartGraphics();
  for (const Named& n : kGlyphs)
    for (float scale : kScales) {
      SCOPED_TRACE(Name(n, scale));
      EXPECT_LE(InkArea(Drawn(n.kind, scale, -1)), InkArea(Drawn(n.kind, scale)) * 1.03);
    }
}

bool MirrorsAcross(const Drawn& d, bool leftRight) {
  const SIZE e = d.Extent();
  for (int y = 0; y < e.cy; ++y)
    for (int x = 0; x < e.cx; ++x) {
      const Argb a = d.At(x, y), b = leftRight ? d.At(e.cx - 1 - x, y) : d.At(x, e.cy - 1 - y);
      if (std::abs(Alpha(a) - Alpha(b)) > 1) return false;
    }
  return true;
}

TEST(Glyphs, SymmetricGlyphsAreMirrorImages) {
  StartGraphics();
  const GlyphKind leftRight[] = {GlyphKind::CaptionClose,    GlyphKind::CaptionMaximize,
                                 GlyphKind::CaptionMinimize, GlyphKind::CaptionMenu,
                                 GlyphKind::CheckBox,        GlyphKind::ComboArrow,
                                 GlyphKind::ArrowUp,         GlyphKind::ArrowDown};
  const GlyphKind upDown[] = {GlyphKind::CaptionClose, GlyphKind::CaptionMenu, GlyphKind::CheckBox,
                              GlyphKind::ArrowLeft, GlyphKind::ArrowRight};
  // Odd-sized arrows and the menu's bars cannot follow the box's parity; the rest can.
  const auto followsParity = [](GlyphKind k, bool leftRight) {
    return k < GlyphKind::ComboArrow && (leftRight || k != GlyphKind::CaptionMenu);
  };
  for (float scale : kScales) {
    SCOPED_TRACE(scale);
    // Centred in a box of either parity, as a pressed caption button's narrower picture is.
    for (int grow : {0, 1}) {
      for (GlyphKind k : leftRight) {
        if (grow && !followsParity(k, true)) continue;
        EXPECT_TRUE(MirrorsAcross(Drawn(k, scale, grow), true))
            << static_cast<int>(k) << " grown " << grow;
      }
      for (GlyphKind k : upDown) {
        if (grow && !followsParity(k, false)) continue;
        EXPECT_TRUE(MirrorsAcross(Drawn(k, scale, grow), false))
            << static_cast<int>(k) << " grown " << grow;
      }
    }
    // Opposite arrows are each other's mirror image.
    const Drawn up(GlyphKind::ArrowUp, scale), down(GlyphKind::ArrowDown, scale);
    const Drawn left(GlyphKind::ArrowLeft, scale), right(GlyphKind::ArrowRight, scale);
    for (int y = 0; y < up.Extent().cy; ++y)
      for (int x = 0; x < up.Extent().cx; ++x) {
        EXPECT_EQ(up.At(x, y), down.At(x, up.Extent().cy - 1 - y));
        EXPECT_EQ(left.At(y, x), right.At(left.Extent().cx - 1 - y, x));
      }
  }
}

// How many pixels of full ink colour run from (x, y) in the direction (dx, dy).
int RunOfInk(const Drawn& d, int x, int y, int dx, int dy, Argb ink) {
  int n = 0;
  while (d.At(x, y) == ink) ++n, x += dx, y += dy;
  return n;
}

// First (x, y) from (x, y) along (dx, dy) that holds the ink colour.
int Seek(const Drawn& d, int x, int y, int dx, int dy, Argb ink) {
  for (int i = 0; i < 64; ++i, x += dx, y += dy)
    if (d.At(x, y) == ink) return i;
  return -1;
}

TEST(Glyphs, LinesGrowWithScale) {
  StartGraphics();
  const Argb white = 0xFFFFFFFF, black = 0xFF000000;
  std::vector<int> bar, edge, rows, border;
  std::vector<double> closeInk;
  for (float scale : kScales) {
    const Drawn minimize(GlyphKind::CaptionMinimize, scale);
    const int mx = minimize.Extent().cx / 2, top = Seek(minimize, mx, 0, 0, 1, white);
    bar.push_back(RunOfInk(minimize, mx, top, 0, 1, white));
    const Drawn maximize(GlyphKind::CaptionMaximize, scale);
    const int my = maximize.Extent().cy / 2, left = Seek(maximize, 0, my, 1, 0, white);
    edge.push_back(RunOfInk(maximize, left, my, 1, 0, white));
    const Drawn arrow(GlyphKind::ArrowDown, scale);
    rows.push_back(RunOfInk(arrow, arrow.Extent().cx / 2, 0, 0, 1, black));
    const Drawn box(GlyphKind::CheckBox, scale);
    const int by = box.Extent().cy / 2;
    int b = 0;
    while (Channel(box.At(b, by), 16) < 128) ++b;  // the grey border before the pale face
    border.push_back(b);
    // Without its rim the glyph's alpha is its ink's coverage.
    const Drawn close(GlyphKind::CaptionClose, scale, {.ink = white});
    double ink = 0;
    for (Argb p : close.Pixels()) ink += Alpha(p) / 255.0;
    closeInk.push_back(ink);
  }
  EXPECT_EQ(bar, (std::vector<int>{2, 3, 3, 4}));
  EXPECT_EQ(edge, (std::vector<int>{1, 1, 2, 2}));
  EXPECT_EQ(rows, (std::vector<int>{4, 5, 6, 8}));
  EXPECT_EQ(border, (std::vector<int>{1, 1, 2, 2}));
  // Strokes as wide as they are long grow with the square of the scale.
  EXPECT_NEAR(closeInk[3] / closeInk[0], 4.0, 0.4);
  EXPECT_NEAR(closeInk[2] / closeInk[0], 2.25, 0.3);
}

// At scale 1 each glyph lands where its picture did, in nearly the same colours.
TEST(Glyphs, MatchTheCarriedPicturesAtScaleOne) {
  StartGraphics();
  for (const Named& n : kGlyphs) {
    SCOPED_TRACE(Name(n, 1));
    Bitmap picture;
    ASSERT_TRUE(picture.CreateFromBytes(ResourceBytes(n.picture)));
    const Drawn old(picture), now(n.kind, 1.0f);
    ASSERT_EQ(old.Extent().cx, now.Extent().cx);
    ASSERT_EQ(old.Extent().cy, now.Extent().cy);
    int differing = 0, ink = 0;
    for (size_t i = 0; i < old.Pixels().size(); ++i) {
      ink += Alpha(old.Pixels()[i]) > 0;
      differing += !Close(old.Pixels()[i], now.Pixels()[i], 8);
    }
    EXPECT_GT(ink, 0);
    // At most one pixel in fifty of the picture's ink may differ by more than 8 levels.
    EXPECT_LE(differing, ink / 50);
  }
}

// Runs the probe in `mode` and gives its exit code: 1 when the process had loaded the
// graphics library's picture codecs by the end, 0 when not.
DWORD RunProbe(const wchar_t* mode) {
  std::wstring line = L"\"" TOVEL_GLYPH_PROBE L"\" ";
  line += mode;
  line += L" \"" TOVEL_GLYPH_PICTURE L"\"";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
    return 100;
  DWORD code = 101;
  if (::WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
    ::GetExitCodeProcess(pi.hProcess, &code);
  else
    ::TerminateProcess(pi.hProcess, 102);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return code;
}

TEST(Glyphs, DrawingThemLoadsNoPictureCodec) {
  // The probe sees a decode: decoding one of the old pictures loads the codecs...
  EXPECT_EQ(RunProbe(L"decode"), 1u);
  // ...drawing every glyph at every scale does not.
  EXPECT_EQ(RunProbe(L"draw"), 0u);
}

// The taskbar's transport glyphs: inside their 16-pixel square (scaled), grown with the
// scale, and each its own shape: play one triangle whose tip is on the right, pause two
// bars apart, previous and next a bar at opposite sides.
TEST(Glyphs, TransportGlyphsStayInTheirSquareAndShowTheirShape) {
  StartGraphics();
  const GlyphKind kinds[] = {GlyphKind::TransportPrevious, GlyphKind::TransportPlay, GlyphKind::TransportPause,
                             GlyphKind::TransportNext};
  for (GlyphKind kind : kinds) {
    double lastArea = 0;
    for (float scale : kScales) {
      SCOPED_TRACE(std::to_string(static_cast<int>(kind)) + " at " + std::to_string(scale));
      const Drawn d(kind, scale);
      const SIZE e = d.Extent();
      EXPECT_EQ(e.cx, std::lround(16 * scale));
      int outside = 0;
      double area = 0;
      for (int y = -kMargin; y < e.cy + kMargin; ++y)
        for (int x = -kMargin; x < e.cx + kMargin; ++x) {
          const bool in = x >= 0 && y >= 0 && x < e.cx && y < e.cy;
          if (Alpha(d.At(x, y)) && !in) ++outside;
          if (in && Channel(d.At(x, y), 16) > 200 && Alpha(d.At(x, y)) > 200) area += 1;
        }
      EXPECT_EQ(outside, 0);
      EXPECT_GT(area, lastArea) << "the glyph did not grow with the scale";
      lastArea = area;
      // White ink on the middle row, left and right of the centre.
      const int cy = e.cy / 2, left = e.cx / 4, right = e.cx * 3 / 4 - 1;
      const auto ink = [&](int x, int y) { return Channel(d.At(x, y), 16) > 200 && Alpha(d.At(x, y)) > 200; };
      switch (kind) {
        case GlyphKind::TransportPause:
          EXPECT_FALSE(ink(e.cx / 2, cy)) << "no gap between the bars";
          EXPECT_TRUE(ink(e.cx / 2 - std::lround(2.5f * scale), cy));
          EXPECT_TRUE(ink(e.cx / 2 + std::lround(2.5f * scale), cy));
          break;
        case GlyphKind::TransportPlay: {
          // Taller at its base (left) than at its tip (right).
          int baseRows = 0, tipRows = 0;
          for (int y = 0; y < e.cy; ++y) {
            baseRows += ink(e.cx / 2 - std::lround(2 * scale), y);
            tipRows += ink(e.cx / 2 + std::lround(2 * scale), y);
          }
          EXPECT_GT(baseRows, tipRows);
          EXPECT_GT(tipRows, 0);
          break;
        }
        default: {
          // The bar's column is inked the whole height of the triangle's base.
          const bool next = kind == GlyphKind::TransportNext;
          int rows = 0;
          const int barX = next ? right - std::lround(scale) : left + std::lround(scale);
          for (int y = 0; y < e.cy; ++y) rows += ink(barX, y);
          EXPECT_GE(rows, std::lround(9 * scale)) << "no bar at the " << (next ? "right" : "left");
        }
      }
    }
  }
}

}  // namespace
}  // namespace tovel::skin::test
