#pragma once

#include <functional>
#include <string>

#include "base/handle.h"

namespace tovel {

// The running player's mutex, one per session. Whoever created it is the one instance;
// a later start finds the running one through this name.
inline constexpr wchar_t kInstanceMutexName[] = L"Local\\Tovel音乐盒-运行中";

// Where the instance that holds the mutex publishes its player window for a later start.
inline constexpr wchar_t kPlayerWindowMappingName[] = L"Local\\Tovel音乐盒-播放器窗口";

enum class LockOutcome {
  Acquired,       // this instance holds the lock
  HeldElsewhere,  // another instance holds it
  NoLock,         // neither the mutex nor a marker could be had; the program runs without the rule
};

// Members go in reverse order: the marker closes before the mutex that decides.
struct InstanceLock {
  LockOutcome outcome = LockOutcome::NoLock;
  UniqueKernelHandle mutex;  // held until the process ends, after its last file write
  std::wstring path;         // the marker that is held
  UniqueFile file;           // the marker, open without sharing, for older copies of the program
  UniqueKernelHandle window; // the player window, published for a later start
};

// The single-instance rule. The named mutex decides: of any number of starts in a session
// exactly one creates it, and a start that may not even open it (one running elevated made
// it) is refused too. The marker file is still taken, as before: the primary one, or, when
// the primary place cannot hold it for any reason but another holder, the fallback one. A
// marker that something else holds (an older copy of the program) refuses the start as well.
InstanceLock AcquireInstanceLock(const std::wstring& mutexName, const std::wstring& primaryPath,
                                 const std::function<std::wstring()>& fallbackPath);

// "c:\Tovel音乐盒子2014" and its twin in the user's local application-data folder.
std::wstring PrimaryMarkerPath();
std::wstring FallbackMarkerPath();

}  // namespace tovel
