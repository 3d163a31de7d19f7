// The program against a broken world: a read-only folder, a full disk, files that are not
// files, and a kill in the middle of a save.
#include <gtest/gtest.h>
#include <signal.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <set>

#include "MountedFolder.h"
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
  for (const std::string fault : {"read-only", "full"}) {
    MountedFolder folder(fault == "full" ? "size=64k" : "size=4m");
    if (!folder.ok()) GTEST_SKIP() << "needs the right to mount a tmpfs";
    WriteBytes(folder / "scenewright.ini", kSettings);
    WriteBytes(folder / "wallpaper.dat", list);
    ASSERT_TRUE(fault != "read-only" || folder.MakeReadOnly());
    std::ofstream filler(folder / "filler", std::ios::binary);
    while (fault == "full" && filler << std::string(4096, 'x')) {
    }
    const auto before = Entries(folder.path());

    ProgramIn program(folder.path());
    EXPECT_EQ(program.presenter.State().random, 1) << fault;
    EXPECT_EQ(program.presenter.List().Count(), 3) << fault;
    EXPECT_EQ(ReadBytes(folder / "scenewright.ini"), kSettings) << fault;
    EXPECT_EQ(ReadBytes(folder / "wallpaper.dat"), list) << fault;
    EXPECT_EQ(Entries(folder.path()), before) << fault;  // no temporary file left behind
  }
  // A first start in a read-only folder: nothing can be written, and the first-run values hold.
  MountedFolder empty;
  ASSERT_TRUE(empty.MakeReadOnly());
  ProgramIn first(empty.path());
  EXPECT_EQ(first.presenter.State().interval, 3600);
  EXPECT_TRUE(Entries(empty.path()).empty());
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
    program.presenter.OnLoad();
    ::chmod(list.c_str(), 0600);  // readable from now on
    program.view.dialogAnswers.push_back({"/p/c.jpg"});
    program.presenter.OnAddClick();
    program.presenter.OnRemoveClick();
    program.presenter.OnQueryUnload();
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
  ASSERT_TRUE(std::filesystem::is_regular_file(folder / "wallpaper.dat"));  // the save put a real list there

  std::filesystem::remove(folder / "wallpaper.dat");
  std::filesystem::create_directory(folder / "wallpaper.dat");
  WallpaperList list;
  LoadList(program.files, folder / "wallpaper.dat", list);
  EXPECT_EQ(list.Count(), 0);
  list.Add("/p/a.jpg");
  EXPECT_FALSE(SaveList(program.files, folder / "wallpaper.dat", list));
  EXPECT_EQ(Entries(folder.path()), (std::set<std::string>{"scenewright.ini", "wallpaper.dat"}));
}

TEST(Faults, AKillDuringASaveLeavesTheOldListOrTheNew) {
  TempFolder folder;
  const std::string path = folder / "wallpaper.dat";
  std::string lists[2];
  for (int i = 0; i < WallpaperList::kMaxEntries; ++i) {
    lists[0] += "/home/someone/Pictures/first/picture-" + std::to_string(i) + ".jpg\r\n";
    lists[1] += "/home/someone/Pictures/second/p" + std::to_string(i) + ".gif\r\n";
  }
  WriteBytes(path, lists[1]);
  std::mt19937 random(7);
  // A save takes some milliseconds; the kills land anywhere in the first few saves.
  std::uniform_int_distribution<int> delayMicroseconds(0, 20000);
  int seenFirst = 0;
  for (int kill = 0; kill < 1000; ++kill) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
      ::dup2(ready[1], 1);
      ::execl(SCENEWRIGHT_SAVE_LOOP, SCENEWRIGHT_SAVE_LOOP, path.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(ready[1]);
    char word[6];
    ASSERT_EQ(::read(ready[0], word, sizeof word), 6);
    ::close(ready[0]);
    ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the save loop did not run";
    const std::string now = ReadBytes(path);
    ASSERT_TRUE(now == lists[0] || now == lists[1]) << "after kill " << kill << ": " << now.size() << " bytes";
    seenFirst += now == lists[0];
  }
  EXPECT_GT(seenFirst, 0);  // the kills did land in the middle of saving
  // A kill may leave the temporary file of its save behind, never anything else; the next
  // start removes those, and only those.
  for (const auto& name : Entries(folder.path())) {
    EXPECT_TRUE(name == "wallpaper.dat" || name.rfind(".wallpaper.dat.", 0) == 0) << name;
  }
  for (const char* name : {".wallpaper.dat.Ab12Cd", ".scenewright.ini.x9YzQw", ".wallpaper.dat.kept", "wallpaper.dat.Ab12Cd",
                           ".wallpaper.dat.Ab12Cde", ".other.dat.Ab12Cd"}) {
    WriteBytes(folder / name, "");
  }
  ProgramIn program(folder.path());
  program.presenter.OnLoad();
  EXPECT_EQ(Entries(folder.path()), (std::set<std::string>{"scenewright.ini", "wallpaper.dat", ".wallpaper.dat.kept",
                                                           "wallpaper.dat.Ab12Cd", ".wallpaper.dat.Ab12Cde",
                                                           ".other.dat.Ab12Cd"}));
}

}  // namespace
}  // namespace scenewright::testing
