#include "core/RotationClock.h"

#include <cmath>

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

std::string RotationTick(RotationState& state, const WallpaperList& list, const Services& services,
                         UniformRandom& random, const std::function<void()>& minimisedWindowCheck) {
  if (minimisedWindowCheck) minimisedWindowCheck();
  if (state.interval <= 0) {
    state.lasttick = services.clock.SecondsSinceMidnight();
    return std::string(kCountdownDisabledText);
  }
  const float now = services.clock.SecondsSinceMidnight();
  // Past midnight (or with the clock set back) the previous reading lies ahead of now.
  if (static_cast<float>(state.lasttick) > now) state.lasttick -= kSecondsPerDay;
  state.elapsed += now - state.lasttick;
  state.lasttick = now;
  if (state.elapsed >= static_cast<double>(state.interval)) {
    if (list.Count() > 0) ApplyNextWallpaper(state, list, services, random);
    state.elapsed = 0;
  }
  return CountdownText(static_cast<double>(state.interval) - state.elapsed, services.locale.DecimalSeparator());
}

void RequestNextWallpaper(RotationState& state) { state.elapsed = static_cast<double>(state.interval) + 0.1; }

}  // namespace scenewright
