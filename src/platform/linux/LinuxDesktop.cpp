#include "platform/linux/LinuxDesktop.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "platform/AsciiText.h"
#include "platform/linux/Wallpaper.h"
#include "platform/linux/XdgFolders.h"

namespace scenewright::linux_platform {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return AsciiLower(c); });
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
      {"lxqt", DesktopKind::Lxqt},         {"sway", DesktopKind::Sway},
  };
  for (const Known& known : kKnown) {
    if (StartsWith(n, known.prefix)) {
      kind = known.kind;
      return true;
    }
  }
  return false;
}

}  // namespace

DesktopKind DetectDesktop(const char* currentDesktop, const char* desktopSession,
                          const char* swaySocket, const char* waylandDisplay) {
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
  // No X root window shows through a Wayland compositor's outputs.
  if (swaySocket != nullptr && swaySocket[0] != '\0') return DesktopKind::Sway;
  if (waylandDisplay != nullptr && waylandDisplay[0] != '\0') return DesktopKind::Wlroots;
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

LinuxDesktop::LinuxDesktop(LinuxPictures* pictures) : pictures_(pictures) {}

LinuxDesktop::~LinuxDesktop() = default;  // ends the swaybg child, if any

std::vector<std::string> LinuxDesktop::BitmapFileCandidates() {
  std::string path = UserBitmapPath();
  if (path.empty()) return {};
  return {std::move(path)};
}

namespace {
DesktopKind RunningDesktop() {
  return DetectDesktop(std::getenv("XDG_CURRENT_DESKTOP"), std::getenv("DESKTOP_SESSION"), std::getenv("SWAYSOCK"),
                       std::getenv("WAYLAND_DISPLAY"));
}
}  // namespace

void LinuxDesktop::SetWallpaper(const std::string& bitmapPath) {
  switch (RunningDesktop()) {
    case DesktopKind::Gnome: SetGnomeWallpaper(bitmapPath); break;
    case DesktopKind::Cinnamon: SetCinnamonWallpaper(bitmapPath); break;
    case DesktopKind::Mate: SetMateWallpaper(bitmapPath); break;
    case DesktopKind::Xfce: SetXfceWallpaper(bitmapPath); break;
    case DesktopKind::Plasma: SetPlasmaWallpaper(bitmapPath); break;
    case DesktopKind::Lxde: SetPcmanfmWallpaper("pcmanfm", bitmapPath); break;
    case DesktopKind::Lxqt: SetPcmanfmWallpaper("pcmanfm-qt", bitmapPath); break;
    case DesktopKind::Sway:
      if (SetSwayWallpaper(bitmapPath)) break;
      [[fallthrough]];  // no path sway reads back: a swaybg child, seen where sway draws none
    case DesktopKind::Wlroots:
      if (!swaybg_) swaybg_ = std::make_unique<SwaybgChild>();
      swaybg_->Show(bitmapPath);
      break;
    case DesktopKind::Bare:
      SetXRootWallpaper(bitmapPath, pictures_ ? pictures_->TakeCover(bitmapPath) : ScreenCover{});
      rootBitmap_ = bitmapPath;
      break;
  }
}

void LinuxDesktop::CoverAgain() {
  if (rootBitmap_.empty() || RunningDesktop() != DesktopKind::Bare) return;
  ScreenCover cover;
  // The same picture staged and saved again: its decode makes the cover of the monitors now.
  if (pictures_ != nullptr && !pictures_->SavedPicture().empty() &&
      pictures_->LoadStagingPicture(pictures_->SavedPicture()) &&
      pictures_->SaveStagingPictureAsBitmap(rootBitmap_)) {
    cover = pictures_->TakeCover(rootBitmap_);
  }
  SetXRootWallpaper(rootBitmap_, std::move(cover));
}

std::optional<ScreenSize> LinuxDesktop::BareScreenSize() {
  if (RunningDesktop() != DesktopKind::Bare) return std::nullopt;
  return XRootScreenSize();
}

}  // namespace scenewright::linux_platform
