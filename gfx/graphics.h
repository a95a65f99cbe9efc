#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "gfx/graphics_object.h"

namespace tovel {

class Pen;
class Brush;
class Font;
class StringFormat;
class GraphicsPath;
class Region;
class Image;

// Receives each record of a metafile being enumerated; true goes on.
using MetafileRecordProc = BOOL(CALLBACK*)(int recordType, UINT flags, UINT dataSize,
                                           const BYTE* data, void* callbackData);

// A drawing surface. Methods report success as true (status in lastStatus);
// getters return what the platform wrote. Matrices, image attributes, cached
// bitmaps and metafiles are any GraphicsObject holding such a platform object.
class Graphics : public GraphicsObject {
 public:
  Graphics() = default;
  Graphics(Graphics&&) noexcept = default;
  Graphics& operator=(Graphics&&) noexcept = default;
  ~Graphics() override { Destroy(); }

  bool Delete();
  int Flush(std::optional<int> intention = {});
  bool CreateFromWindow(HWND window, bool useColorManagement = false);
  bool CreateFromDC(HDC dc, std::optional<HANDLE> device = {});
  bool CreateFromImage(const Image& image);
  HDC GetDC();
  bool ReleaseDC(HDC dc);

  bool GetRenderingOrigin(int& x, int& y);
  bool SetRenderingOrigin(int x, int y);
  int GetCompositingMode();
  bool SetCompositingMode(int mode);
  int GetCompositingQuality();
  bool SetCompositingQuality(int quality);
  bool SetTextRenderingHint(int hint);
  int GetTextRenderingHint();
  bool SetTextContrast(unsigned contrast);
  unsigned GetTextContrast();
  bool SetInterpolationMode(int mode);
  int GetInterpolationMode();
  bool SetSmoothingMode(int mode);
  int GetSmoothingMode();
  bool SetPixelOffsetMode(int mode);
  int GetPixelOffsetMode();

  bool SetWorldTransform(const GraphicsObject& matrix);
  bool GetWorldTransform(const GraphicsObject& matrix);
  bool ResetWorldTransform();
  bool MultiplyWorldTransform(const GraphicsObject& matrix, int order);
  bool TranslateWorldTransform(float dx, float dy, int order);
  bool ScaleWorldTransform(float sx, float sy, int order);
  bool ScaleWorldTransformAt(float sx, float sy, const PointF& centre, int order);
  bool RotateWorldTransform(float angle, int order);
  bool RotateWorldTransformAt(float angle, const PointF& centre, int order);
  bool SetPageUnit(int unit);
  int GetPageUnit();
  bool SetPageScale(float scale);
  float GetPageScale();
  float GetDpiX();
  float GetDpiY();
  bool TransformPoints(int destSpace, int srcSpace, std::span<PointF> points);
  bool TransformPointsI(int destSpace, int srcSpace, std::span<Point> points);
  Argb GetNearestColor(Argb& color);

  bool DrawLine(const Pen& pen, float x1, float y1, float x2, float y2);
  bool DrawLineI(const Pen& pen, int x1, int y1, int x2, int y2);
  bool DrawLines(const Pen& pen, std::span<const PointF> points);
  bool DrawLinesI(const Pen& pen, std::span<const Point> points);
  bool DrawArc(const Pen& pen, float x, float y, float width, float height, float startAngle,
               float sweepAngle);
  bool DrawArcI(const Pen& pen, int x, int y, int width, int height, float startAngle,
                float sweepAngle);
  bool DrawBezier(const Pen& pen, float x1, float y1, float x2, float y2, float x3, float y3,
                  float x4, float y4);
  bool DrawBezierI(const Pen& pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                   int y4);
  bool DrawBeziers(const Pen& pen, std::span<const PointF> points);
  bool DrawBeziersI(const Pen& pen, std::span<const Point> points);
  bool DrawRectangle(const Pen& pen, float x, float y, float width, float height);
  bool DrawRectangleI(const Pen& pen, int x, int y, int width, int height);
  bool DrawRectangles(const Pen& pen, std::span<const RectF> rects);
  bool DrawRectanglesI(const Pen& pen, std::span<const Rect> rects);
  bool DrawEllipse(const Pen& pen, float x, float y, float width, float height);
  bool DrawEllipseI(const Pen& pen, int x, int y, int width, int height);
  bool DrawPie(const Pen& pen, float x, float y, float width, float height, float startAngle,
               float sweepAngle);
  bool DrawPieI(const Pen& pen, int x, int y, int width, int height, float startAngle,
                float sweepAngle);
  bool DrawPolygon(const Pen& pen, std::span<const PointF> points);
  bool DrawPolygonI(const Pen& pen, std::span<const Point> points);
  bool DrawPath(const Pen& pen, const GraphicsPath& path);
  bool DrawCurve(const Pen& pen, std::span<const PointF> points);
  bool DrawCurveI(const Pen& pen, std::span<const Point> points);
  bool DrawCurve2(const Pen& pen, std::span<const PointF> points, float tension);
  bool DrawCurve2I(const Pen& pen, std::span<const Point> points, float tension);
  bool DrawCurve3(const Pen& pen, std::span<const PointF> points, int offset, int segments,
                  float tension);
  bool DrawCurve3I(const Pen& pen, std::span<const Point> points, int offset, int segments,
                   float tension);
  bool DrawClosedCurve(const Pen& pen, std::span<const PointF> points);
  bool DrawClosedCurveI(const Pen& pen, std::span<const Point> points);
  bool DrawClosedCurve2(const Pen& pen, std::span<const PointF> points, float tension);
  bool DrawClosedCurve2I(const Pen& pen, std::span<const Point> points, float tension);

