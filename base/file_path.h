#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tovel {

// The plain form of a path ends here, its terminating zero counted (MAX_PATH).
inline constexpr size_t kPlainPathLimit = 260;

// A stored path (UTF-8) as the file functions want it. A full path ("D:\..." or
// "\\server\share\...") goes in its "\\?\" form, which no length limit cuts and which
// keeps names the plain form would fold (a folder "album." stays "album."). A path the
// "\\?\" form would take too literally (relative, or with ".", ".." or empty parts)
// stays plain.
std::wstring FileSystemPath(std::string_view path);

}  // namespace tovel
