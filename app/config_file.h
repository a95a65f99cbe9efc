#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/value.h"

namespace tovel {

inline constexpr char kSongSection[] = "歌曲信息";
inline constexpr char kSongListKey[] = "歌曲列表";

// A profile ("ini") file as UTF-8 lines. Reading follows the platform's profile
// reader (names match without regard to ASCII case, spaces around names and
// values are dropped, one pair of quotes around a value is dropped, the first
// match wins); writing changes one line and keeps every other line as it was.
class IniDocument {
 public:
  static IniDocument Parse(std::string_view text);

  std::optional<Text> Value(std::string_view section, std::string_view key) const;
  void SetValue(std::string_view section, std::string_view key, std::string_view value);

  // CR LF after every line, as the platform's profile writer leaves a file.
  Text Serialize() const;

 private:
  struct Line {
    Text raw;
  };
  // Where a section's lines are: its header and one past its last non-blank line.
  struct SectionSpan {
    size_t header;
    size_t end;
  };
  std::optional<SectionSpan> FindSection(std::string_view section) const;

  std::vector<Line> lines_;
};

// How a text file is stored on disk.
enum class FileEncoding { Gbk, Utf16Le };

// Byte-level forms, kept apart from the platform's converters so they can be checked anywhere.
inline constexpr char kUtf16LeBom[] = "\xFF\xFE";
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

#ifdef _WIN32
// Decodes a whole file: UTF-16LE after its byte-order mark, UTF-8 after its
// mark, otherwise GBK. Nothing when the bytes are not valid in that encoding,
// so a file we cannot read exactly is never rewritten from a guess.
std::optional<Text> DecodeFileBytes(std::string_view bytes);

// GBK when every character has a GBK form, otherwise UTF-16LE with a byte-order mark.
std::string EncodeFileText(std::string_view text, FileEncoding* used = nullptr);

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::wstring& path);

// Writes a file beside the target and then replaces the target with it, so a
// failure leaves the old file whole.
bool ReplaceFileBytes(const std::wstring& path, std::string_view bytes);

// A missing file, section or key reads as nothing.
std::optional<Text> ReadIniValue(const std::wstring& path, std::string_view section, std::string_view key);

// Sets one value and keeps the rest of the file; false (file untouched) when the
// file exists but cannot be read exactly, or the new file cannot be written.
bool WriteIniValue(const std::wstring& path, std::string_view section, std::string_view key,
                   std::string_view value);
#endif

}  // namespace tovel
