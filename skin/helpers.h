#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/dc.h"
#include "base/handle.h"
#include "base/scale.h"
#include "base/value.h"
#include "skin/layout.h"

namespace tovel {
class Graphics;
class GraphicsPath;
class Bitmap;
struct PointF;
}  // namespace tovel

namespace tovel::skin {

class SkinEngine;

// Window properties the engine sets, counted so a test can see that every one
// it set is gone again.
void SetSkinProp(HWND hwnd, const wchar_t* name, HANDLE value);
HANDLE GetSkinProp(HWND hwnd, const wchar_t* name);
void RemoveSkinProp(HWND hwnd, const wchar_t* name);
int LivePropertyCount();

// Installs `proc` as the window's procedure and returns the one it replaced.
WNDPROC Subclass(HWND hwnd, WNDPROC proc);
// Puts `previous` back, but only while `ours` is still the window's procedure:
// someone who subclassed after us keeps their place, and ours stays in the chain
// (false), where it must go on passing every message to `previous`.
bool Unsubclass(HWND hwnd, WNDPROC ours, WNDPROC previous);

// Asks for a WM_MOUSELEAVE (and a hover, with TME_HOVER in `flags`). When the
// pointer has already gone, the leave is posted at once: Wine then installs no
// tracking and says nothing, which left a fast-crossed control lit for good.
void TrackMouse(HWND hwnd, DWORD flags, DWORD hoverTime = HOVER_DEFAULT);

// A closed figure of four quarter arcs; r is the corner's diameter, clamped to 1..100.
void AddRoundedRect(GraphicsPath& path, float x, float y, float width, float height, float r);

// Rounded shapes, as every painter draws them.
void FillRounded(Graphics& g, float x, float y, float w, float h, float r, Argb colour);
void FillRoundedGradient(Graphics& g, float x, float y, float w, float h, float r, const PointF& from,
                         const PointF& to, Argb start, Argb end);
void OutlineRounded(Graphics& g, float x, float y, float w, float h, float r, Argb colour,
                    float width = 1);
// A soft edge: the path drawn `passes` times with pens 1, 2, ... times `unit` wide.
void Glow(Graphics& g, const GraphicsPath& path, int passes, Argb colour, float unit = 1);

// The factor of a display scale, for pen widths and radii, which stay fractional.
inline float Factor(Scale s) { return static_cast<float>(s.dpi()) / Scale::kBaseDpi; }

std::wstring ClassName(HWND hwnd);
bool IsClass(HWND hwnd, const wchar_t* name);
bool IsOwnerDrawnListBox(HWND hwnd);

// The window number of the skinned window a control lies on (walking up its
// parents), 0 when none.
int WindowNumberOfControl(const SkinEngine& engine, HWND control);

// The control's rectangle in its skinned window's client coordinates.
RECT RectInWindow(HWND control, HWND window);

// A memory DC holding the window's composed picture behind a control (the
// rectangle r of the control); the plain main colour when the control lies on no
// skinned window. Released when it goes.
class ControlBackground {
 public:
  ControlBackground(const SkinEngine& engine, HWND control, const RECT& r);
  HDC get() const { return dib_.get(); }
  const DibDc& dib() const { return dib_; }
  explicit operator bool() const { return static_cast<bool>(dib_); }

 private:
  DibDc dib_;
};

// A white layer with the given alpha over the whole picture.
void LayWhite(DibDc& picture, int alpha);

// The control's client area, relative to its window rectangle.
RECT ClientInWindowRect(HWND control);

// The window's DC with its visible, non-transparent children cut out.
class ChildCutDc {
 public:
  explicit ChildCutDc(HWND hwnd);
  HDC get() const { return dc_.get(); }

 private:
  WindowDc dc_;
};
void ExcludeChildren(HWND hwnd, HDC dc);

// A picture decoded from bytes; null when it does not decode or has no pixels.
std::shared_ptr<Bitmap> DecodePicture(ByteView bytes);

// A skin picture, decoded once. An opaque one also keeps its pixels in a DIB, so it
// is laid out with the platform's own blits: several times faster than the graphics
// library's under Wine, and the same picture.
struct Picture {
  std::shared_ptr<Bitmap> bitmap;
  DibDc opaquePixels;  // empty when the picture has transparency
  int width = 0;
  int height = 0;
};
std::shared_ptr<Picture> LoadPicture(ByteView bytes);

// The average colour of a picture, sampled on a fixed grid of about `samples`
// points (so the same picture always gives the same colour). Margins restrict the
// samples to the right and bottom strips, as for an edge-faded picture.
ColourRef AverageColour(const Picture& picture, int samples = 2000, int marginX = 0,
                        int marginY = 0);

// The picture with its edges faded toward `colour`, as PNG bytes. Variant 0 fades
// the right edge; variant 1 the right edge and the top and bottom bands. The fade
// is 0.3 of the width unless `fading` is on and `fadeWidth` given.
ByteSet FadeEdges(ByteView picture, int fadeWidth, bool fading, ColourRef colour, int variant);

}  // namespace tovel::skin
