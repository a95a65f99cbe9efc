#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/value.h"

namespace tovel {

inline constexpr char kSongSection[] = "歌曲信息";
inline constexpr char kSongListKey[] = "歌曲列表";

// A profile ("ini") file as UTF-8 lines, read the way the platform's profile reader
// reads it: names match without regard to ASCII case, spaces around names and values
// are dropped, one pair of quotes around a value is dropped, the first match wins.
class IniDocument {
 public:
  static IniDocument Parse(std::string_view text);

  std::optional<Text> Value(std::string_view section, std::string_view key) const;

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

// Sets one key in a profile file held as its code units (bytes of a GBK or UTF-8 file,
// 16-bit units of a UTF-16 one), with the names and the value in that same encoding.
// Only the key's line is rewritten; a missing key joins the end of its section and a
// missing section the end of the file. Every other unit stays as it was, so a file
// with bytes we cannot decode loses none of them.
std::string SetIniValueIn(std::string_view file, std::string_view section, std::string_view key,
                          std::string_view value);
std::u16string SetIniValueIn(std::u16string_view file, std::u16string_view section, std::u16string_view key,
                             std::u16string_view value);

// A song list is never this large; a bigger file is neither read nor rewritten.
inline constexpr std::uint64_t kMaxConfigBytes = 64ULL << 20;

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

// The whole file, or nothing when it cannot be opened or read or holds more than `limit` bytes.
std::optional<std::string> ReadFileBytes(const std::wstring& path, std::uint64_t limit = kMaxConfigBytes);

// Writes a file beside the target and then replaces the target with it, so a
// failure leaves the old file whole.
bool ReplaceFileBytes(const std::wstring& path, std::string_view bytes);

// A missing file, section or key reads as nothing; so does a file over kMaxConfigBytes.
std::optional<Text> ReadIniValue(const std::wstring& path, std::string_view section, std::string_view key);

// Sets one value and keeps every other byte of the file; the file stays in its
// encoding unless the value has no form in it (GBK), when it becomes UTF-16. False,
// with the file untouched, when it cannot be read, is over kMaxConfigBytes, would have
// to lose undecodable bytes to change its encoding, or the new file cannot be written.
bool WriteIniValue(const std::wstring& path, std::string_view section, std::string_view key,
                   std::string_view value);
#endif

}  // namespace tovel
