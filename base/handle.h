#pragma once

#include <windows.h>

#include <utility>

namespace tovel {

// One move-only owner for every handle kind. Traits give the handle type,
// its empty value and how to close it.
template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Invalid(); }
  Handle release() { return std::exchange(h_, Traits::Invalid()); }
  // Given the handle it holds already, it keeps it: closing it would leave a dead handle held.
  void reset(Handle h = Traits::Invalid()) {
    if (h == h_) return;
    if (h_ != Traits::Invalid()) Traits::Close(h_);
    h_ = h;
  }

 private:
  Handle h_ = Traits::Invalid();
};

// Traits for handles whose empty value is null.
template <class H, void (*CloseFn)(H)>
struct NullTraits {
  using Handle = H;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { CloseFn(h); }
};

namespace detail {
inline void CloseKernel(HANDLE h) { ::CloseHandle(h); }
template <class T>
void DeleteGdi(T h) { ::DeleteObject(h); }
inline void DeleteDcObject(HDC h) { ::DeleteDC(h); }
inline void DestroyIconObject(HICON h) { ::DestroyIcon(h); }
inline void DestroyMenuObject(HMENU h) { ::DestroyMenu(h); }
inline void DestroyWindowObject(HWND h) { ::DestroyWindow(h); }
inline void FreeLibraryObject(HMODULE h) { ::FreeLibrary(h); }

struct FileTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};

struct FindTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::FindClose(h); }
};
}  // namespace detail

using UniqueFile = UniqueHandle<detail::FileTraits>;  // CreateFile's empty value is INVALID_HANDLE_VALUE
using UniqueFindHandle = UniqueHandle<detail::FindTraits>;  // FindFirstFile's, too
using UniqueKernelHandle = UniqueHandle<NullTraits<HANDLE, detail::CloseKernel>>;
using UniqueBitmap = UniqueHandle<NullTraits<HBITMAP, detail::DeleteGdi<HBITMAP>>>;
using UniqueBrush = UniqueHandle<NullTraits<HBRUSH, detail::DeleteGdi<HBRUSH>>>;
using UniqueFont = UniqueHandle<NullTraits<HFONT, detail::DeleteGdi<HFONT>>>;
using UniqueRegion = UniqueHandle<NullTraits<HRGN, detail::DeleteGdi<HRGN>>>;
using UniquePen = UniqueHandle<NullTraits<HPEN, detail::DeleteGdi<HPEN>>>;
using UniqueDc = UniqueHandle<NullTraits<HDC, detail::DeleteDcObject>>;
using UniqueIcon = UniqueHandle<NullTraits<HICON, detail::DestroyIconObject>>;
using UniqueMenu = UniqueHandle<NullTraits<HMENU, detail::DestroyMenuObject>>;
using UniqueWindow = UniqueHandle<NullTraits<HWND, detail::DestroyWindowObject>>;
using UniqueModule = UniqueHandle<NullTraits<HMODULE, detail::FreeLibraryObject>>;

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
