#include "platform/linux/Orientation.h"

#include <libexif/exif-data.h>
#include <unistd.h>

#include <QTransform>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace scenewright::linux_platform {

namespace {

// Exif data larger than this is not an orientation worth reading.
constexpr std::uint32_t kMaxExifBytes = 1 << 20;

bool ReadAt(int fd, void* into, std::size_t size, std::uint64_t offset) {
  return ::pread(fd, into, size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
}

Orientation FromBlock(int fd, std::uint64_t offset, std::uint32_t size) {
  if (size > kMaxExifBytes) return kUpright;
  std::string exif(size, '\0');
  if (!ReadAt(fd, exif.data(), size, offset)) return kUpright;
  return ExifOrientation(reinterpret_cast<const unsigned char*>(exif.data()), exif.size());
}

std::uint32_t BigEndian(const unsigned char* p, int bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | p[i];
  return value;
}

// The segments before the first scan; Exif is an APP1 segment.
Orientation FromJpeg(int fd) {
  std::uint64_t at = 2;
  unsigned char marker[10];
  while (ReadAt(fd, marker, 4, at) && marker[0] == 0xFF) {
    const unsigned code = marker[1];
    const std::uint32_t length = BigEndian(marker + 2, 2);
    if (code == 0xDA || code == 0xD9 || length < 2) break;  // the scan, or nothing more
    if (code == 0xE1 && length >= 8 && ReadAt(fd, marker, 6, at + 4) && std::memcmp(marker, "Exif\0\0", 6) == 0) {
      return FromBlock(fd, at + 4, length - 2);
    }
    at += 2 + length;
  }
  return kUpright;
}

// Chunks up to the end: eXIf may follow the picture data.
Orientation FromPng(int fd) {
  std::uint64_t at = 8;
  unsigned char chunk[8];
  while (ReadAt(fd, chunk, 8, at)) {
    const std::uint32_t length = BigEndian(chunk, 4);
    if (std::memcmp(chunk + 4, "eXIf", 4) == 0) return FromBlock(fd, at + 8, length);
    if (std::memcmp(chunk + 4, "IEND", 4) == 0) break;
    at += 12ull + length;
  }
  return kUpright;
}

Orientation FromWebp(int fd) {
  std::uint64_t at = 12;
  unsigned char chunk[8];
  while (ReadAt(fd, chunk, 8, at)) {
    const std::uint32_t length = chunk[4] | chunk[5] << 8 | chunk[6] << 16 | std::uint32_t{chunk[7]} << 24;
    if (std::memcmp(chunk, "EXIF", 4) == 0) return FromBlock(fd, at + 8, length);
    at += 8ull + length + (length & 1);
  }
  return kUpright;
}

struct ExifDeleter {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};

}  // namespace

Orientation OrientationOf(int fd) {
  unsigned char magic[12] = {};
  if (::pread(fd, magic, sizeof magic, 0) != sizeof magic) return kUpright;
  if (magic[0] == 0xFF && magic[1] == 0xD8) return FromJpeg(fd);
  if (std::memcmp(magic, "\x89PNG\r\n\x1a\n", 8) == 0) return FromPng(fd);
  if (std::memcmp(magic, "RIFF", 4) == 0 && std::memcmp(magic + 8, "WEBP", 4) == 0) return FromWebp(fd);
  return kUpright;
}

Orientation ExifOrientation(const unsigned char* data, std::size_t size) {
  // libexif takes the data after its "Exif\0\0" prefix, which PNG and WebP leave out.
  std::string block;
  if (size < 6 || std::memcmp(data, "Exif\0\0", 6) != 0) block.assign("Exif\0\0", 6);
  block.append(reinterpret_cast<const char*>(data), size);
  const std::unique_ptr<ExifData, ExifDeleter> exif(exif_data_new());
  if (!exif || block.size() > kMaxExifBytes + 6) return kUpright;
  // As stored: no entries made up to follow the standard.
  exif_data_unset_option(exif.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  exif_data_load_data(exif.get(), reinterpret_cast<const unsigned char*>(block.data()),
                      static_cast<unsigned>(block.size()));
  const ExifEntry* entry = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
  if (entry == nullptr || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || entry->size < 2) {
    return kUpright;
  }
  const ExifShort value = exif_get_short(entry->data, exif_data_get_byte_order(exif.get()));
  return value >= 1 && value <= 8 ? value : kUpright;
}

Orientation FromQt(QImageIOHandler::Transformations transformation) {
  // Qt mirrors or flips first, then turns a quarter clockwise: a flip then the turn is 5.
  const bool h = transformation & QImageIOHandler::TransformationMirror;
  const bool v = transformation & QImageIOHandler::TransformationFlip;
  if (transformation & QImageIOHandler::TransformationRotate90) return h && v ? 8 : h ? 7 : v ? 5 : 6;
  return h && v ? 3 : h ? 2 : v ? 4 : kUpright;
}

QImage Oriented(const QImage& image, Orientation orientation) {
  if (orientation == kUpright || image.isNull()) return image;
  if (!SwapsSides(orientation)) return image.mirrored(orientation != 4, orientation != 2);
  // A quarter turn clockwise, then 5 and 7 mirrored.
  const QImage turned = image.transformed(QTransform().rotate(orientation == 8 ? 270 : 90));
  if (orientation == 5) return turned.mirrored(true, false);
  if (orientation == 7) return turned.mirrored(false, true);
  return turned;
}

}  // namespace scenewright::linux_platform
