#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace scenewright::linux_platform {

// The command as the Exec key of a desktop entry must spell it: quoted when it holds a
// reserved character, with the quoting, field-code and string-value escapes applied.
// nullopt when the path cannot be written in a desktop entry at all (not UTF-8, or control
// characters a string value cannot hold).
std::optional<std::string> DesktopEntryExec(std::string_view executablePath);

// The whole autostart entry that runs `executablePath` at logon.
std::optional<std::string> AutostartEntryText(std::string_view executablePath);

// The system autostart folder: the first folder of XDG_CONFIG_DIRS (else /etc/xdg), then
// "autostart".
std::string SystemAutostartFolder();

// The user's own autostart folder: $XDG_CONFIG_HOME (else ~/.config), then "autostart".
std::string UserAutostartFolder();

// The Run value, mapped onto the XDG autostart entry "scenewright.desktop": the machine-wide
// one in `systemFolder`, the current user's in `userFolder`. Only the Run key's "Scenewright"
// value is known; other keys are refused.
class AutostartRegistry final : public Registry {
 public:
  AutostartRegistry();
  explicit AutostartRegistry(std::string systemFolder, std::string userFolder = UserAutostartFolder());

  bool SetRegistryValue(RegistryRoot root, const std::string& keyPath,
                        const std::string& valueName, const std::string& text) override;
  void DeleteRegistryValue(RegistryRoot root, const std::string& keyPath,
                           const std::string& valueName) override;
  // The entry exists and holds exactly the text SetRegistryValue would write for `text`.
  bool HoldsRegistryValue(RegistryRoot root, const std::string& keyPath,
                          const std::string& valueName, const std::string& text) override;

  std::string EntryPath(RegistryRoot root = RegistryRoot::LocalMachine) const {
    return (root == RegistryRoot::LocalMachine ? systemFolder_ : userFolder_) + "/scenewright.desktop";
  }

 private:
  std::string systemFolder_;
  std::string userFolder_;
};

}  // namespace scenewright::linux_platform
