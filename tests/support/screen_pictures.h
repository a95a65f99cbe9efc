#pragma once
// Whole pictures of windows as the screen shows them, kept as PNG files beside the
// tests and compared pixel for pixel. With TOVEL_REWRITE_PIXELS=1 in the
// environment a comparison writes the kept picture anew instead.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/dc.h"
#include "base/handle.h"
#include "gfx/image.h"
#include "tests/support/pump.h"

namespace tovel::testing {

// Pixels as 0x00RRGGBB, row by row from the top.
struct ScreenPicture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  bool operator==(const ScreenPicture&) const = default;
};

inline ScreenPicture ReadScreen(const RECT& r) {
  ScreenPicture p{r.right - r.left, r.bottom - r.top, {}};
  DibDc copy(p.width, p.height);
  {
    const WindowDc screen(nullptr);
    ::BitBlt(copy.get(), 0, 0, p.width, p.height, screen.get(), r.left, r.top, SRCCOPY);
  }
  ::GdiFlush();
  p.pixels.assign(copy.pixels(), copy.pixels() + static_cast<size_t>(p.width) * p.height);
  for (auto& c : p.pixels) c &= 0xFFFFFF;
  return p;
}

// The screen once three reads in a row, with this thread's messages dispatched between
// them, agree: Wine shows what was drawn when it next waits for messages.
inline ScreenPicture SettledScreen(const RECT& r, DWORD deadlineMs = 5000) {
  ScreenPicture last = ReadScreen(r);
  int same = 0;
  const bool settled = PumpUntil(
      [&] {
        ScreenPicture now = ReadScreen(r);
        same = now == last ? same + 1 : 0;
        last = std::move(now);
        return same >= 2;
      },
      deadlineMs);
  EXPECT_TRUE(settled) << "the screen never settled";
  return last;
}

inline RECT WindowArea(HWND a, HWND b = nullptr) {
  RECT r{};
  ::GetWindowRect(a, &r);
  if (b) {
    RECT s{};
    ::GetWindowRect(b, &s);
    ::UnionRect(&r, &r, &s);
  }
  return r;
}

inline std::filesystem::path KeptPicturesFolder() { return std::filesystem::path(TOVEL_PIXELS_DIR); }

// Beside the test program, for a look after a mismatch.
inline std::filesystem::path BesideProgram(const std::wstring& name) {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / name;
}

inline bool SavePng(const ScreenPicture& p, const std::filesystem::path& file) {
  std::vector<std::uint32_t> argb(p.pixels);
  for (auto& c : argb) c |= 0xFF000000u;
  Bitmap picture;
  if (!picture.CreateFromPixels(p.width, p.height, p.width * 4, kPixelFormat32bppArgb, argb.data())) return false;
  const ByteSet png = picture.SaveToBytes(Text(kImageFormatPng));
  if (png.empty()) return false;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out);
}

// Empty (width 0) when the file is missing or not a picture.
inline ScreenPicture LoadPng(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const ByteSet bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  Bitmap picture;
  if (bytes.empty() || !picture.CreateFromBytes(bytes)) return {};
  ScreenPicture p;
  const UniqueBitmap dib(picture.GetHBITMAP());
  BITMAP info{};
  ::GetObjectW(dib.get(), sizeof(info), &info);
  p.width = info.bmWidth;
  p.height = info.bmHeight;
  DibDc copy(p.width, p.height);
  {
    const UniqueDc from(::CreateCompatibleDC(copy.get()));
    const SelectGuard chosen(from.get(), dib.get());
    ::BitBlt(copy.get(), 0, 0, p.width, p.height, from.get(), 0, 0, SRCCOPY);
  }
  ::GdiFlush();
  p.pixels.assign(copy.pixels(), copy.pixels() + static_cast<size_t>(p.width) * p.height);
  for (auto& c : p.pixels) c &= 0xFFFFFF;
  return p;
}

inline bool RewritingKeptPictures() {
  const char* flag = std::getenv("TOVEL_REWRITE_PIXELS");
  return flag && std::string(flag) == "1";
}

// Compares `actual` with the kept picture `name` (a PNG file name); on a mismatch the
// actual picture is written beside the test program.
inline void ExpectSamePixels(const ScreenPicture& actual, const std::wstring& name) {
  const std::filesystem::path kept = KeptPicturesFolder() / name;
  if (RewritingKeptPictures()) {
    EXPECT_TRUE(SavePng(actual, kept)) << "could not write " << kept.string();
    return;
  }
  const ScreenPicture expected = LoadPng(kept);
  ASSERT_GT(expected.width, 0) << "no kept picture " << kept.string();
  const std::filesystem::path written = BesideProgram(L"actual-" + name);
  if (expected.width != actual.width || expected.height != actual.height) {
    SavePng(actual, written);
    ADD_FAILURE() << "size " << actual.width << "x" << actual.height << ", kept " << expected.width << "x"
                  << expected.height << "; actual picture in " << written.string();
    return;
  }
  size_t differing = 0, first = 0;
  for (size_t i = 0; i < actual.pixels.size(); ++i)
    if (actual.pixels[i] != expected.pixels[i] && differing++ == 0) first = i;
  if (!differing) return;
  SavePng(actual, written);
  const int x = static_cast<int>(first % actual.width), y = static_cast<int>(first / actual.width);
  char colours[64];
  std::snprintf(colours, sizeof colours, "%06X, kept %06X", actual.pixels[first], expected.pixels[first]);
  ADD_FAILURE() << differing << " pixels differ from " << std::string(name.begin(), name.end()) << "; the first at (" << x << ", " << y << "): " << colours
                << "; actual picture in " << written.string();
}

}  // namespace tovel::testing
