#include "app/bring_forward.h"

#include <cstdint>
#include <memory>

namespace tovel {
namespace {

// The window and its process: a handle alone may by now name another program's window.
struct Published {
  std::uint64_t window;
  std::uint32_t processId;
};

struct ViewDeleter {
  void operator()(void* view) const { ::UnmapViewOfFile(view); }
};
using UniqueView = std::unique_ptr<void, ViewDeleter>;

}  // namespace

UniqueKernelHandle PublishPlayerWindow(const std::wstring& name, HWND player) {
  if (name.empty() || !player) return {};
  UniqueKernelHandle mapping(
      ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Published), name.c_str()));
  if (!mapping) return {};
  const UniqueView view(::MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, sizeof(Published)));
  if (!view) return {};
  *static_cast<Published*>(view.get()) = Published{reinterpret_cast<std::uintptr_t>(player), ::GetCurrentProcessId()};
  return mapping;
}

bool AskRunningPlayerForward(const std::wstring& name) {
  UniqueKernelHandle mapping(::OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()));
  if (!mapping) return false;
  const UniqueView view(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof(Published)));
  if (!view) return false;
  const Published published = *static_cast<const Published*>(view.get());

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
