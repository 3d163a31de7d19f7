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

template <typename Char>
std::vector<std::basic_string<Char>> DialogPaths(const Char* buffer, std::size_t size, std::size_t fileOffset) {
  using String = std::basic_string<Char>;
  const std::basic_string_view<Char> all(buffer, size);
  std::size_t end = all.find(Char{});
  if (end == 0) return {};
  if (end == String::npos) return {String(all)};
  const bool several = fileOffset > 0 && fileOffset <= size && buffer[fileOffset - 1] == Char{};
  if (!several) return {String(all.substr(0, end))};
  // Names follow the folder one after another until an empty one or the buffer's end.
  const String folder(all.substr(0, end));
  std::vector<String> paths;
  while (end + 1 < size && buffer[end + 1] != Char{}) {
    const std::size_t start = end + 1;
    end = std::min(all.find(Char{}, start), size);
    paths.push_back(folder + Char('\\') + String(all.substr(start, end - start)));
  }
  return paths;
}

template std::vector<std::string> DialogPaths(const char*, std::size_t, std::size_t);
template std::vector<std::wstring> DialogPaths(const wchar_t*, std::size_t, std::size_t);

}  // namespace scenewright::win32
