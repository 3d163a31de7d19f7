#pragma once

#include <string>
#include <vector>

namespace scenewright {

// The desktop wallpaper setting and where its bitmap lives.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // The places the wallpaper bitmap may be written, most preferred first; the first one
  // that takes the write is given to the desktop.
  virtual std::vector<std::string> BitmapFileCandidates() = 0;
  // Makes the bitmap the desktop wallpaper. Failures are silent.
  virtual void SetWallpaper(const std::string& bitmapPath) = 0;
};

}  // namespace scenewright
