// One wallpaper change through the Linux build's own picture path, with the desktop replaced
// by a stand-in, so that its time and peak memory can be measured as a process of its own.
#include <cstdio>

#include "core/ApplyWallpaper.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/LinuxPictures.h"

namespace {

class StandInDesktop final : public scenewright::Desktop {
 public:
  std::vector<std::string> BitmapFileCandidates() override { return {scenewright::linux_platform::UserBitmapPath()}; }
  void SetWallpaper(const std::string&) override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PICTURE\n", argv[0]);
    return 2;
  }
  scenewright::linux_platform::LinuxPictures pictures;
  StandInDesktop desktop;
  return scenewright::ApplyWallpaper(argv[1], pictures, desktop) ? 0 : 1;
}
