#include "platform/win32/PictureHeader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace scenewright::win32 {

namespace {

// `length` bytes of `data` from `at`, fewer where it ends: never a read past its end.
std::string_view Part(std::string_view data, std::size_t at, std::size_t length) {
  return at > data.size() ? std::string_view() : data.substr(at, length);
}

// Reads fixed-size numbers out of a byte range; every read past its end gives 0 and marks it.
class Bytes {
 public:
  explicit Bytes(std::string_view data, bool bigEndian = false) : data_(data), big_(bigEndian) {}
  std::uint32_t Get(std::size_t at, int size) {
    if (at > data_.size() || static_cast<std::size_t>(size) > data_.size() - at) {
      short_ = true;
      return 0;
    }
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
      const auto byte = static_cast<std::uint8_t>(data_[at + (big_ ? i : size - 1 - i)]);
      value = value << 8 | byte;
    }
    return value;
  }
  bool Short() const { return short_; }
  std::size_t size() const { return data_.size(); }
  std::string_view Sub(std::size_t at, std::size_t length) const { return Part(data_, at, length); }

 private:
  std::string_view data_;
  bool big_;
  bool short_ = false;
};

// a * b, or the largest number where that would wrap: a picture that large is refused anyway.
std::uint64_t Times(std::uint64_t a, std::uint64_t b) { return b != 0 && a > UINT64_MAX / b ? UINT64_MAX : a * b; }

bool Starts(std::string_view file, std::string_view magic) { return file.substr(0, magic.size()) == magic; }

std::optional<PictureHeader> Made(std::uint64_t width, std::uint64_t height, std::uint64_t decoderBytes) {
  if (width == 0 || height == 0 || width > 0xFFFFFFFFu || height > 0xFFFFFFFFu) return std::nullopt;
  return PictureHeader{static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), decoderBytes};
}

std::optional<PictureHeader> JpegHeader(std::string_view file) {
  Bytes in(file, true);
  for (std::size_t at = 2; in.Get(at, 1) == 0xFF;) {
    const std::uint32_t marker = in.Get(at + 1, 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    const std::uint32_t length = in.Get(at + 2, 2);
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (in.Short() || length < 2 || marker == 0xDA || marker == 0xD9) return std::nullopt;
    if (!frame) {
      at += 2 + length;
      continue;
    }
    const std::uint64_t height = in.Get(at + 5, 2), width = in.Get(at + 7, 2), components = in.Get(at + 9, 1);
    // A progressive (or arithmetic-coded multi-scan) file keeps every coefficient, two bytes
    // each, of every component at its own sampling, besides the decoded rows.
    const bool allCoefficients = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
    std::uint32_t hMax = 1, vMax = 1;
    for (std::uint32_t c = 0; c < components; ++c) {
      const std::uint32_t sampling = in.Get(at + 11 + 3 * c, 1);
      hMax = std::max(hMax, sampling >> 4);
      vMax = std::max(vMax, sampling & 15);
    }
    std::uint64_t coefficients = 0;
    for (std::uint32_t c = 0; allCoefficients && c < components; ++c) {
      const std::uint32_t sampling = in.Get(at + 11 + 3 * c, 1);
      const std::uint64_t blocksWide = (width * std::max(1u, sampling >> 4) / hMax + 7) / 8 + 1;
      const std::uint64_t blocksHigh = (height * std::max(1u, sampling & 15) / vMax + 7) / 8 + 1;
      coefficients += blocksWide * blocksHigh * 128;
    }
    if (in.Short() || components == 0) return std::nullopt;
    return Made(width, height, width * height * components + coefficients);
  }
  return std::nullopt;
}

std::optional<PictureHeader> PngHeader(std::string_view file) {
  Bytes in(file, true);
  if (Part(file, 12, 4) != "IHDR") return std::nullopt;
  const std::uint64_t width = in.Get(16, 4), height = in.Get(20, 4), depth = in.Get(24, 1), type = in.Get(25, 1);
  const std::uint64_t channels = type == 2 ? 3 : type == 4 ? 2 : type == 6 ? 4 : 1;
  if (in.Short()) return std::nullopt;
  return Made(width, height, Times((width * channels * depth + 7) / 8, height));
}

std::optional<PictureHeader> GifHeader(std::string_view file) {
  Bytes in(file);
  std::uint64_t width = in.Get(6, 2), height = in.Get(8, 2);
  const auto table = [](std::uint32_t flags) { return flags & 0x80 ? 3u << ((flags & 7) + 1) : 0u; };
  std::size_t at = 13 + table(in.Get(10, 1));
  const auto skipBlocks = [&in, &at] {
    for (std::uint32_t n; !in.Short() && (n = in.Get(at, 1)) != 0;) at += 1 + n;
    ++at;
  };
  // Its decoder reads every frame, a byte a pixel each, before the first is shown.
  std::uint64_t frames = 0;
  bool first = true;
  while (!in.Short() && at < in.size()) {
    const std::uint32_t kind = in.Get(at, 1);
    if (kind == 0x21) {
      at += 2;
      skipBlocks();
    } else if (kind == 0x2C) {
      const std::uint64_t w = in.Get(at + 5, 2), h = in.Get(at + 7, 2);
      if (first) {  // shown on the logical screen, or the screen grown to hold it
        width = std::max(width, w);
        height = std::max(height, h);
        first = false;
      }
      frames = std::min(frames + w * h, UINT64_MAX >> 1);
      at += 10 + table(in.Get(at + 9, 1)) + 1;
      skipBlocks();
    } else {
      break;
    }
  }
  return Made(width, height, std::max(frames, width * height));
}

std::optional<PictureHeader> BmpHeader(std::string_view file) {
  Bytes in(file);
  const std::uint32_t info = in.Get(14, 4);
  std::uint64_t width = 0, height = 0, bits = 0, compression = 0;
  if (info == 12) {
    width = in.Get(18, 2), height = in.Get(20, 2), bits = in.Get(24, 2);
  } else {
    const auto w = static_cast<std::int32_t>(in.Get(18, 4)), h = static_cast<std::int32_t>(in.Get(22, 4));
    width = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(w)));
    height = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(h)));
    bits = in.Get(28, 2), compression = in.Get(30, 4);
  }
  if (in.Short()) return std::nullopt;
  // Run-length rows are expanded to 32 bits a pixel; others are kept as stored.
  const std::uint64_t stride = compression == 1 || compression == 2 ? width * 4 : (width * bits + 31) / 32 * 4;
  return Made(width, height, Times(stride, height));
}

