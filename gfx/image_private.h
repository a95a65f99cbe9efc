#pragma once
// Private to gfx/: GUIDs as the braced upper-case texts that the image classes use.

#include <windows.h>

#include "base/value.h"

namespace tovel::gdip {

Text TextFromGuid(const GUID& guid);
// The zero GUID when the text is not one.
GUID GuidFromText(const Text& text);

}  // namespace tovel::gdip
