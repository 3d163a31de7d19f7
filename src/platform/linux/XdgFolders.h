#pragma once

#include <string>

namespace scenewright::linux_platform {

// $HOME when it is absolute, else the home folder the user database names; empty if none.
std::string HomeFolder();

// A user base folder: the XDG variable when it is absolute (the base directory rules ignore
// a relative one), else `underHome` in the home folder; empty when neither is known.
std::string XdgUserFolder(const char* variable, const char* underHome);

// Creates the folder and any missing parents, each private to the user.
void MakeFolders(const std::string& folder);

// A real folder (not a link to one) of this user's that not everyone may write into. Group
// write is allowed: with a umask of 002 every folder of the user's own private group has it.
bool IsPrivateFolder(const std::string& folder);

}  // namespace scenewright::linux_platform
