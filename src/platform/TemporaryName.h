#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace scenewright {

// Every temporary the program makes (a save in progress, a picture being staged, a bitmap
// being placed, a folder of presets being filled) is named
// ".<file>.~scenewright-<host>-<process>-<attempt>.tmp", so that a later start can tell, from
// the name alone, that it is this program's, which machine made it (a home folder shared over
// the network is written by several, and a process id means nothing on another) and whose.
inline constexpr std::string_view kTemporaryMarker = ".~scenewright-";
inline constexpr std::string_view kTemporaryEnding = ".tmp";

// A host name as it goes into a temporary's name: letters, digits, '.' and '-' stay, any other
// byte becomes '_', at most 63 of them; "unnamed" for none.
inline std::string HostForTemporaryNames(std::string_view host) {
  std::string safe;
  for (const char c : host.substr(0, 63)) {
    const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-';
    safe += kept ? c : '_';
  }
  return safe.empty() ? "unnamed" : safe;
}

// The name of the temporary for `fileName` (a name, not a path) made by `process` on `host`
// (as HostForTemporaryNames gives it).
inline std::string TemporaryName(std::string_view fileName, std::string_view host, unsigned long process,
                                 unsigned attempt) {
  std::string name = ".";
  name.append(fileName).append(kTemporaryMarker).append(host).append("-");
  return name.append(std::to_string(process)).append("-").append(std::to_string(attempt)).append(kTemporaryEnding);
}

struct TemporaryMaker {
  std::string host;
  unsigned long process = 0;
};

// Who made the temporary named `name`; nullopt for any name TemporaryName does not give, such
// as a user's ".wallpaper.dat.backup" or "wallpaper.dat.2024-05-01.tmp". The numbers are read
// from the end, since a host's name may hold dashes.
inline std::optional<TemporaryMaker> TemporaryOwner(std::string_view name) {
  const std::size_t marker = name.rfind(kTemporaryMarker);
  if (name.size() < 2 || name[0] != '.' || marker == std::string_view::npos || marker < 2 ||
      !name.ends_with(kTemporaryEnding)) {
    return std::nullopt;
  }
  const std::string_view ids = name.substr(marker + kTemporaryMarker.size(),
                                           name.size() - marker - kTemporaryMarker.size() - kTemporaryEnding.size());
  const std::size_t attemptDash = ids.rfind('-');
  if (attemptDash == std::string_view::npos || attemptDash == 0) return std::nullopt;
  const std::size_t dash = ids.rfind('-', attemptDash - 1);
  if (dash == std::string_view::npos || dash == 0) return std::nullopt;
  unsigned long process = 0;
  unsigned attempt = 0;
  const auto [processEnd, processError] = std::from_chars(ids.data() + dash + 1, ids.data() + attemptDash, process);
  const auto [attemptEnd, attemptError] = std::from_chars(ids.data() + attemptDash + 1, ids.data() + ids.size(), attempt);
  if (processError != std::errc() || processEnd != ids.data() + attemptDash || attemptError != std::errc() ||
      attemptEnd != ids.data() + ids.size() || process == 0) {
    return std::nullopt;
  }
  return TemporaryMaker{std::string(ids.substr(0, dash)), process};
}

}  // namespace scenewright
