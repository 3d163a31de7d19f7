// Seven days of 100 ms ticks through the window's own handler, with a stand-in clock that
// crosses midnight every day, starts and ends summer time, and is set back and forward.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fakes/FakeServices.h"
#include "ui/Presenter.h"

namespace scenewright::testing {
namespace {

constexpr double kDay = 86400;
constexpr double kTick = 0.125;  // a float holds it exactly near a day's end, so counted time is exact
constexpr double kInterval = 600;

TEST(SimulatedWeek, ChangesOncePerIntervalAndClockChangesOnlyMoveTheScheduleToTheTickThatSawThem) {
  const std::pair<double, double> shifts[] = {
      {1 * kDay + 2 * 3600 + 300, +3600},  // summer time starts at 02:05
      {3 * kDay + 12 * 3600 + 42, +300},   // the clock set forward five minutes
      {4 * kDay + 18 * 3600 + 7, -600},    // ... and back ten
      {5 * kDay + 3 * 3600 + 123, -3600},  // summer time ends
  };
  FakeSystem system;
  FakeView view;
  Presenter presenter(system.services(), view);
  system.WriteListFile(system.MakePictures(5));
  system.files.files[FakeSystem::kSettingsFile] =
      "[General]\r\nautostart=0\r\nnewonstart=0\r\nrandom=1\r\ninterval=600\r\ncurrentindex=-1\r\n";
  presenter.OnLoad();

  std::vector<double> changes, expected;
  double offset = 0, due = kInterval;
  std::size_t next = 0;
  for (long long step = 1; step * kTick <= 7 * kDay; ++step) {
    const double real = static_cast<double>(step) * kTick;
    // A step forward counts in full; a step back counts as a day less the step. Either way
    // the interval has run out at that tick, and from it a full interval runs again.
    if (next < std::size(shifts) && shifts[next].first <= real) offset += shifts[next++].second, due = real;
    system.now = static_cast<float>(std::fmod(std::fmod(real + offset, kDay) + kDay, kDay));
    const int before = system.setCount;
    presenter.OnTimer();
    if (system.setCount != before) changes.push_back(real);
    if (real == due) expected.push_back(real), due += kInterval;
  }
  EXPECT_EQ(changes, expected);
}

}  // namespace
}  // namespace scenewright::testing
