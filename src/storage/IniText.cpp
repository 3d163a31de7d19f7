#include "storage/IniText.h"

#include "platform/AsciiText.h"
#include "storage/TextConversion.h"

#include <optional>
#include <vector>

namespace scenewright {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The name of a section line such as "[General]", or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view content) {
  std::string_view line = TrimBlanks(content);
  if (line.empty() || line.front() != '[') return std::nullopt;
  std::size_t close = line.find(']');
  std::string_view name = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
  return TrimBlanks(name);
}

struct Entry {
  std::string_view key;
  std::string_view value;
};

// A key line inside a section; blank lines and comments are not entries.
std::optional<Entry> EntryOf(std::string_view content) {
  std::string_view line = TrimBlanks(content);
  if (line.empty() || line.front() == ';') return std::nullopt;
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return Entry{line, {}};
  return Entry{TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1))};
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Where a section's lines lie: its header and one past its last entry.
struct SectionSpan {
  std::size_t header;
  std::size_t afterLastEntry;
  std::optional<std::size_t> keyLine;
};

std::optional<SectionSpan> FindSection(const std::vector<TextLine>& lines, std::string_view section,
                                       std::string_view key) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionName(lines[i].content);
    if (!name || !SameIgnoringCase(*name, section)) continue;
    SectionSpan span{i, i + 1, std::nullopt};
    for (std::size_t j = i + 1; j < lines.size() && !SectionName(lines[j].content); ++j) {
      auto entry = EntryOf(lines[j].content);
      if (!entry) continue;
      span.afterLastEntry = j + 1;
      if (!span.keyLine && SameIgnoringCase(entry->key, key)) span.keyLine = j;
    }
    return span;  // the first of duplicate sections wins
  }
  return std::nullopt;
}

}  // namespace

std::string ReadIniText(std::string_view text, std::string_view section, std::string_view key) {
  auto lines = SplitLines(text);
  auto span = FindSection(lines, TrimBlanks(section), TrimBlanks(key));
  if (!span || !span->keyLine) return {};
  std::string_view value = Unquoted(EntryOf(lines[*span->keyLine].content)->value);
  return std::string(value.substr(0, kMaxIniValueLength));
}

std::string WriteIniText(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
  auto lines = SplitLines(text);
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  std::string result;
  result.reserve(text.size() + section.size() + key.size() + value.size() + 8);
  auto append = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) result.append(lines[i].content).append(lines[i].end);
  };
  // A new line may only follow a line that has its own end.
  auto endOpenLine = [&] {
    if (!result.empty() && result.back() != '\n' && result.back() != '\r') result.append(kLineEnd);
  };
  auto span = FindSection(lines, section, key);
  if (!span) {
    append(0, lines.size());
    endOpenLine();
    result.append("[").append(section).append("]").append(kLineEnd);
    result.append(key).append("=").append(value).append(kLineEnd);
  } else if (span->keyLine) {
    std::size_t at = *span->keyLine;
    append(0, at);
    result.append(EntryOf(lines[at].content)->key).append("=").append(value);
    result.append(lines[at].end.empty() ? kLineEnd : lines[at].end);
    append(at + 1, lines.size());
  } else {
    append(0, span->afterLastEntry);
    endOpenLine();
    result.append(key).append("=").append(value).append(kLineEnd);
    append(span->afterLastEntry, lines.size());
  }
  return result;
}

}  // namespace scenewright
