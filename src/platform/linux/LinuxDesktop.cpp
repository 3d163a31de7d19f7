#include "platform/linux/LinuxDesktop.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>

#include "platform/linux/Wallpaper.h"

namespace scenewright::linux_platform {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// One desktop name as either variable spells it ("X-Cinnamon", "ubuntu", "plasmawayland").
bool Classify(std::string_view name, DesktopKind& kind) {
  std::string n = Lower(name);
  if (StartsWith(n, "x-")) n.erase(0, 2);
  struct Known {
    std::string_view prefix;
    DesktopKind kind;
  };
  static constexpr Known kKnown[] = {
      {"gnome", DesktopKind::Gnome},       {"ubuntu", DesktopKind::Gnome},
      {"unity", DesktopKind::Gnome},       {"budgie", DesktopKind::Gnome},
      {"cinnamon", DesktopKind::Cinnamon}, {"mate", DesktopKind::Mate},
      {"xfce", DesktopKind::Xfce},         {"kde", DesktopKind::Plasma},
      {"plasma", DesktopKind::Plasma},     {"lxde", DesktopKind::Lxde},
      {"lxqt", DesktopKind::Lxqt},
  };
  for (const Known& known : kKnown) {
    if (StartsWith(n, known.prefix)) {
      kind = known.kind;
      return true;
    }
  }
  return false;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
    return user->pw_dir;
  }
  return {};
}

// Creates the folder and any missing parents, each private to the user.
void MakeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
       slash = folder.find('/', slash + 1)) {
    ::mkdir(folder.substr(0, slash).c_str(), 0700);
  }
  ::mkdir(folder.c_str(), 0700);
}

// A real folder (not a link to one) of this user's that not everyone may write into. Group
// write is allowed: with a umask of 002 every folder of the user's own private group has it.
bool IsPrivateFolder(const std::string& folder) {
  struct stat st {};
  return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
         (st.st_mode & S_IWOTH) == 0;
}

}  // namespace

DesktopKind DetectDesktop(const char* currentDesktop, const char* desktopSession) {
  DesktopKind kind = DesktopKind::Bare;
  if (currentDesktop != nullptr) {
    std::string_view names(currentDesktop);
    while (!names.empty()) {
      const auto colon = names.find(':');
      if (Classify(names.substr(0, colon), kind)) return kind;
      names = colon == std::string_view::npos ? std::string_view() : names.substr(colon + 1);
    }
  }
  if (desktopSession != nullptr) {
    // Some display managers give the session file's path rather than its name.
    std::string_view session(desktopSession);
    session = session.substr(session.rfind('/') + 1);
    if (!session.empty() && Classify(session, kind)) return kind;
  }
  return DesktopKind::Bare;
}

std::string UserBitmapPath() {
  std::vector<std::string> folders;
  // The base directory rules ignore a relative XDG_CACHE_HOME.
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && cache[0] == '/') {
    folders.emplace_back(cache);
  }
  if (const std::string home = HomeFolder(); !home.empty()) folders.push_back(home + "/.cache");
  for (std::string folder : folders) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    MakeFolders(folder);
    if (IsPrivateFolder(folder)) return folder + "/scenewright.bmp";
  }
  return {};
}

std::vector<std::string> LinuxDesktop::BitmapFileCandidates() {
  std::string path = UserBitmapPath();
  if (path.empty()) return {};
  return {std::move(path)};
}

void LinuxDesktop::SetWallpaper(const std::string& bitmapPath) {
  switch (DetectDesktop(std::getenv("XDG_CURRENT_DESKTOP"), std::getenv("DESKTOP_SESSION"))) {
    case DesktopKind::Gnome: SetGnomeWallpaper(bitmapPath); break;
    case DesktopKind::Cinnamon: SetCinnamonWallpaper(bitmapPath); break;
    case DesktopKind::Mate: SetMateWallpaper(bitmapPath); break;
    case DesktopKind::Xfce: SetXfceWallpaper(bitmapPath); break;
    case DesktopKind::Plasma: SetPlasmaWallpaper(bitmapPath); break;
    case DesktopKind::Lxde: SetPcmanfmWallpaper("pcmanfm", bitmapPath); break;
    case DesktopKind::Lxqt: SetPcmanfmWallpaper("pcmanfm-qt", bitmapPath); break;
    case DesktopKind::Bare:
      SetXRootWallpaper(bitmapPath, pictures_ ? pictures_->TakeCover(bitmapPath) : ScreenCover{});
      break;
  }
}

std::optional<ScreenSize> LinuxDesktop::BareScreenSize() {
  if (DetectDesktop(std::getenv("XDG_CURRENT_DESKTOP"), std::getenv("DESKTOP_SESSION")) != DesktopKind::Bare) {
    return std::nullopt;
  }
  return XRootScreenSize();
}

}  // namespace scenewright::linux_platform
