// Arbitrary bytes as a picture through the Linux picture path: either the load fails and the
// staging picture stays, or a whole bitmap of the picture's size comes out.
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
  const QSize declared = QImageReader(QString::fromStdString(picture)).size();
  if (declared.isValid() && static_cast<long long>(declared.width()) * declared.height() > (1 << 20)) return 0;
  scenewright::linux_platform::LinuxPictures pictures(folder);
  if (!pictures.LoadStagingPicture(picture)) return 0;
  if (!pictures.SaveStagingPictureAsBitmap(bitmap)) std::abort();
  // A complete bottom-up 24-bit bitmap: its header's size and dimensions agree with the file.
  char header[54] = {};
  if (!std::ifstream(bitmap, std::ios::binary).read(header, sizeof header)) std::abort();
  const auto field = [&](int at) {  // little-endian, as the host
    std::uint32_t value = 0;
    std::memcpy(&value, header + at, 4);
    return std::uint64_t{value};
  };
  if (header[0] != 'B' || header[1] != 'M' || field(2) != std::filesystem::file_size(bitmap)) std::abort();
  if (54 + (field(18) * 3 + 3) / 4 * 4 * field(22) != field(2)) std::abort();
  return 0;
}
