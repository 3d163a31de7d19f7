#include "storage/ListFile.h"

#include "platform/AsciiText.h"

namespace scenewright {

void LoadList(FileSystem& files, const std::string& path, WallpaperList& list) {
  files.CreateFileIfMissing(path);
  auto text = files.ReadFile(path);
  if (!text) {
    list.Clear();
    if (files.IsFile(path)) list.MarkFileUnreadable();
    return;
  }
  ListFromText(*text, list);
}

void ListFromText(const std::string& text, WallpaperList& list) {
  list.Clear();
  // A lone LF ends a line too, since no path holds one and a file edited on Linux has nothing else.
  for (const auto& line : SplitLines(text)) {
    if (!line.content.empty() && !list.Add(std::string(line.content))) list.KeepBeyondLimit(std::string(line.content));
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
