#include "ui/win32/OpenDialogText.h"

#include <algorithm>
#include <string_view>

namespace scenewright::win32 {

std::string DialogFilter(const FileChooserRequest& request) {
  std::string text;
  for (const FileFilter& filter : request.filters) {
    std::string shown, patterns;
    for (const std::string& pattern : filter.patterns) {
      shown += (shown.empty() ? "" : ", ") + pattern;
      patterns += (patterns.empty() ? "" : ";") + pattern;
    }
    text += filter.name + " (" + shown + ")" + '\0' + patterns + '\0';
  }
  text += '\0';
  return text;
}

std::vector<std::string> DialogPaths(const char* buffer, std::size_t size, std::size_t fileOffset) {
  const std::string_view all(buffer, size);
  std::size_t end = all.find('\0');
  if (end == 0) return {};
  if (end == std::string_view::npos) return {std::string(all)};
  const bool several = fileOffset > 0 && fileOffset <= size && buffer[fileOffset - 1] == '\0';
  if (!several) return {std::string(all.substr(0, end))};
  // Names follow the folder one after another until an empty one or the buffer's end.
  const std::string_view folder = all.substr(0, end);
  std::vector<std::string> paths;
  while (end + 1 < size && buffer[end + 1] != '\0') {
    const std::size_t start = end + 1;
    end = std::min(all.find('\0', start), size);
    paths.push_back(std::string(folder) + '\\' + std::string(all.substr(start, end - start)));
  }
  return paths;
}

}  // namespace scenewright::win32
