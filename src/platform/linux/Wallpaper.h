#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/linux/ScreenCover.h"

class QProcess;

// The per-desktop ways of making a bitmap the wallpaper. The bitmap's path never changes, so
// each setter first hands its desktop the same file under a second spelling ("dir/./name")
// and then the real path: the stored value changes twice, every listener reloads the file,
// and the value left behind is the plain path.
namespace scenewright::linux_platform {

// The same file by another name: "/a/./b.bmp" for "/a/b.bmp".
std::string SecondSpelling(const std::string& path);
// "file://" and the path, percent-encoded as a URI requires.
std::string FileUri(const std::string& path);

// GNOME-family, Cinnamon and MATE keep the wallpaper in GSettings. Writes `value` after
// `nudge` to each key the installed schema has; false when the schema is not installed.
bool SetGSettingsStrings(const std::string& schemaId, const std::vector<std::string>& keys,
                         const std::string& nudge, const std::string& value);
void SetGnomeWallpaper(const std::string& bitmapPath);
void SetCinnamonWallpaper(const std::string& bitmapPath);
void SetMateWallpaper(const std::string& bitmapPath);

// XFCE: every backdrop image property of the xfce4-desktop channel, through xfconfd.
void SetXfceWallpaper(const std::string& bitmapPath);
// KDE Plasma: a shell script evaluated by plasmashell.
std::string PlasmaScript(const std::string& bitmapPath);
void SetPlasmaWallpaper(const std::string& bitmapPath);
// LXDE and LXQt: their desktop managers' own command (`pcmanfm` or `pcmanfm-qt`).
void SetPcmanfmWallpaper(const std::string& program, const std::string& bitmapPath);

// Runs a program to its end, silently, for a few seconds at most; false when it could not
// start or had to be stopped. `output`, when given, receives what it printed.
bool RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                std::string* output = nullptr);

// sway: its command that makes the bitmap every output's background, placed as the user's
// configuration (`config`) places a background. `bitmapPath` must be one sway reads back as
// it stands (no quote, backslash, '$', control character or run of spaces).
std::string SwayBackgroundCommand(const std::string& bitmapPath, const std::string& config);
// Any other path goes to sway through a link with a plain name; false when none can be made.
bool SetSwayWallpaper(const std::string& bitmapPath);

// Other wlroots compositors: one `swaybg` child kept while the program runs, replaced at
// each change and ended with the program. Like sway's, each new one reads the file anew,
// so neither needs the second spelling.
class SwaybgChild {
 public:
  SwaybgChild();
  ~SwaybgChild();
  SwaybgChild(const SwaybgChild&) = delete;
  SwaybgChild& operator=(const SwaybgChild&) = delete;
  void Show(const std::string& bitmapPath);

 private:
  void End();
  std::unique_ptr<QProcess> process_;
};

// No desktop: the X root window's background, as a pixmap that outlives this connection, each
// monitor covered by the whole picture. Shows `cover` when it was made for this screen and
// its monitors, else reads the bitmap and scales it.
bool SetXRootWallpaper(const std::string& bitmapPath, ScreenCover cover = {});
// The X screen a cover is made for, with its RandR monitors; nullopt without an X display.
std::optional<ScreenSize> XRootScreenSize();

}  // namespace scenewright::linux_platform
