#include "app/instance_lock.h"

#include <shlobj.h>

#include "base/text.h"

namespace tovel {
namespace {

constexpr DWORD kHiddenArchive = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;  // 0x22

enum class Attempt { Held, Busy, Failed };

bool MarkerExists(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW(path.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  ::FindClose(find);
  return true;
}

bool WriteMarker(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
  if (!file) return false;
  const char zero = 0;
  DWORD written = 0;
  return ::WriteFile(file.get(), &zero, 1, &written, nullptr) && written == 1;
}

Attempt OpenExclusive(const std::wstring& path, UniqueFile* out) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) {
    *out = std::move(file);
    return Attempt::Held;
  }
  const DWORD error = ::GetLastError();
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? Attempt::Busy : Attempt::Failed;
}

Attempt TryMarker(const std::wstring& path, UniqueFile* out) {
  if (path.empty()) return Attempt::Failed;
  if (!MarkerExists(path)) {
    if (!WriteMarker(path)) return Attempt::Failed;
    ::SetFileAttributesW(path.c_str(), kHiddenArchive);
  }
  return OpenExclusive(path, out);
}

}  // namespace

InstanceLock AcquireInstanceLock(const std::wstring& primaryPath, const std::wstring& fallbackPath) {
  InstanceLock lock;
  for (const std::wstring* path : {&primaryPath, &fallbackPath}) {
    switch (TryMarker(*path, &lock.file)) {
      case Attempt::Held:
        lock.outcome = LockOutcome::Acquired;
        lock.path = *path;
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
