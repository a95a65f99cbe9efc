#include "app/song_titles.h"

#include "base/text.h"

namespace tovel {
namespace {

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A row is one line: control characters (CR, LF, the zero that ends a UTF-16 text) become spaces.
Text Cleaned(std::string_view raw) {
  Text out(raw);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  size_t begin = 0, end = out.size();
  while (begin < end && IsBlank(out[begin])) ++begin;
  while (end > begin && IsBlank(out[end - 1])) --end;
  out = out.substr(begin, end - begin);
  const size_t chars = CharCount(out);
  return chars > kMaxTitleChars ? DropLastChars(out, chars - kMaxTitleChars) : out;
}

}  // namespace

std::optional<Text> TagTitleText(const SongTags& tags) {
  const Text title = Cleaned(tags.title);
  if (title.empty()) return std::nullopt;
  const Text artist = Cleaned(tags.artist);
  return artist.empty() ? title : title + " - " + artist;
}

const Text* SongTitles::TitleOf(std::string_view path) const {
  const auto it = byPath_.find(Text(path));
  return it == byPath_.end() || !it->second ? nullptr : &*it->second;
}

}  // namespace tovel
