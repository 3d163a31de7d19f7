#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "platform/Bmp24Header.h"
#include "platform/linux/ScreenCover.h"

class QImage;

namespace scenewright::linux_platform {

// A 24-bit bottom-up BMP: the file's own row order and padding.
struct BitmapLayout {
  int width;
  int height;
  std::size_t stride;  // bytes a row, padded to four
  std::uint64_t pixelBytes;
  static constexpr std::uint32_t kHeaderBytes = kBmp24HeaderBytes;
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
// Given a `screen`, the same rows also make the picture's cover of it, left in `cover`, when
// the picture is larger than the screen.
DecodeResult DecodeJpegToBitmap(std::FILE* jpeg, int bitmapFd, std::optional<ScreenSize> screen = std::nullopt,
                                ScreenCover* cover = nullptr);

// Writes an image decoded by Qt as the same bitmap, and its cover as above.
bool WriteImageToBitmap(const QImage& image, int bitmapFd, std::optional<ScreenSize> screen = std::nullopt,
                        ScreenCover* cover = nullptr);

}  // namespace scenewright::linux_platform
