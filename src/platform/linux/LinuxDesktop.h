#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/linux/LinuxPictures.h"

namespace scenewright::linux_platform {

enum class DesktopKind { Gnome, Cinnamon, Mate, Xfce, Plasma, Lxde, Lxqt, Sway, Wlroots, Bare };

// The running desktop from XDG_CURRENT_DESKTOP (a colon-separated list, first known name
// wins), else DESKTOP_SESSION; else sway by its IPC socket (SWAYSOCK), and any other Wayland
// session (WAYLAND_DISPLAY) taken for a wlroots compositor; Bare when none of these.
DesktopKind DetectDesktop(const char* currentDesktop, const char* desktopSession,
                          const char* swaySocket = nullptr, const char* waylandDisplay = nullptr);

// "scenewright.bmp" in the user's own cache folder ($XDG_CACHE_HOME, else ~/.cache),
// created private to the user. Empty when no such folder can be had: a folder another user
// owns, or everyone may write into, is never used.
std::string UserBitmapPath();

class SwaybgChild;

class LinuxDesktop final : public Desktop {
 public:
  // `pictures` hands over the cover it made for the bare X root, if any.
  explicit LinuxDesktop(LinuxPictures* pictures = nullptr);
  ~LinuxDesktop() override;
  std::vector<std::string> BitmapFileCandidates() override;
  void SetWallpaper(const std::string& bitmapPath) override;
  // Monitors came, went or changed size: the X root this program drew is drawn again for
  // them, from the picture itself where it can still be read (so that a larger monitor gets
  // a sharp cover), else from the bitmap. Nothing where a desktop shows the bitmap, or before
  // the first change.
  void CoverAgain();

  // The screen the picture is shown on by this program itself: the X root's and its
  // monitors, on a bare X server; nullopt where a desktop shows the bitmap.
  static std::optional<ScreenSize> BareScreenSize();

 private:
  LinuxPictures* pictures_;
  std::string rootBitmap_;  // the bitmap last shown on the bare X root
  std::unique_ptr<SwaybgChild> swaybg_;  // only where a wlroots compositor needs one
};

}  // namespace scenewright::linux_platform
