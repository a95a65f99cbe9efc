#pragma once

#include <windows.h>

#include "base/value.h"

namespace tovel {

inline constexpr char kDefaultCaption[] = "信息：";

// The runtime's one message box: OK button, no owner.
int ShowMessage(const Text& text, const Text& caption = kDefaultCaption, UINT extraFlags = 0);

// Makes runtime errors show "运行时出错!" in a message box before the process ends.
void InstallFatalMessageBox();

}  // namespace tovel
