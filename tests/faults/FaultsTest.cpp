// The program against a broken world: a read-only folder, a full disk, files that are not
// files, and a kill in the middle of a save.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <set>

#include "TempFolder.h"
#include "fakes/FakeServices.h"
#include "platform/linux/LinuxSystem.h"
#include "platform/linux/PosixFiles.h"
#include "storage/ListFile.h"
#include "ui/Presenter.h"

namespace scenewright::testing {
namespace {

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// A tmpfs of its own, to make read-only or fill; `ok` is false without the right to mount.
struct MountedFolder {
  explicit MountedFolder(const char* size)
      : ok(::geteuid() == 0 && ::mount("tmpfs", temp.path().c_str(), "tmpfs", 0, size) == 0) {}
  ~MountedFolder() {
    if (ok) ::umount2(temp.path().c_str(), MNT_DETACH);
  }
  TempFolder temp;
  bool ok;
};

// The window over real files in `folder`: loaded, a file added, the first row removed, Random
// turned on and saved, then closed.
struct ProgramIn {
  explicit ProgramIn(const std::string& folder) : program(folder + "/scenewright") {
    presenter.OnLoad();
    view.dialogAnswers.push_back({"/p/c.jpg"});
    presenter.OnAddClick();
    presenter.OnListClick(0);
    presenter.OnRemoveClick();
    presenter.OnCheckBoxClick(ControlId::chkRandom, 1);
    presenter.OnSaveClick();
    presenter.OnQueryUnload();
  }
  FakeSystem fakes;
  linux_platform::PosixFileSystem files;
  PortableProfileFile profile{files};
  linux_platform::LinuxProgramInfo program;
  FakeView view;
  Presenter presenter{{fakes, profile, files, fakes, fakes, fakes, program, fakes}, view};
};

const char kSettings[] = "[General]\r\nautostart=0\r\nnewonstart=0\r\nrandom=0\r\ninterval=60\r\ncurrentindex=1\r\n";
const char kList[] = "/p/a.jpg\r\n/p/b.jpg\r\n";

TEST(Faults, AReadOnlyFolderOrAFullDiskKeepsTheOldFilesAndTheProgramGoesOn) {
  // A list larger than what a full disk has left for its rewrite.
  const std::string list = kList + std::string(20000, 'x') + "\r\n";
  ScopedEnv config("XDG_CONFIG_HOME", "/proc/none");  // no user folder to fall back on
  for (const std::string fault : {"full", "read-only", "read-only at the first start"}) {
    MountedFolder folder(fault == "full" ? "size=64k" : "size=4m");
    if (!folder.ok) GTEST_SKIP() << "needs the right to mount a tmpfs";
    const std::string dir = folder.temp.path();
    const bool first = fault.ends_with("start");
    if (!first) WriteBytes(dir + "/scenewright.ini", kSettings), WriteBytes(dir + "/wallpaper.dat", list);
    ASSERT_TRUE(fault == "full" || ::mount("tmpfs", dir.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0);
    std::ofstream filler(dir + "/filler", std::ios::binary);
    while (fault == "full" && filler << std::string(4096, 'x')) {
    }
    const auto before = Entries(dir);

    ProgramIn program(dir);
    EXPECT_EQ(program.presenter.State().random, 1) << fault;
    EXPECT_EQ(ReadBytes(dir + "/scenewright.ini"), first ? "" : kSettings) << fault;
    EXPECT_EQ(ReadBytes(dir + "/wallpaper.dat"), first ? "" : list) << fault;
    EXPECT_EQ(Entries(dir), before) << fault;  // no temporary file left behind
  }
}

TEST(Faults, AListFileUnreadableAtStartIsNeverReplaced) {
  TempFolder folder;
  const std::string list = folder / "wallpaper.dat";
  WriteBytes(list, kList);
  // Root reads any file: the program runs as nobody, who owns the list but may not read it yet.
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(folder.path().c_str(), 65534, 65534) | ::chown(list.c_str(), 65534, 65534), 0);
  }
  ASSERT_EQ(::chmod(list.c_str(), 0200), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    if (root && (::setgroups(0, nullptr) | ::setresgid(65534, 65534, 65534) | ::setresuid(65534, 65534, 65534))) {
      ::_exit(2);
    }
    ProgramIn program(folder.path());
    ::chmod(list.c_str(), 0600);  // readable from now on, and still not the program's to replace
    program.view.dialogAnswers.push_back({"/p/c.jpg"});
    program.presenter.OnAddClick();
    ::_exit(program.presenter.List().Count() == 1 ? 0 : 3);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadBytes(list), kList);
  EXPECT_EQ(Entries(folder.path()), (std::set<std::string>{"scenewright.ini", "wallpaper.dat"}));
}

TEST(Faults, PlacesThatAreNotFilesStartUpEmptyAndNeverHang) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "scenewright.ini");
  ASSERT_EQ(::mkfifo((folder / "wallpaper.dat").c_str(), 0600), 0);  // opening it could wait for ever
  ProgramIn program(folder.path());
  EXPECT_EQ(program.presenter.State().interval, 3600);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "scenewright.ini"));
  EXPECT_TRUE(std::filesystem::is_regular_file(folder / "wallpaper.dat"));  // the save puts a real list there
  EXPECT_EQ(Entries(folder.path()), (std::set<std::string>{"scenewright.ini", "wallpaper.dat"}));
}

TEST(Faults, AKillDuringASaveLeavesTheOldListOrTheNew) {
  TempFolder folder;
  const std::string path = folder / "wallpaper.dat";
  linux_platform::PosixFileSystem files;
  WallpaperList lists[2];
  for (int i = 0; i < WallpaperList::kMaxEntries; ++i) {
    lists[0].Add("/home/someone/Pictures/first/picture-" + std::to_string(i) + ".jpg");
    lists[1].Add("/home/someone/Pictures/second/p" + std::to_string(i) + ".gif");
  }
  std::string saved[2];
  for (int i : {0, 1}) saved[i] = SaveList(files, path, lists[i]) ? ReadBytes(path) : "";
  std::mt19937 random(7);
  // A save takes some milliseconds; the kills land anywhere in the first few saves.
  std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
  int seenFirst = 0;
  for (int kill = 0; kill < 1000; ++kill) {
    const pid_t child = ::fork();
    for (unsigned turn = 0; child == 0; ++turn) SaveList(files, path, lists[turn % 2]);  // until killed
    ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the save loop did not run";
    const std::string now = ReadBytes(path);
    ASSERT_TRUE(now == saved[0] || now == saved[1]) << "after kill " << kill << ": " << now.size() << " bytes";
    seenFirst += now == saved[0];
  }
  EXPECT_GT(seenFirst, 0);  // the kills did land in the middle of saving
  // A kill may leave the temporary file of its save behind, never anything else; the next
  // start removes those, and only those.
  for (const char* name : {".wallpaper.dat.Ab12Cd", ".scenewright.ini.x9YzQw", ".wallpaper.dat.kept",
                           "wallpaper.dat.Ab12Cd", ".wallpaper.dat.Ab12Cde", ".other.dat.Ab12Cd"}) {
    WriteBytes(folder / name, "");
  }
  ProgramIn program(folder.path());
  EXPECT_EQ(Entries(folder.path()),
            (std::set<std::string>{"scenewright.ini", "wallpaper.dat", ".wallpaper.dat.kept", "wallpaper.dat.Ab12Cd",
                                   ".wallpaper.dat.Ab12Cde", ".other.dat.Ab12Cd"}));
}

}  // namespace
}  // namespace scenewright::testing
