// Arbitrary bytes as the head of a picture file for the Windows build's header reader: it never
// reads outside them, gives an orientation of 1 to 8, a size that is never zero, and places
// every pixel of a turned picture inside the picture as seen.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/win32/PictureHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scenewright::win32;
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const int orientation = ExifOrientation(file);
  const auto header = ReadPictureHeader(file);
  if (orientation < 1 || orientation > 8 || (header && (header->width == 0 || header->height == 0))) std::abort();
  const std::uint32_t width = size % 7 + 1, height = size % 5 + 1;
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const Place seen = Oriented(orientation, width, height, x, y);
      if (seen.x >= (orientation >= 5 ? height : width) || seen.y >= (orientation >= 5 ? width : height)) std::abort();
    }
  }
  return 0;
}
