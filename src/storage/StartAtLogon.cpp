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
  registry.SetRegistryValue(kRunKeyRoot, std::string(kRunKeyPathForWriting), std::string(kRunValueName),
                                   data);
}

void UnregisterStartAtLogon(Registry& registry) {
  registry.DeleteRegistryValue(kRunKeyRoot, std::string(kRunKeyPathForDeleting), std::string(kRunValueName));
}

}  // namespace scenewright
