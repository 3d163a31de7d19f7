#pragma once

namespace scenewright {

// The local time of day, as the rotation clock reads it.
class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since local midnight, in single precision like the system's own timer.
  virtual float SecondsSinceMidnight() = 0;
};

}  // namespace scenewright
