#pragma once

#include <cstdint>
#include <string>

// Tag bytes made by the tests themselves, field by field as ID3v1 and ID3v2.2/2.3/2.4
// lay them out, to put in front of (or behind) MPEG audio.
namespace tovel::testing::id3 {

enum Encoding : char { kLatin1 = 0, kUtf16Bom = 1, kUtf16Be = 2, kUtf8 = 3 };

inline std::string BigEndian(std::uint32_t v, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

// Seven bits per byte, as tag sizes (and v2.4 frame sizes) are written.
inline std::string SyncSafe(std::uint32_t v) {
  std::string out;
  for (int i = 3; i >= 0; --i) out += static_cast<char>((v >> (7 * i)) & 0x7F);
  return out;
}

// UTF-16 little-endian with its byte-order mark (FF FE) from plain UTF-16 code units.
inline std::string Utf16Bom(const std::u16string& text) {
  std::string out = "\xFF\xFE";
  for (char16_t c : text) out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return out;
}
inline std::string Utf16Be(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
  return out;
}

// A text frame: encoding byte, then the text.
inline std::string Frame22(const char* id, Encoding e, const std::string& text) {
  return std::string(id, 3) + BigEndian(static_cast<std::uint32_t>(text.size() + 1), 3) + static_cast<char>(e) + text;
}
inline std::string Frame23(const char* id, Encoding e, const std::string& text) {
  return std::string(id, 4) + BigEndian(static_cast<std::uint32_t>(text.size() + 1), 4) + std::string(2, '\0') +
         static_cast<char>(e) + text;
}
inline std::string Frame24(const char* id, Encoding e, const std::string& text) {
  return std::string(id, 4) + SyncSafe(static_cast<std::uint32_t>(text.size() + 1)) + std::string(2, '\0') +
         static_cast<char>(e) + text;
}

inline constexpr char kUnsynchronised = '\x80';
inline constexpr char kExtendedHeader = '\x40';

// "ID3", version, flags, size, then the frames and some padding.
inline std::string Tag(int major, char flags, const std::string& body, std::uint32_t padding = 16) {
  const std::string padded = body + std::string(padding, '\0');
  return std::string("ID3") + static_cast<char>(major) + '\0' + flags +
         SyncSafe(static_cast<std::uint32_t>(padded.size())) + padded;
}

// A v2.3 extended header: its size (6, itself not counted), no flags, the padding size.
inline std::string ExtendedHeader23(std::uint32_t padding) {
  return BigEndian(6, 4) + std::string(2, '\0') + BigEndian(padding, 4);
}

// Every FF followed by a 00: what the unsynchronisation scheme does to a tag's body.
inline std::string Unsynchronised(const std::string& body) {
  std::string out;
  for (char c : body) {
    out += c;
    if (static_cast<unsigned char>(c) == 0xFF) out += '\0';
  }
  return out;
}

// The 128 bytes at a file's end: "TAG", title, artist, album (30 each), year, comment, genre.
inline std::string V1(const std::string& title, const std::string& artist) {
  auto field = [](std::string s, size_t n) {
    s.resize(n, '\0');
    return s;
  };
  return "TAG" + field(title, 30) + field(artist, 30) + field("", 30) + field("", 4) + field("", 30) + '\xFF';
}

// Silent MPEG-1 layer III frames (128 kbit/s, 44.1 kHz): enough audio for a reader.
inline std::string SilentFrames(int count) {
  std::string frame = "\xFF\xFB\x90\x64";
  frame.resize(417, '\0');
  std::string out;
  for (int i = 0; i < count; ++i) out += frame;
  return out;
}

}  // namespace tovel::testing::id3
