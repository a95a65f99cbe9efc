#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tovel {

// UTF-8 <-> UTF-16 for the W functions. Malformed input becomes U+FFFD
// rather than being dropped, so a bad byte never shortens a path silently.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// Characters (code points) of a UTF-8 text; a lone bad byte counts as one.
size_t CharCount(std::string_view utf8);

// The text without its last n characters; "" when it has n or fewer.
std::string DropLastChars(std::string_view utf8, size_t n);

// The last n characters (all of them when there are fewer).
std::string LastChars(std::string_view utf8, size_t n);

}  // namespace tovel
