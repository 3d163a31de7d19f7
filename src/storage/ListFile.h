#pragma once

#include <string>
#include <string_view>

#include "storage/WallpaperList.h"
#include "platform/FileSystem.h"

namespace scenewright {

inline constexpr std::string_view kListFileName = "wallpaper.dat";

// Creates the file when it is missing, then replaces the list with its non-empty lines.
// A file that cannot be read leaves the list empty, and is never replaced by SaveList.
void LoadList(FileSystem& files, const std::string& path, WallpaperList& list);
// Replaces the list with the non-empty lines of a list file's text.
void ListFromText(const std::string& text, WallpaperList& list);

// Replaces the file with the list, one entry and CR LF a line. The new file is complete
// before it takes the old one's place, so a failure leaves the old list whole.
bool SaveList(FileSystem& files, const std::string& path, const WallpaperList& list);

}  // namespace scenewright
