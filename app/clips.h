#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/value.h"

namespace tovel {

// A built-in clip: the caption of its button, the label that names its file,
// and the RCDATA resource that holds its MP3 bytes.
struct Clip {
  std::string_view caption;
  std::string_view label;
  const wchar_t* resource;
};

// In button order: index 0 is 按钮1, index 11 is 按钮12.
const std::array<Clip, 12>& Clips();

// "<temp>\TovelMusicBox\clips\", created when missing; "" when there is no temporary folder.
std::wstring DefaultClipFolder();

// Makes `path` hold exactly `bytes`, writing only when its content differs, so a
// file that the device holds open is left alone. True when the file is right afterwards.
bool EnsureClipFile(const std::wstring& path, ByteView bytes);

}  // namespace tovel
