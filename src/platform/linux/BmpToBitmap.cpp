#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/linux/BitmapFile.h"

namespace scenewright::linux_platform {

namespace {

bool ReadAllAt(int fd, std::uint8_t* data, std::size_t size, std::uint64_t offset) {
  while (size > 0) {
    const ssize_t read = ::pread(fd, data, size, static_cast<off_t>(offset));
    if (read <= 0) return false;
    data += read, size -= static_cast<std::size_t>(read), offset += static_cast<std::uint64_t>(read);
  }
  return true;
}

}  // namespace

// A plain 24-bit BMP already has the bitmap's own rows: they are read one at a time, top row
// first, and written again. Palettes, masks and compression go to Qt.
DecodeResult DecodeBmpToBitmap(int bmpFd, int bitmapFd, const std::optional<ScreenSize>& screen, ScreenCover& cover) {
  std::uint8_t header[34] = {};
  if (!ReadAllAt(bmpFd, header, sizeof header, 0)) return DecodeResult::NotHandled;
  auto field = [&](int at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | header[at + i];
    return value;
  };
  const auto width = static_cast<std::int32_t>(field(18, 4)), height = static_cast<std::int32_t>(field(22, 4));
  if (header[0] != 'B' || header[1] != 'M' || field(14, 4) < 40 || field(26, 2) != 1 || field(28, 2) != 24 ||
      field(30, 4) != 0 || width <= 0 || height == 0 || height == INT32_MIN) {
    return DecodeResult::NotHandled;
  }
  const bool topDown = height < 0;
  const int rows = std::abs(height);
  const auto layout = LayoutFor(width, rows);
  const std::uint64_t pixelsAt = field(10, 4);
  struct stat info {};
  // A file cut short, or claiming more rows than it holds, fails before anything is made.
  if (!layout || ::fstat(bmpFd, &info) != 0 ||
      pixelsAt + layout->pixelBytes > static_cast<std::uint64_t>(info.st_size)) {
    return DecodeResult::Failed;
  }
  auto writer = BitmapWriter::Begin(bitmapFd, width, rows, screen);
  if (!writer) return DecodeResult::Failed;
  const std::uint64_t stride = layout->stride;
  for (int y = 0; y < rows; ++y) {
    const std::uint64_t fileRow = topDown ? static_cast<std::uint64_t>(y) : static_cast<std::uint64_t>(rows - 1 - y);
    if (!ReadAllAt(bmpFd, writer->Next(), static_cast<std::size_t>(width) * 3, pixelsAt + fileRow * stride) ||
        !writer->Commit()) {
      return DecodeResult::Failed;
    }
  }
  cover = writer->TakeCover();
  return DecodeResult::Written;
}

}  // namespace scenewright::linux_platform
