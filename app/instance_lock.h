#pragma once

#include <functional>
#include <string>

#include "base/handle.h"

namespace tovel {

enum class LockOutcome {
  Acquired,       // this instance holds the marker
  HeldElsewhere,  // another instance holds it
  NoLock,         // no place could hold a marker; the program runs without the rule
};

struct InstanceLock {
  LockOutcome outcome = LockOutcome::NoLock;
  std::wstring path;  // the marker that is held
  UniqueFile file;    // kept open, without sharing, for the life of the process
};

// The single-instance rule: an exclusive open of one fixed marker file. When the
// primary place cannot hold the marker for any reason but another instance holding it
// (a sharing or lock violation), the marker at the fallback path decides instead.
InstanceLock AcquireInstanceLock(const std::wstring& primaryPath, const std::function<std::wstring()>& fallbackPath);

// "c:\Tovel音乐盒子2014" and its twin in the user's local application-data folder.
std::wstring PrimaryMarkerPath();
std::wstring FallbackMarkerPath();

}  // namespace tovel
