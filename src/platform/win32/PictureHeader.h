#pragma once

// What a picture file's first bytes say before anything is decoded: the size it declares, the
// memory its decoder holds at once, and how the camera asks for it to be turned.

#include <cstdint>
#include <optional>
#include <string_view>

namespace scenewright::win32 {

struct PictureHeader {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  // Bytes the system's decoder keeps for the whole picture while it is read (its rows, a
  // progressive JPEG's coefficients, every frame of a GIF).
  std::uint64_t decoderBytes = 0;
};

// The header of a JPEG, PNG, GIF or BMP; nothing for other kinds or a header that is cut
// short or declares no size.
std::optional<PictureHeader> ReadPictureHeader(std::string_view file);

// The EXIF orientation, 1 to 8, of a JPEG (APP1), TIFF (tag 274), PNG (eXIf) or WebP (EXIF);
// 1 where the file has none or an invalid one.
int ExifOrientation(std::string_view file);

// Where the stored pixel (x, y) of a picture `width` by `height` is seen once `orientation`
// is applied; orientations 5 to 8 swap the width and the height.
struct Place {
  std::uint32_t x;
  std::uint32_t y;
};
Place Oriented(int orientation, std::uint32_t width, std::uint32_t height, std::uint32_t x, std::uint32_t y);

}  // namespace scenewright::win32
