// Arbitrary bytes as a picture through the Linux picture path: either the load fails and the
// staging picture stays, or a whole bitmap of the picture's size comes out.
#include <unistd.h>

#include <QImageReader>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/linux/LinuxPictures.h"

namespace {

// Pictures are taken up to a megapixel: a declared size of thousands squared would make each
// run write and check hundreds of megabytes, and the fuzzer would explore nothing else.
constexpr long long kMaxPixels = 1 << 20;

std::string Folder() {
  static const std::string folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "scenewright-fuzz.XXXXXX").string();
    return std::string(::mkdtemp(pattern.data()));
  }();
  return folder;
}

std::uint32_t Little(const char* bytes) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[i]);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string picture = Folder() + "/picture";
  const std::string bitmap = Folder() + "/scenewright.bmp";
  std::ofstream(picture, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
  const QSize declared = QImageReader(QString::fromStdString(picture)).size();
  if (declared.isValid() && static_cast<long long>(declared.width()) * declared.height() > kMaxPixels) return 0;
  scenewright::linux_platform::LinuxPictures pictures(Folder());
  if (!pictures.LoadStagingPicture(picture)) return 0;
  if (!pictures.SaveStagingPictureAsBitmap(bitmap)) std::abort();
  // A complete bottom-up 24-bit bitmap: its header's size and dimensions agree with the file.
  char header[54] = {};
  const auto fileSize = std::filesystem::file_size(bitmap);
  if (!std::ifstream(bitmap, std::ios::binary).read(header, sizeof header)) std::abort();
  if (header[0] != 'B' || header[1] != 'M' || Little(header + 2) != fileSize) std::abort();
  const std::uint64_t stride = (static_cast<std::uint64_t>(Little(header + 18)) * 3 + 3) & ~3ull;
  if (54 + stride * Little(header + 22) != fileSize) std::abort();
  return 0;
}
