#include "core/Lifecycle.h"

#include <gtest/gtest.h>

#include "core/RotationClock.h"
#include "fakes/FakeServices.h"
#include "storage/StartAtLogon.h"

namespace scenewright {
namespace {

using testing::FakeSystem;

struct Started {
  FakeSystem system;
  RotationState state;
  WallpaperList list;
  UniformRandom random;
  std::string steps;

  void StartUp() {
    Services services = system.services();
    RunStartUp(state, list, services,
               {.addTrayIcon = [&] { steps += "tray "; },
                .registerRunValue = [&] { RegisterStartAtLogon(system, system); },
                .showSettings = [&] { steps += "settings"; },
                .startUpChange = [&] { ApplyNextWallpaper(state, list, services, random); }});
  }
};

TEST(Lifecycle, FirstRunWritesTheDefaultsAndShutDownTheIndex) {
  Started run;
  run.system.now = 43200.5f;
  run.StartUp();
  EXPECT_EQ(run.steps, "tray settings");
  EXPECT_EQ(run.system.files.files[FakeSystem::kSettingsFile],
            "[General]\r\nautostart=1\r\nnewonstart=1\r\nrandom=0\r\ninterval=3600\r\ncurrentindex=-1\r\n");
  EXPECT_EQ(run.system.files.files[FakeSystem::kListFile], "");
  EXPECT_EQ(run.system.runValue, "D:\\Tools\\Scenewright.exe");
  EXPECT_EQ(run.state.lasttick, 43200.5);

  run.state.currentindex = 4;
  RunShutDown(run.state, run.system.services(), [&] { run.steps += " removed"; });
  EXPECT_EQ(run.system.Setting("currentindex"), "4");
  EXPECT_EQ(run.steps, "tray settings removed");
}

TEST(Lifecycle, StoredValuesAreClampedOrFallBackToTheFirstRunValues) {
  struct Case {
    const char* settings;  // after "[General]"
    int pictures;
    std::int16_t autostart, interval, currentindex;
    const char* bitmap;  // "" when the start-up change applied nothing
  };
  const Case cases[] = {
      // The index clamped to 3, then the next in order wraps to 0.
      {"autostart=0\r\nnewonstart=1\r\ninterval=60\r\ncurrentindex=9", 4, 0, 60, 0, "BMP 100x50"},
      {"autostart=yes\r\nnewonstart=0\r\nrandom=\r\ninterval=99999999999\r\ncurrentindex=-7", 2, 1, 3600, -1, ""},
      {"newonstart=1\r\ninterval=45", 0, 1, 45, -1, ""},  // an existing file is never completed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    Started run;
    run.system.WriteListFile(run.system.MakePictures(c.pictures));
    const std::string file = std::string("[General]\r\n") + c.settings + "\r\n";
    run.system.files.files[FakeSystem::kSettingsFile] = file;
    run.StartUp();
    EXPECT_EQ(run.system.files.files[FakeSystem::kSettingsFile], file);
    EXPECT_EQ(run.state.autostart, c.autostart);
    EXPECT_EQ(run.state.interval, c.interval);
    EXPECT_EQ(run.state.currentindex, c.currentindex);
    EXPECT_EQ(run.system.files.files[FakeSystem::kBitmapFile], c.bitmap);
    EXPECT_EQ(run.system.runValue.has_value(), c.autostart == 1);
  }
}

TEST(Lifecycle, AReadOnlyFolderStillStartsWithTheFirstRunValues) {
  Started run;
  run.system.files.readOnly = true;
  run.StartUp();
  EXPECT_TRUE(run.system.files.files.empty());
  EXPECT_EQ(run.state.interval, 3600);
  EXPECT_EQ(run.state.currentindex, -1);
}

}  // namespace
}  // namespace scenewright
