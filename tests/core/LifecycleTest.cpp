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
  DataFiles files;
  std::string steps;

  void StartUp() {
    Services services = system.services();
    files = ChooseDataFiles(system.files, system);
    RunStartUp(state, list, services, files,
               {.addTrayIcon = [&] { steps += "tray "; },
                .registerRunValue = [&] { RegisterStartAtLogon(system, system); },
                .showSettings = [&] { steps += "settings"; },
                .startUpChange = [&] { ApplyNextWallpaper(state, list, services, random); }});
  }
};

// An existing file is read, clamped and never completed.
TEST(Lifecycle, StoredValuesAreClampedOrFallBackToTheFirstRunValues) {
  struct Case {
    const char* settings;  // after "[General]"
    bool firstRun;         // no file yet: the program writes these
    int pictures;
    std::int16_t autostart, interval, currentindex;
    const char* bitmap;  // "" when the start-up change applied nothing
  };
  const Case cases[] = {
      {"autostart=1\r\nnewonstart=1\r\nrandom=0\r\ninterval=3600\r\ncurrentindex=-1", true, 0, 1, 3600, -1, ""},
      // The index clamped to 3, then the next in order wraps to 0.
      {"autostart=0\r\nnewonstart=1\r\ninterval=60\r\ncurrentindex=9", false, 4, 0, 60, 0, "BMP 100x50"},
      {"autostart=yes\r\nnewonstart=0\r\nrandom=\r\ninterval=99999999999\r\ncurrentindex=-7", false, 2, 1, 3600, -1, ""},
      {"newonstart=1\r\ninterval=45", false, 0, 1, 45, -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    Started run;
    run.system.now = 43200.5f;
    run.system.WriteListFile(run.system.MakePictures(c.pictures));
    const std::string file = std::string("[General]\r\n") + c.settings + "\r\n";
    if (!c.firstRun) run.system.files.files[FakeSystem::kSettingsFile] = file;
    run.StartUp();
    EXPECT_EQ(run.system.files.files[FakeSystem::kSettingsFile], file);
    EXPECT_EQ(run.state.autostart, c.autostart);
    EXPECT_EQ(run.state.interval, c.interval);
    EXPECT_EQ(run.state.currentindex, c.currentindex);
    EXPECT_EQ(run.state.lasttick, 43200.5);
    EXPECT_EQ(run.system.files.files[FakeSystem::kBitmapFile], c.bitmap);
    EXPECT_EQ(run.system.runValue, c.autostart == 1 ? std::optional("D:\\Tools\\Scenewright.exe") : std::nullopt);
    EXPECT_EQ(run.steps, "tray settings");
  }
}

// Both files live in one place that persists: beside the executable when it can be written,
// else in the user's own folder, where presets are copied only on its first use.
TEST(Lifecycle, DataFolderChoice) {
  struct Case {
    bool locked, presets, usedBefore;
    std::int32_t interval;
    int listCount;
    bool besideExecutable;
  };
  for (const Case& c : {Case{false, true, true, 45, 2, true}, Case{true, false, false, 3600, 0, false},
                        Case{true, true, false, 45, 2, false}, Case{true, true, true, 60, 0, false}}) {
    SCOPED_TRACE(::testing::Message() << c.locked << c.presets << c.usedBefore);
    Started run;
    const DataFiles own = DataFilesIn(run.system.userFolder, '\\');
    if (c.locked) run.system.files.locked.insert(run.system.folder);
    if (c.presets) {
      run.system.files.files[FakeSystem::kSettingsFile] = "[General]\r\ninterval=45\r\nnewonstart=0\r\n";
      run.system.WriteListFile(run.system.MakePictures(2));
    }
    if (c.usedBefore) run.system.files.files[own.settings] = "[General]\r\ninterval=60\r\n";
    run.StartUp();
    EXPECT_EQ(run.files, c.besideExecutable ? DataFilesIn(run.system.folder, '\\') : own);
    EXPECT_EQ(run.list.Count(), c.listCount);
    EXPECT_TRUE(run.system.files.IsFile(run.files.settings) && run.system.files.IsFile(run.files.list));
    // The next run finds what this one saved.
    run.state = {.currentindex = static_cast<std::int16_t>(c.listCount - 1)};
    RunShutDown(run.state, run.system.services(), run.files, {});
    run.StartUp();
    EXPECT_EQ(run.state.interval, c.interval);
    EXPECT_EQ(run.state.currentindex, c.listCount - 1);
  }
}

}  // namespace
}  // namespace scenewright
