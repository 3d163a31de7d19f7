// Saves two different large lists in turn, for ever, until it is killed. Says "ready" on
// its output once the lists are built and the saving begins.
#include <unistd.h>

#include <string>

#include "platform/linux/PosixFiles.h"
#include "storage/ListFile.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  scenewright::WallpaperList lists[2];
  for (int i = 0; i < scenewright::WallpaperList::kMaxEntries; ++i) {
    lists[0].Add("/home/someone/Pictures/first/picture-" + std::to_string(i) + ".jpg");
    lists[1].Add("/home/someone/Pictures/second/p" + std::to_string(i) + ".gif");
  }
  scenewright::linux_platform::PosixFileSystem files;
  if (::write(1, "ready\n", 6) != 6) return 1;
  for (unsigned turn = 0;; ++turn) scenewright::SaveList(files, argv[1], lists[turn % 2]);
}
