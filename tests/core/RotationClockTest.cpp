#include "core/RotationClock.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/FakeServices.h"

namespace scenewright {
namespace {

using testing::FakeSystem;

class RotationClockTest : public ::testing::Test {
 protected:
  void SetUpList(int count) {
    for (const auto& path : system.MakePictures(count)) list.Add(path);
  }
  std::string Tick(float now) {
    system.now = now;
    return RotationTick(state, list, system.services(), random, nullptr);
  }
  static std::string In(const char* seconds) { return std::string("The wallpaper will change in ") + seconds + " seconds."; }

  FakeSystem system;
  RotationState state;
  WallpaperList list;
  UniformRandom random;
};

TEST_F(RotationClockTest, CountsWallClockTimeAndChangesWhenTheIntervalRunsOut) {
  SetUpList(3);
  state = {.interval = 10, .currentindex = -1, .lasttick = 100};
  EXPECT_EQ(Tick(109.9f), In("0.1"));
  EXPECT_EQ(system.setCount, 0);
  EXPECT_EQ(Tick(110.0f), In("10"));  // the full interval at the tick that changes
  EXPECT_EQ(state.currentindex, 0);
  EXPECT_EQ(system.files.files[FakeSystem::kBitmapFile], "BMP 100x50");

  // Midnight is a step of 0.1 s, not minus a day.
  state.lasttick = 86399.95;
  Tick(0.05f);
  EXPECT_NEAR(state.elapsed, 0.1, 0.01);
  // The clock set back an hour: a day less the hour counts, so the interval runs out.
  state = {.interval = 3600, .lasttick = 50000};
  Tick(46400);
  EXPECT_EQ(system.setCount, 2);
  // An empty list restarts the countdown.
  list.Clear();
  state.elapsed = 4000;
  EXPECT_EQ(Tick(46500), In("3600"));
}

TEST_F(RotationClockTest, DisabledModeAndNextWallpaper) {
  SetUpList(3);
  state = {.interval = -1, .elapsed = 5, .lasttick = 10};
  EXPECT_EQ(Tick(500), "Timed wallpaper changing is disabled.");
  EXPECT_EQ(state.lasttick, 500);
  EXPECT_EQ(state.elapsed, 5);

  state.interval = 3600;
  RequestNextWallpaper(state);
  EXPECT_EQ(Tick(500.1f), In("3600"));
  EXPECT_EQ(state.currentindex, 1);
  // Off: no visible effect, but elapsed keeps interval + 0.1, and a later 3600 shows it.
  state.interval = -1;
  RequestNextWallpaper(state);
  Tick(600);
  state.interval = 3600;
  EXPECT_EQ(Tick(600.1f), In("3600.8"));
  EXPECT_EQ(system.setCount, 1);
}

TEST_F(RotationClockTest, OrderWrapsIncludingPastTheEnd) {
  SetUpList(4);
  for (auto [from, to] : {std::pair{-1, 0}, {0, 1}, {3, 0}, {9, 0}}) {  // 9: left beyond the end by a removal
    state.currentindex = static_cast<std::int16_t>(from);
    ChooseNextIndex(state, list, random);
    EXPECT_EQ(state.currentindex, to) << from;
  }
}

TEST_F(RotationClockTest, RandomPicksEveryEntryAboutEquallyOften) {
  SetUpList(5);
  state.random = 1;
  std::map<int, int> picks;
  for (int i = 0; i < 50000; ++i) {
    ChooseNextIndex(state, list, random);
    ++picks[state.currentindex];
  }
  ASSERT_EQ(picks.size(), 5u);  // nothing outside 0..4
  for (int index = 0; index < 5; ++index) EXPECT_NEAR(picks[index], 10000, 500) << index;
}

}  // namespace
}  // namespace scenewright
