// The rows' way from the decoder to the bitmap and the cover: a worker thread beside the
// decoder, and on a bare X server a JPEG decoded at the scale shown.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <cmath>
#include <csignal>
#include <thread>

#include "TempFolder.h"
#include "platform/linux/BitmapFile.h"
#include "platform/linux/LinuxPictures.h"

namespace scenewright::linux_platform {
namespace {

using namespace scenewright::testing;

// The decoder fills batches far faster than this worker takes them: each must still reach it
// as filled, in order, and a failed job must stop the rest and fail the whole.
TEST(BitmapWriter, EveryBatchReachesTheWorkerAsFilledInOrderAndAFailedWriteFailsThePicture) {
  for (const int failing : {-1, 6}) {
    int taken = 0;
    bool asFilled = true;
    BatchWorker worker(1, [&](const std::uint8_t* batch, int first, int) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      asFilled = asFilled && batch[0] == first && first == taken++;
      return first != failing;
    });
    bool handed = true;
    for (int next = 0; next < 20 && handed; ++next) {
      worker.Filling()[0] = static_cast<std::uint8_t>(next);
      handed = worker.Hand(next, 1);
    }
    EXPECT_EQ(handed && worker.Finish(), failing < 0);
    EXPECT_TRUE(asFilled);
    EXPECT_EQ(taken, failing < 0 ? 20 : failing + 1);
  }
  // The rows' write fails (the file may not grow past its header) after the decoder handed
  // them over.
  TempFolder dir;
  const int fd = ::open((dir / "bitmap").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  rlimit saved{}, small{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  small = {60, saved.rlim_max};  // the soft limit only, so that it can be raised again
  std::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &small);
  ScreenCover cover;
  EXPECT_FALSE(WriteImageToBitmap(QImage(4, 3, QImage::Format_RGB32), fd, std::nullopt, cover));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::close(fd);
}

// The smallest eighth-scale that covers every monitor, and a cover as the whole picture's.
TEST(BitmapWriter, AJpegIsDecodedAtTheScaleShownOnlyWhereTheProgramDrawsTheRoot) {
  TempFolder dir;
  QImage picture(1601, 1203, QImage::Format_RGB32);  // shades and waves a few pixels of the cover wide
  for (int i = 0; i < 1601 * 1203; ++i) {
    const int x = i % 1601, y = i / 1601;
    picture.setPixel(x, y, qRgb(x / 7, y / 5, static_cast<int>(128 + 100 * std::sin(x / 25.0) * std::cos(y / 31.0))));
  }
  const std::string jpeg = dir / "photo.jpg", bitmap = dir / "scenewright.bmp";
  ASSERT_TRUE(picture.save(QString::fromStdString(jpeg), "JPEG", 95));
  // A quarter covers 401 x 301 just (sizes round up, as libjpeg's do), one pixel more needs
  // three eighths; of two monitors the second, taller one decides.
  using Screen = std::optional<ScreenSize>;
  for (const auto& [screen, bitmapSize] :
       {std::pair{Screen(ScreenSize{401, 301}), QSize(401, 301)},
        {Screen(ScreenSize{402, 301}), QSize(601, 452)},
        {Screen(ScreenSize{520, 400, {{0, 0, 320, 200}, {320, 0, 200, 400}}}), QSize(601, 452)},
        {Screen(), QSize(1601, 1203)}}) {
    SCOPED_TRACE(screen ? screen->width : 0);
    LinuxPictures pictures(dir.path(), [shown = screen] { return shown; });
    ASSERT_TRUE(pictures.LoadStagingPicture(jpeg) && pictures.SaveStagingPictureAsBitmap(bitmap));
    EXPECT_EQ(QImage(QString::fromStdString(bitmap)).size(), bitmapSize);
    const ScreenCover cover = pictures.TakeCover(bitmap);
    if (!screen) continue;
    ASSERT_TRUE(cover.Fits(*screen));
    ScreenCover whole;  // from the picture decoded whole
    const int fd = ::open((dir / "whole.bmp").c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_TRUE(WriteImageToBitmap(QImage(QString::fromStdString(jpeg)), fd, screen, whole));
    ::close(fd);
    long long difference = 0;  // at most 2 levels a channel on average
    for (std::size_t i = 0; i < 3 * cover.pixels.size(); ++i) {
      const int shift = 8 * static_cast<int>(i % 3);
      difference += std::abs(int(cover.pixels[i / 3] >> shift & 255) - int(whole.pixels[i / 3] >> shift & 255));
    }
    EXPECT_LE(difference, 2 * 3 * static_cast<long long>(cover.pixels.size()));
  }
}

}  // namespace
}  // namespace scenewright::linux_platform
