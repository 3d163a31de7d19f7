// One preview decode as the window makes it, so that its time and peak memory can be measured
// as a process of its own: "box" at the preview box's size, "full" at the picture's own,
// "none" only the picture's header read (its decoder loaded), the baseline of the memory
// figures. Prints the decode's ms.
#include <QImageReader>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/linux/LinuxPictures.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s box|full|none PICTURE\n", argv[0]);
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  QImage kept;  // held until the end, as the box holds its picture
  if (std::strcmp(argv[1], "none") == 0) {
    if (!QImageReader(argv[2]).size().isValid()) return 1;
  } else {
    kept =
        scenewright::linux_platform::ReadPicture(argv[2], std::strcmp(argv[1], "box") == 0 ? QSize(213, 160) : QSize());
    if (kept.isNull()) return 1;
  }
  std::printf("%.1f\n", std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  return 0;
}
