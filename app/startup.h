#pragma once

#include <functional>

#include "app/instance_lock.h"

namespace tovel {

inline constexpr char kWelcomeText[] = "Tovel音效盒子欢迎您！";
inline constexpr char kAlreadyRunningText[] = "该程序已经在运行";

// The player window's "created" handler; `loadSongList` is its song-list step.
void OnPlayerStartup(const std::function<void()>& loadSongList);

// The lock that this instance holds. The save-on-exit step closes its marker file; its
// mutex stays until the process ends, after every file the exit writes.
InstanceLock& HeldInstanceLock();

}  // namespace tovel
