// How far the cover of a JPEG decoded at a reduced scale (as on a bare X server) is from the
// cover of the same picture decoded whole: the mean difference a channel, in levels of 255,
// and the largest. Prints "mean max".
#include <fcntl.h>
#include <unistd.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/linux/BitmapFile.h"
#include "platform/linux/LinuxPictures.h"

int main(int argc, char** argv) {
  using namespace scenewright::linux_platform;
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s PICTURE WIDTH HEIGHT\n", argv[0]);
    return 2;
  }
  const std::optional<ScreenSize> screen = ScreenSize{std::atoi(argv[2]), std::atoi(argv[3])};
  const auto folder = std::filesystem::temp_directory_path() / ("scenewright-cover-" + std::to_string(::getpid()));
  std::filesystem::create_directory(folder);
  const std::string bitmap = folder / "scenewright.bmp", whole = folder / "whole.bmp";
  LinuxPictures scaled(folder, [&] { return screen; }), full(folder);
  ScreenCover cover, reference;
  bool made = scaled.LoadStagingPicture(argv[1]) && scaled.SaveStagingPictureAsBitmap(bitmap);
  if (made) cover = scaled.TakeCover(bitmap);
  made = made && full.LoadStagingPicture(argv[1]) && full.SaveStagingPictureAsBitmap(whole);
  const int fd = ::open((folder / "reference.bmp").c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  made = made && WriteImageToBitmap(QImage(QString::fromStdString(whole)), fd, screen, reference);
  ::close(fd);
  std::filesystem::remove_all(folder);
  if (!made || !cover.Fits(*screen) || !reference.Fits(*screen)) {
    std::fprintf(stderr, "no cover made\n");
    return 1;
  }
  long long sum = 0;
  int largest = 0;
  for (std::size_t i = 0; i < cover.pixels.size(); ++i) {
    for (int shift : {0, 8, 16}) {
      const int off =
          std::abs(static_cast<int>((cover.pixels[i] >> shift & 255) - (reference.pixels[i] >> shift & 255)));
      sum += off, largest = std::max(largest, off);
    }
  }
  std::printf("%.2f %d\n", static_cast<double>(sum) / (3.0 * static_cast<double>(cover.pixels.size())), largest);
  return 0;
}
