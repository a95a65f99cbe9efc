#include "app/config_file.h"

namespace tovel {
namespace {

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// "[name]" gives name; anything else gives nothing.
std::optional<std::string_view> SectionName(std::string_view raw) {
  const std::string_view line = Trim(raw);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view raw) {
  const std::string_view line = Trim(raw);
  if (line.empty() || line.front() == ';' || line.front() == '[') return std::nullopt;
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyLine{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    const size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    doc.lines_.push_back({Text(line)});
    start = next;
  }
  return doc;
}

std::optional<IniDocument::SectionSpan> IniDocument::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i].raw);
    if (!name || !SameName(*name, section)) continue;
    size_t end = i + 1;
    for (size_t j = i + 1; j < lines_.size() && !SectionName(lines_[j].raw); ++j)
      if (!Trim(lines_[j].raw).empty()) end = j + 1;
    return SectionSpan{i, end};
  }
  return std::nullopt;
}

std::optional<Text> IniDocument::Value(std::string_view section, std::string_view key) const {
  const auto span = FindSection(section);
  if (!span) return std::nullopt;
  for (size_t i = span->header + 1; i < span->end; ++i) {
    const auto kv = ParseKeyLine(lines_[i].raw);
    if (kv && SameName(kv->key, key)) return Text(Unquoted(kv->value));
  }
  return std::nullopt;
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  const auto span = FindSection(section);
  if (!span) {
    Text header(1, '[');
    header.append(section).append(1, ']');
    lines_.push_back({std::move(header)});
    lines_.push_back({Text(key) + "=" + Text(value)});
    return;
  }
  for (size_t i = span->header + 1; i < span->end; ++i) {
    const auto kv = ParseKeyLine(lines_[i].raw);
    if (kv && SameName(kv->key, key)) {
      lines_[i].raw = Text(kv->key) + "=" + Text(value);
      return;
    }
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(span->end), {Text(key) + "=" + Text(value)});
}

Text IniDocument::Serialize() const {
  Text out;
  for (const Line& line : lines_) out += line.raw + "\r\n";
  return out;
}

}  // namespace tovel
