#pragma once

#include <string>

namespace scenewright {

enum class RegistryRoot { LocalMachine, CurrentUser };

// The two registry operations start-at-logon needs. On systems without a registry the
// implementation maps the Run value onto that system's own logon mechanism.
class Registry {
 public:
  virtual ~Registry() = default;
  // True only when the key was created or opened and the value was written.
  virtual bool SetRegistryValue(RegistryRoot root, const std::string& keyPath,
                                const std::string& valueName, const std::string& text) = 0;
  // Deleting a value that does not exist is harmless; failures are silent.
  virtual void DeleteRegistryValue(RegistryRoot root, const std::string& keyPath,
                                   const std::string& valueName) = 0;
  // True only when the value exists and starts the same program as `text`, compared as the
  // system resolves paths (on Windows: with or without quotes, any letter case, short or long).
  virtual bool HoldsRegistryValue(RegistryRoot root, const std::string& keyPath,
                                  const std::string& valueName, const std::string& text) = 0;
};

}  // namespace scenewright
