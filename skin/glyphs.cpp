#include "skin/glyphs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "gfx/graphics.h"
#include "gfx/image.h"

namespace tovel::skin {
namespace {

constexpr int kUnitPixel = 2;

// Caption glyphs are laid out on a 26 x 18 picture (38 x 18 for close) around its centre.
constexpr float kCaptionWidth = 26, kCaptionHeight = 18, kCloseWidth = 38;
constexpr float kCheckSize = 13;
constexpr float kArrowLength = 4;  // rows of 1, 3, 5, 7 pixels at scale 1
constexpr float kTransportSize = 16;
constexpr float kStroke = 1.6f;    // the diagonal and curved caption strokes
constexpr float kRimCornerShare = 0.6f;
// Coverage is sampled 4 x 4 per pixel; no sample lies on a whole coordinate, so a
// rectangle with whole edges covers whole pixels and stays crisp.
constexpr int kSamples = 4;

// One rounding rule for every edge.
int Px(float v) { return static_cast<int>(std::lround(v)); }
int FloorHalf(int v) { return static_cast<int>(std::floor(v / 2.0)); }

// A line width: never thinner than one pixel.
int LineWidth(float design, float scale) { return std::max(1, Px(design * scale)); }

// A length to centre in `space`, given the space's parity so both margins are equal;
// of two lengths equally near the exact one, the shorter, and never more than the
// space, so a glyph does not outgrow a narrower box.
int CentredLength(float design, float scale, int space) {
  const float exact = design * scale;
  int n = std::max(1, Px(exact));
  if ((space - n) % 2 != 0) n += (n > 1 && static_cast<float>(n) >= exact) ? -1 : 1;
  return space > 0 ? std::min(n, space) : n;
}

struct Box {
  int x, y, w, h;
  float cx() const { return static_cast<float>(x) + static_cast<float>(w) / 2; }
  float cy() const { return static_cast<float>(y) + static_cast<float>(h) / 2; }
};

Box Snap(const RectF& r) {
  const int x = Px(r.x), y = Px(r.y);
  return {x, y, Px(r.x + r.width) - x, Px(r.y + r.height) - y};
}

Box Intersect(const Box& a, const Box& b) {
  const int x = std::max(a.x, b.x), y = std::max(a.y, b.y);
  return {x, y, std::max(0, std::min(a.x + a.w, b.x + b.w) - x),
          std::max(0, std::min(a.y + a.h, b.y + b.h) - y)};
}

// A polyline with round caps and joins.
struct Stroke {
  std::vector<PointF> points;
  float width = 0;
};

// A glyph as whole-pixel rectangles and strokes, in device pixels.
struct Shape {
  std::vector<Rect> pieces;
  std::vector<Stroke> strokes;
};

bool NearStroke(const Stroke& s, float x, float y) {
  const float limit = s.width * s.width / 4;
  for (size_t i = 0; i + 1 < s.points.size(); ++i) {
    const PointF a = s.points[i], b = s.points[i + 1];
    const float vx = b.x - a.x, vy = b.y - a.y, n = vx * vx + vy * vy;
    const float t = n == 0 ? 0 : std::clamp(((x - a.x) * vx + (y - a.y) * vy) / n, 0.0f, 1.0f);
    const float dx = x - a.x - t * vx, dy = y - a.y - t * vy;
    if (dx * dx + dy * dy <= limit) return true;
  }
  return false;
}

bool Inside(const Shape& shape, float x, float y) {
  for (const Rect& r : shape.pieces)
    if (x >= static_cast<float>(r.x) && x < static_cast<float>(r.x + r.width) &&
        y >= static_cast<float>(r.y) && y < static_cast<float>(r.y + r.height))
      return true;
  for (const Stroke& s : shape.strokes)
    if (NearStroke(s, x, y)) return true;
  return false;
}

// The pixels a shape can touch, `margin` pixels wider on every side.
Box Bounds(const Shape& shape, int margin) {
  float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
  const auto take = [&](float x0, float y0, float x1, float y1) {
    left = std::min(left, x0), top = std::min(top, y0);
    right = std::max(right, x1), bottom = std::max(bottom, y1);
  };
  for (const Rect& r : shape.pieces)
    take(static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.x + r.width),
         static_cast<float>(r.y + r.height));
  for (const Stroke& s : shape.strokes)
    for (const PointF& p : s.points)
      take(p.x - s.width / 2, p.y - s.width / 2, p.x + s.width / 2, p.y + s.width / 2);
  if (left > right) return {0, 0, 0, 0};
  const int x = static_cast<int>(std::floor(left)) - margin,
            y = static_cast<int>(std::floor(top)) - margin;
  return {x, y, static_cast<int>(std::ceil(right)) + margin - x,
          static_cast<int>(std::ceil(bottom)) + margin - y};
}

// Coverage (0..1) of each pixel of an area, row by row.
struct Mask {
  Box area;
  std::vector<float> cover;
  float At(int i, int j) const {
    return i < 0 || j < 0 || i >= area.w || j >= area.h
               ? 0.0f
               : cover[static_cast<size_t>(j * area.w + i)];
  }
};

template <class InsideFn>
Mask Cover(const Box& area, InsideFn inside) {
  Mask m{area, std::vector<float>(static_cast<size_t>(area.w * area.h), 0.0f)};
  for (int y = area.y; y < area.y + area.h; ++y)
    for (int x = area.x; x < area.x + area.w; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx)
          hits += inside(static_cast<float>(x) + (sx + 0.5f) / kSamples,
                         static_cast<float>(y) + (sy + 0.5f) / kSamples);
      m.cover[static_cast<size_t>((y - area.y) * area.w + x - area.x)] =
          static_cast<float>(hits) / (kSamples * kSamples);
    }
  return m;
}

