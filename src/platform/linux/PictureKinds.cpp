// The kinds of picture the program takes, in one place: what Add Files offers, what a drop
// keeps and what the loader reads are this one set, recognised by content.

#include <sys/stat.h>

#include <QFile>
#include <QImageReader>
#include <array>

#include "platform/linux/LinuxPictures.h"

namespace scenewright::linux_platform {

namespace {

struct Kind {
  const char* format;  // Qt's name for it
  std::array<const char*, 4> patterns;
};

// JPEG, GIF, BMP and icons, as the Windows loader takes them, and PNG, WebP and TIFF (the
// last two through Qt's image format plugins).
constexpr std::array<Kind, 7> kKinds{{
    {"jpeg", {"*.jpg", "*.jpeg", "*.jpe", "*.jfif"}},
    {"gif", {"*.gif"}},
    {"bmp", {"*.bmp", "*.dib"}},
    {"ico", {"*.ico"}},
    {"png", {"*.png"}},
    {"webp", {"*.webp"}},
    {"tiff", {"*.tif", "*.tiff"}},
}};

// A kind whose reader is installed: without its plugin, it is neither offered nor kept. The
// plugins are looked up once, not for every file of a large drop.
bool Readable(const char* format) {
  static const QList<QByteArray> installed = QImageReader::supportedImageFormats();
  return installed.contains(format);
}

}  // namespace

bool IsShownFormat(const QByteArray& format) {
  for (const Kind& kind : kKinds) {
    if (format == kind.format) return Readable(kind.format);
  }
  return false;
}

bool LinuxPictures::IsPicture(const std::string& path) {
  // Only a regular file: a pipe or a device would block the reader or never end.
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  QImageReader reader(QFile::decodeName(path.c_str()));
  reader.setDecideFormatFromContent(true);  // the name says nothing
  return reader.canRead() && IsShownFormat(reader.format());
}

std::vector<std::string> LinuxPictures::FilePatterns() {
  std::vector<std::string> patterns;
  for (const Kind& kind : kKinds) {
    if (!Readable(kind.format)) continue;
    for (const char* pattern : kind.patterns) {
      if (pattern != nullptr) patterns.emplace_back(pattern);
    }
  }
  return patterns;
}

}  // namespace scenewright::linux_platform
