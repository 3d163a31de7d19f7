// Arbitrary bytes as a picture through the Linux picture path (its orientation read on the way),
// previewed, and covering two monitors of a small screen on the way: either the load fails and
// the staging picture stays, or a whole bitmap of the picture's size comes out, and a cover, if
// any, of the whole screen.
#include <unistd.h>

#include <QImageReader>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/linux/LinuxPictures.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::string folder = (std::filesystem::temp_directory_path() / "scenewright-fuzz.XXXXXX").string();
  static const bool made =  // and removed again when the run ends
      ::mkdtemp(folder.data()) != nullptr && std::atexit([] { std::filesystem::remove_all(folder); }) == 0;
  const std::string picture = folder + "/picture", bitmap = folder + "/scenewright.bmp";
  if (!made) std::abort();
  std::ofstream(picture, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  // Pictures are taken up to a megapixel: a declared size of thousands squared would make each
  // run write and check hundreds of megabytes, and the fuzzer would explore nothing else.
  // A PNG's size comes from its header: Qt's reader would first read every chunk before the
  // picture data, clearing a buffer of each one's declared length, which the program never lets
  // it do for a chunk longer than its file (the harness's own reading would then be what fails).
  const auto word = [&](std::size_t at) {
    return static_cast<int>(std::uint32_t{data[at]} << 24 | data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3]);
  };
  const bool png = size >= 24 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0;
  const QSize declared = png ? QSize(word(16), word(20)) : QImageReader(QString::fromStdString(picture)).size();
  if (declared.isValid() && static_cast<long long>(declared.width()) * declared.height() > (1 << 20)) return 0;
  using namespace scenewright::linux_platform;
  // The preview, turned or not, fills the box it is asked for, or there is none.
  const QImage preview = ReadPicture(picture, QSize(7, 5));
  if (!preview.isNull() && preview.size() != QSize(7, 5)) std::abort();
  const ScreenSize screen{5, 3, {{0, 0, 2, 3}, {2, 0, 3, 2}}};
  LinuxPictures pictures(folder, [&] { return screen; });
  if (!pictures.LoadStagingPicture(picture)) return 0;
  if (!pictures.SaveStagingPictureAsBitmap(bitmap)) std::abort();
  const ScreenCover cover = pictures.TakeCover(bitmap);
  if (!cover.pixels.empty() && (!cover.Fits(screen) || cover.pixels.size() != 15)) std::abort();
  // A complete 24-bit bitmap: its header's dimensions agree with the file's size.
  const QSize written = QImageReader(QString::fromStdString(bitmap), "BMP").size();
  const auto expected = 54 + (written.width() * 3ULL + 3) / 4 * 4 * static_cast<unsigned>(written.height());
  if (written.isEmpty() || std::filesystem::file_size(bitmap) != expected) std::abort();
  return 0;
}
