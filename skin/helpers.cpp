#include "skin/helpers.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include "base/jpeg_picture.h"
#include "gfx/brush.h"
#include "gfx/graphics.h"
#include "gfx/image.h"
#include "gfx/path.h"
#include "gfx/pen.h"
#include "skin/engine.h"
#include "skin/gdiplus_constants.h"

namespace tovel::skin {
namespace {

std::atomic<int> gLiveProperties{0};

}  // namespace

void SetSkinProp(HWND hwnd, const wchar_t* name, HANDLE value) {
  const bool had = ::GetPropW(hwnd, name) != nullptr;
  if (::SetPropW(hwnd, name, value) && !had && value) ++gLiveProperties;
  if (had && !value) --gLiveProperties;
}

HANDLE GetSkinProp(HWND hwnd, const wchar_t* name) { return ::GetPropW(hwnd, name); }

void RemoveSkinProp(HWND hwnd, const wchar_t* name) {
  if (::RemovePropW(hwnd, name)) --gLiveProperties;
}

int LivePropertyCount() { return gLiveProperties.load(); }

WNDPROC Subclass(HWND hwnd, WNDPROC proc) {
  return reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

bool Unsubclass(HWND hwnd, WNDPROC ours, WNDPROC previous) {
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) != ours) return false;
  ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  return true;
}

void TrackMouse(HWND hwnd, DWORD flags, DWORD hoverTime) {
  TRACKMOUSEEVENT track{sizeof(track), flags, hwnd, hoverTime};
  ::TrackMouseEvent(&track);
  POINT pt;
  if (::GetCursorPos(&pt) && ::WindowFromPoint(pt) != hwnd) ::PostMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
}

void AddRoundedRect(GraphicsPath& path, float x, float y, float w, float h, float r) {
  const float d = std::clamp(r, 1.0f, 100.0f);
  path.AddPathArc(x + w - d, y, d, d, 270, 90);
  path.AddPathArc(x + w - d - 1, y + h - d - 1, d + 1, d + 1, 0, 90);
  path.AddPathArc(x, y + h - d, d, d, 90, 90);
  path.AddPathArc(x, y, d, d, 180, 90);
  path.ClosePathFigure();
}

void FillRounded(Graphics& g, float x, float y, float w, float h, float r, Argb colour) {
  if (w <= 0 || h <= 0) return;
  GraphicsPath path;
  SolidBrush brush;
  if (!path.CreatePath() || !brush.CreateSolidFill(colour)) return;
  AddRoundedRect(path, x, y, w, h, r);
  g.FillPath(brush, path);
}

void FillRoundedGradient(Graphics& g, float x, float y, float w, float h, float r, const PointF& from,
                         const PointF& to, Argb start, Argb end) {
  if (w <= 0 || h <= 0) return;
  GraphicsPath path;
  LinearGradientBrush brush;
  if (!path.CreatePath() || !brush.CreateLineBrush(from, to, start, end)) return;
  AddRoundedRect(path, x, y, w, h, r);
  g.FillPath(brush, path);
}

void OutlineRounded(Graphics& g, float x, float y, float w, float h, float r, Argb colour,
                    float width) {
  if (w <= 0 || h <= 0) return;
  GraphicsPath path;
  Pen pen;
  if (!path.CreatePath() || !pen.CreatePen1(colour, width)) return;
  // A pen wider than a pixel stays inside the figure's edge, as a one-pixel pen does.
  const float in = std::max(0.0f, (width - 1) / 2);
  AddRoundedRect(path, x + in, y + in, w - 2 * in, h - 2 * in, r);
  g.DrawPath(pen, path);
}

void Glow(Graphics& g, const GraphicsPath& path, int passes, Argb colour, float unit) {
  Pen pen;
  if (!pen.CreatePen1(colour, unit)) return;
  for (int i = 1; i <= passes; ++i) {
    pen.SetPenWidth(static_cast<float>(i) * unit);
    g.DrawPath(pen, path);
  }
}

std::wstring ClassName(HWND hwnd) {
  wchar_t name[256] = {};
  const int len = ::GetClassNameW(hwnd, name, ARRAYSIZE(name));
  return std::wstring(name, static_cast<size_t>(std::max(len, 0)));
}

bool IsClass(HWND hwnd, const wchar_t* name) {
  return ::CompareStringOrdinal(ClassName(hwnd).c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
}

bool IsOwnerDrawnListBox(HWND hwnd) {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
  return IsClass(hwnd, L"ListBox") && (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE));
}

