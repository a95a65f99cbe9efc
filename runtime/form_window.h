#pragma once

#include <windows.h>

#include "runtime/controls.h"

namespace tovel {

inline constexpr wchar_t kFormClass[] = L"TovelForm";

// Creates the top-level window of a form and every control that has a window.
bool CreateFormWindow(FormState& form);

}  // namespace tovel
