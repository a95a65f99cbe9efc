#pragma once

#include <windows.h>

#include <cstdint>

#include "base/value.h"

namespace tovel {

// The bytes of an RCDATA resource of this executable; empty when missing.
// Resources stay mapped for the life of the process, so the view never dangles.
inline ByteView ResourceBytes(const wchar_t* name) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC res = ::FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!res) return {};
  HGLOBAL loaded = ::LoadResource(module, res);
  const DWORD size = ::SizeofResource(module, res);
  const void* p = loaded ? ::LockResource(loaded) : nullptr;
  if (!p) return {};
  return ByteView(static_cast<const std::uint8_t*>(p), size);
}

}  // namespace tovel
