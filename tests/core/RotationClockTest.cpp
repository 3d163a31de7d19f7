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
    system.clock.now = now;
    return RotationTick(state, list, system.services(), random, nullptr);
  }

  FakeSystem system;
  RotationState state;
  WallpaperList list;
  UniformRandom random;
};

TEST_F(RotationClockTest, CountsWallClockTimeAndChangesWhenTheIntervalRunsOut) {
  SetUpList(3);
  state.interval = 10;
  state.currentindex = -1;
  state.lasttick = 100;
  EXPECT_EQ(Tick(100.1f), "The wallpaper will change in 9.9 seconds.");
  EXPECT_EQ(Tick(109.9f), "The wallpaper will change in 0.1 seconds.");
  EXPECT_EQ(system.desktop.setCount, 0);
  // The label shows the full interval at the tick that changes the wallpaper.
  EXPECT_EQ(Tick(110.0f), "The wallpaper will change in 10 seconds.");
  EXPECT_EQ(state.currentindex, 0);
  EXPECT_EQ(state.elapsed, 0);
  EXPECT_EQ(system.files.files[FakeSystem::kBitmapFile], "BMP 100x50");
}

TEST_F(RotationClockTest, MidnightAndClockChanges) {
  SetUpList(1);
  state.interval = 3600;

  // Midnight: a step of about 0.1 seconds, not of minus a day.
  state.lasttick = 86399.95;
  Tick(0.05f);
  EXPECT_NEAR(state.elapsed, 0.1, 0.01);
  EXPECT_NEAR(state.lasttick, 0.05, 1e-6);

  // The clock set forward: the whole jump counts, and changes the wallpaper.
  state.elapsed = 0;
  state.lasttick = 1000;
  Tick(1000 + 3599.f);
  EXPECT_NEAR(state.elapsed, 3599, 0.01);
  Tick(1000 + 3700.f);
  EXPECT_EQ(system.desktop.setCount, 1);

  // The clock set back an hour: a day less the hour counts, so the interval runs out.
  state.elapsed = 0;
  state.lasttick = 50000;
  Tick(46400);
  EXPECT_EQ(system.desktop.setCount, 2);
  EXPECT_EQ(state.elapsed, 0);
}

TEST_F(RotationClockTest, DisabledModeMovesLasttickAndKeepsElapsed) {
  SetUpList(2);
  state.interval = -1;
  state.lasttick = 10;
  state.elapsed = 5;
  EXPECT_EQ(Tick(500), "Timed wallpaper changing is disabled.");
  EXPECT_EQ(state.lasttick, 500);
  EXPECT_EQ(state.elapsed, 5);
  state.interval = 0;
  EXPECT_EQ(Tick(501), "Timed wallpaper changing is disabled.");
  EXPECT_EQ(system.desktop.setCount, 0);
}

TEST_F(RotationClockTest, NextWallpaperWithTimedChangesOnAndOff) {
  SetUpList(3);
  state.interval = 3600;
  state.currentindex = 0;
  state.lasttick = 200;
  RequestNextWallpaper(state);
  EXPECT_EQ(Tick(200.1f), "The wallpaper will change in 3600 seconds.");
  EXPECT_EQ(state.currentindex, 1);

  // Off: no visible effect, but elapsed keeps interval + 0.1, and a later 3600 shows it.
  state.interval = -1;
  RequestNextWallpaper(state);
  EXPECT_DOUBLE_EQ(state.elapsed, -0.9);
  Tick(300);
  state.interval = 3600;
  EXPECT_EQ(Tick(300.1f), "The wallpaper will change in 3600.8 seconds.");
  EXPECT_EQ(system.desktop.setCount, 1);
}

TEST_F(RotationClockTest, EmptyListRestartsTheCountdown) {
  state.interval = 5;
  state.lasttick = 0;
  EXPECT_EQ(Tick(6), "The wallpaper will change in 5 seconds.");
  EXPECT_EQ(system.log.size(), 0u);
}

TEST_F(RotationClockTest, OrderWrapsIncludingPastTheEnd) {
  SetUpList(4);
  state.currentindex = -1;
  ChooseNextIndex(state, list, random);
  EXPECT_EQ(state.currentindex, 0);
  state.currentindex = 3;
  ChooseNextIndex(state, list, random);
  EXPECT_EQ(state.currentindex, 0);
  state.currentindex = 9;  // left beyond the end by a removal
  ChooseNextIndex(state, list, random);
  EXPECT_EQ(state.currentindex, 0);

  WallpaperList one;
  one.Add("a");
  state.currentindex = 0;
  ChooseNextIndex(state, one, random);
  EXPECT_EQ(state.currentindex, 0);
}

TEST_F(RotationClockTest, RandomPicksEveryEntryAboutEquallyOften) {
  SetUpList(5);
  state.random = 1;
  std::map<int, int> picks;
  for (int i = 0; i < 50000; ++i) {
    ChooseNextIndex(state, list, random);
    ASSERT_GE(state.currentindex, 0);
    ASSERT_LE(state.currentindex, 4);
    ++picks[state.currentindex];
  }
  // First and last are no rarer than the others.
  for (int index = 0; index < 5; ++index) EXPECT_NEAR(picks[index], 10000, 500) << index;

  // A run draws the same sequence every time.
  UniformRandom first, second;
  for (int i = 0; i < 100; ++i) {
    float r = first.Next();
    ASSERT_EQ(r, second.Next());
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
  }
}

}  // namespace
}  // namespace scenewright
