#pragma once

#include <cstdint>

namespace scenewright {

// The window's record of its settings and of the rotation clock.
struct RotationState {
  std::int16_t autostart = 0;     // 1: start at logon
  std::int16_t newonstart = 0;    // 1: change the wallpaper when the program starts
  std::int16_t random = 0;        // non-zero: random order
  std::int32_t interval = 0;      // seconds between timed changes; 0 or less: off
  std::int16_t currentindex = 0;  // the entry applied last; -1: none yet
  double elapsed = 0;             // seconds counted toward the next timed change
  double lasttick = 0;            // time of day of the previous clock reading
  bool nextrequested = false;     // Next Wallpaper clicked: the next tick changes, timed or not
};

}  // namespace scenewright
