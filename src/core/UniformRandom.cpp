#include "core/UniformRandom.h"

namespace scenewright {

float UniformRandom::Next() {
  // The top 24 bits fill a float's mantissa exactly; std::generate_canonical differs
  // between standard libraries and may even return 1.
  return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f);
}

}  // namespace scenewright
