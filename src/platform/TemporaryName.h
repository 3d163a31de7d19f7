#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace scenewright {

// Every temporary file the program makes (a save in progress, a picture being staged, a
// bitmap being placed) is named ".<file>.~scenewright-<process>-<attempt>.tmp", so that a
// later start can tell, from the name alone, that it is this program's and whose.
inline constexpr std::string_view kTemporaryMarker = ".~scenewright-";
inline constexpr std::string_view kTemporaryEnding = ".tmp";

// The name of the temporary for `fileName` (a name, not a path) made by `process`.
inline std::string TemporaryName(std::string_view fileName, unsigned long process, unsigned attempt) {
  std::string name = ".";
  name.append(fileName).append(kTemporaryMarker);
  return name.append(std::to_string(process)).append("-").append(std::to_string(attempt)).append(kTemporaryEnding);
}

// The process that made the temporary named `name`; nullopt for any name TemporaryName does
// not give, such as a user's ".wallpaper.dat.backup" or "wallpaper.dat.2024-05-01.tmp".
inline std::optional<unsigned long> TemporaryOwner(std::string_view name) {
  const std::size_t marker = name.rfind(kTemporaryMarker);
  if (name.size() < 2 || name[0] != '.' || marker == std::string_view::npos || marker < 2 ||
      !name.ends_with(kTemporaryEnding)) {
    return std::nullopt;
  }
  const std::string_view ids = name.substr(marker + kTemporaryMarker.size(),
                                           name.size() - marker - kTemporaryMarker.size() - kTemporaryEnding.size());
  const std::size_t dash = ids.find('-');
  if (dash == std::string_view::npos) return std::nullopt;
  unsigned long process = 0;
  unsigned attempt = 0;
  const auto [processEnd, processError] = std::from_chars(ids.data(), ids.data() + dash, process);
  const auto [attemptEnd, attemptError] = std::from_chars(ids.data() + dash + 1, ids.data() + ids.size(), attempt);
  if (processError != std::errc() || processEnd != ids.data() + dash || attemptError != std::errc() ||
      attemptEnd != ids.data() + ids.size() || process == 0) {
    return std::nullopt;
  }
  return process;
}

}  // namespace scenewright
