#pragma once

// The texts the open-file dialog takes and gives, in the NUL-separated form of the Win32 call.

#include <cstddef>
#include <string>
#include <string_view>

namespace scenewright::win32 {

// "Description|patterns" pairs with every bar made a NUL, ended by a second NUL.
std::string DialogFilter(std::string_view filter);

// What the dialog returned in `buffer`: one full path, or, when several files were picked
// (the name offset then points just past a NUL), the folder and each name separated by NULs.
// Anything the buffer held from an earlier, longer answer is not part of it.
std::string DialogSelection(const char* buffer, std::size_t size, std::size_t fileOffset);

}  // namespace scenewright::win32
