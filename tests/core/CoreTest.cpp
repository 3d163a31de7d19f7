#include <gtest/gtest.h>

#include <map>

#include "core/Countdown.h"
#include "core/Lifecycle.h"
#include "core/RotationClock.h"
#include "fakes/FakeServices.h"
#include "storage/ListFile.h"
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

  void StartUp() {
    Services services = system.services();
    files = ChooseDataFiles(system.files, system);
    RunStartUp(state, list, services, files,
               {.addTrayIcon = {}, .registerRunValue = [&] { RegisterStartAtLogon(system, system); },
                .showSettings = {}, .startUpChange = [&] { ApplyNextWallpaper(state, list, services, random); }});
  }
  std::string Tick(float now) {
    system.now = now;
    return RotationTick(state, list, system.services(), random, nullptr);
  }
};

std::string In(const char* seconds) { return std::string("The wallpaper will change in ") + seconds + " seconds."; }

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

// Midnight and clock changes are counted in the simulated week.
TEST(RotationClock, ChangesWhenTheIntervalRunsOutOrAtOnceOnNextAndFailuresChangeNothing) {
  Program run;
  for (const auto& path : run.system.MakePictures(2)) run.list.Add(path);
  run.list.Add("D:\\Pictures\\gone.jpg");
  run.system.files.refused.insert(FakeSystem::kBitmapFile);  // the first bitmap place does not take the write
  run.system.candidates.push_back("C:\\Local\\scenewright.bmp");
  run.state = {.interval = 10, .currentindex = -1, .lasttick = 100};
  EXPECT_EQ(run.Tick(109.9f), In("0.1"));
  EXPECT_EQ(run.Tick(110.0f), In("10"));  // the full interval at the tick that changes
  EXPECT_EQ(run.system.wallpaper, run.system.candidates[1]);
  run.system.files.readOnly = true;  // now no place takes the bitmap, and then the picture is gone
  for (float now : {110.1f, 110.2f}) {
    RequestNextWallpaper(run.state);
    EXPECT_EQ(run.Tick(now), In("10"));
  }
  EXPECT_EQ(run.state.currentindex, 2);
  EXPECT_EQ(run.system.files.files[run.system.candidates[1]], "BMP 100x50");
  run.list.Clear();
  run.state.elapsed = 4000;
  EXPECT_EQ(run.Tick(110.3f), In("10"));
  EXPECT_EQ(run.system.setCount, 1);
  EXPECT_EQ(CountdownText(0.25, ","), In("0,2"));  // one decimal, halves to even, the user's separator
}

// By hand only: time changes nothing, each click one change at the next tick.
TEST(RotationClock, NextWallpaperChangesAlsoWithTimedChangesOff) {
  for (std::int32_t interval : {0, -1}) {
    Program run;
    for (const auto& path : run.system.MakePictures(2)) run.list.Add(path);
    run.state = {.interval = interval, .currentindex = -1, .elapsed = 5, .lasttick = 100};
    RequestNextWallpaper(run.state);
    EXPECT_EQ(run.Tick(300.0f), "Timed wallpaper changing is disabled.");
    run.Tick(400.0f);
    EXPECT_EQ(std::tuple(run.system.setCount, run.state.currentindex, run.state.elapsed, run.state.lasttick),
              std::tuple(1, 0, 0.0, 400.0)) << interval;
  }
}

// An existing file is read, clamped and never completed.
TEST(Lifecycle, StoredValuesAreClampedOrFallBackToTheFirstRunValues) {
  // The file after "[General]" (no file yet on a first run: the program writes it), the pictures
  // listed, the values in force and the bitmap ("" when the start-up change applied nothing).
  const std::tuple<const char*, bool, int, std::int16_t, std::int16_t, std::int16_t, const char*> cases[] = {
      {"autostart=1\r\nnewonstart=1\r\nrandom=0\r\ninterval=3600\r\ncurrentindex=-1", true, 0, 1, 3600, -1, ""},
      // The index clamped to 3, then the next in order wraps to 0.
      {"autostart=0\r\nnewonstart=1\r\ninterval=60\r\ncurrentindex=9", false, 4, 0, 60, 0, "BMP 100x50"},
      {"autostart=yes\r\nnewonstart=0\r\nrandom=\r\ninterval=99999999999\r\ncurrentindex=-7", false, 2, 1, 3600, -1, ""},
      {"newonstart=1\r\ninterval=45", false, 0, 1, 45, -1, ""},
  };
  for (const auto& [settings, firstRun, pictures, autostart, interval, currentindex, bitmap] : cases) {
    SCOPED_TRACE(settings);
    Program run;
    run.system.now = 43200.5f;
    run.system.WriteListFile(run.system.MakePictures(pictures));
    const std::string file = std::string("[General]\r\n") + settings + "\r\n";
    if (!firstRun) run.system.files.files[FakeSystem::kSettingsFile] = file;
    run.StartUp();
    EXPECT_EQ(run.system.files.files[FakeSystem::kSettingsFile], file);
    EXPECT_EQ(std::tuple(run.state.autostart, run.state.interval, run.state.currentindex, run.state.lasttick),
              std::tuple(autostart, interval, currentindex, 43200.5));
    EXPECT_EQ(run.system.files.files[FakeSystem::kBitmapFile], bitmap);
    EXPECT_EQ(run.system.runValue, autostart == 1 ? std::optional("D:\\Tools\\Scenewright.exe") : std::nullopt);
  }
}

