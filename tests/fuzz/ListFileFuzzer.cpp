// Arbitrary bytes as a list file: loading never fails, and a save then a load gives the
// same list back.
#include <cstdint>
#include <cstdlib>

#include "fakes/FakeServices.h"
#include "storage/ListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr const char* kPath = "D:\\Tools\\wallpaper.dat";
  scenewright::testing::MemoryFileSystem files;
  files.files[kPath] = std::string(reinterpret_cast<const char*>(data), size);
  scenewright::WallpaperList first, second;
  scenewright::LoadList(files, kPath, first);
  for (const auto& entry : first.Entries()) {
    if (entry.empty() || entry.find_first_of("\r\n") != std::string::npos) std::abort();
  }
  if (!scenewright::SaveList(files, kPath, first)) std::abort();
  scenewright::LoadList(files, kPath, second);
  if (second.Entries() != first.Entries() || second.Overflow() != first.Overflow()) std::abort();
  return 0;
}
