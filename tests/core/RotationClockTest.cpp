#include "core/RotationClock.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/FakeServices.h"

namespace scenewright {
namespace {

class RotationClockTest : public ::testing::Test {
 protected:
  std::string Tick(float now) {
    system.now = now;
    return RotationTick(state, list, system.services(), random, nullptr);
  }
  static std::string In(const char* seconds) { return std::string("The wallpaper will change in ") + seconds + " seconds."; }

  testing::FakeSystem system;
  RotationState state;
  WallpaperList list;
  UniformRandom random;
};

// Midnight and clock changes are counted in the simulated week.
TEST_F(RotationClockTest, ChangesWhenTheIntervalRunsOutOrAtOnceOnNextAndAnEmptyListRestarts) {
  for (const auto& path : system.MakePictures(3)) list.Add(path);
  state = {.interval = 10, .currentindex = -1, .lasttick = 100};
  EXPECT_EQ(Tick(109.9f), In("0.1"));
  EXPECT_EQ(Tick(110.0f), In("10"));  // the full interval at the tick that changes
  EXPECT_EQ(state.currentindex, 0);
  RequestNextWallpaper(state);
  EXPECT_EQ(Tick(110.1f), In("10"));
  EXPECT_EQ(state.currentindex, 1);
  EXPECT_EQ(system.files.files[testing::FakeSystem::kBitmapFile], "BMP 100x51");
  list.Clear();
  state.elapsed = 4000;
  EXPECT_EQ(Tick(110.2f), In("10"));
  EXPECT_EQ(system.setCount, 2);
}

TEST_F(RotationClockTest, OrderWrapsEvenPastTheEndAndRandomPicksEveryEntryAboutEquallyOften) {
  for (const auto& path : system.MakePictures(5)) list.Add(path);
  for (auto [from, to] : {std::pair{-1, 0}, {0, 1}, {4, 0}, {9, 0}}) {  // 9: left beyond the end by a removal
    state.currentindex = static_cast<std::int16_t>(from);
    ChooseNextIndex(state, list, random);
    EXPECT_EQ(state.currentindex, to) << from;
  }
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