int WindowNumberOfControl(const SkinEngine& engine, HWND control) {
  for (HWND h = ::GetParent(control); h; h = ::GetParent(h)) {
    if (const int n = engine.WindowNumber(h)) return n;
  }
  return 0;
}

RECT RectInWindow(HWND control, HWND window) {
  RECT r;
  ::GetWindowRect(control, &r);
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  ::OffsetRect(&r, -origin.x, -origin.y);
  return r;
}

ControlBackground::ControlBackground(const SkinEngine& engine, HWND control, const RECT& r)
    : dib_(r.right - r.left, r.bottom - r.top) {
  if (!dib_) return;
  const int n = WindowNumberOfControl(engine, control);
  const SkinnedWindow* w = n ? engine.Record(n) : nullptr;
  if (!w || !w->Composed()) {
    const ColourRef c = engine.GetMainColour();
    UniqueBrush fill(::CreateSolidBrush(c));
    RECT all{0, 0, dib_.width(), dib_.height()};
    ::FillRect(dib_.get(), &all, fill.get());
    return;
  }
  const RECT at = RectInWindow(control, w->hwnd);
  ::BitBlt(dib_.get(), 0, 0, dib_.width(), dib_.height(), w->Composed().get(), at.left + r.left,
           at.top + r.top, SRCCOPY);
}

void LayWhite(DibDc& picture, int alpha) {
  if (!picture || alpha <= 0) return;
  ::GdiFlush();
  const std::uint32_t a = static_cast<std::uint32_t>(std::min(alpha, 255));
  std::uint32_t* p = picture.pixels();
  const size_t count = static_cast<size_t>(picture.width()) * picture.height();
  for (size_t i = 0; i < count; ++i) {
    const std::uint32_t c = p[i];
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const std::uint32_t v = (c >> shift) & 0xFF;
      out |= (v + ((255 - v) * a + 127) / 255) << shift;
    }
    p[i] = out;
  }
}

RECT ClientInWindowRect(HWND control) {
  RECT window, client;
  ::GetWindowRect(control, &window);
  ::GetClientRect(control, &client);
  POINT origin{0, 0};
  ::ClientToScreen(control, &origin);
  return RECT{origin.x - window.left, origin.y - window.top, origin.x - window.left + client.right,
              origin.y - window.top + client.bottom};
}