// The rim grows the ink by `t` pixels: full beside an edge, lighter off a corner, so
// it reads as a soft rounded shadow on any part of the picture.
Mask Grow(const Mask& ink, int t) {
  Mask m{ink.area, std::vector<float>(ink.cover.size(), 0.0f)};
  for (int j = 0; j < ink.area.h; ++j)
    for (int i = 0; i < ink.area.w; ++i) {
      float best = 0;
      for (int dj = -t; dj <= t; ++dj)
        for (int di = -t; di <= t; ++di)
          best = std::max(best, ink.At(i + di, j + dj) * (di && dj ? kRimCornerShare : 1.0f));
      m.cover[static_cast<size_t>(j * ink.area.w + i)] = best;
    }
  return m;
}

// Premultiplied colour, painted layer over layer.
class Canvas {
 public:
  explicit Canvas(const Box& area)
      : area_(area), px_(static_cast<size_t>(area.w * area.h) * 4, 0.0f) {}

  // Source-over weighted by coverage, in a colour that runs from `top` at `firstRow` to
  // `bottom` at `lastRow` (rows of the area).
  void Paint(const Mask& m, Argb top, Argb bottom, int firstRow = 0, int lastRow = 0) {
    for (int j = 0; j < area_.h; ++j) {
      const float t = lastRow > firstRow
                          ? static_cast<float>(std::clamp(j, firstRow, lastRow) - firstRow) /
                                static_cast<float>(lastRow - firstRow)
                          : 0.0f;
      for (int i = 0; i < area_.w; ++i) {
        const float c = m.At(i, j);
        if (c <= 0) continue;
        float* p = &px_[static_cast<size_t>(j * area_.w + i) * 4];
        const float a = c * Channel(top, bottom, 24, t) / 255;
        for (int k = 0; k < 3; ++k)
          p[k] = Channel(top, bottom, 16 - 8 * k, t) / 255 * a + p[k] * (1 - a);
        p[3] = a + p[3] * (1 - a);
      }
    }
  }
  void Paint(const Mask& m, Argb colour) { Paint(m, colour, colour); }

  // Straight 0xAARRGGBB pixels, as the graphics library's 32-bit ARGB format holds them.
  std::vector<std::uint32_t> Pixels() const {
    std::vector<std::uint32_t> out(static_cast<size_t>(area_.w * area_.h), 0);
    for (size_t n = 0; n < out.size(); ++n) {
      const float* p = &px_[n * 4];
      if (p[3] <= 0) continue;
      std::uint32_t v = static_cast<std::uint32_t>(std::min(255L, std::lround(p[3] * 255))) << 24;
      for (int k = 0; k < 3; ++k)
        v |= static_cast<std::uint32_t>(std::min(255L, std::lround(p[k] / p[3] * 255)))
             << (16 - 8 * k);
      out[n] = v;
    }
    return out;
  }

