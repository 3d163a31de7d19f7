#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

#include "TempFolder.h"
#include "platform/linux/BatchWorker.h"
#include "platform/linux/BitmapFile.h"

namespace scenewright::linux_platform {
namespace {

// The decoder fills batches far faster than this worker takes them: each must still reach it
// as filled, in order, and a failed job must stop the rest and fail the whole.
TEST(BatchWorker, EveryBatchReachesTheWorkerAsFilledInOrderUntilAJobFails) {
  for (const int failing : {-1, 6}) {
    std::vector<int> seen;
    BatchWorker worker(sizeof(int), [&](const std::uint8_t* batch, int first, int) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      int stamp = 0;
      std::memcpy(&stamp, batch, sizeof stamp);
      seen.push_back(stamp == first ? first : -1);
      return first != failing;
    });
    bool handed = true;
    for (int next = 0; next < 20 && handed; ++next) {
      std::memcpy(worker.Filling(), &next, sizeof next);
      handed = worker.Hand(next, 1);
    }
    EXPECT_EQ(handed && worker.Finish(), failing < 0);
    std::vector<int> expected(failing < 0 ? 20 : failing + 1);
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<int>(i);
    EXPECT_EQ(seen, expected);
  }
  // The rows' write fails (the file may not grow past its header) after the decoder handed
  // them over: the picture fails too.
  testing::TempFolder dir;
  const int fd = ::open((dir / "bitmap").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY}, small{60, 60};
  std::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &small);
  ScreenCover cover;
  QImage picture(4, 3, QImage::Format_RGB32);
  EXPECT_FALSE(WriteImageToBitmap(picture, fd, std::nullopt, cover));
  ::setrlimit(RLIMIT_FSIZE, &unlimited);
  ::close(fd);
}

}  // namespace
}  // namespace scenewright::linux_platform
