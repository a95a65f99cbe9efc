#include "app/instance_lock.h"

#include <shlobj.h>

#include "base/text.h"

namespace tovel {
namespace {

constexpr DWORD kHiddenArchive = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;  // 0x22

enum class Attempt { Held, Busy, Failed };

// One call creates the marker or opens the one that is there, without sharing, so that an
// older copy of the program sees it held. A new marker is created hidden and archive and
// gets its one zero byte.
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

enum class MutexAttempt { Ours, Taken, Unavailable };

// The system creates a named object for exactly one of any number of callers; the others
// open the same one and are told that it existed. A caller that may not open it at all
// is refused by its security: someone made it, so it is taken as well.
MutexAttempt TryMutex(const std::wstring& name, UniqueKernelHandle* out) {
  if (name.empty()) return MutexAttempt::Unavailable;
  ::SetLastError(ERROR_SUCCESS);
  UniqueKernelHandle mutex(::CreateMutexW(nullptr, FALSE, name.c_str()));
  const DWORD error = ::GetLastError();
  if (!mutex) return error == ERROR_ACCESS_DENIED ? MutexAttempt::Taken : MutexAttempt::Unavailable;
  if (error == ERROR_ALREADY_EXISTS) return MutexAttempt::Taken;
  *out = std::move(mutex);
  return MutexAttempt::Ours;
}

// The primary marker, or the fallback one when the primary place cannot hold it.
void TakeMarker(const std::wstring& primaryPath, const std::function<std::wstring()>& fallbackPath,
                InstanceLock& lock) {
  for (int place = 0; place < 2; ++place) {
    // The fallback folder is looked up only when it is needed: the lookup costs start-up time.
    const std::wstring path = place == 0 ? primaryPath : (fallbackPath ? fallbackPath() : std::wstring());
    switch (TryMarker(path, &lock.file)) {
      case Attempt::Held:
        lock.outcome = LockOutcome::Acquired;
        lock.path = path;
        return;
      case Attempt::Busy:
        lock.outcome = LockOutcome::HeldElsewhere;
        return;
      case Attempt::Failed:
        break;
    }
  }
}

}  // namespace

InstanceLock AcquireInstanceLock(const std::wstring& mutexName, const std::wstring& primaryPath,
                                 const std::function<std::wstring()>& fallbackPath) {
  InstanceLock lock;
  if (TryMutex(mutexName, &lock.mutex) == MutexAttempt::Taken) {
    lock.outcome = LockOutcome::HeldElsewhere;
    return lock;
  }
  TakeMarker(primaryPath, fallbackPath, lock);
  if (lock.outcome == LockOutcome::HeldElsewhere) {
    lock.mutex.reset();
    return lock;
  }
  // Without any marker place the mutex alone still decides.
  if (lock.mutex) lock.outcome = LockOutcome::Acquired;
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
