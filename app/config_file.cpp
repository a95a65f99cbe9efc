#include "app/config_file.h"

namespace tovel {
namespace {

template <class C>
using View = std::basic_string_view<C>;

template <class C>
constexpr C Unit(char c) {
  return static_cast<C>(c);
}

template <class C>
View<C> Trim(View<C> s) {
  const C blanks[] = {Unit<C>(' '), Unit<C>('\t'), C{}};
  const size_t first = s.find_first_not_of(blanks);
  if (first == View<C>::npos) return {};
  const size_t last = s.find_last_not_of(blanks);
  return s.substr(first, last - first + 1);
}

template <class C>
C FoldAscii(C c) {
  return c >= Unit<C>('A') && c <= Unit<C>('Z') ? static_cast<C>(c - Unit<C>('A') + Unit<C>('a')) : c;
}

template <class C>
bool SameName(View<C> a, View<C> b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

// "[name]" gives name; anything else gives nothing.
template <class C>
std::optional<View<C>> SectionName(View<C> raw) {
  const View<C> line = Trim(raw);
  if (line.empty() || line.front() != Unit<C>('[')) return std::nullopt;
  const size_t close = line.find(Unit<C>(']'));
  if (close == View<C>::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

template <class C>
struct KeyLine {
  View<C> key;
  View<C> value;
};

template <class C>
std::optional<KeyLine<C>> ParseKeyLine(View<C> raw) {
  const View<C> line = Trim(raw);
  if (line.empty() || line.front() == Unit<C>(';') || line.front() == Unit<C>('[')) return std::nullopt;
  const size_t eq = line.find(Unit<C>('='));
  if (eq == View<C>::npos) return std::nullopt;
  return KeyLine<C>{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// One line of a file: its text without the line break, and where the next line starts.
struct LineSpan {
  size_t begin = 0;
  size_t end = 0;
  size_t next = 0;
};

template <class C>
LineSpan LineAt(View<C> file, size_t begin) {
  const size_t lf = file.find(Unit<C>('\n'), begin);
  LineSpan line{begin, lf == View<C>::npos ? file.size() : lf, lf == View<C>::npos ? file.size() : lf + 1};
  if (line.end > begin && file[line.end - 1] == Unit<C>('\r')) --line.end;
  return line;
}

template <class C>
std::basic_string<C> SetValueIn(View<C> file, View<C> section, View<C> key, View<C> value) {
  const C crlf[] = {Unit<C>('\r'), Unit<C>('\n'), C{}};
  std::basic_string<C> line(key);
  line += Unit<C>('=');
  line += value;
  std::optional<LineSpan> last;  // the header or last non-blank line of our section
  for (size_t begin = 0; begin < file.size();) {
    const LineSpan span = LineAt(file, begin);
    const View<C> text = file.substr(span.begin, span.end - span.begin);
    begin = span.next;
    if (const auto name = SectionName(text)) {
      if (last) break;  // the first section of that name is the one that counts
      if (SameName(*name, section)) last = span;
      continue;
    }
    if (!last) continue;
    if (const auto kv = ParseKeyLine(text); kv && SameName(kv->key, key)) {
      // Keep the key as the file spells it; only this line's text changes.
      std::basic_string<C> out(file.substr(0, span.begin));
      out.append(kv->key).append(1, Unit<C>('=')).append(value);
      out.append(file.substr(span.end));
      return out;
    }
    if (!Trim(text).empty()) last = span;
  }
  std::basic_string<C> out;
  if (last) {
    // After the section's last line, before any blank lines that part it from the next.
    out.assign(file.substr(0, last->next));
    if (last->next == last->end) out += crlf;  // that line was the file's last and had no break
    out += line + crlf;
    out.append(file.substr(last->next));
    return out;
  }
  out.assign(file);
  if (!out.empty() && out.back() != Unit<C>('\n')) out += crlf;
  out += Unit<C>('[');
  out.append(section).append(1, Unit<C>(']')).append(crlf);
  out += line + crlf;
  return out;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  for (size_t begin = 0; begin < text.size();) {
    const LineSpan span = LineAt(text, begin);
    doc.lines_.push_back({Text(text.substr(span.begin, span.end - span.begin))});
    begin = span.next;
  }
  return doc;
}

std::optional<IniDocument::SectionSpan> IniDocument::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName<char>(lines_[i].raw);
    if (!name || !SameName(*name, section)) continue;
    size_t end = i + 1;
    for (size_t j = i + 1; j < lines_.size() && !SectionName<char>(lines_[j].raw); ++j)
      if (!Trim<char>(lines_[j].raw).empty()) end = j + 1;
    return SectionSpan{i, end};
  }
  return std::nullopt;
}

std::optional<Text> IniDocument::Value(std::string_view section, std::string_view key) const {
  const auto span = FindSection(section);
  if (!span) return std::nullopt;
  for (size_t i = span->header + 1; i < span->end; ++i) {
    const auto kv = ParseKeyLine<char>(lines_[i].raw);
    if (kv && SameName(kv->key, key)) return Text(Unquoted(kv->value));
  }
  return std::nullopt;
}

std::string SetIniValueIn(std::string_view file, std::string_view section, std::string_view key,
                          std::string_view value) {
  return SetValueIn(file, section, key, value);
}

std::u16string SetIniValueIn(std::u16string_view file, std::u16string_view section, std::u16string_view key,
                             std::u16string_view value) {
  return SetValueIn(file, section, key, value);
}

}  // namespace tovel
