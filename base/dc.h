#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <utility>

#include "base/handle.h"

namespace tovel {

// BeginPaint / EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd, &ps_); }
  ~PaintDc() { ::EndPaint(hwnd_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }
  const RECT& dirty() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  HDC dc_;
  PAINTSTRUCT ps_{};
};

// GetDC (or GetWindowDC) / ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd, bool wholeWindow = false)
      : hwnd_(hwnd), dc_(wholeWindow ? ::GetWindowDC(hwnd) : ::GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// SelectObject that puts the previous object back into the same DC.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
  ~SelectGuard() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC compatible with `reference`, holding its own bitmap of the given size.
class MemoryDc {
 public:
  MemoryDc(HDC reference, int width, int height)
      : dc_(::CreateCompatibleDC(reference)),
        bitmap_(::CreateCompatibleBitmap(reference, width, height)),
        select_(dc_.get(), bitmap_.get()) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  explicit operator bool() const { return dc_ && bitmap_; }

 private:
  UniqueDc dc_;
  UniqueBitmap bitmap_;
  SelectGuard select_;  // declared last: restores before the bitmap and DC go
};

// A memory DC holding its own 32-bit top-down DIB section, so pixels can be read
// and written directly. Empty when a side is below 1: no zero-size bitmap is made.
// The live count lets leak tests see every one that was made and not released.
class DibDc {
 public:
  DibDc() = default;
  DibDc(int width, int height) {
    if (width < 1 || height < 1) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueDc dc(::CreateCompatibleDC(nullptr));
    if (!bitmap || !dc || !bits) return;
    old_ = ::SelectObject(dc.get(), bitmap.get());
    bitmap_ = std::move(bitmap);
    dc_ = std::move(dc);
    pixels_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    ++live_;
  }
  ~DibDc() { Reset(); }
  DibDc(DibDc&& o) noexcept { *this = std::move(o); }
  DibDc& operator=(DibDc&& o) noexcept {
    if (this == &o) return *this;
    Reset();
    bitmap_ = std::move(o.bitmap_);
    dc_ = std::move(o.dc_);
    old_ = std::exchange(o.old_, nullptr);
    pixels_ = std::exchange(o.pixels_, nullptr);
    width_ = std::exchange(o.width_, 0);
    height_ = std::exchange(o.height_, 0);
    return *this;
  }
  DibDc(const DibDc&) = delete;
  DibDc& operator=(const DibDc&) = delete;

  HDC get() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // 0x00RRGGBB words, row by row from the top. Call GdiFlush before reading after GDI drew.
  std::uint32_t* pixels() const { return pixels_; }
  explicit operator bool() const { return pixels_ != nullptr; }

  static int LiveCount() { return live_.load(); }

 private:
  void Reset() {
    if (!pixels_) return;
    ::SelectObject(dc_.get(), old_);  // the DC must not hold the bitmap when both go
    dc_.reset();
    bitmap_.reset();
    pixels_ = nullptr;
    width_ = height_ = 0;
    --live_;
  }

  UniqueBitmap bitmap_;
  UniqueDc dc_;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
  int width_ = 0, height_ = 0;
  static inline std::atomic<int> live_{0};
};

}  // namespace tovel