  bool Clear(Argb color);
  bool FillRectangle(const Brush& brush, float x, float y, float width, float height);
  bool FillRectangleRect(const Brush& brush, const RectF& rect);
  bool FillRectangleI(const Brush& brush, int x, int y, int width, int height);
  bool FillRectangles(const Brush& brush, std::span<const RectF> rects);
  bool FillRectanglesI(const Brush& brush, std::span<const Rect> rects);
  bool FillPolygon(const Brush& brush, std::span<const PointF> points, int fillMode);
  bool FillPolygonI(const Brush& brush, std::span<const Point> points, int fillMode);
  bool FillEllipse(const Brush& brush, float x, float y, float width, float height);
  bool FillEllipseI(const Brush& brush, int x, int y, int width, int height);
  bool FillPie(const Brush& brush, float x, float y, float width, float height, float startAngle,
               float sweepAngle);
  bool FillPieI(const Brush& brush, int x, int y, int width, int height, float startAngle,
                float sweepAngle);
  bool FillPath(const Brush& brush, const GraphicsPath& path);
  bool FillClosedCurve(const Brush& brush, std::span<const PointF> points);
  bool FillClosedCurve2(const Brush& brush, std::span<const PointF> points, float tension,
                        int fillMode);
  bool FillClosedCurveI(const Brush& brush, std::span<const Point> points);
  bool FillClosedCurve2I(const Brush& brush, std::span<const Point> points, float tension,
                         int fillMode);
  bool FillRegion(const Brush& brush, const Region& region);

  // Texts are UTF-8; the Wide forms take zero-terminated UTF-16 bytes.
  bool DrawString(const Text& text, const Font& font, const Brush& brush, const RectF& layout,
                  const StringFormat& format);
  bool DrawStringWide(const ByteSet& text, const Font& font, const Brush& brush,
                      const RectF& layout, const StringFormat& format);
  bool MeasureString(const Text& text, const Font& font, const RectF& layout,
                     const StringFormat& format, RectF& bounds);
  bool MeasureStringWide(const ByteSet& text, const Font& font, const RectF& layout,
                         const StringFormat& format, RectF& bounds);
  // Replaces regions by count new regions, one per measurable range of the format.
  bool MeasureCharacterRanges(const Text& text, const Font& font, const RectF& layout,
                              const StringFormat& format, int count,
                              std::vector<Region>& regions);
  bool MeasureCharacterRangesWide(const ByteSet& text, const Font& font, const RectF& layout,
                                  const StringFormat& format, int count,
                                  std::vector<Region>& regions);
  // Needs one position per character, or one in all with flag 4 (realized advance).
  bool DrawDriverString(const Text& text, const Font& font, const Brush& brush,
                        std::span<const PointF> positions, int flags = 1,
                        const GraphicsObject* matrix = nullptr);
  bool DrawDriverStringWide(const ByteSet& text, const Font& font, const Brush& brush,
                            std::span<const PointF> positions, int flags = 1,
                            const GraphicsObject* matrix = nullptr);

  bool DrawImage(const Image& image, float x, float y);
  bool DrawImageI(const Image& image, int x, int y);
  bool DrawCachedBitmap(const GraphicsObject& cachedBitmap, float x, float y);
  // The whole image, in pixels unless a unit is given, scaled into the destination.
  bool DrawImageStretched(const Image& image, float x, float y, float width, float height,
                          std::optional<int> srcUnit = {});
  bool DrawImageStretchedI(const Image& image, int x, int y, int width, int height,
                           std::optional<int> srcUnit = {});
  bool DrawImagePoints(const Image& image, float x1, float y1, float x2, float y2, float x3,
                       float y3);
  bool DrawImagePointsI(const Image& image, int x1, int y1, int x2, int y2, int x3, int y3);
  bool DrawImagePointRect(const Image& image, float x, float y, float srcX, float srcY,
                          float srcWidth, float srcHeight, std::optional<int> srcUnit = {});
  bool DrawImagePointRectI(const Image& image, int x, int y, int srcX, int srcY, int srcWidth,
                           int srcHeight, std::optional<int> srcUnit = {});
  bool DrawImageRectRect(const Image& image, float x, float y, float width, float height,
                         float srcX, float srcY, float srcWidth, float srcHeight,
                         std::optional<int> srcUnit = {},
                         const GraphicsObject* attributes = nullptr);
  bool DrawImageRectRectI(const Image& image, int x, int y, int width, int height, int srcX,
                          int srcY, int srcWidth, int srcHeight, std::optional<int> srcUnit = {},
                          const GraphicsObject* attributes = nullptr);
  bool DrawImagePointsRect(const Image& image, float x1, float y1, float x2, float y2, float x3,
                           float y3, const RectF& src, std::optional<int> srcUnit = {},
                           const GraphicsObject* attributes = nullptr);
  bool DrawImagePointsRectI(const Image& image, int x1, int y1, int x2, int y2, int x3, int y3,
                            const Rect& src, std::optional<int> srcUnit = {},
                            const GraphicsObject* attributes = nullptr);

