// Large lists: SaveList of the largest list, and Add Files of 1000 picks through the window's
// own handler, each against the same bytes written by a bare write, fsync and rename.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchTiming.h"
#include "fakes/FakeServices.h"
#include "platform/linux/LinuxSystem.h"
#include "platform/linux/PosixFiles.h"
#include "storage/ListFile.h"
#include "storage/PortableProfileFile.h"
#include "ui/Presenter.h"

namespace scenewright::bench {
namespace {

std::string EntryPath(int i) {
  char name[96];
  std::snprintf(name, sizeof name, "/home/someone/Pictures/Holidays 2026/picture-%05d.jpg", i);
  return name;
}

// The least any safe save can cost: the bytes written beside, flushed and renamed.
void BareReplace(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".bare";
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) || ::fsync(fd) != 0) {
    std::perror("bare write");
    std::exit(1);
  }
  ::close(fd);
  ::rename(temporary.c_str(), path.c_str());
}

std::string ListBytes(const WallpaperList& list) {
  std::string text;
  for (const auto& entry : list.Entries()) text += entry + "\r\n";
  return text;
}

// The window's services with real files in `folder`; the rest are stand-ins.
struct RealFilesSystem {
  explicit RealFilesSystem(const std::string& folder) : realProgram(folder + "/scenewright") {}
  testing::FakeSystem fakes;
  linux_platform::PosixFileSystem posix;
  PortableProfileFile realProfile{posix};
  linux_platform::LinuxProgramInfo realProgram;
  Services RealServices() { return {fakes, realProfile, posix, fakes, fakes, fakes, realProgram, fakes}; }
};

}  // namespace
}  // namespace scenewright::bench

int main() {
  using namespace scenewright;
  using namespace scenewright::bench;
  char folderTemplate[] = "/var/tmp/scenewright-bench.XXXXXX";
  const std::string folder = ::mkdtemp(folderTemplate);
  const std::string listFile = folder + "/wallpaper.dat";

  WallpaperList largest;
  for (int i = 0; largest.Add(EntryPath(i)); ++i) {
  }
  linux_platform::PosixFileSystem files;
  const std::string bytes = ListBytes(largest);
  const double bare = MedianMs(15, [&] { BareReplace(listFile, bytes); });
  const double save = MedianMs(15, [&] { SaveList(files, listFile, largest); });
  PrintRow("SaveList, 32767 entries", save, "ms", 30, bare, "bare write+fsync+rename");

  // Add Files: 1000 full paths from a stand-in chooser, appended and the list rewritten.
  std::vector<std::string> picks;
  for (int i = 0; i < 1000; ++i) picks.push_back(EntryPath(i));
  RealFilesSystem system(folder);
  double reference = 0;
  const double add = MedianMs(
      7,
      [&] {
        testing::FakeView view;
        view.dialogAnswers.push_back(picks);
        Presenter presenter(system.RealServices(), view);
        presenter.OnAddClick();
      },
      [&] { files.ReplaceFile(listFile, ""); });
  WallpaperList added;
  for (const auto& pick : picks) added.Add(pick);
  const std::string addedBytes = ListBytes(added);
  reference = MedianMs(7, [&] { BareReplace(listFile, addedBytes); });
  PrintRow("Add Files, 1000 picks", add, "ms", 500, reference, "bare write of the result");

  std::string cleanup = "rm -rf '" + folder + "'";
  return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