// The picture decoded ahead of the start-up change is the one that change then loads, as the
// settings and the list have it, wherever they are; nothing when there is no change.
TEST(Lifecycle, TheForeseenPictureIsTheOneTheStartUpChangeLoads) {
  // The settings after "[General]" (none: a first run), the pictures listed, in the user's
  // folder rather than beside the executable, the list unreadable.
  const std::tuple<const char*, int, bool, bool> cases[] = {
      {"newonstart=1\r\ncurrentindex=1", 3, false, false}, {"newonstart=1\r\ncurrentindex=9", 3, false, false},
      {"newonstart=1\r\nrandom=1", 5, false, false},      {"newonstart=1\r\nrandom=1", 5, true, false},
      {nullptr, 2, false, false},                           {"newonstart=0", 3, false, false},
      {"newonstart=1", 0, false, false},                    {"newonstart=1", 3, false, true},
  };
  for (const auto& [settings, pictures, userFolder, unreadable] : cases) {
    SCOPED_TRACE(::testing::Message() << (settings ? settings : "first run") << pictures << userFolder << unreadable);
    Program run;
    run.system.WriteListFile(run.system.MakePictures(pictures));
    if (settings) run.system.files.files[FakeSystem::kSettingsFile] = std::string("[General]\r\n") + settings + "\r\n";
    if (unreadable) run.system.files.unreadable.insert(FakeSystem::kListFile);
    if (userFolder) {
      const DataFiles own = DataFilesIn(run.system.userFolder, '\\');
      for (const auto& [from, to] : {std::pair{FakeSystem::kSettingsFile, own.settings}, {FakeSystem::kListFile, own.list}}) {
        if (run.system.files.files.count(from)) run.system.files.files[to] = run.system.files.files[from];
        run.system.files.files.erase(from);
      }
    }
    const auto before = run.system.files.files;
    const std::optional<std::string> foreseen = ForeseeStartUpPicture(run.system.files, run.system.profile, run.system);
    EXPECT_EQ(run.system.files.files, before);
    run.StartUp();
    EXPECT_EQ(foreseen, run.system.loads.empty() ? std::nullopt : std::optional(run.system.loads[0]));
  }
}

// Both files live in one place that persists: beside the executable where they are and may be
// written (a portable copy), else the user's own folder once it holds them, else beside the
// executable when it can be written, else the user's folder, where presets are copied whole
// on its first use or not at all (and then used where they are, never replaced).
TEST(Lifecycle, DataFolderChoice) {
  // A locked program folder, presets in it (one of them unreadable, or its copy refused, or the
  // folder the system's), the user's folder used before; then the values read and whether the
  // files are beside the executable.
  for (auto [locked, presets, fault, usedBefore, interval, listCount, besideExecutable] :
       {std::tuple{false, true, "", true, 45, 2, true}, {false, true, "", false, 45, 2, true},
        {false, true, "system", false, 45, 2, false}, {false, false, "", true, 60, 0, false},
        {true, false, "", false, 3600, 0, false}, {true, true, "", false, 45, 2, false},
        {true, true, "", true, 60, 0, false}, {true, true, "unreadable", false, 45, 0, true},
        {true, true, "refused", false, 45, 2, true}}) {
    SCOPED_TRACE(::testing::Message() << locked << presets << fault << usedBefore);
    Program run;
    const DataFiles own = DataFilesIn(run.system.userFolder, '\\');
    if (locked) run.system.files.locked.insert(run.system.folder);
    if (presets) {
      run.system.files.files[FakeSystem::kSettingsFile] = "[General]\r\ninterval=45\r\nnewonstart=0\r\n";
      run.system.WriteListFile(run.system.MakePictures(2));
    }
    if (std::string(fault) == "unreadable") run.system.files.unreadable.insert(FakeSystem::kListFile);
    if (std::string(fault) == "refused") run.system.files.refused.insert(own.list);
    run.system.systemFolder = std::string(fault) == "system";
    if (usedBefore) run.system.files.files[own.settings] = "[General]\r\ninterval=60\r\n";
    run.StartUp();
    EXPECT_EQ(run.files, besideExecutable ? DataFilesIn(run.system.folder, '\\') : own);
    EXPECT_EQ(std::tuple(run.list.Count(), run.state.interval), std::tuple(listCount, interval));
    EXPECT_EQ(run.list.FileUnreadable(), std::string(fault) == "unreadable");
    EXPECT_EQ(run.system.files.IsFile(own.settings) || run.system.files.IsFile(own.list), !besideExecutable || usedBefore);
  }
}

}  // namespace
}  // namespace scenewright
