#pragma once

#include <optional>
#include <string_view>

#include "app/song_titles.h"

namespace tovel {

// The title and artist of an MP3 file's tags (ID3v2 first, then APE, then ID3v1), read
// with TagLib. Nothing when the file cannot be opened or holds no MPEG data with tags;
// a damaged tag gives what could be read of it, never a crash.
std::optional<SongTags> ReadSongTags(std::string_view path);

}  // namespace tovel
