#pragma once

#include <string>
#include <vector>

namespace scenewright {

// The system picture loader and the bitmap writer around the one staging picture.
class Pictures {
 public:
  virtual ~Pictures() = default;
  // Decodes the file at its natural size into the staging picture. On failure the previous
  // staging picture is kept and false is returned.
  virtual bool LoadStagingPicture(const std::string& path) = 0;
  // Writes the staging picture as a BMP of the same width and height: to a temporary file
  // beside `bitmapPath`, renamed over it only when complete. False when nothing is staged
  // or the write failed; then the old bitmap is untouched.
  virtual bool SaveStagingPictureAsBitmap(const std::string& bitmapPath) = 0;
  // Whether the loader takes the file, judged by its content (not its name) without decoding
  // all of it.
  virtual bool IsPicture(const std::string& path) = 0;
  // The name patterns ("*.png") of every kind the loader reads, in no particular order.
  virtual std::vector<std::string> FilePatterns() = 0;
};

}  // namespace scenewright
