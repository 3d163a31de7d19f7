#include "core/ApplyWallpaper.h"

namespace scenewright {

bool ApplyWallpaper(const std::string& path, Pictures& pictures, Desktop& desktop) {
  if (!pictures.LoadStagingPicture(path)) return false;
  for (const auto& bitmap : desktop.BitmapFileCandidates()) {
    if (pictures.SaveStagingPictureAsBitmap(bitmap)) {
      desktop.SetWallpaper(bitmap);
      return true;
    }
  }
  return false;
}

}  // namespace scenewright
