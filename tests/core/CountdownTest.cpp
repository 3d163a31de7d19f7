#include "core/Countdown.h"

#include <gtest/gtest.h>

namespace scenewright {
namespace {

TEST(Countdown, OneDecimalHalvesToEvenInTheLocalesSeparator) {
  const std::tuple<double, const char*, const char*> cases[] = {
      {3599.96, ".", "3600"}, {0.25, ".", "0.2"}, {0.75, ".", "0.8"}, {-0.04, ".", "0"}, {3599.9, ",", "3599,9"},
  };
  for (const auto& [seconds, separator, shown] : cases) {
    EXPECT_EQ(CountdownText(seconds, separator), std::string("The wallpaper will change in ") + shown + " seconds.");
  }
}

}  // namespace
}  // namespace scenewright
