#pragma once

#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/value.h"

namespace tovel {

// What the list shows after a song's number.
enum class ShownNames { FileName, TagTitle };

// The title and artist a song's tag gave, as read (untrimmed, possibly empty).
struct SongTags {
  Text title;
  Text artist;
};

// One song whose tag is to be read: its 0-based position in the list and its path.
struct TitleJob {
  int index = 0;
  Text path;
};

// What reading one song's tag gave; no tags when the file or its tag could not be read.
struct TitleResult {
  int index = 0;
  Text path;
  std::optional<SongTags> tags;
};

// A list row to be written again with a new text.
struct RowText {
  int row = 0;
  Text text;
};

// Longer titles are cut: a row is for reading, and a damaged frame may claim megabytes.
inline constexpr size_t kMaxTitleChars = 200;

// "title - artist", or just "title" without an artist; nothing when the title is blank.
// Control characters become spaces and blanks around each part are dropped.
std::optional<Text> TagTitleText(const SongTags& tags);

// The switch and what the tags gave, by path: a path stays valid as rows move.
class SongTitles {
 public:
  ShownNames shown = ShownNames::FileName;

  // Whether the song's tag was read already, whatever it gave.
  bool Known(const Text& path) const { return byPath_.contains(path); }
  void Remember(const Text& path, std::optional<Text> titleText) { byPath_[path] = std::move(titleText); }
  // The title text to show instead of the file name; null when there is none.
  const Text* TitleOf(std::string_view path) const;

 private:
  std::unordered_map<Text, std::optional<Text>> byPath_;
};

}  // namespace tovel
