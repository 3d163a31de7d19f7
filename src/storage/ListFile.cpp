#include "storage/ListFile.h"

namespace scenewright {

std::string ListFilePath(ProgramInfo& program) {
  return program.ProgramFolder() + program.PathSeparator() + std::string(kListFileName);
}

void LoadList(FileSystem& files, const std::string& path, WallpaperList& list) {
  files.CreateFileIfMissing(path);
  auto text = files.ReadFile(path);
  list.Clear();
  if (!text) {
    if (files.IsFile(path)) list.MarkFileUnreadable();
    return;
  }
  // A line ends at CR LF or a CR alone; a lone LF ends one too, since no path holds one
  // and a file edited on Linux has nothing else.
  std::string_view rest = *text;
  while (!rest.empty()) {
    std::size_t stop = rest.find_first_of("\r\n");
    std::string_view line = rest.substr(0, stop);
    if (!line.empty() && !list.Add(std::string(line))) list.KeepBeyondLimit(std::string(line));
    if (stop == std::string_view::npos) break;
    std::size_t endLength = (rest[stop] == '\r' && stop + 1 < rest.size() && rest[stop + 1] == '\n') ? 2 : 1;
    rest.remove_prefix(stop + endLength);
  }
}

bool SaveList(FileSystem& files, const std::string& path, const WallpaperList& list) {
  if (list.FileUnreadable()) return false;
  std::size_t size = 0;
  for (const auto& entry : list.Entries()) size += entry.size() + 2;
  for (const auto& entry : list.Overflow()) size += entry.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& entry : list.Entries()) text.append(entry).append("\r\n");
  for (const auto& entry : list.Overflow()) text.append(entry).append("\r\n");
  return files.ReplaceFile(path, text);
}

}  // namespace scenewright
