#include "ui/win32/OpenDialogText.h"

#include <algorithm>

namespace scenewright::win32 {

std::string DialogFilter(std::string_view filter) {
  std::string text(filter);
  std::replace(text.begin(), text.end(), '|', '\0');
  text.append(2, '\0');
  return text;
}

std::string DialogSelection(const char* buffer, std::size_t size, std::size_t fileOffset) {
  const std::string_view all(buffer, size);
  std::size_t end = all.find('\0');
  if (end == std::string_view::npos) return std::string(all);
  const bool several = fileOffset > 0 && fileOffset <= size && buffer[fileOffset - 1] == '\0';
  if (several) {
    // Names follow one another until an empty one.
    while (end + 1 < size && buffer[end + 1] != '\0') {
      const std::size_t next = all.find('\0', end + 1);
      end = next == std::string_view::npos ? size : next;
    }
  }
  return std::string(all.substr(0, end));
}

}  // namespace scenewright::win32