void ExcludeChildren(HWND hwnd, HDC dc) {
  for (HWND child = ::FindWindowExW(hwnd, nullptr, nullptr, nullptr); child;
       child = ::FindWindowExW(hwnd, child, nullptr, nullptr)) {
    if (!::IsWindowVisible(child) || (::GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT))
      continue;
    const RECT r = RectInWindow(child, hwnd);
    ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
}

// A window that clips its children gets a DC without them already.
ChildCutDc::ChildCutDc(HWND hwnd) : dc_(hwnd) {
  if (dc_.get() && !(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CLIPCHILDREN)) ExcludeChildren(hwnd, dc_.get());
}

std::shared_ptr<Bitmap> DecodePicture(ByteView bytes) {
  if (bytes.empty()) return nullptr;
  auto picture = std::make_shared<Bitmap>();
  if (!picture->CreateFromBytes(bytes) || picture->GetWidth() == 0 || picture->GetHeight() == 0)
    return nullptr;
  return picture;
}

namespace {

// A JPEG decodes with libjpeg: under Wine the graphics library's decoder costs about
// five times as long, at start-up where it shows.
std::shared_ptr<Picture> LoadJpeg(ByteView bytes) {
  const tovel::Picture decoded = DecodeJpeg(bytes);
  DIBSECTION dib{};
  if (!decoded || ::GetObjectW(decoded.bitmap.get(), sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits)
    return nullptr;
  auto picture = std::make_shared<Picture>();
  picture->width = decoded.width;
  picture->height = decoded.height;
  picture->opaquePixels = DibDc(decoded.width, decoded.height);
  auto bitmap = std::make_shared<Bitmap>();
  if (!picture->opaquePixels || !bitmap->CreateFromHBITMAP(decoded.bitmap.get(), nullptr)) return nullptr;
  std::memcpy(picture->opaquePixels.pixels(), dib.dsBm.bmBits,
              static_cast<size_t>(decoded.width) * decoded.height * 4);
  picture->bitmap = std::move(bitmap);
  return picture;
}

}  // namespace

std::shared_ptr<Picture> LoadPicture(ByteView bytes) {
  constexpr std::uint8_t kJpegStart[] = {0xFF, 0xD8, 0xFF};
  if (bytes.size() > 3 && std::equal(kJpegStart, kJpegStart + 3, bytes.begin()))
    if (auto picture = LoadJpeg(bytes)) return picture;
  auto bitmap = DecodePicture(bytes);
  if (!bitmap) return nullptr;
  auto picture = std::make_shared<Picture>();
  picture->width = static_cast<int>(bitmap->GetWidth());
  picture->height = static_cast<int>(bitmap->GetHeight());
  constexpr int kAlpha = 0x40000, kIndexed = 0x10000, kReadOnly = 1;
  if (!(bitmap->GetPixelFormat() & (kAlpha | kIndexed))) {
    DibDc copy(picture->width, picture->height);
    BitmapData data;
    if (copy && bitmap->LockBits(Rect{0, 0, picture->width, picture->height}, kReadOnly,
                                 kPixelFormat32bppArgb, data)) {
      for (int y = 0; y < picture->height; ++y)
        std::memcpy(copy.pixels() + static_cast<size_t>(y) * picture->width,
                    static_cast<const std::uint8_t*>(data.scan0) + static_cast<ptrdiff_t>(y) * data.stride,
                    static_cast<size_t>(picture->width) * 4);
      bitmap->UnlockBits(data);
      picture->opaquePixels = std::move(copy);
    }
  }
  picture->bitmap = std::move(bitmap);
  return picture;
}

ColourRef AverageColour(const Picture& picture, int samples, int marginX, int marginY) {
  const int width = picture.width;
  const int height = picture.height;
  if (width < 1 || height < 1 || samples < 1) return 0;
  const int left = marginX >= 1 ? std::max(width - marginX, 0) : 0;
  const int top = marginY >= 1 ? std::max(height - marginY, 0) : 0;
  const int w = width - left, h = height - top;
  // A grid with the picture's proportions and about `samples` points, each at the
  // middle of its cell.
  const double aspect = static_cast<double>(w) / h;
  const int cols = std::clamp(static_cast<int>(std::lround(std::sqrt(samples * aspect))), 1, w);
  const int rows = std::clamp((samples + cols - 1) / cols, 1, h);
  std::uint64_t sum[3] = {0, 0, 0};
  for (int j = 0; j < rows; ++j) {
    for (int i = 0; i < cols; ++i) {
      const int x = left + (2 * i + 1) * w / (2 * cols);
      const int y = top + (2 * j + 1) * h / (2 * rows);
      const Argb p = picture.opaquePixels ? picture.opaquePixels.pixels()[y * width + x]
                                          : picture.bitmap->GetPixel(x, y);
      sum[0] += (p >> 16) & 0xFF;
      sum[1] += (p >> 8) & 0xFF;
      sum[2] += p & 0xFF;
    }
  }
  const std::uint64_t count = static_cast<std::uint64_t>(rows) * cols;
  return Rgb(static_cast<int>(sum[0] / count), static_cast<int>(sum[1] / count),
             static_cast<int>(sum[2] / count));
}

ByteSet FadeEdges(ByteView bytes, int fadeWidth, bool fading, ColourRef colour, int variant) {
  auto source = DecodePicture(bytes);
  if (!source) return {};
  const int w = static_cast<int>(source->GetWidth());
  const int h = static_cast<int>(source->GetHeight());
  Bitmap faded;
  Graphics g;
  if (!faded.CreateBlank(w, h) || !g.CreateFromImage(faded)) return {};
  g.SetCompositingQuality(kCompositingGammaCorrected);
  g.DrawImageRectRectI(*source, 0, 0, w, h, 0, 0, w, h, kUnitPixel);
  const float q = static_cast<float>(fading && fadeWidth > 0 ? fadeWidth : w * 3 / 10);
  const Argb clear = ToArgb(colour, 0);
  const Argb solid = ToArgb(colour, 255);
  LinearGradientBrush right;
  // Transparent at the inner edge, the colour itself at the outer one.
  right.CreateLineBrush(PointF{w - q - 1, 0}, PointF{static_cast<float>(w), 0}, clear, solid);
  g.FillRectangle(right, w - q, 0, q, static_cast<float>(h));
  if (variant == 1) {
    const float band = std::min(q, h / 3.0f);
    LinearGradientBrush top, bottom;
    top.CreateLineBrush(PointF{0, band + 1}, PointF{0, -1}, clear, solid);
    bottom.CreateLineBrush(PointF{0, h - band - 1}, PointF{0, static_cast<float>(h) + 1}, clear, solid);
    g.FillRectangle(top, 0, 0, static_cast<float>(w), band);
    g.FillRectangle(bottom, 0, h - band, static_cast<float>(w), band);
  }
  g.Delete();
  return faded.SaveToBytes(Text(kImageFormatPng));
}

}  // namespace tovel::skin
