// Where the program draws the root itself, a large JPEG is decoded at the smallest eighth-scale
// that still covers every monitor; the cover must look as the whole picture's would.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <QImage>
#include <cmath>

#include "TempFolder.h"
#include "platform/linux/BitmapFile.h"
#include "platform/linux/LinuxPictures.h"

namespace scenewright::linux_platform {
namespace {

using namespace scenewright::testing;

TEST(ScaledDecode, TheSmallestScaleCoveringEveryMonitorAndTheWholePictureWhereADesktopReadsIt) {
  TempFolder dir;
  QImage picture(1601, 1203, QImage::Format_RGB32);  // shades and waves a few pixels of the cover wide
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x / 7, y / 5, static_cast<int>(128 + 100 * std::sin(x / 25.0) * std::cos(y / 31.0))));
  }
  const std::string jpeg = dir / "photo.jpg", bitmap = dir / "scenewright.bmp";
  ASSERT_TRUE(picture.save(QString::fromStdString(jpeg), "JPEG", 95));
  // A quarter covers 401 x 301 just (sizes round up, as libjpeg's do), one pixel more needs
  // three eighths; of two monitors the second, taller one decides.
  using Screen = std::optional<ScreenSize>;
  for (const auto& [screen, bitmapSize] :
       {std::pair{Screen(ScreenSize{401, 301}), QSize(401, 301)}, {Screen(ScreenSize{402, 301}), QSize(601, 452)},
        {Screen(ScreenSize{520, 400, {{0, 0, 320, 200}, {320, 0, 200, 400}}}), QSize(601, 452)},
        {Screen(), QSize(1601, 1203)}}) {
    SCOPED_TRACE(screen ? screen->width : 0);
    LinuxPictures pictures(dir.path(), [&] { return screen; });
    ASSERT_TRUE(pictures.LoadStagingPicture(jpeg) && pictures.SaveStagingPictureAsBitmap(bitmap));
    EXPECT_EQ(QImage(QString::fromStdString(bitmap)).size(), bitmapSize);
    const ScreenCover cover = pictures.TakeCover(bitmap);
    if (!screen) continue;
    ASSERT_TRUE(cover.Fits(*screen));
    // Today's cover, from the picture decoded whole.
    ScreenCover whole;
    const int fd = ::open((dir / "whole.bmp").c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_TRUE(WriteImageToBitmap(QImage(QString::fromStdString(jpeg)), fd, screen, whole));
    ::close(fd);
    long long difference = 0;
    for (std::size_t i = 0; i < cover.pixels.size(); ++i) {
      for (int shift : {0, 8, 16}) difference += std::abs(int(cover.pixels[i] >> shift & 255) - int(whole.pixels[i] >> shift & 255));
    }
    EXPECT_LE(difference, 2 * 3 * static_cast<long long>(cover.pixels.size()));
  }
}

}  // namespace
}  // namespace scenewright::linux_platform
