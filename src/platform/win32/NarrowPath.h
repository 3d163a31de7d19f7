#pragma once

// File names as the system gives them (UTF-16), made into the narrow text in the ANSI code page
// that the list file and every narrow system call carry.

#include <optional>
#include <string>
#include <string_view>

namespace scenewright::win32 {

// The path itself where the code page holds each of its characters; else with each part that
// holds one the code page lacks in its short (8.3) form, which is plain ASCII; none where the
// volume gives no short form (nor does a missing file).
std::optional<std::string> NarrowPath(const std::wstring& path);

// Narrow text in the code page as UTF-16.
std::wstring WideText(std::string_view text);

// UTF-16 in the code page, each character it lacks as a stand-in: for showing, never a path.
std::string ShownText(std::wstring_view text);

}  // namespace scenewright::win32
