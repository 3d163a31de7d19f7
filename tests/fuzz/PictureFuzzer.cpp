// Arbitrary bytes as a picture through the Linux picture path: either the load fails and the
// staging picture stays, or a whole bitmap of the picture's size comes out.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/linux/LinuxPictures.h"

namespace {

std::string Folder() {
  static const std::string folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "scenewright-fuzz.XXXXXX").string();
    return std::string(::mkdtemp(pattern.data()));
  }();
  return folder;
}

std::uint32_t Little(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string picture = Folder() + "/picture";
  const std::string bitmap = Folder() + "/scenewright.bmp";
  std::ofstream(picture, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
  scenewright::linux_platform::LinuxPictures pictures(Folder());
  if (!pictures.LoadStagingPicture(picture)) return 0;
  if (!pictures.SaveStagingPictureAsBitmap(bitmap)) std::abort();
  std::ifstream in(bitmap, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // A complete bottom-up 24-bit bitmap: its header's size and dimensions agree with the file.
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || Little(bytes, 2) != bytes.size()) std::abort();
  const std::uint64_t stride = (static_cast<std::uint64_t>(Little(bytes, 18)) * 3 + 3) & ~3ull;
  if (54 + stride * Little(bytes, 22) != bytes.size()) std::abort();
  return 0;
}
