#pragma once

#include <optional>
#include <span>
#include <vector>

#include "gfx/graphics_object.h"

// windowsx.h defines DeleteBrush as a function-like macro.
#ifdef DeleteBrush
#undef DeleteBrush
#endif

namespace tovel {

class GraphicsPath;

// Every brush kind; the handle is the platform brush of the subclass.
class Brush : public GraphicsObject {
 public:
  Brush(Brush&&) noexcept = default;
  Brush& operator=(Brush&&) noexcept = default;
  ~Brush() override { Destroy(); }

  bool DeleteBrush();
  bool CloneBrush(Brush& target) const;
  int GetBrushType() const;

 protected:
  Brush() = default;
  void ReleaseNative(void* h) override;
};

class SolidBrush : public Brush {
 public:
  SolidBrush() = default;
  bool CreateSolidFill(Argb color);
  bool SetSolidFillColor(Argb color);
  Argb GetSolidFillColor() const;
};

// Matrix orders: 0 prepends, 1 appends. Matrices are any GraphicsObject holding one.
class LinearGradientBrush : public Brush {
 public:
  LinearGradientBrush() = default;
  // Wrap mode 0 (tile) for every creating method.
  bool CreateLineBrush(const PointF& start, const PointF& end, Argb startColor, Argb endColor);
  bool CreateLineBrushI(const Point& start, const Point& end, Argb startColor, Argb endColor);
  bool CreateLineBrushFromRect(const RectF& rect, Argb startColor, Argb endColor, int mode);
  bool CreateLineBrushFromRectI(const Rect& rect, Argb startColor, Argb endColor, int mode);
  bool CreateLineBrushFromRectWithAngle(const RectF& rect, Argb startColor, Argb endColor,
                                        float angle, bool isAngleScalable);
  bool CreateLineBrushFromRectWithAngleI(const Rect& rect, Argb startColor, Argb endColor,
                                         float angle, bool isAngleScalable);
  bool GetLineColors(Argb& startColor, Argb& endColor) const;
  bool SetLineColors(Argb startColor, Argb endColor);
  RectF GetLineRect() const;
  Rect GetLineRectI() const;
  bool SetLineGammaCorrection(bool useGamma);
  bool GetLineGammaCorrection() const;
  // Both arrays must be of the same length.
  bool SetLineBlend(std::span<const float> factors, std::span<const float> positions);
  int GetLineBlendCount() const;
  bool GetLineBlend(std::vector<float>& factors, std::vector<float>& positions) const;
  bool SetLinePresetBlend(std::span<const Argb> colors, std::span<const float> positions);
  int GetLinePresetBlendCount() const;
  bool GetLinePresetBlend(std::vector<Argb>& colors, std::vector<float>& positions) const;
  bool SetLineSigmaBlend(float focus, float scale);
  bool SetLineLinearBlend(float focus, float scale);
  int GetLineWrapMode() const;
  bool SetLineWrapMode(int mode);
  bool GetLineTransform(const GraphicsObject& matrix) const;
  bool SetLineTransform(const GraphicsObject& matrix);
  bool ResetLineTransform();
  bool MultiplyLineTransform(const GraphicsObject& matrix, int order);
  bool TranslateLineTransform(float dx, float dy, int order);
  bool ScaleLineTransform(float sx, float sy, int order);
  bool ScaleLineTransformAt(float sx, float sy, const PointF& centre, int order);
  bool RotateLineTransform(float angle, int order);
  bool RotateLineTransformAt(float angle, const PointF& centre, int order);
};

class PathGradientBrush : public Brush {
 public:
  PathGradientBrush() = default;
  // Wrap mode 4 (clamp) when omitted.
  bool CreatePathGradient(std::span<const PointF> points, std::optional<int> wrapMode = {});
  bool CreatePathGradientI(std::span<const Point> points, std::optional<int> wrapMode = {});
  bool CreatePathGradientFromPath(const GraphicsPath& path);
  Argb GetPathGradientCenterColor() const;
  bool SetPathGradientCenterColor(Argb color);
  int GetPathGradientPointCount() const;
  int GetPathGradientSurroundColorCount() const;
  // count in: how many to read; out: how many the platform gave. colors is resized to it.
  bool GetPathGradientSurroundColorsWithCount(std::vector<Argb>& colors, int& count) const;
  // Uses all colours unless count is given (at most the colours' number); the platform
  // writes back into count how many it took.
  bool SetPathGradientSurroundColorsWithCount(std::span<const Argb> colors, int* count = nullptr);
  bool GetPathGradientPath(const GraphicsPath& path) const;
  bool SetPathGradientPath(const GraphicsPath& path);
  PointF GetPathGradientCenterPoint() const;
  Point GetPathGradientCenterPointI() const;
  bool SetPathGradientCenterPoint(const PointF& point);
  bool SetPathGradientCenterPointI(const Point& point);
  RectF GetPathGradientRect() const;
  Rect GetPathGradientRectI() const;
  bool SetPathGradientGammaCorrection(bool useGamma);
  bool GetPathGradientGammaCorrection() const;
  int GetPathGradientBlendCount() const;
  bool SetPathGradientBlend(std::span<const float> factors, std::span<const float> positions);
  bool GetPathGradientBlend(std::vector<float>& factors, std::vector<float>& positions) const;
  int GetPathGradientPresetBlendCount() const;
  bool SetPathGradientPresetBlend(std::span<const Argb> colors, std::span<const float> positions);
  bool GetPathGradientPresetBlend(std::vector<Argb>& colors, std::vector<float>& positions) const;
  bool SetPathGradientSigmaBlend(float focus, float scale);
  bool SetPathGradientLinearBlend(float focus, float scale);
  bool GetPathGradientFocusScales(float& xScale, float& yScale) const;
  bool SetPathGradientFocusScales(float xScale, float yScale);
  int GetPathGradientWrapMode() const;
  bool SetPathGradientWrapMode(int mode);
  bool GetPathGradientTransform(const GraphicsObject& matrix) const;
  bool SetPathGradientTransform(const GraphicsObject& matrix);
  bool ResetPathGradientTransform();
  bool MultiplyPathGradientTransform(const GraphicsObject& matrix, int order);
  bool TranslatePathGradientTransform(float dx, float dy, int order);
  bool ScalePathGradientTransform(float sx, float sy, int order);
  bool ScalePathGradientTransformAt(float sx, float sy, const PointF& centre, int order);
  bool RotatePathGradientTransform(float angle, int order);
  bool RotatePathGradientTransformAt(float angle, const PointF& centre, int order);
};

}  // namespace tovel
