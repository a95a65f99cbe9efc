#pragma once

#include <windows.h>

#include <string>

#include "base/handle.h"

namespace tovel {

// The running player tells a later start where its window is: a small named memory
// block, made beside the single-instance mutex by the instance that holds it.
// Null when it cannot be made; the later start then only says that the program runs.
UniqueKernelHandle PublishPlayerWindow(const std::wstring& name, HWND player);

// Asks the running player to come forward, restored and in front; false when none is
// published or its window is gone.
bool AskRunningPlayerForward(const std::wstring& name);

// The message the running player gets for it.
UINT BringForwardMessage();

}  // namespace tovel
