#pragma once
// Shared by the skin's Windows tests: the one engine of the test program, real
// top-level windows to skin, pictures made to order, and pixel reads.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "base/value.h"
#include "skin/engine.h"
#include "tests/support/pump.h"

namespace tovel::skin::test {

// The engine lives for the whole test program, as in the program itself.
SkinEngine& Engine();

// A shown top-level window of a class with double clicks, skinned or not.
class TestWindow {
 public:
  explicit TestWindow(int width = 200, int height = 150, DWORD style = WS_OVERLAPPEDWINDOW,
                      const wchar_t* title = L"Skin test");
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  HWND get() const { return hwnd_; }
  // Skins it with the given arguments and waits for the first paint.
  int Skin(const SkinWindowArgs& args = {});
  SkinnedWindow* Record() const;

 private:
  HWND hwnd_ = nullptr;
};

// Dispatches messages until `done` holds or `ms` pass; returns whether it held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 3000) {
  return tovel::testing::PumpUntil(done, ms);
}
using tovel::testing::PumpPending;

// Live GDI objects of this process, counted through Wine's handle table
// (GetGuiResources is a stub under Wine).
int LiveGdiObjects();
// The process's private bytes.
SIZE_T PrivateBytes();

// PNG bytes of a picture; `colourAt` gives 0x00RRGGBB for each pixel.
ByteSet MakePicture(int width, int height, const std::function<std::uint32_t(int, int)>& colourAt);

// A pixel of a window's composed picture, 0x00RRGGBB.
std::uint32_t Composed(const SkinnedWindow& w, int x, int y);
// A pixel on the screen, 0x00RRGGBB. Wine shows what a window drew a little later,
// so a test that has just painted reads the window itself instead:
std::uint32_t Screen(int x, int y);
// a pixel of a window as it stands, in its window coordinates (frame included).
std::uint32_t WindowPixel(HWND hwnd, int x, int y);

// Channels of 0x00RRGGBB.
inline int R(std::uint32_t c) { return (c >> 16) & 0xFF; }
inline int G(std::uint32_t c) { return (c >> 8) & 0xFF; }
inline int B(std::uint32_t c) { return c & 0xFF; }
inline bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
  return std::abs(R(a) - R(b)) <= tolerance && std::abs(G(a) - G(b)) <= tolerance &&
         std::abs(B(a) - B(b)) <= tolerance;
}

}  // namespace tovel::skin::test
