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
    RunStartUp(state, list, services, steps);
  }

  FakeSystem system;
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
      "show settings",
  };
  EXPECT_EQ(system.log, expected);
  EXPECT_EQ(system.files.files[FakeSystem::kSettingsFile],
            "[General]\r\nautostart=1\r\nnewonstart=1\r\nrandom=0\r\ninterval=3600\r\ncurrentindex=-1\r\n");
  EXPECT_EQ(system.files.files[FakeSystem::kListFile], "");
  EXPECT_EQ(state.lasttick, 43200.5);
  EXPECT_EQ(state.currentindex, -1);

  system.log.clear();
  RunShutDown(state, system.services(), [&] { system.log.push_back("tray remove"); });
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

}  // namespace
}  // namespace scenewright