// Tag 274 of a TIFF structure's first directory.
int TiffOrientation(std::string_view tiff) {
  if (!Starts(tiff, "II*\0") && !Starts(tiff, std::string_view("MM\0*", 4))) return 1;
  Bytes in(tiff, tiff[0] == 'M');
  const std::size_t directory = in.Get(4, 4);
  const std::uint32_t entries = in.Get(directory, 2);
  for (std::uint32_t i = 0; i < entries && !in.Short(); ++i) {
    const std::size_t entry = directory + 2 + 12 * std::size_t{i};
    if (in.Get(entry, 2) != 274) continue;
    const std::uint32_t value = in.Get(entry + 8, 2);
    return !in.Short() && in.Get(entry + 2, 2) == 3 && value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
  }
  return 1;
}

std::string_view WithoutExifPrefix(std::string_view data) {
  return Starts(data, std::string_view("Exif\0\0", 6)) ? data.substr(6) : data;
}

}  // namespace

std::optional<PictureHeader> ReadPictureHeader(std::string_view file) {
  if (Starts(file, "\xFF\xD8\xFF")) return JpegHeader(file);
  if (Starts(file, "\x89PNG\r\n\x1A\n")) return PngHeader(file);
  if (Starts(file, "GIF87a") || Starts(file, "GIF89a")) return GifHeader(file);
  if (Starts(file, "BM")) return BmpHeader(file);
  return std::nullopt;
}

int ExifOrientation(std::string_view file) {
  if (Starts(file, "\xFF\xD8")) {
    Bytes in(file, true);
    for (std::size_t at = 2; in.Get(at, 1) == 0xFF;) {
      const std::uint32_t marker = in.Get(at + 1, 1), length = in.Get(at + 2, 2);
      if (in.Short() || marker == 0xDA || marker == 0xD9 || length < 2) break;
      const std::string_view data = in.Sub(at + 4, length - 2);
      if (marker == 0xE1 && Starts(data, std::string_view("Exif\0\0", 6))) return TiffOrientation(data.substr(6));
      at += 2 + length;
    }
    return 1;
  }
  if (Starts(file, "\x89PNG\r\n\x1A\n")) {
    Bytes in(file, true);
    for (std::size_t at = 8; at + 8 <= file.size();) {
      const std::uint64_t length = in.Get(at, 4);
      if (Part(file, at + 4, 4) == "eXIf") return TiffOrientation(WithoutExifPrefix(in.Sub(at + 8, length)));
      if (Part(file, at + 4, 4) == "IEND") break;
      at += 12 + length;
    }
    return 1;
  }
  if (Starts(file, "RIFF") && Part(file, 8, 4) == "WEBP") {
    Bytes in(file);
    for (std::size_t at = 12; at + 8 <= file.size();) {
      const std::uint64_t length = in.Get(at + 4, 4);
      if (Part(file, at, 4) == "EXIF") return TiffOrientation(WithoutExifPrefix(in.Sub(at + 8, length)));
      at += 8 + length + (length & 1);
    }
    return 1;
  }
  return TiffOrientation(file);
}

Place Oriented(int orientation, std::uint32_t width, std::uint32_t height, std::uint32_t x, std::uint32_t y) {
  const std::uint32_t right = width - 1 - x, bottom = height - 1 - y;
  switch (orientation) {
    case 2: return {right, y};  // mirrored left to right
    case 3: return {right, bottom};  // half a turn
    case 4: return {x, bottom};  // mirrored top to bottom
    case 5: return {y, x};  // mirrored along the main diagonal
    case 6: return {bottom, x};  // a quarter turn clockwise
    case 7: return {bottom, right};  // mirrored along the other diagonal
    case 8: return {y, right};  // a quarter turn anticlockwise
    default: return {x, y};
  }
}

}  // namespace scenewright::win32
