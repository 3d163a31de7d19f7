#pragma once

#include <string>

#include "platform/Clock.h"
#include "platform/Locale.h"
#include "platform/ProgramInfo.h"

namespace scenewright::linux_platform {

// The running executable as the kernel reports it (/proc/self/exe).
class LinuxProgramInfo final : public ProgramInfo {
 public:
  LinuxProgramInfo();
  // For tests: a program that lives at `executablePath`.
  explicit LinuxProgramInfo(std::string executablePath);

  std::string ProgramFolder() override;
  // Linux has no extension to strip or add: the base name is the whole file name.
  std::string ExecutableBaseName() override;
  std::string ExecutableExtension() override { return ""; }
  char PathSeparator() override { return '/'; }
  std::string ProductName() override { return "Scenewright"; }
  // $XDG_CONFIG_HOME/scenewright, else ~/.config/scenewright.
  std::string UserDataFolder() override;
  // Not under /usr, which only the package manager writes (root included).
  bool MayKeepFilesInProgramFolder() override;

 private:
  std::string executable_;
};

class LinuxClock final : public Clock {
 public:
  float SecondsSinceMidnight() override;
};

// Reads the user's LC_NUMERIC without touching the process-wide locale.
class LinuxLocale final : public Locale {
 public:
  LinuxLocale();
  std::string DecimalSeparator() override;

 private:
  std::string separator_ = ".";
};

}  // namespace scenewright::linux_platform
