// Seven days of 100 ms ticks through the window's own handler, with a stand-in clock that
// crosses midnight every day, starts and ends summer time, and is set back and forward.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fakes/FakeServices.h"
#include "ui/Presenter.h"

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#include <malloc.h>
#define SCENEWRIGHT_HEAP_IN_USE() static_cast<long long>(mallinfo2().uordblks)
#endif

namespace scenewright::testing {
namespace {

constexpr double kDay = 86400;
// A tick length a float holds exactly near a day's end, so the counted time is exact too.
constexpr double kTick = 0.125;
constexpr int kInterval = 600;

// A local clock shift taking effect at a moment of real time.
struct ClockChange {
  double atRealSeconds;
  double shiftSeconds;  // positive: the clock jumps forward
};

class SimulatedWeek {
 public:
  explicit SimulatedWeek(std::vector<ClockChange> changes) : changes_(std::move(changes)) {
    for (const auto& path : system_.MakePictures(5)) list_.push_back(path);
    system_.WriteListFile(list_);
    system_.files.files[FakeSystem::kSettingsFile] =
        "[General]\r\nautostart=0\r\nnewonstart=0\r\nrandom=1\r\ninterval=600\r\ncurrentindex=-1\r\n";
    SetClock(0);
    presenter_.OnLoad();
  }

  // Ticks until `endReal`; returns the real times of the changes, and how many ticks saw
  // the clock change.
  std::vector<double> Run(double endReal, std::vector<double>& jumpTicks, std::vector<long long>& heapPerDay) {
    // The test's own records are sized up front, so that only the program's heap can grow.
    std::vector<double> changeTimes;
    changeTimes.reserve(static_cast<std::size_t>(endReal / kInterval) + 16);
    jumpTicks.reserve(16);
    heapPerDay.reserve(static_cast<std::size_t>(endReal / kDay) + 1);
    int lastCount = system_.desktop.setCount;
    for (long long step = 1; step * kTick <= endReal; ++step) {
      const double real = static_cast<double>(step) * kTick;
      if (SetClock(real)) jumpTicks.push_back(real);
      presenter_.OnTimer();
      if (system_.desktop.setCount != lastCount) {
        lastCount = system_.desktop.setCount;
        changeTimes.push_back(real);
      }
      if (std::fmod(real, kDay) == 0) {
        system_.log.clear();  // the fakes' own record, not the program's
#ifdef SCENEWRIGHT_HEAP_IN_USE
        heapPerDay.push_back(SCENEWRIGHT_HEAP_IN_USE());
#endif
      }
    }
    return changeTimes;
  }

 private:
  // True when a clock change took effect at this moment.
  bool SetClock(double real) {
    bool changed = false;
    while (next_ < changes_.size() && changes_[next_].atRealSeconds <= real) {
      offset_ += changes_[next_++].shiftSeconds;
      changed = true;
    }
    const double local = std::fmod(std::fmod(real + offset_, kDay) + kDay, kDay);
    system_.clock.now = static_cast<float>(local);
    return changed;
  }

  FakeSystem system_;
  FakeView view_{system_.log};
  Presenter presenter_{system_.services(), view_};
  std::vector<std::string> list_;
  std::vector<ClockChange> changes_;
  std::size_t next_ = 0;
  double offset_ = 0;
};

TEST(SimulatedWeek, ChangesExactlyOncePerIntervalAcrossMidnights) {
  SimulatedWeek week({});
  std::vector<double> jumps;
  std::vector<long long> heap;
  const auto changes = week.Run(7 * kDay, jumps, heap);
  ASSERT_EQ(changes.size(), static_cast<std::size_t>(7 * kDay / kInterval));
  for (std::size_t i = 0; i < changes.size(); ++i) {
    ASSERT_EQ(changes[i], kInterval * static_cast<double>(i + 1)) << i;
  }
  // No growth: the heap in use after the last day is what it was after the first.
#ifdef SCENEWRIGHT_HEAP_IN_USE
  ASSERT_EQ(heap.size(), 7u);
  EXPECT_EQ(heap.back(), heap.front());
#endif
}

TEST(SimulatedWeek, ClockChangesOnlyMoveTheScheduleToTheTickThatSawThem) {
  const std::vector<ClockChange> changes{
      {1 * kDay + 2 * 3600 + 300, +3600},   // summer time starts at 02:05
      {3 * kDay + 12 * 3600 + 42, +300},    // the clock set forward five minutes
      {4 * kDay + 18 * 3600 + 7, -600},     // ... and back ten
      {5 * kDay + 3 * 3600 + 123, -3600},   // summer time ends
  };
  SimulatedWeek week(changes);
  std::vector<double> jumps;
  std::vector<long long> heap;
  const auto times = week.Run(7 * kDay, jumps, heap);
  ASSERT_EQ(jumps.size(), changes.size());

  // A step forward counts in full; a step back counts as a day less the step. Either way the
  // interval has run out at that tick, and from it a full interval runs again.
  std::vector<double> expected;
  std::size_t nextJump = 0;
  for (double t = kInterval; t <= 7 * kDay;) {
    if (nextJump < jumps.size() && jumps[nextJump] < t) {
      t = jumps[nextJump++];
    }
    expected.push_back(t);
    t += kInterval;
  }
  EXPECT_EQ(times, expected);
}

}  // namespace
}  // namespace scenewright::testing
