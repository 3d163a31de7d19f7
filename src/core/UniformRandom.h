#pragma once

#include <random>

namespace scenewright {

// Uniform single-precision numbers in [0, 1). The start is fixed, so every run draws the
// same sequence, on every system.
class UniformRandom {
 public:
  static constexpr std::mt19937::result_type kSeed = 5489u;

  float Next();

 private:
  std::mt19937 engine_{kSeed};
};

}  // namespace scenewright
