#pragma once
// Shared by the tests of the progress, edit, combo, spin, header and translucent
// families: the gallery opened on the test engine, screen areas read in one copy,
// and the colour a translucent figure leaves on the skin.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/dc.h"
#include "tests/gallery/gallery_window.h"
#include "tests/win/skin/skin_test_support.h"

namespace tovel::skin::test {

// The gallery, skinned by the test program's engine, closed at the end.
class Gallery {
 public:
  Gallery() : hwnd_(gallery::OpenGallery(Engine())) {
    EXPECT_TRUE(PumpUntil([&] { return Record() && Record()->Composed(); }));
  }
  ~Gallery() {
    if (::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
    PumpPending();
  }
  Gallery(const Gallery&) = delete;
  HWND get() const { return hwnd_; }
  HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
  SkinnedWindow* Record() const { return Engine().Record(Engine().WindowNumber(hwnd_)); }

 private:
  HWND hwnd_;
};

// A control's rectangle on the screen and in its skinned window's picture.
inline RECT ScreenRect(HWND control) {
  RECT r;
  ::GetWindowRect(control, &r);
  return r;
}

// Pixels of a screen rectangle, 0x00RRGGBB, row by row.
inline std::vector<std::uint32_t> ScreenArea(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  DibDc copy(w, h);
  HDC screen = ::GetDC(nullptr);
  ::BitBlt(copy.get(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  ::ReleaseDC(nullptr, screen);
  ::GdiFlush();
  std::vector<std::uint32_t> pixels(copy.pixels(), copy.pixels() + static_cast<size_t>(w) * h);
  for (auto& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

// A screen area once two reads with a message pump between them agree: Wine
// shows what was drawn when it next waits for messages.
inline std::vector<std::uint32_t> Settled(const RECT& r) {
  std::vector<std::uint32_t> last = ScreenArea(r);
  EXPECT_TRUE(PumpUntil(
      [&] {
        std::vector<std::uint32_t> now = ScreenArea(r);
        const bool same = now == last;
        last = std::move(now);
        return same;
      },
      2000))
      << "the screen area never settled";
  return last;
}

// The skin's pixel behind a point of the screen, from the window's picture.
inline std::uint32_t SkinAt(const SkinnedWindow& w, POINT screen) {
  ::ScreenToClient(w.hwnd, &screen);
  return Composed(w, screen.x, screen.y);
}

// `colour` (0x00BBGGRR, as the engine takes it) laid over `under` (0x00RRGGBB) with `alpha`.
inline std::uint32_t Blend(std::uint32_t under, ColourRef colour, int alpha) {
  const int over[3] = {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                       static_cast<int>((colour >> 16) & 0xFF)};
  const int base[3] = {R(under), G(under), B(under)};
  std::uint32_t out = 0;
  for (int i = 0; i < 3; ++i)
    out = (out << 8) | static_cast<std::uint32_t>((over[i] * alpha + base[i] * (255 - alpha) + 127) / 255);
  return out;
}

// Moves the pointer and lets the controls see it.
inline void PointAt(int x, int y) {
  ::SetCursorPos(x, y);
  PumpPending();
}

}  // namespace tovel::skin::test
