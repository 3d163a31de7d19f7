// The kinds of picture the loader takes: whatever Qt's image readers (its own and the
// installed plugins) read, recognised by content.

#include <sys/stat.h>

#include <QFile>
#include <QImageReader>

#include "platform/linux/LinuxPictures.h"

namespace scenewright::linux_platform {

bool LinuxPictures::IsPicture(const std::string& path) {
  // Only a regular file: a pipe or a device would block the reader or never end.
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  QImageReader reader(QFile::decodeName(path.c_str()));
  reader.setDecideFormatFromContent(true);  // the name says nothing
  return reader.canRead();
}

std::vector<std::string> LinuxPictures::FilePatterns() {
  std::vector<std::string> patterns;
  for (const QByteArray& format : QImageReader::supportedImageFormats()) {
    patterns.push_back("*." + format.toLower().toStdString());
  }
  return patterns;
}

}  // namespace scenewright::linux_platform
