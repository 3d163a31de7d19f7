#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>

class QImage;

namespace scenewright::linux_platform {

// A 24-bit bottom-up BMP: the file's own row order and padding.
struct BitmapLayout {
  int width;
  int height;
  std::size_t stride;  // bytes a row, padded to four
  std::uint64_t pixelBytes;
  static constexpr std::uint32_t kHeaderBytes = 54;
};

// The layout for a picture of that size; nullopt for an empty picture or one whose bitmap
// would pass kMaxBitmapBytes, so that a hostile picture cannot fill the disk.
inline constexpr std::uint64_t kMaxBitmapBytes = 512ull << 20;
std::optional<BitmapLayout> LayoutFor(long long width, long long height);

enum class DecodeResult { Written, NotHandled, Failed };

// Decodes a JPEG row by row straight into the bitmap file `bitmapFd`, each row written where
// the bottom-up file keeps it, so the picture never has to be held in memory. NotHandled for
// colour spaces left to the general reader (CMYK); Failed for a corrupt or truncated file,
// one too large, or a write error.
DecodeResult DecodeJpegToBitmap(std::FILE* jpeg, int bitmapFd);

// Writes an image decoded by Qt as the same bitmap.
bool WriteImageToBitmap(const QImage& image, int bitmapFd);

}  // namespace scenewright::linux_platform
