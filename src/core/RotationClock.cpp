#include "core/RotationClock.h"

#include <cmath>
#include <utility>

#include "core/ApplyWallpaper.h"
#include "core/Countdown.h"

namespace scenewright {

void ChooseNextIndex(RotationState& state, const WallpaperList& list, UniformRandom& random) {
  const std::int16_t count = list.Count();
  if (state.random != 0) {
    // Every entry equally likely: the floor of count x r, r in [0, 1).
    auto index = static_cast<std::int16_t>(std::floor(static_cast<double>(count) * random.Next()));
    state.currentindex = std::min<std::int16_t>(index, static_cast<std::int16_t>(count - 1));
    return;
  }
  // An index at or past the last entry (left so by a removal) wraps to the first.
  state.currentindex = state.currentindex >= count - 1 ? 0 : static_cast<std::int16_t>(state.currentindex + 1);
}

void ApplyNextWallpaper(RotationState& state, const WallpaperList& list, const Services& services,
                        UniformRandom& random) {
  ChooseNextIndex(state, list, random);
  ApplyWallpaper(list.At(state.currentindex), services.pictures, services.desktop);
}

namespace {

// A timed change: the next entry, if there is one, and the count starts again.
void ApplyDueChange(RotationState& state, const WallpaperList& list, const Services& services, UniformRandom& random) {
  if (list.Count() > 0) ApplyNextWallpaper(state, list, services, random);
  state.elapsed = 0;
}

}  // namespace

std::string RotationTick(RotationState& state, const WallpaperList& list, const Services& services,
                         UniformRandom& random, const std::function<void()>& minimisedWindowCheck) {
  if (minimisedWindowCheck) minimisedWindowCheck();
  const bool nextRequested = std::exchange(state.nextrequested, false);
  if (state.interval <= 0) {
    state.lasttick = services.clock.SecondsSinceMidnight();
    // Whoever rotates by hand only still gets the change the button promises.
    if (nextRequested) ApplyDueChange(state, list, services, random);
    return std::string(kCountdownDisabledText);
  }
  const float now = services.clock.SecondsSinceMidnight();
  // Past midnight (or with the clock set back) the previous reading lies ahead of now.
  if (static_cast<float>(state.lasttick) > now) state.lasttick -= kSecondsPerDay;
  state.elapsed += now - state.lasttick;
  state.lasttick = now;
  if (state.elapsed >= static_cast<double>(state.interval)) ApplyDueChange(state, list, services, random);
  return CountdownText(static_cast<double>(state.interval) - state.elapsed, services.locale.DecimalSeparator());
}

void RequestNextWallpaper(RotationState& state) {
  state.elapsed = static_cast<double>(state.interval) + 0.1;
  state.nextrequested = true;
}

}  // namespace scenewright
