#include "skin/layout.h"

#include <algorithm>
#include <numeric>

namespace tovel::skin {
namespace {
// Hit tests compare floats with a tolerance so a point on an edge is outside.
constexpr float kEpsilon = 1e-7f;
}  // namespace

int CaptionStripWidth(std::span<const int> widths, const CaptionMetrics& m) {
  if (widths.empty()) return 0;
  const int sum = std::accumulate(widths.begin(), widths.end(), 0);
  return sum + static_cast<int>(widths.size() - 1) * m.gap + m.margin;
}

CaptionGeometry LayoutCaptionButtons(int clientWidth, std::span<const ButtonKind> kinds,
                                     std::span<const int> widths, const CaptionMetrics& m) {
  CaptionGeometry g;
  g.stripHeight = m.stripHeight;
  g.areaHeight = m.areaHeight;
  g.stripWidth = CaptionStripWidth(widths, m);
  g.stripLeft = clientWidth - m.margin - g.stripWidth - m.stripRightGap;
  g.areaLeft = clientWidth - g.stripWidth + 1;
  const float x0 = static_cast<float>(g.areaLeft + 2);
  const float y0 = static_cast<float>(g.areaTop + 1);
  for (size_t i = 0; i < kinds.size(); ++i) {
    const int width = kinds[i] == ButtonKind::Close ? m.closeWidth : m.buttonWidth;
    g.buttons.push_back(BoxF{x0 + static_cast<float>(i * (m.buttonWidth + m.gap)), y0,
                             static_cast<float>(width), static_cast<float>(m.buttonHeight)});
  }
  return g;
}

int HitTestCaptionButton(const CaptionGeometry& g, float x, float y) {
  if (x < static_cast<float>(g.areaLeft) || y < static_cast<float>(g.areaTop) ||
      y > static_cast<float>(g.areaTop + g.areaHeight))
    return 0;
  for (size_t i = 0; i < g.buttons.size(); ++i) {
    const BoxF& b = g.buttons[i];
    if (x - b.x > kEpsilon && x < b.x + b.width && y - b.y > kEpsilon && y < b.y + b.height)
      return static_cast<int>(i + 1);
  }
  return 0;
}

bool InCaptionStrip(const CaptionGeometry& g, float x, float y) {
  if (g.buttons.empty()) return false;
  const float left = static_cast<float>(std::min(g.stripLeft - 2, g.areaLeft));
  const float right = static_cast<float>(g.areaLeft + g.stripWidth);
  return x >= left && x <= right && y >= 0 && y <= static_cast<float>(g.stripHeight);
}

IntBox CaptionButtonPicture(const CaptionGeometry& g, int button, int pictureWidth,
                            int pictureHeight) {
  if (button < 1 || button > static_cast<int>(g.buttons.size())) return {};
  const BoxF& b = g.buttons[static_cast<size_t>(button - 1)];
  return IntBox{static_cast<int>(b.x) - 1, g.areaTop + 1, pictureWidth, pictureHeight};
}

IntBox CaptionButtonBounds(const CaptionGeometry& g, int button, int pictureWidth,
                           int pictureHeight) {
  IntBox box = CaptionButtonPicture(g, button, pictureWidth, pictureHeight);
  if (box.width > 0) box.width += 1;
  return box;
}

Zone ZoneAt(int x, int y, int right, int bottom, const ZoneMetrics& zones) {
  const int m = zones.margin, corner = zones.corner;
  const bool alongY = y >= zones.edgeStart && y < bottom - corner;
  const bool alongX = x >= zones.edgeStart && x < right - corner;
  if (x <= m && alongY) return Zone::Left;
  if (x >= right - m && alongY) return Zone::Right;
  if (y <= m && alongX) return Zone::Top;
  if (y >= bottom - m && alongX) return Zone::Bottom;
  if (x <= corner && y <= corner) return Zone::TopLeft;
  if (x >= right - corner && y <= corner) return Zone::TopRight;
  if (x <= corner && y >= bottom - corner) return Zone::BottomLeft;
  if (x >= right - corner && y >= bottom - corner) return Zone::BottomRight;
  return Zone::None;
}

int ZoneCursorId(Zone zone) {
  constexpr int kSizeNwse = 32642, kSizeNesw = 32643, kSizeWe = 32644, kSizeNs = 32645;
  switch (zone) {
    case Zone::Left:
    case Zone::Right: return kSizeWe;
    case Zone::Top:
    case Zone::Bottom: return kSizeNs;
    case Zone::TopLeft:
    case Zone::BottomRight: return kSizeNwse;
    case Zone::TopRight:
    case Zone::BottomLeft: return kSizeNesw;
    case Zone::None: break;
  }
  return 0;
}

int ZoneSizeCommand(Zone zone) {
  constexpr int kSize = 0xF000;
  switch (zone) {
    case Zone::Left: return kSize + 1;
    case Zone::Right: return kSize + 2;
    case Zone::Top: return kSize + 3;
    case Zone::TopLeft: return kSize + 4;
    case Zone::TopRight: return kSize + 5;
    case Zone::Bottom: return kSize + 6;
    case Zone::BottomLeft: return kSize + 7;
    case Zone::BottomRight: return kSize + 8;
    case Zone::None: break;
  }
  return 0;
}

ItemLayout LayoutItems(int clientRight, int clientBottom, int itemAreaSize,
                       std::span<const int> itemWidths, int m) {
  ItemLayout layout;
  layout.band = IntBox{m, clientBottom - itemAreaSize - m - 1, clientRight - 2 * m, itemAreaSize};
  int x = m;
  int total = 0;
  for (int given : itemWidths) {
    const int width = given == -1 ? clientRight - total - 2 * m : given;
    layout.items.push_back(IntBox{x, layout.band.y, width, itemAreaSize});
    total += width;
    x += width;
  }
  return layout;
}

FrameMetrics FrameMetricsAt(Scale s, int captionHeightAt96) {
  FrameMetrics m;
  m.captionHeight = s.Px(std::max(captionHeightAt96, kMinimumCaptionHeight));
  m.minimumSize = Extent{s.Px(200), s.Px(150)};
  m.zones = ZoneMetrics{s.Px(kCaptionMargin), s.Px(10), s.Px(11)};
  CaptionMetrics& c = m.caption;
  c.buttonWidth = s.Px(26);
  c.closeWidth = s.Px(40);
  c.buttonHeight = s.Px(18);
  c.gap = s.Px(kCaptionButtonGap);
  c.margin = s.Px(kCaptionMargin);
  c.stripRightGap = s.Px(2);
  c.stripHeight = s.Px(22);
  c.areaHeight = s.Px(22);
  m.itemMargin = s.Px(kCaptionMargin);
  m.iconSize = s.Px(kCaptionIconSize);
  m.iconLeft = s.Px(kCaptionMargin + 6);
  m.iconTop = s.Px(kCaptionMargin + 2);
  m.textLeft = s.Px(kCaptionMargin + 26);
  m.textTop = s.Px(kCaptionMargin + 5);
  m.textGap = s.Px(10);
  m.captionBandBottom = s.Px(kCaptionBandBottom);
  m.buttonWidth = s.Px(26);
  m.closeButtonWidth = s.Px(38);
  m.buttonHeight = s.Px(18);
  m.closeCorner = s.Px(5);
  m.glowCorner = s.Px(1);
  m.outerCorner = s.Px(7);
  m.innerCorner = s.Px(6);
  m.regionCorner = s.Px(5);
  m.factor = static_cast<float>(s.dpi()) / static_cast<float>(Scale::kBaseDpi);
  m.penWidth = m.factor;
  m.itemCorner = s.Px(4);
  return m;
}

Extent RescaledSize(Extent size, Scale from, Scale to) {
  // Back to 96 DPI, halves rounded up as Px rounds them, then forward with Px.
  const auto at96 = [&](int px) {
    const long long n = static_cast<long long>(std::max(px, 0)) * Scale::kBaseDpi;
    return static_cast<int>((2 * n + from.dpi()) / (2 * from.dpi()));
  };
  return Extent{to.Px(at96(size.width)), to.Px(at96(size.height))};
}

Extent UsableArea(int screenWidth, int screenHeight, int taskbarHeight, bool maximized) {
  return Extent{screenWidth, maximized ? screenHeight - taskbarHeight : screenHeight};
}

std::optional<FadeDraw> CaptionFade::Hover(int from, int to) {
  if (from == to) return std::nullopt;
  std::optional<FadeDraw> cut;
  if (from >= 1) {
    if (out_.Running() && out_.button != from) cut = FadeDraw{out_.button, 0};
    // A button left half-lit fades out from where it got to.
    const int startStep = in_.button == from && in_.Running() ? kFadeSteps - in_.step : 0;
    if (in_.button == from) in_ = {};
    out_ = Fade{from, startStep};
  }
  if (to >= 1) {
    const int startStep = out_.button == to && out_.Running() ? kFadeSteps - out_.step : 0;
    if (out_.button == to) out_ = {};
    in_ = Fade{to, startStep};
  }
  return cut;
}

std::vector<FadeDraw> CaptionFade::Tick() {
  std::vector<FadeDraw> draws;
  if (in_.Running()) {
    ++in_.step;
    draws.push_back(FadeDraw{in_.button, in_.step * kFadeStepAlpha});
  }
  if (out_.Running()) {
    ++out_.step;
    draws.push_back(FadeDraw{out_.button, kFadeSteps * kFadeStepAlpha - out_.step * kFadeStepAlpha});
  }
  return draws;
}

int CaptionFade::RestingAlpha(int button, int hot) const {
  constexpr int kLit = kFadeSteps * kFadeStepAlpha;
  if (button < 1) return 0;
  if (button == hot) return in_.button == button ? in_.step * kFadeStepAlpha : kLit;
  if (out_.button == button && out_.Running()) return kLit - out_.step * kFadeStepAlpha;
  return 0;
}

}  // namespace tovel::skin
