#pragma once

#include <string>
#include <string_view>

#include "platform/ProgramInfo.h"
#include "platform/Registry.h"

namespace scenewright {

inline constexpr RegistryRoot kRunKeyRoot = RegistryRoot::LocalMachine;
// Registry names ignore case; each path is passed exactly as the program always has.
inline constexpr std::string_view kRunKeyPathForWriting = "software\\microsoft\\windows\\currentversion\\run\\";
inline constexpr std::string_view kRunKeyPathForDeleting = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";
inline constexpr std::string_view kRunValueName = "Scenewright";

// The command that starts this program: its folder, the base name and the extension.
// A path with a space is quoted, or Windows may run the part before the space instead.
std::string RunValueData(ProgramInfo& program);

// Writes the machine-wide Run value for the running executable and removes this user's own,
// which would start the program a second time (or, on Linux, hide the machine-wide entry).
// Where the machine-wide value cannot be written (no administrator) and does not already hold
// the same command, the same value is written for this user instead.
void RegisterStartAtLogon(Registry& registry, ProgramInfo& program);
// Removes both values, each where it can.
void UnregisterStartAtLogon(Registry& registry);

}  // namespace scenewright
