#include "app/bring_forward.h"

#include <cstdint>

namespace tovel {
namespace {

// The window and its process: a handle alone may by now name another program's window.
struct Published {
  std::uint64_t window;
  std::uint32_t processId;
};

}  // namespace

UniqueKernelHandle PublishPlayerWindow(const std::wstring& name, HWND player) {
  if (name.empty() || !player) return {};
  UniqueKernelHandle mapping(
      ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Published), name.c_str()));
  if (!mapping) return {};
  void* view = ::MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, sizeof(Published));
  if (!view) return {};
  const Published published{reinterpret_cast<std::uintptr_t>(player), ::GetCurrentProcessId()};
  *static_cast<Published*>(view) = published;
  ::UnmapViewOfFile(view);
  return mapping;
}

bool AskRunningPlayerForward(const std::wstring& name) {
  UniqueKernelHandle mapping(::OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()));
  if (!mapping) return false;
  void* view = ::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof(Published));
  if (!view) return false;
  const Published published = *static_cast<const Published*>(view);
  ::UnmapViewOfFile(view);

  HWND player = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(published.window));
  DWORD owner = 0;
  if (!::IsWindow(player) || !::GetWindowThreadProcessId(player, &owner) || owner != published.processId)
    return false;
  // Only the process in front may hand the front on; this start is, having just been started.
  ::AllowSetForegroundWindow(published.processId);
  return ::PostMessageW(player, BringForwardMessage(), 0, 0) != 0;
}

UINT BringForwardMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"Tovel音乐盒-回到前面");
  return message;
}

}  // namespace tovel
