#pragma once

#include <optional>
#include <span>
#include <vector>

#include "gfx/graphics_object.h"

// windowsx.h defines DeletePen as a function-like macro.
#ifdef DeletePen
#undef DeletePen
#endif

namespace tovel {

class Brush;

// Units, caps, joins, alignments and dash styles are the platform's values;
// matrices and custom caps are any GraphicsObject holding one.
class Pen : public GraphicsObject {
 public:
  Pen() = default;
  Pen(Pen&&) noexcept = default;
  Pen& operator=(Pen&&) noexcept = default;
  ~Pen() override { Destroy(); }

  bool DeletePen();
  // Unit 0 (world) when omitted.
  bool CreatePen1(Argb color, float width, std::optional<int> unit = {});
  bool CreatePen2(const Brush& brush, float width, std::optional<int> unit = {});
  bool ClonePen(Pen& target) const;
  float GetPenWidth() const;
  bool SetPenWidth(float width);
  int GetPenUnit() const;
  // The unit is truncated to a whole number.
  bool SetPenUnit(double unit);
  bool SetPenLineCap197819(int startCap, int endCap, int dashCap);
  bool SetPenStartCap(int cap);
  bool SetPenEndCap(int cap);
  bool SetPenDashCap197819(int cap);
  int GetPenStartCap() const;
  int GetPenEndCap() const;
  int GetPenDashCap197819() const;
  bool SetPenLineJoin(int join);
  int GetPenLineJoin() const;
  bool SetPenCustomStartCap(const GraphicsObject& cap);
  bool GetPenCustomStartCap(GraphicsObject& target) const;
  bool SetPenCustomEndCap(const GraphicsObject& cap);
  bool GetPenCustomEndCap(GraphicsObject& target) const;
  bool SetPenMiterLimit(float limit);
  float GetPenMiterLimit() const;
  bool SetPenMode(int alignment);
  int GetPenMode() const;
  bool SetPenTransform(const GraphicsObject& matrix);
  bool GetPenTransform(const GraphicsObject& matrix) const;
  bool ResetPenTransform();
  bool MultiplyPenTransform(const GraphicsObject& matrix, int order);
  bool RotatePenTransform(float angle, int order);
  bool RotatePenTransformAt(float angle, const PointF& centre, int order);
  bool ScalePenTransform(float sx, float sy, int order);
  bool ScalePenTransformAt(float sx, float sy, const PointF& centre, int order);
  bool TranslatePenTransform(float dx, float dy, int order);
  Argb GetPenColor() const;
  bool SetPenColor(Argb color);
  bool SetPenBrushFill(const Brush& brush);
  bool GetPenBrushFill(Brush& target) const;
  int GetPenFillType() const;
  bool SetPenDashStyle(int style);
  int GetPenDashStyle() const;
  float GetPenDashOffset() const;
  bool SetPenDashOffset(float offset);
  bool GetPenDashArray(std::vector<float>& dashes) const;
  bool SetPenDashArray(std::span<const float> dashes);
  bool SetPenCompoundArray(std::span<const float> compounds);
  bool GetPenCompoundArray(std::vector<float>& compounds) const;

 protected:
  void ReleaseNative(void* h) override;
};

}  // namespace tovel
