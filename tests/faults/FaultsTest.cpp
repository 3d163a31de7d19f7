// The program against a broken world: a read-only folder, a full disk, files that are not
// files, and a kill in the middle of a save or an apply.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <random>
#include <set>

#include "TempFolder.h"
#include "fakes/FakeServices.h"
#include "platform/Bmp24Header.h"
#include "platform/TemporaryName.h"
#include "platform/linux/LinuxPictures.h"
#include "platform/linux/LinuxSystem.h"
#include "platform/linux/PosixFiles.h"
#include "storage/DataFiles.h"
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
  ~MountedFolder() { if (ok) ::umount2(temp.path().c_str(), MNT_DETACH); }
  TempFolder temp;
  bool ok;
};

// The window over real files in `folder`: loaded, a file added, the first row removed, Random
// turned on and saved, then closed. Its wallpaper bitmap goes in the folder's "cache".
struct ProgramIn {
  explicit ProgramIn(const std::string& folder) : program(folder + "/scenewright") {
    fakes.candidates = {folder + "/cache/scenewright.bmp"};
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
    for (std::ofstream filler(dir + "/filler", std::ios::binary); fault == "full" && filler << std::string(4096, 'x');) {
    }
    const auto before = Entries(dir);

    ProgramIn program(dir);
    EXPECT_EQ(program.presenter.State().random, 1) << fault;
    EXPECT_EQ(ReadBytes(dir + "/scenewright.ini"), first ? "" : kSettings) << fault;
    EXPECT_EQ(ReadBytes(dir + "/wallpaper.dat"), first ? "" : list) << fault;
    EXPECT_EQ(Entries(dir), before) << fault;  // no temporary file left behind
  }
}

TEST(Faults, AnUnreadableListOrPlacesThatAreNotFilesAreNeverReplacedAndNeverHang) {
  TempFolder folder, odd;
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
  // A folder and a FIFO (opening it could wait for ever) in the files' places: the program starts empty.
  std::filesystem::create_directory(odd / "scenewright.ini");
  ASSERT_EQ(::mkfifo((odd / "wallpaper.dat").c_str(), 0600), 0);
  ProgramIn program(odd.path());
  EXPECT_EQ(program.presenter.State().interval, 3600);
  EXPECT_TRUE(std::filesystem::is_directory(odd / "scenewright.ini"));
  EXPECT_TRUE(std::filesystem::is_regular_file(odd / "wallpaper.dat"));  // the save puts a real list there
  for (const auto& dir : {folder.path(), odd.path()}) {
    EXPECT_EQ(Entries(dir), (std::set<std::string>{"scenewright.ini", "wallpaper.dat"})) << dir;
  }
}

// Kills `loop`, run in a child, `kills` times, anywhere in its first three turns (timed once
// here, so that the kills land mid-turn however busy the machine is).
template <typename Loop>
void KillWhileRunning(int kills, Loop loop, const std::function<void(int)>& afterKill) {
  const auto start = std::chrono::steady_clock::now();
  loop(0u);
  const auto turn = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  std::mt19937 random(7);
  std::uniform_int_distribution<int> delayMicroseconds(0, static_cast<int>(3 * turn.count()));
  for (int kill = 0; kill < kills; ++kill) {
    const pid_t child = ::fork();
    for (unsigned turn = 0; child == 0; ++turn) loop(turn);  // until killed
    ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the loop did not run";
    if (afterKill) afterKill(kill);
  }
}

TEST(Faults, AKillDuringASaveOrAnApplyLeavesOldOrNewFilesAndTheNextStartRemovesOnlyItsLeftovers) {
  TempFolder folder;
  const std::string path = folder / "wallpaper.dat", cache = folder / "cache", bitmap = cache + "/scenewright.bmp";
  linux_platform::PosixFileSystem files;
  WallpaperList lists[2];
  for (int i = 0; i < WallpaperList::kMaxEntries; ++i) {
    lists[0].Add("/home/someone/Pictures/first/picture-" + std::to_string(i) + ".jpg");
    lists[1].Add("/home/someone/Pictures/second/p" + std::to_string(i) + ".gif");
  }
  std::string saved[2];
  for (int i : {0, 1}) saved[i] = SaveList(files, path, lists[i]) ? ReadBytes(path) : "";
  int seenFirst = 0;
  KillWhileRunning(150, [&](unsigned turn) { SaveList(files, path, lists[turn % 2]); }, [&](int kill) {
    const std::string now = ReadBytes(path);
    ASSERT_TRUE(now == saved[0] || now == saved[1]) << "after kill " << kill << ": " << now.size() << " bytes";
    seenFirst += now == saved[0];
  });
  EXPECT_GT(seenFirst, 0);  // the kills did land in the middle of saving
  // An apply stages a 4.5 MB bitmap in the cache folder, then places it as the wallpaper's;
  // the next writes over the one it replaced. Killed anywhere, the wallpaper's bitmap and the
  // staged one are each a whole picture.
  std::filesystem::create_directory(cache);
  const auto header = Bmp24Header(1500, 1000, 4500000);
  const std::string big[2] = {folder / "big.bmp", folder / "big2.bmp"};
  std::string whole[2];
  const auto apply = [&](unsigned turn) {
    linux_platform::LinuxPictures pictures(cache);
    if (pictures.LoadStagingPicture(big[turn % 2])) pictures.SaveStagingPictureAsBitmap(bitmap);
  };
  for (unsigned i : {0u, 1u}) {
    WriteBytes(big[i], std::string(header.begin(), header.end()) + std::string(4500000, "xy"[i]));
    apply(i);
    whole[i] = ReadBytes(bitmap);
  }
  const std::string spare = cache + "/.scenewright-spare-" + linux_platform::TemporaryHost() + ".bmp";
  int tornSpares = 0;
  KillWhileRunning(40, apply, [&](int kill) {
    for (const std::string& shown : {bitmap, cache + "/.scenewright-staging.bmp"}) {
      const std::string now = ReadBytes(shown);
      ASSERT_TRUE(now == whole[0] || now == whole[1]) << shown << " after kill " << kill << ": " << now.size();
    }
    const std::string now = ReadBytes(spare);
    tornSpares += !now.empty() && now != whole[0] && now != whole[1];
  });
  EXPECT_GT(tornSpares, 0);  // the kills did land in the middle of writing
  std::size_t leftovers = 0;
  for (const auto& where : {folder.path(), cache}) {
    for (const auto& name : Entries(where)) leftovers += TemporaryOwner(name).has_value();
  }
  EXPECT_GT(leftovers, 0u);  // the kills did leave temporaries behind
  // A look-alike of the user's, a save in progress of a program that runs, or another machine's
  // (sharing the folder; its process ids say nothing here) is never touched.
  const std::string running = TemporaryName("wallpaper.dat", linux_platform::TemporaryHost(), ::getppid(), 0);
  std::set<std::string> kept{".wallpaper.dat.backup", "wallpaper.dat.2024-05-01.tmp", running,
                             ".wallpaper.dat.~scenewright-" + linux_platform::TemporaryHost() + "-4194305x-0.tmp",
                             TemporaryName("wallpaper.dat", "other-host", 4194305, 0)};
  for (const auto& name : kept) WriteBytes(folder / name, "");
  kept.insert({"big.bmp", "big2.bmp", "scenewright.ini", "wallpaper.dat", "cache"});
  ProgramIn program(folder.path());
  EXPECT_EQ(Entries(folder.path()), kept);
  for (const auto& name : Entries(cache)) {
    EXPECT_TRUE(name == "scenewright.bmp" || name == ".scenewright-staging.bmp" || cache + "/" + name == spare) << name;
  }
}

