#pragma once

#include <QImage>

#include "platform/Pictures.h"

namespace scenewright::linux_platform {

// Loads the picture into an image of its own; a decoder failure leaves the staging picture alone.
// Qt's default allocation limit stays on, so an absurdly large picture fails cleanly.
QImage ReadPicture(const std::string& path);

// The staging picture as a QImage, saved as a 24-bit BMP.
class QtPictures final : public Pictures {
 public:
  bool LoadStagingPicture(const std::string& path) override;
  bool SaveStagingPictureAsBitmap(const std::string& bitmapPath) override;

  const QImage& Staging() const { return staging_; }

 private:
  QImage staging_;
};

}  // namespace scenewright::linux_platform
