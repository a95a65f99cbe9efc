#include "app/instance_lock.h"

#include <shlobj.h>

#include "base/text.h"

namespace tovel {
namespace {

constexpr DWORD kHiddenArchive = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;  // 0x22

enum class Attempt { Held, Busy, Failed };

// One call creates the marker or opens the one that is there, without sharing: of two
// starts at the same moment exactly one gets it, and the other sees it held. A new marker
// is created hidden and archive and gets its one zero byte.
Attempt TryMarker(const std::wstring& path, UniqueFile* out) {
  if (path.empty()) return Attempt::Failed;
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, kHiddenArchive,
                                nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? Attempt::Busy : Attempt::Failed;
  }
  // Also a marker left empty by a start that ended before writing: the byte is not what locks.
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file.get(), &size) && size.QuadPart == 0) {
    const char zero = 0;
    DWORD written = 0;
    ::WriteFile(file.get(), &zero, 1, &written, nullptr);
  }
  *out = std::move(file);
  return Attempt::Held;
}

}  // namespace

InstanceLock AcquireInstanceLock(const std::wstring& primaryPath, const std::function<std::wstring()>& fallbackPath) {
  InstanceLock lock;
  for (int place = 0; place < 2; ++place) {
    // The fallback folder is looked up only when it is needed: the lookup costs start-up time.
    const std::wstring path = place == 0 ? primaryPath : (fallbackPath ? fallbackPath() : std::wstring());
    switch (TryMarker(path, &lock.file)) {
      case Attempt::Held:
        lock.outcome = LockOutcome::Acquired;
        lock.path = path;
        return lock;
      case Attempt::Busy:
        lock.outcome = LockOutcome::HeldElsewhere;
        return lock;
      case Attempt::Failed:
        break;
    }
  }
  return lock;
}

std::wstring PrimaryMarkerPath() { return L"c:\\Tovel音乐盒子2014"; }

std::wstring FallbackMarkerPath() {
  wchar_t folder[MAX_PATH];
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                folder)))
    return {};
  return std::wstring(folder) + L"\\Tovel音乐盒子2014";
}

}  // namespace tovel
