#include "platform/win32/NarrowPath.h"

#include <windows.h>

#include <algorithm>

namespace scenewright::win32 {

namespace {

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::string narrow(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr)), '\0');
  narrow.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, text.data(), size, narrow.data(),
                                                             static_cast<int>(narrow.size()), nullptr, nullptr)));
  return narrow;
}

// Only a conversion that comes back unchanged names the same file: a missing character
// becomes "?" and a "best fit" (an "a" for an "ä" the code page lacks) another file.
std::optional<std::string> Exactly(std::wstring_view text) {
  std::string narrow = Narrow(text);
  if (narrow.empty() || WideText(narrow) != text) return std::nullopt;
  return narrow;
}

}  // namespace

std::wstring WideText(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)), L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

std::string ShownText(std::wstring_view text) { return Narrow(text); }

std::optional<std::string> NarrowPath(const std::wstring& path) {
  if (auto narrow = Exactly(path)) return narrow;
  // Only the parts the code page lacks go by their short names: the rest stays readable, and
  // the list keeps its name order.
  std::wstring named;
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t end = std::min(path.find_first_of(L"\\/", start), path.size());
    std::wstring part = path.substr(start, end - start);
    if (!part.empty() && !Exactly(part)) {
      WIN32_FIND_DATAW found{};
      const HANDLE search = part.find_first_of(L"*?") == std::wstring::npos
                                ? FindFirstFileW(path.substr(0, end).c_str(), &found)
                                : INVALID_HANDLE_VALUE;
      if (search == INVALID_HANDLE_VALUE) return std::nullopt;
      FindClose(search);
      part = found.cAlternateFileName;  // empty where the volume keeps no short names
      if (part.empty()) return std::nullopt;
    }
    named += part;
    if (end < path.size()) named += path[end];
    start = end + 1;
  }
  return Exactly(named);
}

}  // namespace scenewright::win32
