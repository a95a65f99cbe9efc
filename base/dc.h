#pragma once

#include <windows.h>

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

}  // namespace tovel
