#pragma once

#include <string_view>
#include <vector>

#include "app/song_titles.h"
#include "base/value.h"

namespace tovel {

inline constexpr char kStoredListSeparator = '|';

// "001".."099", "100"..: at least three digits.
Text NumberText(int number);

// The part of a path after its last "\" (the whole path when it has none).
Text FileNameOf(std::string_view path);

// The file name without its last four characters (a dot and a three-letter
// extension); characters, not bytes, so a CJK name is never cut in half.
Text ShownName(std::string_view path);

// What the list box shows for entry `number` (1-based): "007|a".
Text ListEntryText(int number, std::string_view path);

// The one name a song shows after its number: its tag's "title - artist" when tag
// titles are shown and its tag gave a title, otherwise ShownName.
Text ShownSongName(std::string_view path, const SongTitles& titles);

// The list box's entry `number` (1-based) with the song's shown name: "007|a".
Text ListEntryText(int number, std::string_view path, const SongTitles& titles);

// The parts of a stored list value, in order, without the empty ones.
std::vector<Text> SplitStoredList(std::string_view value);

// Songs are the names whose last three characters are exactly "mp3" (case matters).
bool IsSongFileName(std::string_view name);

// Builds the stored value of one addition: each song path followed by "|".
class StoredListBuilder {
 public:
  void Add(std::string_view directoryPrefix, std::string_view fileName);
  const Text& value() const { return value_; }

 private:
  Text value_;
};

// A chosen folder as the prefix that file names are joined to.
Text DirectoryPrefix(std::string_view folder);

// The part of a path up to and including its last "" ("" when it has none).
Text FolderPrefixOf(std::string_view path);

// The export file's text: every path followed by CR LF.
Text ExportText(const Array<Text>& songs);

}  // namespace tovel
