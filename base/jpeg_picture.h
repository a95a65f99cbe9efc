#pragma once

#include <windows.h>

#include "base/handle.h"
#include "base/resource.h"
#include "base/value.h"

namespace tovel {

struct Picture {
  UniqueBitmap bitmap;  // 32-bpp top-down DIB section
  int width = 0;
  int height = 0;
  explicit operator bool() const { return static_cast<bool>(bitmap); }
};

// Decodes a JPEG held in memory; an empty picture when the data is not a JPEG.
Picture DecodeJpeg(ByteView data);

}  // namespace tovel
