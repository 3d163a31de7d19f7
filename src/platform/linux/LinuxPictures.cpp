#include "platform/linux/LinuxPictures.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImageReader>
#include <QPixelFormat>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "platform/TemporaryName.h"
#include "platform/linux/BitmapFile.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/Orientation.h"
#include "platform/linux/PosixFiles.h"

namespace scenewright::linux_platform {

namespace {

enum class Kind { Jpeg, Png, Bmp, Gif, Webp, Tiff, Other };

Kind KindOf(int fd) {
  unsigned char magic[12] = {};
  const ssize_t read = ::pread(fd, magic, sizeof magic, 0);
  if (read >= 3 && magic[0] == 0xFF && magic[1] == 0xD8 && magic[2] == 0xFF) return Kind::Jpeg;
  if (read >= 8 && std::memcmp(magic, "\x89PNG\r\n\x1a\n", 8) == 0) return Kind::Png;
  if (read >= 6 && (std::memcmp(magic, "GIF87a", 6) == 0 || std::memcmp(magic, "GIF89a", 6) == 0)) return Kind::Gif;
  if (read == 12 && std::memcmp(magic, "RIFF", 4) == 0 && std::memcmp(magic + 8, "WEBP", 4) == 0) return Kind::Webp;
  if (read >= 2 && magic[0] == 'B' && magic[1] == 'M') return Kind::Bmp;
  if (read >= 4 && (std::memcmp(magic, "II*\0", 4) == 0 || std::memcmp(magic, "MM\0*", 4) == 0)) return Kind::Tiff;
  return Kind::Other;
}

// The stdio stream libjpeg and libpng read from, on a copy of the descriptor, from the start
// (the copy shares the descriptor's position); `failed` when there is none.
template <typename Result, typename Decoder>
Result FromStream(int pictureFd, Result failed, Decoder decode) {
  const int copy = ::dup(pictureFd);
  std::FILE* stream = copy >= 0 ? ::fdopen(copy, "rb") : nullptr;
  if (!stream) {
    if (copy >= 0) ::close(copy);
    return failed;
  }
  std::rewind(stream);
  // A system call for every few pages read would cost more than the reading.
  std::vector<char> buffer(256 << 10);
  std::setvbuf(stream, buffer.data(), _IOFBF, buffer.size());
  const Result result = decode(stream);
  std::fclose(stream);
  return result;
}

// A regular file opened for reading; never blocks on a pipe or a device.
int OpenPicture(const std::string& path) {
  if (path.empty()) return -1;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  struct stat info {};
  if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The common kinds are decoded row by row; Qt reads the rest whole, where it may be used.
bool DecodeInto(int pictureFd, const std::string& path, int bitmapFd, const std::optional<ScreenSize>& screen,
                ScreenCover& cover, bool mayUseQt) {
  DecodeResult result = DecodeResult::NotHandled;
  const Orientation orientation = OrientationOf(pictureFd);
  constexpr DecodeResult failed = DecodeResult::Failed;
  switch (KindOf(pictureFd)) {
    case Kind::Jpeg:
      result = FromStream(pictureFd, failed,
                          [&](std::FILE* s) { return DecodeJpegToBitmap(s, bitmapFd, screen, cover, orientation); });
      break;
    case Kind::Png:
      result = FromStream(pictureFd, failed,
                          [&](std::FILE* s) { return DecodePngToBitmap(s, bitmapFd, screen, cover, orientation); });
      break;
    case Kind::Bmp:
      result = DecodeBmpToBitmap(pictureFd, bitmapFd, screen, cover);
      break;
    case Kind::Gif:
      result = DecodeGifToBitmap(pictureFd, bitmapFd, screen, cover);
      break;
    case Kind::Webp:
      result = DecodeWebpToBitmap(pictureFd, bitmapFd, screen, cover, orientation);
      break;
    case Kind::Tiff:
      result = DecodeTiffToBitmap(pictureFd, bitmapFd, screen, cover);
      break;
    case Kind::Other:
      break;
  }
  if (result != DecodeResult::NotHandled) return result == DecodeResult::Written;
  if (!mayUseQt) return false;
  const QImage picture = ReadPicture(path);  // turned and bounded as the preview is
  return !picture.isNull() && WriteImageToBitmap(picture, bitmapFd, screen, cover);
}

// Puts a second name on the staging file beside the bitmap, or copies it where the two lie
// on different file systems.
bool PlaceBeside(const std::string& staging, const std::string& bitmapPath, std::string& temporary) {
  const std::string name = bitmapPath.substr(bitmapPath.rfind('/') + 1);
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    temporary = FolderOf(bitmapPath) + "/" + OurTemporaryName(name, attempt);
    if (::link(staging.c_str(), temporary.c_str()) == 0) return true;
    if (errno != EEXIST) break;
  }
  int in = ::open(staging.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  int out = CreateTemporaryBeside(bitmapPath, temporary);
  bool copied = out >= 0;
  while (copied) {
    ssize_t moved = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
    if (moved == 0) break;
    copied = moved > 0;
  }
  ::close(in);
  if (out >= 0) ::close(out);
  if (!copied && out >= 0) ::unlink(temporary.c_str());
  return copied;
}

// Renames `from` over `to`. A large file `to` named for the last time is held meanwhile and
// let go on a thread of its own: letting go gives back every page of a large bitmap, which
// takes tens of milliseconds that the new wallpaper need not wait for.
bool RenameLettingGoElsewhere(const std::string& from, const std::string& to) {
  int replaced = ::open(to.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
  struct stat info {};
  if (replaced >= 0 && (::fstat(replaced, &info) != 0 || info.st_nlink != 1 || info.st_size < (16 << 20))) {
    ::close(replaced);
    replaced = -1;
  }
  const bool renamed = ::rename(from.c_str(), to.c_str()) == 0;
  if (replaced >= 0) {
    try {
      std::thread([replaced] { ::close(replaced); }).detach();
    } catch (const std::system_error&) {
      ::close(replaced);
    }
  }
  return renamed;
}

// The spare bitmap opened to be written over in place: only a regular file of this user's
// with no other name, so that neither the wallpaper shown nor anything else is ever written
// through; -1 otherwise.
int OpenSpare(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  struct stat info {};
  if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1 ||
                  info.st_uid != ::geteuid())) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Cuts a bitmap written over a larger one to the size its header gives.
bool CutToSize(int fd) {
  unsigned char header[6];
  if (::pread(fd, header, sizeof header, 0) != 6) return false;
  const off_t size = header[2] | header[3] << 8 | header[4] << 16 | static_cast<off_t>(header[5]) << 24;
  return ::ftruncate(fd, size) == 0;
}

// Whether each PNG chunk before the picture data lies within the file. Qt's reader clears a
// buffer of a text chunk's declared length before reading it: a few bytes declaring a gigabyte
// would take a gigabyte, where a chunk longer than its file only says the file is broken.
bool ChunksWithinFile(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return false;
  unsigned char chunk[8];
  for (std::uint64_t at = 8; ::pread(fd, chunk, 8, static_cast<off_t>(at)) == 8;) {
    const std::uint64_t length = std::uint64_t{chunk[0]} << 24 | chunk[1] << 16 | chunk[2] << 8 | chunk[3];
    if (std::memcmp(chunk + 4, "IDAT", 4) == 0) return true;
    at += 12 + length;
    if (at > static_cast<std::uint64_t>(info.st_size)) return false;
  }
  return false;
}

// What Qt's reader of the picture in `fd` keeps while reading it: the picture whole (a JPEG
// scaled down as it is decoded for a preview, to an eighth at most), what its decoder keeps
// beside it, and a turned copy; nullopt for a broken header.
std::optional<std::uint64_t> ReadingBytes(int fd, QImageReader& reader, QSize size, Orientation orientation) {
  const QSize whole = reader.size();
  if (!whole.isValid() || !LayoutFor(whole.width(), whole.height())) return std::nullopt;
  const Kind kind = KindOf(fd);
  const std::optional<std::uint64_t> decoder =
      kind == Kind::Jpeg   ? FromStream(fd, std::optional<std::uint64_t>(), JpegWorkingBytes)
      : kind == Kind::Webp ? WebpWorkingBytes(fd)
                           : std::optional<std::uint64_t>(0);
  if (!decoder) return std::nullopt;
  const QSize decoded = kind == Kind::Jpeg && size.isValid() ? (whole + QSize(7, 7)) / 8 : whole;
  // Qt keeps at least four bytes a pixel, more for 16 bits a channel or floating point.
  const auto pixel = static_cast<std::uint64_t>(std::max(4, QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel() / 8));
  const std::uint64_t image = pixel * static_cast<std::uint64_t>(decoded.width()) * decoded.height();
  return *decoder + image * (orientation == kUpright ? 1 : 2);
}

}  // namespace

QImage ReadPicture(const std::string& path, QSize size) {
  const int fd = OpenPicture(path);
  if (fd < 0) return {};
  QImageReader reader(QString::fromStdString(path));
  reader.setDecideFormatFromContent(true);  // by content, as the Windows loader does
  reader.setAutoTransform(false);           // turned below, for every kind alike
  if (!IsShownFormat(reader.format())) {
    ::close(fd);
    return {};
  }
  if (reader.format() == "png" && !ChunksWithinFile(fd)) {
    ::close(fd);
    return {};
  }
  const Orientation orientation = reader.format() == "tiff" ? FromQt(reader.transformation()) : OrientationOf(fd);
  const std::optional<std::uint64_t> bytes = ReadingBytes(fd, reader, size, orientation);
  ::close(fd);
  if (!bytes || *bytes > kMaxBitmapBytes) return {};
  if (size.isValid()) reader.setScaledSize(SwapsSides(orientation) ? size.transposed() : size);
  return Oriented(reader.read(), orientation);
}

LinuxPictures::LinuxPictures(ScreenSizeSource screenSize)
    : LinuxPictures(FolderOf(UserBitmapPath()), std::move(screenSize)) {}

LinuxPictures::LinuxPictures(const std::string& stagingFolder, ScreenSizeSource screenSize)
    : stagingFile_(stagingFolder.empty() ? std::string() : stagingFolder + "/.scenewright-staging.bmp"),
      spareFile_(stagingFolder.empty() ? std::string()
                                       : stagingFolder + "/.scenewright-spare-" + TemporaryHost() + ".bmp"),
      screenSize_(std::move(screenSize)) {}

LinuxPictures::Decoded LinuxPictures::Decode(const std::string& path, std::optional<ScreenSize> screen,
                                             bool ahead) {
  Decoded decoded;
  decoded.screen = std::move(screen);
  const int pictureFd = OpenPicture(path);
  if (pictureFd < 0) return decoded;
  struct stat info {};
  ::fstat(pictureFd, &info);
  decoded.device = info.st_dev, decoded.inode = info.st_ino, decoded.size = info.st_size;
  decoded.modified = info.st_mtim, decoded.changed = info.st_ctim;
  // The bitmap the last change replaced is written over where it can be: its pages are used
  // again, where a new file would take as many new ones and the old one's would be given back.
  decoded.written = spareFile_;
  int bitmapFd = OpenSpare(spareFile_);
  const bool spare = bitmapFd >= 0;
  // Ahead of the start-up steps, only over the spare: their clean-up takes every temporary
  // named for this process, which nothing of an earlier one's could otherwise tell apart.
  if (!spare && ahead) {
    ::close(pictureFd);
    return decoded;
  }
  if (!spare) {
    ::unlink(spareFile_.c_str());  // whatever holds the name, so that the next change may
    bitmapFd = CreateTemporaryBeside(stagingFile_, decoded.written);
  }
  decoded.ok = bitmapFd >= 0 && DecodeInto(pictureFd, path, bitmapFd, decoded.screen, decoded.cover, !ahead) &&
               (!spare || CutToSize(bitmapFd));
  ::close(pictureFd);
  if (bitmapFd >= 0) decoded.ok = ::close(bitmapFd) == 0 && decoded.ok;
  if (!decoded.ok && bitmapFd >= 0) ::unlink(decoded.written.c_str());
  return decoded;
}

bool LinuxPictures::Unchanged(const Decoded& decoded, const std::string& path) {
  struct stat now {};
  return ::stat(path.c_str(), &now) == 0 && now.st_dev == decoded.device && now.st_ino == decoded.inode &&
         now.st_size == decoded.size && now.st_mtim.tv_sec == decoded.modified.tv_sec &&
         now.st_mtim.tv_nsec == decoded.modified.tv_nsec && now.st_ctim.tv_sec == decoded.changed.tv_sec &&
         now.st_ctim.tv_nsec == decoded.changed.tv_nsec;
}

void LinuxPictures::StageAhead(const std::string& path) {
  if (stagingFile_.empty() || aheadThread_.joinable()) return;
  // Asked here: the screen is read through Xlib, which the thread must not call while Qt starts.
  std::optional<ScreenSize> screen = screenSize_ ? screenSize_() : std::nullopt;
  try {
    aheadThread_ = std::jthread([this, path, screen = std::move(screen)] { ahead_ = Decode(path, screen, true); });
  } catch (const std::system_error&) {
    // Without a thread the load decodes it in its turn.
  }
}

std::optional<LinuxPictures::Decoded> LinuxPictures::TakeAhead(const std::string& path,
                                                               const std::optional<ScreenSize>& screen) {
  if (!aheadThread_.joinable()) return std::nullopt;
  aheadThread_.join();
  Decoded ahead = std::exchange(ahead_, {});
  if (!ahead.ok) return std::nullopt;
  // The same file, under whichever name.
  if (ahead.screen == screen && Unchanged(ahead, path)) return ahead;
  if (ahead.written != spareFile_) ::unlink(ahead.written.c_str());  // the spare stays one
  return std::nullopt;
}

bool LinuxPictures::LoadStagingPicture(const std::string& path) {
  if (stagingFile_.empty()) return false;
  const std::optional<ScreenSize> screen = screenSize_ ? screenSize_() : std::nullopt;
  std::optional<Decoded> decoded = TakeAhead(path, screen);
  if (!decoded) decoded = Decode(path, screen, false);
  if (!decoded->ok) return false;
  if (!RenameLettingGoElsewhere(decoded->written, stagingFile_)) {
    ::unlink(decoded->written.c_str());
    return false;
  }
  staged_ = true;
  stagedPicture_ = path;
  cover_ = std::move(decoded->cover);
  coverBitmap_.clear();
  return true;
}

bool LinuxPictures::SaveStagingPictureAsBitmap(const std::string& bitmapPath) {
  if (!staged_ || bitmapPath.empty()) return false;
  std::string temporary;
  if (!PlaceBeside(stagingFile_, bitmapPath, temporary)) return false;
  // The bitmap replaced stays, as the spare the next change writes over; the name is free
  // unless that change could not use it.
  const bool kept = ::link(bitmapPath.c_str(), spareFile_.c_str()) == 0;
  // rename replaces a link planted at the bitmap's place rather than writing through it.
  const bool placed = kept ? ::rename(temporary.c_str(), bitmapPath.c_str()) == 0
                           : RenameLettingGoElsewhere(temporary, bitmapPath);
  if (kept && !placed) ::unlink(spareFile_.c_str());
  // Renaming a link over another name of the same file does nothing, and leaves it behind.
  ::unlink(temporary.c_str());
  if (placed) coverBitmap_ = bitmapPath, savedPicture_ = stagedPicture_;
  return placed;
}

ScreenCover LinuxPictures::TakeCover(const std::string& bitmapPath) {
  if (bitmapPath != coverBitmap_) return {};
  coverBitmap_.clear();
  ScreenCover taken = std::move(cover_);
  cover_ = {};
  return taken;
}

}  // namespace scenewright::linux_platform
