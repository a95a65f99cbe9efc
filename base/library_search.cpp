#include "base/library_search.h"

#include <windows.h>

#include <delayimp.h>

#include <string>

namespace tovel {
namespace {

std::wstring SystemLibraryPath(const char* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring path(folder, length);
  path += L'\\';
  // Library names in an import table are plain ASCII.
  for (const char* c = name; *c; ++c) path += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  return path;
}

// The delay-load helper would call LoadLibraryA with the bare name, which searches the
// program's own folder first where the search order cannot be set (Windows 7 without
// KB2533623). Handing it a module loaded by full path closes that gap everywhere.
FARPROC WINAPI LoadFromSystemFolder(unsigned notice, PDelayLoadInfo info) {
  if (notice != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
  const std::wstring path = SystemLibraryPath(info->szDll);
  if (path.empty()) return nullptr;
  return reinterpret_cast<FARPROC>(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace
}  // namespace tovel

// The delay-load helper reads its hook from this variable; defining it here, in the object
// that the entry point pulls in, replaces the runtime library's empty one.
extern "C" PfnDliHook __pfnDliNotifyHook2 = tovel::LoadFromSystemFolder;

namespace tovel {

void RestrictLibrarySearch() {
  // Looked up, not imported: a Windows 7 without its loader update does not have it.
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  const auto setDirectories = reinterpret_cast<SetDirectories>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDirectories && setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Takes at least the current folder out of the search; the program's own folder stays,
  // which is why the delayed loads go by full path.
  ::SetDllDirectoryW(L"");
}

}  // namespace tovel
