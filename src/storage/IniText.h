#pragma once

#include <string>
#include <string_view>

namespace scenewright {

// The profile-file format read and edited as text, behaving as the Windows profile
// functions do.

// Longest value a read returns: what fits the 255-character buffer with its terminator.
inline constexpr std::size_t kMaxIniValueLength = 254;

// The value of `key` in `section`; empty when either is missing. Names match without regard
// to case, blanks around names and values are ignored, one pair of matching quotes around
// the value is removed, and the first of duplicate sections or keys wins.
std::string ReadIniText(std::string_view text, std::string_view section, std::string_view key);

// The text with `key` in `section` set to `value`. An existing key keeps its line's place;
// a new key goes after the last entry of its section; a missing section is appended at the
// end. Every other line, with its own line end, stays byte for byte.
std::string WriteIniText(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);

}  // namespace scenewright
