#include "ui/win32/OpenDialogText.h"

#include <algorithm>
#include <string_view>

namespace scenewright::win32 {

std::string DialogFilter(const FileChooserRequest& request) {
  std::string shown, patterns;
  for (std::string_view pattern : request.patterns) {
    shown += (shown.empty() ? "" : ", ") + std::string(pattern);
    patterns += (patterns.empty() ? "" : ";") + std::string(pattern);
  }
  std::string text = std::string(request.filterName) + " (" + shown + ")" + '\0' + patterns;
  text.append(2, '\0');
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