  // Drawn 1:1 from memory: no picture is decoded.
  void Show(Graphics& g) const {
    std::vector<std::uint32_t> pixels = Pixels();
    Bitmap bitmap;
    if (!bitmap.CreateFromPixels(area_.w, area_.h, area_.w * 4, kPixelFormat32bppArgb,
                                 pixels.data()))
      return;
    g.DrawImageRectRectI(bitmap, area_.x, area_.y, area_.w, area_.h, 0, 0, area_.w, area_.h,
                         kUnitPixel);
  }

 private:
  static float Channel(Argb a, Argb b, int shift, float t) {
    const float x = static_cast<float>((a >> shift) & 0xFF),
                y = static_cast<float>((b >> shift) & 0xFF);
    return x + (y - x) * t;
  }
  Box area_;
  std::vector<float> px_;
};

// A window outline with a heavier top edge, like a title bar.
std::vector<Rect> WindowOutline(int x, int y, int w, int h, int edge, int top) {
  const int side = h - top - edge;
  return {{x, y, w, top},
          {x, y + h - edge, w, edge},
          {x, y + top, edge, side},
          {x + w - edge, y + top, edge, side}};
}

// A device row `d` design pixels below the box's centre.
int RowBelowCentre(const Box& b, float d, float s) {
  return b.y + Px(b.cy() - static_cast<float>(b.y) + d * s);
}

Shape MenuShape(const Box& b, float s) {
  const int w = CentredLength(10, s, b.w), bar = LineWidth(2, s), gap = LineWidth(2, s);
  const int x = b.x + FloorHalf(b.w - w), y = b.y + FloorHalf(b.h - (3 * bar + 2 * gap));
  Shape shape;
  for (int i = 0; i < 3; ++i) shape.pieces.push_back({x, y + i * (bar + gap), w, bar});
  return shape;
}

Shape MinimizeShape(const Box& b, float s) {
  const int w = CentredLength(10, s, b.w);
  return {{{b.x + FloorHalf(b.w - w), RowBelowCentre(b, 2, s), w, LineWidth(2, s)}}, {}};
}

Shape MaximizeShape(const Box& b, float s) {
  const int w = CentredLength(10, s, b.w), h = CentredLength(10, s, b.h);
  return {WindowOutline(b.x + FloorHalf(b.w - w), b.y + FloorHalf(b.h - h), w, h, LineWidth(1, s),
                        LineWidth(2, s)),
          {}};
}

// Two windows, the back one showing only where the front one leaves it.
Shape RestoreShape(const Box& b, float s) {
  const int w = CentredLength(10, s, b.w), h = CentredLength(10, s, b.h);
  const int edge = LineWidth(1, s), top = LineWidth(2, s);
  const int offset = std::max(top + 1, Px(3 * s));
  const int x = b.x + FloorHalf(b.w - w), y = b.y + FloorHalf(b.h - h);
  const int fw = w - offset, fh = h - offset;  // each window's size
  Shape shape{WindowOutline(x, y + offset, fw, fh, edge, top), {}};
  const int bx = x + offset;
  shape.pieces.push_back({bx, y, fw, top});
  shape.pieces.push_back({bx + fw - edge, y + top, edge, fh - top - edge});
  shape.pieces.push_back({bx, y + top, edge, offset - top});
  shape.pieces.push_back({x + fw, y + fh - edge, offset, edge});
  return shape;
}

Shape CloseShape(const Box& b, float s) {
  const float cx = b.cx(), cy = b.cy(), d = 4 * s;
  return {{},
          {{{{cx - d, cy - d}, {cx + d, cy + d}}, kStroke * s},
           {{{cx - d, cy + d}, {cx + d, cy - d}}, kStroke * s}}};
}

