// The rows' way from the decoder to the bitmap and the cover: a worker thread beside the
// decoder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <csignal>
#include <thread>

#include "TempFolder.h"
#include "platform/linux/BitmapFile.h"

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

}  // namespace
}  // namespace scenewright::linux_platform
