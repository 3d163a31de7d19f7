// One wallpaper change through the Linux build's own picture path and desktop setter (on a
// bare X server, the root window), so that its time and peak memory can be measured as a
// process of its own. With --no-desktop, the bitmap alone.
#include <cstdio>
#include <cstring>

#include "core/ApplyWallpaper.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/LinuxPictures.h"

namespace {

class NoDesktop final : public scenewright::Desktop {
 public:
  std::vector<std::string> BitmapFileCandidates() override { return {scenewright::linux_platform::UserBitmapPath()}; }
  void SetWallpaper(const std::string&) override {}
};

}  // namespace

int main(int argc, char** argv) {
  using namespace scenewright::linux_platform;
  const bool bitmapOnly = argc == 3 && std::strcmp(argv[1], "--no-desktop") == 0;
  if (argc != 2 && !bitmapOnly) {
    std::fprintf(stderr, "usage: %s [--no-desktop] PICTURE\n", argv[0]);
    return 2;
  }
  const char* picture = argv[argc - 1];
  if (bitmapOnly) {
    LinuxPictures pictures;
    NoDesktop desktop;
    return scenewright::ApplyWallpaper(picture, pictures, desktop) ? 0 : 1;
  }
  LinuxPictures pictures(LinuxDesktop::BareScreenSize);
  LinuxDesktop desktop(&pictures);
  return scenewright::ApplyWallpaper(picture, pictures, desktop) ? 0 : 1;
}
