#include <gtest/gtest.h>

#include <map>

#include "core/Countdown.h"
#include "core/Lifecycle.h"
#include "core/RotationClock.h"
#include "fakes/FakeServices.h"
#include "storage/StartAtLogon.h"

namespace scenewright {
namespace {

using testing::FakeSystem;

// The window's part over the fake services: its start-up steps and its timer.
struct Program {
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
  std::string Tick(float now) {
    system.now = now;
    return RotationTick(state, list, system.services(), random, nullptr);
  }
};

std::string In(const char* seconds) { return std::string("The wallpaper will change in ") + seconds + " seconds."; }

// Midnight and clock changes are counted in the simulated week.
TEST(RotationClock, ChangesWhenTheIntervalRunsOutOrAtOnceOnNextAndFailuresChangeNothing) {
  Program run;
  for (const auto& path : run.system.MakePictures(2)) run.list.Add(path);
  run.list.Add("D:\\Pictures\\gone.jpg");
  const std::string local = "C:\\Local\\scenewright.bmp";
  run.system.files.refused.insert(FakeSystem::kBitmapFile);  // the first bitmap place does not take the write
  run.system.candidates.push_back(local);
  run.state = {.interval = 10, .currentindex = -1, .lasttick = 100};
  EXPECT_EQ(run.Tick(109.9f), In("0.1"));
  EXPECT_EQ(run.Tick(110.0f), In("10"));  // the full interval at the tick that changes
  EXPECT_EQ(run.system.wallpaper, local);
  run.system.files.readOnly = true;  // now no place takes the bitmap, and then the picture is gone
  for (float now : {110.1f, 110.2f}) {
    RequestNextWallpaper(run.state);
    EXPECT_EQ(run.Tick(now), In("10"));
  }
  EXPECT_EQ(run.state.currentindex, 2);
  EXPECT_EQ(run.system.files.files[local], "BMP 100x50");
  run.list.Clear();
  run.state.elapsed = 4000;
  EXPECT_EQ(run.Tick(110.3f), In("10"));
  EXPECT_EQ(run.system.setCount, 1);
  // One decimal, halves to even, with the user's separator.
  for (auto [seconds, separator, shown] : {std::tuple{3599.96, ".", "3600"}, {0.25, ".", "0.2"}, {0.75, ".", "0.8"},
                                           {-0.04, ".", "0"}, {3599.9, ",", "3599,9"}}) {
    EXPECT_EQ(CountdownText(seconds, separator), In(shown)) << seconds;
  }
}

TEST(RotationClock, OrderWrapsEvenPastTheEndAndRandomPicksEveryEntryAboutEquallyOften) {
  Program run;
  for (const auto& path : run.system.MakePictures(5)) run.list.Add(path);
  for (auto [from, to] : {std::pair{-1, 0}, {0, 1}, {4, 0}, {9, 0}}) {  // 9: left beyond the end by a removal
    run.state.currentindex = static_cast<std::int16_t>(from);
    ChooseNextIndex(run.state, run.list, run.random);
    EXPECT_EQ(run.state.currentindex, to) << from;
  }
  run.state.random = 1;
  std::map<int, int> picks;
  for (int i = 0; i < 50000; ++i) {
    ChooseNextIndex(run.state, run.list, run.random);
    ++picks[run.state.currentindex];
  }
  ASSERT_EQ(picks.size(), 5u);  // nothing outside 0..4
  for (int index = 0; index < 5; ++index) EXPECT_NEAR(picks[index], 10000, 500) << index;
}

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
    Program run;
    run.system.now = 43200.5f;
    run.system.WriteListFile(run.system.MakePictures(c.pictures));
    const std::string file = std::string("[General]\r\n") + c.settings + "\r\n";
    if (!c.firstRun) run.system.files.files[FakeSystem::kSettingsFile] = file;
    run.StartUp();
    EXPECT_EQ(run.system.files.files[FakeSystem::kSettingsFile], file);
    EXPECT_EQ(std::tuple(run.state.autostart, run.state.interval, run.state.currentindex, run.state.lasttick),
              std::tuple(c.autostart, c.interval, c.currentindex, 43200.5));
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
    Program run;
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
    EXPECT_EQ(run.state.interval, c.interval);
  }
}

}  // namespace
}  // namespace scenewright