// A hook on a circle dropping into a square stem, and a square dot.
Shape HelpShape(const Box& b, float s) {
  const float cx = b.cx(), hookY = b.cy() - 2.2f * s, r = 2.3f * s;
  Stroke hook{{}, kStroke * s};
  constexpr int kSteps = 24;
  for (int k = 0; k <= kSteps; ++k) {
    const float a =
        (165.0f + 240.0f * static_cast<float>(k) / kSteps) * std::numbers::pi_v<float> / 180;
    hook.points.push_back({cx + r * std::cos(a), hookY + r * std::sin(a)});
  }
  hook.points.push_back({cx + 0.1f * s, hook.points.back().y + 1.0f * s});
  hook.points.push_back({cx, b.cy() + 1.2f * s});
  const int w = CentredLength(2, s, b.w), x = b.x + FloorHalf(b.w - w);
  const int stem = RowBelowCentre(b, 1, s), dot = RowBelowCentre(b, 3, s);
  return {{{x, stem, w, std::max(1, RowBelowCentre(b, 2, s) - stem)},
           {x, dot, w, std::max(1, RowBelowCentre(b, 5, s) - dot)}},
          {hook}};
}

// Rows (or columns, across) of 1, 3, 5 ... pixels: a solid triangle with no
// half-covered pixel at any scale.
Shape ArrowShape(GlyphKind kind, const Box& b, float s) {
  const int n = LineWidth(kArrowLength, s), span = 2 * n - 1;
  const bool across = kind == GlyphKind::ArrowLeft || kind == GlyphKind::ArrowRight;
  const bool apexFirst = kind == GlyphKind::ArrowUp || kind == GlyphKind::ArrowLeft;
  const int w = across ? n : span, h = across ? span : n;
  const int x = b.x + FloorHalf(b.w - w), y = b.y + FloorHalf(b.h - h);
  Shape shape;
  for (int k = 0; k < n; ++k) {
    const int half = apexFirst ? k : n - 1 - k;  // pixels either side of the middle
    shape.pieces.push_back(across ? Rect{x + k, y + n - 1 - half, 1, 2 * half + 1}
                                  : Rect{x + n - 1 - half, y + k, 2 * half + 1, 1});
  }
  return shape;
}

// A triangle pointing left or right as columns of 1, 3, 5 ... pixels, its apex column at `x`
// (pointing left) or at `x + n - 1` (right), centred on row `cy`.
void AddTriangle(Shape& shape, int x, int cy, int n, bool pointsRight) {
  for (int k = 0; k < n; ++k) {
    const int half = pointsRight ? n - 1 - k : k;
    shape.pieces.push_back(Rect{x + k, cy - half, 1, 2 * half + 1});
  }
}

// Play is one triangle; pause two bars; previous and next a bar against a triangle.
Shape TransportShape(GlyphKind kind, const Box& b, float s) {
  Shape shape;
  const int cy = b.y + FloorHalf(b.h);
  if (kind == GlyphKind::TransportPause) {
    const int bar = LineWidth(3, s), gap = LineWidth(3, s), h = LineWidth(10, s);
    const int x = b.x + FloorHalf(b.w - (2 * bar + gap)), y = b.y + FloorHalf(b.h - h);
    shape.pieces = {Rect{x, y, bar, h}, Rect{x + bar + gap, y, bar, h}};
    return shape;
  }
  if (kind == GlyphKind::TransportPlay) {
    const int n = LineWidth(6, s);
    AddTriangle(shape, b.x + FloorHalf(b.w - n), cy, n, true);
    return shape;
  }
  const int n = LineWidth(5, s), bar = LineWidth(2, s), span = 2 * n - 1;
  const int x = b.x + FloorHalf(b.w - (n + bar));
  const bool next = kind == GlyphKind::TransportNext;
  AddTriangle(shape, next ? x : x + bar, cy, n, next);
  shape.pieces.push_back(Rect{next ? x + n : x, cy - (n - 1), bar, span});
  return shape;
}

bool IsTransport(GlyphKind kind) { return kind >= GlyphKind::TransportPrevious && kind <= GlyphKind::TransportNext; }
// A point `dx`, `dy` design pixels from the box's centre.
PointF FromCentre(const Box& b, float s, float dx, float dy) { return {b.cx() + dx * s, b.cy() + dy * s}; }

// An arrow head, its tip at (x, y) design pixels from the centre, pointing along +x or -x.
Stroke ArrowHead(const Box& b, float s, float x, float y, float dir) {
  return {{FromCentre(b, s, x - 2 * dir, y - 2), FromCentre(b, s, x, y), FromCentre(b, s, x - 2 * dir, y + 2)},
          kStroke * s};
}

