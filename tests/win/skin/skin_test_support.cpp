#include "tests/win/skin/skin_test_support.h"

#include <psapi.h>

#include "gfx/graphics_object.h"
#include "gfx/image.h"

namespace tovel::skin::test {
namespace {

constexpr wchar_t kClass[] = L"TovelSkinTestWindow";

void RegisterTestClass() {
  WNDCLASSEXW wc{sizeof(wc)};
  if (::GetClassInfoExW(::GetModuleHandleW(nullptr), kClass, &wc)) return;
  wc = WNDCLASSEXW{sizeof(wc)};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  ::RegisterClassExW(&wc);
}

// The library is started once, before the engine's first use; the engine shuts
// it down when the program ends.
struct Started {
  Started() {
    StartGraphics();
    Engine().SetApplicationIcon(::LoadIconW(nullptr, IDI_APPLICATION));
  }
};

}  // namespace

SkinEngine& Engine() {
  static SkinEngine engine;
  return engine;
}

TestWindow::TestWindow(int width, int height, DWORD style, const wchar_t* title) {
  static Started started;
  RegisterTestClass();
  hwnd_ = ::CreateWindowExW(0, kClass, title, style | WS_CLIPCHILDREN, 100, 100, width, height,
                            nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  ::UpdateWindow(hwnd_);
}

TestWindow::~TestWindow() {
  if (::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
  PumpPending();
}

int TestWindow::Skin(const SkinWindowArgs& args) {
  Engine().SkinWindow(hwnd_, args);
  ::UpdateWindow(hwnd_);
  PumpPending();
  return Engine().WindowNumber(hwnd_);
}

SkinnedWindow* TestWindow::Record() const { return Engine().Record(Engine().WindowNumber(hwnd_)); }

int LiveGdiObjects() {
  int live = 0;
  for (UINT_PTR h = 0x20; h < 0x10000; ++h)
    if (::GetObjectType(reinterpret_cast<HGDIOBJ>(h))) ++live;
  return live;
}

SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc));
  return pmc.PrivateUsage;
}

ByteSet MakePicture(int width, int height, const std::function<std::uint32_t(int, int)>& colourAt) {
  Bitmap picture;
  if (!picture.CreateBlank(width, height)) return {};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.SetPixel(x, y, 0xFF000000 | colourAt(x, y));
  return picture.SaveToBytes(Text(kImageFormatPng));
}

std::uint32_t Composed(const SkinnedWindow& w, int x, int y) {
  ::GdiFlush();
  return w.Composed().pixels()[y * w.Composed().width() + x] & 0x00FFFFFF;
}

std::uint32_t WindowPixel(HWND hwnd, int x, int y) {
  HDC dc = ::GetWindowDC(hwnd);
  const COLORREF c = ::GetPixel(dc, x, y);
  ::ReleaseDC(hwnd, dc);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

std::uint32_t Screen(int x, int y) {
  HDC screen = ::GetDC(nullptr);
  const COLORREF c = ::GetPixel(screen, x, y);
  ::ReleaseDC(nullptr, screen);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace tovel::skin::test
