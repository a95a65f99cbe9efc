#include "base/text.h"

#include <cstdint>

namespace tovel {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Length of the well-formed sequence at s[i], or 0 when it is malformed.
size_t SequenceLength(std::string_view s, size_t i, char32_t* out) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    *out = b0;
    return 1;
  }
  size_t len;
  char32_t cp;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  *out = cp;
  return len;
}

// Byte offsets of each character start; a malformed byte is a character of its own.
template <class F>
void ForEachChar(std::string_view s, F&& f) {
  size_t i = 0;
  while (i < s.size()) {
    char32_t cp;
    size_t len = SequenceLength(s, i, &cp);
    if (len == 0) {
      cp = kReplacement;
      len = 1;
    }
    f(i, len, cp);
    i += len;
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  ForEachChar(utf8, [&](size_t, size_t, char32_t cp) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (cp >> 10));
      out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<wchar_t>(cp);
    }
  });
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = static_cast<std::uint16_t>(utf16[i]);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size()) {
      const char32_t low = static_cast<std::uint16_t>(utf16[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      } else {
        cp = kReplacement;
      }
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

size_t CharCount(std::string_view utf8) {
  size_t n = 0;
  ForEachChar(utf8, [&](size_t, size_t, char32_t) { ++n; });
  return n;
}

std::string DropLastChars(std::string_view utf8, size_t n) {
  const size_t count = CharCount(utf8);
  if (count <= n) return {};
  size_t keep = count - n;
  size_t end = 0;
  ForEachChar(utf8, [&](size_t at, size_t len, char32_t) {
    if (keep > 0) {
      end = at + len;
      --keep;
    }
  });
  return std::string(utf8.substr(0, end));
}

std::string LastChars(std::string_view utf8, size_t n) {
  const size_t count = CharCount(utf8);
  if (count <= n) return std::string(utf8);
  size_t skip = count - n;
  size_t start = 0;
  ForEachChar(utf8, [&](size_t at, size_t, char32_t) {
    if (skip == 0 && start == 0 && at > 0) start = at;
    if (skip > 0) --skip;
  });
  return std::string(utf8.substr(start));
}

}  // namespace tovel
