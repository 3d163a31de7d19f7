#include "platform/linux/LinuxSystem.h"

#include <langinfo.h>
#include <locale.h>
#include <time.h>
#include <unistd.h>

#include <climits>
#include <utility>

#include "platform/linux/PosixFiles.h"
#include "platform/linux/XdgFolders.h"

namespace scenewright::linux_platform {

namespace {

std::string ReadExecutablePath() {
  char buffer[PATH_MAX + 1];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<std::size_t>(n));
}

}  // namespace

LinuxProgramInfo::LinuxProgramInfo() : executable_(ReadExecutablePath()) {}

LinuxProgramInfo::LinuxProgramInfo(std::string executablePath)
    : executable_(std::move(executablePath)) {}

std::string LinuxProgramInfo::ProgramFolder() {
  const std::string folder = FolderOf(executable_);
  return folder == "/" ? std::string() : folder;  // no trailing separator, even at the root
}

std::string LinuxProgramInfo::ExecutableBaseName() {
  const auto slash = executable_.rfind('/');
  return slash == std::string::npos ? executable_ : executable_.substr(slash + 1);
}

std::string LinuxProgramInfo::UserDataFolder() {
  const std::string base = XdgUserFolder("XDG_CONFIG_HOME", ".config");
  return base.empty() ? std::string() : base + "/scenewright";
}

bool LinuxProgramInfo::MayKeepFilesInProgramFolder() {
  const std::string folder = ProgramFolder();
  return folder != "/usr" && !folder.starts_with("/usr/");
}

float LinuxClock::SecondsSinceMidnight() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  ::localtime_r(&now.tv_sec, &local);
  const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
                         static_cast<double>(now.tv_nsec) / 1e9;
  return static_cast<float>(seconds);
}

LinuxLocale::LinuxLocale() {
  // Read once: loading a locale is far too costly for every 100 ms tick.
  const locale_t user = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return;
  const std::string separator = ::nl_langinfo_l(RADIXCHAR, user);
  ::freelocale(user);
  if (!separator.empty()) separator_ = separator;
}

std::string LinuxLocale::DecimalSeparator() { return separator_; }

}  // namespace scenewright::linux_platform