Shape InOrderShape(const Box& b, float s) {
  Shape shape;
  shape.strokes.push_back({{FromCentre(b, s, -5, 0), FromCentre(b, s, 4.5f, 0)}, kStroke * s});
  shape.strokes.push_back(ArrowHead(b, s, 4.5f, 0, 1));
  return shape;
}

// A loop open at the bottom, its end turned into an arrow head.
Shape RepeatShape(const Box& b, float s) {
  Shape shape;
  shape.strokes.push_back({{FromCentre(b, s, -1.5f, 3.5f), FromCentre(b, s, -5, 3.5f), FromCentre(b, s, -5, -3.5f),
                            FromCentre(b, s, 5, -3.5f), FromCentre(b, s, 5, 3.5f), FromCentre(b, s, 0.5f, 3.5f)},
                           kStroke * s});
  shape.strokes.push_back(ArrowHead(b, s, 0.5f, 3.5f, -1));
  return shape;
}

Shape RepeatOneShape(const Box& b, float s) {
  Shape shape = RepeatShape(b, s);
  shape.strokes.push_back({{FromCentre(b, s, -1, -0.5f), FromCentre(b, s, 0, -1.5f), FromCentre(b, s, 0, 1.5f)},
                           kStroke * s});
  return shape;
}

// Two paths crossing, each ending in an arrow head.
Shape ShuffleShape(const Box& b, float s) {
  Shape shape;
  for (float sign : {1.0f, -1.0f}) {
    shape.strokes.push_back({{FromCentre(b, s, -5, -3 * sign), FromCentre(b, s, -2, -3 * sign),
                              FromCentre(b, s, 2, 3 * sign), FromCentre(b, s, 5, 3 * sign)},
                             kStroke * s});
    shape.strokes.push_back(ArrowHead(b, s, 5, 3 * sign, 1));
  }
  return shape;
}

Shape ShapeOf(GlyphKind kind, const Box& b, float s) {
  if (IsTransport(kind)) return TransportShape(kind, b, s);
  switch (kind) {
    case GlyphKind::CaptionClose:
      return CloseShape(b, s);
    case GlyphKind::CaptionMaximize:
      return MaximizeShape(b, s);
    case GlyphKind::CaptionRestore:
      return RestoreShape(b, s);
    case GlyphKind::CaptionMinimize:
      return MinimizeShape(b, s);
    case GlyphKind::CaptionHelp:
      return HelpShape(b, s);
    case GlyphKind::CaptionMenu:
      return MenuShape(b, s);
    case GlyphKind::ComboArrow:
      return ArrowShape(GlyphKind::ArrowDown, b, s);
    case GlyphKind::CaptionInOrder:
      return InOrderShape(b, s);
    case GlyphKind::CaptionRepeatList:
      return RepeatShape(b, s);
    case GlyphKind::CaptionRepeatOne:
      return RepeatOneShape(b, s);
    case GlyphKind::CaptionShuffle:
      return ShuffleShape(b, s);
    default:
      return ArrowShape(kind, b, s);
  }
}

void PaintShape(Graphics& g, const Box& b, const Shape& shape, const GlyphColours& c, float s) {
  const int t = (c.rim >> 24) ? LineWidth(1, s) : 0;
  const Box area = Intersect(Bounds(shape, t + 1), b);
  if (area.w <= 0 || area.h <= 0) return;
  const Mask ink = Cover(area, [&](float x, float y) { return Inside(shape, x, y); });
  Canvas canvas(area);
  if (t) canvas.Paint(Grow(ink, t), c.rim);
  canvas.Paint(ink, c.ink);
  canvas.Show(g);
}

// The check box and its mark share one square, centred in the box.
Box CheckSquare(const Box& b, float s) {
  const int n = CentredLength(kCheckSize, s, b.w);
  return {b.x + FloorHalf(b.w - n), b.y + FloorHalf(b.h - n), n, n};
}

bool InRoundedRect(float x, float y, float x0, float y0, float x1, float y1, float r) {
  if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
  const float dx = std::max({x0 + r - x, 0.0f, x - (x1 - r)});
  const float dy = std::max({y0 + r - y, 0.0f, y - (y1 - r)});
  return dx * dx + dy * dy <= r * r;
}

