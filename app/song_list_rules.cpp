#include "app/song_list_rules.h"

#include <string>

#include "base/text.h"

namespace tovel {

Text NumberText(int number) {
  const Text digits = std::to_string(number);
  if (number < 10) return "00" + digits;
  if (number < 100) return "0" + digits;
  return digits;
}

Text FileNameOf(std::string_view path) {
  const size_t slash = path.rfind('\\');
  return Text(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

Text ShownName(std::string_view path) { return DropLastChars(FileNameOf(path), 4); }

Text ListEntryText(int number, std::string_view path) { return NumberText(number) + "|" + ShownName(path); }

Text ShownSongName(std::string_view path, const SongTitles& titles) {
  if (titles.shown == ShownNames::TagTitle)
    if (const Text* title = titles.TitleOf(path)) return *title;
  return ShownName(path);
}

Text ListEntryText(int number, std::string_view path, const SongTitles& titles) {
  return NumberText(number) + "|" + ShownSongName(path, titles);
}

std::vector<Text> SplitStoredList(std::string_view value) {
  std::vector<Text> parts;
  size_t start = 0;
  while (start <= value.size()) {
    size_t end = value.find(kStoredListSeparator, start);
    if (end == std::string_view::npos) end = value.size();
    if (end > start) parts.emplace_back(value.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// "mp3" is ASCII, so its last three bytes match exactly when its last three characters do.
bool IsSongFileName(std::string_view name) { return name.size() >= 3 && name.substr(name.size() - 3) == "mp3"; }

void StoredListBuilder::Add(std::string_view directoryPrefix, std::string_view fileName) {
  value_ += directoryPrefix;
  value_ += fileName;
  value_ += kStoredListSeparator;
}

// A drive root comes back from the browser as "C:\" already.
Text DirectoryPrefix(std::string_view folder) {
  Text prefix(folder);
  if (prefix.empty() || prefix.back() != '\\') prefix += '\\';
  return prefix;
}

Text FolderPrefixOf(std::string_view path) {
  const size_t slash = path.rfind('\\');
  return Text(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1));
}

Text ExportText(const Array<Text>& songs) {
  Text out;
  for (const Text& path : songs) out += path + "\r\n";
  return out;
}

}  // namespace tovel
