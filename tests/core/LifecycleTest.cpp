#include "core/Lifecycle.h"

#include <gtest/gtest.h>

#include "core/RotationClock.h"
#include "fakes/FakeServices.h"
#include "storage/StartAtLogon.h"

namespace scenewright {
namespace {

using testing::CallLog;
using testing::FakeSystem;

class LifecycleTest : public ::testing::Test {
 protected:
  void StartUp() {
    Services services = system.services();
    StartUpSteps steps{
        .addTrayIcon = [&] { system.log.push_back("tray add"); },
        .registerRunValue = [&] { RegisterStartAtLogon(system.registry, system.program); },
        .showSettings = [&] { system.log.push_back("show settings"); },
        .startUpChange = [&] { ApplyNextWallpaper(state, list, services, random); },
    };
    files = ChooseDataFiles(system.files, system.program);
    RunStartUp(state, list, services, files, steps);
  }

  FakeSystem system;
  DataFiles files;
  RotationState state;
  WallpaperList list;
  UniformRandom random;
};

TEST_F(LifecycleTest, FirstRunInAnEmptyFolder) {
  system.clock.now = 43200.5f;
  StartUp();
  const CallLog expected{
      "tray add",
      "exists D:\\Tools\\scenewright.ini",
      "write autostart=1",
      "write newonstart=1",
      "write random=0",
      "write interval=3600",
      "write currentindex=-1",
      "read autostart",
      "read newonstart",
      "read random",
      "read interval",
      "read currentindex",
      "registry set Scenewright=D:\\Tools\\Scenewright.exe",
      "registry delete user Scenewright",
      "show settings",
  };
  EXPECT_EQ(system.log, expected);
  EXPECT_EQ(system.files.files[FakeSystem::kSettingsFile],
            "[General]\r\nautostart=1\r\nnewonstart=1\r\nrandom=0\r\ninterval=3600\r\ncurrentindex=-1\r\n");
  EXPECT_EQ(system.files.files[FakeSystem::kListFile], "");
  EXPECT_EQ(state.lasttick, 43200.5);
  EXPECT_EQ(state.currentindex, -1);

  system.log.clear();
  RunShutDown(state, system.services(), files, [&] { system.log.push_back("tray remove"); });
  EXPECT_EQ(system.log, (CallLog{"write currentindex=-1", "tray remove"}));
}

TEST_F(LifecycleTest, FirstRunWithAListAppliesEntryZero) {
  system.WriteListFile(system.MakePictures(3));
  StartUp();
  EXPECT_EQ(state.currentindex, 0);
  EXPECT_EQ(system.files.files[FakeSystem::kBitmapFile], "BMP 100x50");
  EXPECT_EQ(system.log.back(), "wallpaper C:\\scenewright.bmp");
}

TEST_F(LifecycleTest, StoredIndexIsClampedThenTheStartUpChangeWraps) {
  system.WriteListFile(system.MakePictures(4));
  system.files.files[FakeSystem::kSettingsFile] =
      "[General]\r\nautostart=0\r\nnewonstart=1\r\nrandom=0\r\ninterval=3600\r\ncurrentindex=9\r\n";
  StartUp();
  EXPECT_EQ(state.currentindex, 0);  // clamped to 3, then the next in order wraps
  EXPECT_EQ(system.files.files[FakeSystem::kBitmapFile], "BMP 100x50");
  EXPECT_TRUE(system.registry.values.empty());  // autostart off: no Run value
}

TEST_F(LifecycleTest, UnusableStoredValuesFallBackToTheFirstRunValues) {
  system.WriteListFile(system.MakePictures(2));
  system.files.files[FakeSystem::kSettingsFile] =
      "[General]\r\nautostart=yes\r\nnewonstart=0\r\nrandom=\r\ninterval=99999999999\r\ncurrentindex=-7\r\n";
  StartUp();
  EXPECT_EQ(state.autostart, 1);
  EXPECT_EQ(state.newonstart, 0);
  EXPECT_EQ(state.random, 0);
  EXPECT_EQ(state.interval, 3600);
  EXPECT_EQ(state.currentindex, -1);
  EXPECT_EQ(system.desktop.setCount, 0);
}

TEST_F(LifecycleTest, AReadOnlyFolderStillStartsWithTheFirstRunValues) {
  system.files.readOnly = true;
  StartUp();
  EXPECT_TRUE(system.files.files.empty());
  EXPECT_EQ(state.autostart, 1);
  EXPECT_EQ(state.interval, 3600);
  EXPECT_EQ(state.currentindex, -1);
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(LifecycleTest, AnExistingSettingsFileIsNeverCompleted) {
  system.files.files[FakeSystem::kSettingsFile] = "[General]\r\ninterval=45\r\n";
  StartUp();
  EXPECT_EQ(state.interval, 45);
  EXPECT_EQ(system.Setting("autostart"), "");  // an existing file is never completed
}

// Where the settings and list files go when the program folder may or may not be written.
struct FolderCase {
  const char* name;
  bool locked, presets, usedBefore;
  std::int32_t interval;  // what start-up reads
  int listCount;
  bool besideExecutable;
};
class DataFolderChoice : public LifecycleTest, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(DataFolderChoice, BothFilesLiveInOnePlaceThatPersists) {
  const FolderCase& c = GetParam();
  SCOPED_TRACE(c.name);
  const DataFiles own = DataFilesIn("U:\\Ann\\Scenewright", '\\');
  if (c.locked) system.files.lockedFolders.insert("D:\\Tools");
  if (c.presets) {
    system.files.files[FakeSystem::kSettingsFile] = "[General]\r\ninterval=45\r\nnewonstart=0\r\n";
    system.WriteListFile(system.MakePictures(2));
  }
  if (c.usedBefore) {
    system.files.folders.insert("U:\\Ann\\Scenewright");
    system.files.files[own.settings] = "[General]\r\ninterval=60\r\n";
  }
  StartUp();
  EXPECT_EQ(files, c.besideExecutable ? DataFilesIn("D:\\Tools", '\\') : own);
  EXPECT_EQ(state.interval, c.interval);
  EXPECT_EQ(list.Count(), c.listCount);
  EXPECT_TRUE(system.files.IsFile(files.settings) && system.files.IsFile(files.list));

  // The next run finds what this one saved.
  state.currentindex = static_cast<std::int16_t>(c.listCount - 1);
  RunShutDown(state, system.services(), files, {});
  state = RotationState();
  StartUp();
  EXPECT_EQ(state.interval, c.interval);
  EXPECT_EQ(state.currentindex, c.listCount - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Lifecycle, DataFolderChoice,
    ::testing::Values(FolderCase{"writable: beside the executable", false, true, true, 45, 2, true},
                      FolderCase{"locked and empty", true, false, false, 3600, 0, false},
                      FolderCase{"locked, first use: presets copied", true, true, false, 45, 2, false},
                      FolderCase{"locked, used before: the user's copy wins", true, true, true, 60, 0, false}),
    [](const auto& info) { return std::to_string(info.index); });

}  // namespace
}  // namespace scenewright
