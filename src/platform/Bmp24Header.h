#pragma once

#include <array>
#include <cstdint>

namespace scenewright {

// The 54 bytes that open the wallpaper bitmap on both systems: a file header and a
// BITMAPINFOHEADER for an uncompressed, bottom-up, 24-bit picture at 96 dots per inch.
inline constexpr std::uint32_t kBmp24HeaderBytes = 54;

inline std::array<std::uint8_t, kBmp24HeaderBytes> Bmp24Header(std::uint32_t width, std::uint32_t height,
                                                                std::uint32_t pixelBytes) {
  std::array<std::uint8_t, kBmp24HeaderBytes> header{};
  const auto put = [&header](std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) header[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  put(0, 0x4D42, 2);  // "BM"
  put(2, kBmp24HeaderBytes + pixelBytes, 4);
  put(10, kBmp24HeaderBytes, 4);
  put(14, 40, 4);  // the info header's own size
  put(18, width, 4);
  put(22, height, 4);  // positive: rows run bottom-up
  put(26, 1, 2);       // planes
  put(28, 24, 2);      // bits a pixel
  put(34, pixelBytes, 4);
  put(38, 3780, 4);  // 96 dots per inch
  put(42, 3780, 4);
  return header;
}

}  // namespace scenewright
