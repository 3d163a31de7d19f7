#pragma once

#include <functional>
#include <string>

#include "core/RotationState.h"
#include "core/UniformRandom.h"
#include "storage/WallpaperList.h"
#include "platform/Services.h"

namespace scenewright {

inline constexpr double kSecondsPerDay = 86400;

// Sets `currentindex` to the entry to apply next. The list must not be empty.
void ChooseNextIndex(RotationState& state, const WallpaperList& list, UniformRandom& random);

// The next entry chosen and applied: the start-up change and every timed change.
void ApplyNextWallpaper(RotationState& state, const WallpaperList& list, const Services& services,
                        UniformRandom& random);

// One firing of the 100 ms timer: runs the minimised-window check, counts the time since
// the previous reading, applies the next wallpaper when the interval has run out, and
// returns the countdown text.
std::string RotationTick(RotationState& state, const WallpaperList& list, const Services& services,
                         UniformRandom& random, const std::function<void()>& minimisedWindowCheck);

// The Next Wallpaper button: makes the next tick change the wallpaper, with timed changes on or off.
void RequestNextWallpaper(RotationState& state);

}  // namespace scenewright
