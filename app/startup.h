#pragma once

#include <functional>

#include "app/instance_lock.h"

namespace tovel {

inline constexpr char kWelcomeText[] = "Tovel音效盒子欢迎您！";
inline constexpr char kAlreadyRunningText[] = "该程序已经在运行";

// The player window's "created" handler; `loadSongList` is its song-list step.
void OnPlayerStartup(const std::function<void()>& loadSongList);

// The marker that this instance holds; the save-on-exit step releases it.
InstanceLock& HeldInstanceLock();

}  // namespace tovel
