#pragma once

#include <windows.h>

#include <utility>

namespace tovel {

// One move-only owner for every handle kind: the handle plus how to close it.
template <class H, auto Close, H Invalid = H{}>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }

  H get() const { return h_; }
  explicit operator bool() const { return h_ != Invalid; }
  H release() { return std::exchange(h_, Invalid); }
  void reset(H h = Invalid) {
    if (h_ != Invalid) Close(h_);
    h_ = h;
  }

 private:
  H h_ = Invalid;
};

namespace detail {
inline void CloseKernel(HANDLE h) { ::CloseHandle(h); }
inline void DeleteGdi(HGDIOBJ h) { ::DeleteObject(h); }
inline void DeleteDcObject(HDC h) { ::DeleteDC(h); }
inline void DestroyIconObject(HICON h) { ::DestroyIcon(h); }
inline void DestroyMenuObject(HMENU h) { ::DestroyMenu(h); }
inline void DestroyWindowObject(HWND h) { ::DestroyWindow(h); }
inline void FreeModule(HMODULE h) { ::FreeLibrary(h); }
template <class T>
void DeleteGdiAs(T h) { ::DeleteObject(h); }
}  // namespace detail

using UniqueFile = UniqueHandle<HANDLE, detail::CloseKernel, INVALID_HANDLE_VALUE>;
using UniqueKernelHandle = UniqueHandle<HANDLE, detail::CloseKernel>;
using UniqueBitmap = UniqueHandle<HBITMAP, detail::DeleteGdiAs<HBITMAP>>;
using UniqueBrush = UniqueHandle<HBRUSH, detail::DeleteGdiAs<HBRUSH>>;
using UniqueFont = UniqueHandle<HFONT, detail::DeleteGdiAs<HFONT>>;
using UniqueRegion = UniqueHandle<HRGN, detail::DeleteGdiAs<HRGN>>;
using UniquePen = UniqueHandle<HPEN, detail::DeleteGdiAs<HPEN>>;
using UniqueDc = UniqueHandle<HDC, detail::DeleteDcObject>;
using UniqueIcon = UniqueHandle<HICON, detail::DestroyIconObject>;
using UniqueMenu = UniqueHandle<HMENU, detail::DestroyMenuObject>;
using UniqueWindow = UniqueHandle<HWND, detail::DestroyWindowObject>;
using UniqueModule = UniqueHandle<HMODULE, detail::FreeModule>;

// Runs a cleanup at scope end unless released.
template <class F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : f_(std::move(f)) {}
  ~ScopeExit() {
    if (active_) f_();
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  void release() { active_ = false; }

 private:
  F f_;
  bool active_ = true;
};

}  // namespace tovel