// A shaded face inside a one-line border with rounded corners.
void PaintCheckBox(Graphics& g, const Box& b, const GlyphColours& c, float s) {
  const Box square = CheckSquare(b, s), area = Intersect(square, b);
  if (area.w <= 0 || area.h <= 0) return;
  const int edge = LineWidth(1, s);
  const float x0 = static_cast<float>(square.x), y0 = static_cast<float>(square.y);
  const float x1 = x0 + static_cast<float>(square.w), y1 = y0 + static_cast<float>(square.h);
  const float e = static_cast<float>(edge), r = 2.5f * s, innerR = std::max(0.5f, r - e);
  const auto inner = [&](float x, float y) {
    return InRoundedRect(x, y, x0 + e, y0 + e, x1 - e, y1 - e, innerR);
  };
  const Mask face = Cover(area, inner);
  const Mask ring = Cover(area, [&](float x, float y) {
    return InRoundedRect(x, y, x0, y0, x1, y1, r) && !inner(x, y);
  });
  Canvas canvas(area);
  const int firstRow = square.y + edge - area.y, lastRow = firstRow + square.h - 2 * edge - 1;
  canvas.Paint(face, c.faceTop, c.faceBottom, firstRow, lastRow);
  canvas.Paint(ring, c.ink);
  canvas.Show(g);
}

void PaintCheckMark(Graphics& g, const Box& b, const GlyphColours& c, float s) {
  const Box q = CheckSquare(b, s);
  const float k = static_cast<float>(q.w) / kCheckSize;
  const auto at = [&](float x, float y) {
    return PointF{static_cast<float>(q.x) + x * k, static_cast<float>(q.y) + y * k};
  };
  const Shape tick{{}, {{{at(3.4f, 6.9f), at(5.4f, 9.1f), at(9.6f, 4.1f)}, 2.0f * s}}};
  PaintShape(g, b, tick, c, s);
}

bool IsCaption(GlyphKind kind) {
  return kind <= GlyphKind::CaptionMenu || (kind >= GlyphKind::CaptionInOrder && kind <= GlyphKind::CaptionShuffle);
}

}  // namespace

GlyphColours DefaultGlyphColours(GlyphKind kind) {
  if (IsCaption(kind) || IsTransport(kind)) return {.ink = 0xFFFFFFFF, .rim = 0x69000000};
  switch (kind) {
    case GlyphKind::CheckBox:
      return {.ink = 0xDC404040, .faceTop = 0xC8FFFFFF, .faceBottom = 0xC8E5E9EF};
    case GlyphKind::CheckMark:
      return {.ink = 0xFF203020};
    default:
      return {.ink = 0xFF000000};
  }
}

SIZE GlyphExtent(GlyphKind kind, float scale) {
  if (IsCaption(kind)) {
    const float w = kind == GlyphKind::CaptionClose ? kCloseWidth : kCaptionWidth;
    return {Px(w * scale), Px(kCaptionHeight * scale)};
  }
  if (kind == GlyphKind::CheckBox || kind == GlyphKind::CheckMark) {
    const int n = Px(kCheckSize * scale);
    return {n, n};
  }
  if (IsTransport(kind)) {
    const int n = Px(kTransportSize * scale);
    return {n, n};
  }
  const int n = LineWidth(kArrowLength, scale), span = 2 * n - 1;
  const bool across = kind == GlyphKind::ArrowLeft || kind == GlyphKind::ArrowRight;
  return across ? SIZE{n, span} : SIZE{span, n};
}

void DrawGlyph(Graphics& g, const RectF& box, GlyphKind kind, const GlyphColours& colours,
               float scale) {
  const Box b = Snap(box);
  if (b.w <= 0 || b.h <= 0 || !(scale > 0)) return;
  if (kind == GlyphKind::CheckBox) return PaintCheckBox(g, b, colours, scale);
  if (kind == GlyphKind::CheckMark) return PaintCheckMark(g, b, colours, scale);
  PaintShape(g, b, ShapeOf(kind, b, scale), colours, scale);
}

}  // namespace tovel::skin
