#pragma once

#include <string_view>
#include <vector>

namespace scenewright {

// Text helpers shared by every layer: files and names here are ASCII-keyed whatever the
// user's locale says.

inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

struct TextLine {
  std::string_view content;  // without its line end
  std::string_view end;      // "\r\n", "\n", "\r" or empty for a last line without one
};

// The lines of a text; a line ends at CR LF, a CR alone or an LF alone.
inline std::vector<TextLine> SplitLines(std::string_view text) {
  std::vector<TextLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t stop = text.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) {
      lines.push_back({text.substr(start), {}});
      break;
    }
    const std::size_t endLength = (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n') ? 2 : 1;
    lines.push_back({text.substr(start, stop - start), text.substr(stop, endLength)});
    start = stop + endLength;
  }
  return lines;
}

}  // namespace scenewright
