#include "platform/linux/QtPictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QImageWriter>
#include <QString>

#include "platform/linux/PosixFiles.h"

namespace scenewright::linux_platform {

QImage ReadPicture(const std::string& path) {
  if (path.empty()) return {};
  QImageReader reader(QString::fromStdString(path));
  reader.setDecideFormatFromContent(true);  // by content, as the Windows loader does
  reader.setAutoTransform(false);           // natural size, no orientation tricks
  return reader.read();
}

bool QtPictures::LoadStagingPicture(const std::string& path) {
  QImage picture = ReadPicture(path);
  if (picture.isNull()) return false;
  staging_ = std::move(picture);
  return true;
}

bool QtPictures::SaveStagingPictureAsBitmap(const std::string& bitmapPath) {
  if (staging_.isNull()) return false;
  // Without alpha, every desktop's loader reads the file the same way.
  const QImage opaque = staging_.convertToFormat(QImage::Format_RGB888);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "bmp");
  if (opaque.isNull() || !writer.write(opaque)) return false;
  return ReplaceFileAtomically(bitmapPath, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), 0600);
}

}  // namespace scenewright::linux_platform
