#pragma once

#include <QImage>
#include <QImageIOHandler>

namespace scenewright::linux_platform {

// How a picture is to be turned to be seen as it was taken: the EXIF orientation, 1 (as
// stored) to 8. 5 to 8 are quarter turns, which swap width and height.
using Orientation = int;
inline constexpr Orientation kUpright = 1;
inline bool SwapsSides(Orientation orientation) { return orientation >= 5; }

// The orientation a JPEG (APP1 Exif), PNG (eXIf) or WebP (EXIF chunk) carries, read with
// libexif; kUpright for any other kind, for none, and for a corrupt or out-of-range tag.
Orientation OrientationOf(int pictureFd);
// The same from the Exif data itself, with or without its "Exif\0\0" prefix.
Orientation ExifOrientation(const unsigned char* data, std::size_t size);
// What Qt's own readers (TIFF's tag 274) say.
Orientation FromQt(QImageIOHandler::Transformations transformation);

// The picture as it should be seen.
QImage Oriented(const QImage& image, Orientation orientation);

}  // namespace scenewright::linux_platform