// A start-up by another user may not signal a program saving in the same folder (EPERM), yet
// that one runs: its temporary stays; the start-up's own leftover goes.
TEST(Faults, AStartUpKeepsTheSaveInProgressOfAnotherUsersProgram) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can be two other users";
  TempFolder folder;
  ::chmod(folder.path().c_str(), 0777);
  std::string temporary;
  const pid_t saving = ::fork();  // mid-save until killed
  if (saving == 0 && ::setuid(65534) == 0 && linux_platform::CreateTemporaryBeside(folder / "wallpaper.dat", temporary) >= 0) ::pause();
  if (saving == 0) ::_exit(1);
  while (Entries(folder.path()).empty() && ::waitpid(saving, nullptr, WNOHANG) == 0) ::usleep(1000);
  const pid_t starting = ::fork();
  const bool ran = starting == 0 && ::setuid(65533) == 0 && ::kill(saving, 0) != 0 && errno == EPERM &&
                   ::close(linux_platform::CreateTemporaryBeside(folder / "scenewright.ini", temporary)) == 0;
  if (ran) linux_platform::PosixFileSystem().RemoveLeftovers(folder / "scenewright.ini");
  if (starting == 0) ::_exit(ran ? 0 : 1);
  int status = -1;
  ::waitpid(starting, &status, 0), ::kill(saving, SIGKILL), ::waitpid(saving, nullptr, 0);
  const auto left = Entries(folder.path());
  EXPECT_TRUE(status == 0 && left.size() == 1 && left.begin()->starts_with(".wallpaper.dat")) << status << ", " << left.size();
}

// An installed copy's folder (read-only) holds presets; each start copies them into a fresh
// user's folder until killed. Every user's folder then holds both or neither, and the next
// start there copies them whole and removes what the killed copy left.
TEST(Faults, AKillWhilePresetsAreCopiedLeavesBothOrNeither) {
  MountedFolder program("size=1m");
  if (!program.ok) GTEST_SKIP() << "needs the right to mount a tmpfs";
  const std::string dir = program.temp.path();
  WriteBytes(dir + "/scenewright.ini", kSettings), WriteBytes(dir + "/wallpaper.dat", kList);
  ASSERT_EQ(::mount("tmpfs", dir.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
  TempFolder homes;
  ScopedEnv config("XDG_CONFIG_HOME", nullptr);  // each start's own, set below
  linux_platform::PosixFileSystem files;
  linux_platform::LinuxProgramInfo info(dir + "/scenewright");
  const auto startIn = [&](const std::string& home) { config.Set(home.c_str()), ChooseDataFiles(files, info); };
  KillWhileRunning(60, [&](unsigned turn) { startIn(homes / (std::to_string(::getpid()) + "-" + std::to_string(turn))); }, nullptr);
  int halfway = 0;
  for (const auto& home : Entries(homes.path())) {
    const std::set<std::string> before = Entries(homes / home);
    if (!before.count("scenewright")) ++halfway, startIn(homes / home);
    EXPECT_EQ(Entries(homes / home), std::set<std::string>{"scenewright"}) << home;
    EXPECT_EQ(ReadBytes(homes / home + "/scenewright/scenewright.ini") + ReadBytes(homes / home + "/scenewright/wallpaper.dat"),
              std::string(kSettings) + kList) << home << ": " << before.size();
  }
  EXPECT_GT(halfway, 0);  // the kills did land in the middle of copying
}

}  // namespace
}  // namespace scenewright::testing