  bool EnumerateMetafileDestPoint(const GraphicsObject& metafile, const PointF& dest,
                                  MetafileRecordProc callback, void* callbackData,
                                  const GraphicsObject* attributes = nullptr);
  bool EnumerateMetafileDestPointI(const GraphicsObject& metafile, const Point& dest,
                                   MetafileRecordProc callback, void* callbackData,
                                   const GraphicsObject* attributes = nullptr);
  bool EnumerateMetafileDestPoints(const GraphicsObject& metafile, std::span<const PointF> dest,
                                   MetafileRecordProc callback, void* callbackData,
                                   const GraphicsObject* attributes = nullptr);
  bool EnumerateMetafileDestPointsI(const GraphicsObject& metafile, std::span<const Point> dest,
                                    MetafileRecordProc callback, void* callbackData,
                                    const GraphicsObject* attributes = nullptr);
  bool EnumerateMetafileDestRect(const GraphicsObject& metafile, const RectF& dest,
                                 MetafileRecordProc callback, void* callbackData,
                                 const GraphicsObject* attributes = nullptr);
  bool EnumerateMetafileDestRectI(const GraphicsObject& metafile, const Rect& dest,
                                  MetafileRecordProc callback, void* callbackData,
                                  const GraphicsObject* attributes = nullptr);
  bool EnumerateMetafileSrcRectDestPoint(const GraphicsObject& metafile, const PointF& dest,
                                         const RectF& src, int srcUnit,
                                         MetafileRecordProc callback, void* callbackData,
                                         const GraphicsObject* attributes = nullptr);
  bool EnumerateMetafileSrcRectDestPointI(const GraphicsObject& metafile, const Point& dest,
                                          const Rect& src, int srcUnit,
                                          MetafileRecordProc callback, void* callbackData,
                                          const GraphicsObject* attributes = nullptr);
  bool EnumerateMetafileSrcRectDestPoints(const GraphicsObject& metafile,
                                          std::span<const PointF> dest, const RectF& src,
                                          int srcUnit, MetafileRecordProc callback,
                                          void* callbackData,
                                          const GraphicsObject* attributes = nullptr);
  bool EnumerateMetafileSrcRectDestPointsI(const GraphicsObject& metafile,
                                           std::span<const Point> dest, const Rect& src,
                                           int srcUnit, MetafileRecordProc callback,
                                           void* callbackData,
                                           const GraphicsObject* attributes = nullptr);
  bool EnumerateMetafileSrcRectDestRect(const GraphicsObject& metafile, const RectF& dest,
                                        const RectF& src, int srcUnit,
                                        MetafileRecordProc callback, void* callbackData,
                                        const GraphicsObject* attributes = nullptr);
  bool EnumerateMetafileSrcRectDestRectI(const GraphicsObject& metafile, const Rect& dest,
                                         const Rect& src, int srcUnit,
                                         MetafileRecordProc callback, void* callbackData,
                                         const GraphicsObject* attributes = nullptr);

  // Combine modes are the platform's (0 = replace).
  bool SetClipGraphics(const Graphics& other, int combineMode);
  bool SetClipPath(const GraphicsPath& path, int combineMode);
  bool SetClipRect(float x, float y, float width, float height, int combineMode);
  bool SetClipRectI(int x, int y, int width, int height, int combineMode);
  bool SetClipRegion(const Region& region, int combineMode);
  bool SetClipHrgn(HRGN region, int combineMode);
  bool ResetClip();
  bool TranslateClip(float dx, float dy);
  bool TranslateClipI(int dx, int dy);
  bool GetClip(const Region& region);
  RectF GetClipBounds();
  Rect GetClipBoundsI();
  RectF GetVisibleClipBounds();
  Rect GetVisibleClipBoundsI();
  bool IsClipEmpty();
  bool IsVisibleClipEmpty();
  bool IsVisiblePoint(float x, float y);
  bool IsVisiblePointI(int x, int y);
  bool IsVisibleRect(float x, float y, float width, float height);
  bool IsVisibleRectI(int x, int y, int width, int height);

  unsigned Save();
  bool Restore(unsigned state);
  unsigned BeginContainer(const RectF& dest, const RectF& src, int unit);
  unsigned BeginContainerI(const Rect& dest, const Rect& src, int unit);
  unsigned BeginContainer2();
  bool EndContainer(unsigned state);
  bool Comment(const ByteSet& data);

 protected:
  void ReleaseNative(void* h) override;
};

}  // namespace tovel
