#include "core/Countdown.h"

#include <gtest/gtest.h>

namespace scenewright {
namespace {

TEST(Countdown, OneDecimalHalvesToEvenShortestForm) {
  EXPECT_EQ(CountdownText(3600, "."), "The wallpaper will change in 3600 seconds.");
  EXPECT_EQ(CountdownText(3599.9, "."), "The wallpaper will change in 3599.9 seconds.");
  EXPECT_EQ(CountdownText(3599.96, "."), "The wallpaper will change in 3600 seconds.");
  EXPECT_EQ(CountdownText(3600.8, "."), "The wallpaper will change in 3600.8 seconds.");
  EXPECT_EQ(CountdownText(0.25, "."), "The wallpaper will change in 0.2 seconds.");
  EXPECT_EQ(CountdownText(0.75, "."), "The wallpaper will change in 0.8 seconds.");
  EXPECT_EQ(CountdownText(0.04, "."), "The wallpaper will change in 0 seconds.");
}

TEST(Countdown, UsesTheLocaleSeparator) {
  EXPECT_EQ(CountdownText(3599.9, ","), "The wallpaper will change in 3599,9 seconds.");
  EXPECT_EQ(CountdownText(45, ","), "The wallpaper will change in 45 seconds.");
}

}  // namespace
}  // namespace scenewright
