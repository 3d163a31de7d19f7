#include "storage/StartAtLogon.h"

namespace scenewright {

std::string RunValueData(ProgramInfo& program) {
  std::string path = program.ProgramFolder() + program.PathSeparator() + program.ExecutableBaseName() +
                     program.ExecutableExtension();
  if (path.find(' ') != std::string::npos) return '"' + path + '"';
  return path;
}

void RegisterStartAtLogon(Registry& registry, ProgramInfo& program) {
  std::string data = RunValueData(program);
  // The registry is never given an empty string value.
  if (data.empty()) data = " ";
  const std::string key(kRunKeyPathForWriting), name(kRunValueName);
  // Where the machine-wide value already starts this program (written by an elevated run), a
  // value of the user's own would start it a second time at every logon.
  if (registry.SetRegistryValue(kRunKeyRoot, key, name, data) ||
      registry.HoldsRegistryValue(kRunKeyRoot, key, name, data)) {
    registry.DeleteRegistryValue(RegistryRoot::CurrentUser, std::string(kRunKeyPathForDeleting), name);
  } else {
    registry.SetRegistryValue(RegistryRoot::CurrentUser, key, name, data);
  }
}

void UnregisterStartAtLogon(Registry& registry) {
  for (const RegistryRoot root : {kRunKeyRoot, RegistryRoot::CurrentUser}) {
    registry.DeleteRegistryValue(root, std::string(kRunKeyPathForDeleting), std::string(kRunValueName));
  }
}

}  // namespace scenewright
