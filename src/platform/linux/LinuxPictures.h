#pragma once

#include <QImage>
#include <string>

#include "platform/Pictures.h"

namespace scenewright::linux_platform {

// Reads a picture the way the Windows loader would take it: JPEG, GIF, BMP or an icon,
// recognised by content, at its natural size. Qt's allocation limit stays on, so an absurdly
// large picture fails cleanly; a null image for anything else.
QImage ReadPicture(const std::string& path);

// The staging picture is kept as a finished bitmap file, private to the user, beside the
// wallpaper bitmap. A JPEG is decoded straight into it row by row, so even a very large
// photograph never sits in memory whole; saving then only links that file into place.
class LinuxPictures final : public Pictures {
 public:
  // Stages in the user's cache folder, where the wallpaper bitmap lives.
  LinuxPictures();
  explicit LinuxPictures(const std::string& stagingFolder);

  bool LoadStagingPicture(const std::string& path) override;
  bool SaveStagingPictureAsBitmap(const std::string& bitmapPath) override;

 private:
  std::string stagingFile_;
  bool staged_ = false;
};

}  // namespace scenewright::linux_platform
