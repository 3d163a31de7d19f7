#pragma once

// The texts the open-file dialog takes and gives, in the NUL-separated form of the Win32 call.

#include <cstddef>
#include <string>
#include <vector>

#include "ui/FormView.h"

namespace scenewright::win32 {

// For each filter "Description (patterns)", NUL, the patterns joined by ';', NUL; then a
// further NUL to end the list.
std::string DialogFilter(const FileChooserRequest& request);

// The full paths of what the dialog returned in `buffer`: one full path, or, when several files
// were picked (the name offset then points just past a NUL), the folder and each name separated
// by NULs, each name joined to the folder with a backslash as given. Anything the buffer held
// from an earlier, longer answer is not part of it. Narrow or wide, as the dialog was.
template <typename Char>
std::vector<std::basic_string<Char>> DialogPaths(const Char* buffer, std::size_t size, std::size_t fileOffset);

}  // namespace scenewright::win32
