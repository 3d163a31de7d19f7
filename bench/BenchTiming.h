#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace scenewright::bench {

// The median wall time of `runs` calls, in milliseconds; `prepare` runs untimed before each.
inline double MedianMs(int runs, const std::function<void()>& timed, const std::function<void()>& prepare = {}) {
  std::vector<double> samples;
  for (int i = 0; i < runs; ++i) {
    if (prepare) prepare();
    auto start = std::chrono::steady_clock::now();
    timed();
    samples.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

// One row of the printed table: the figure, its goal, and the reference from the same run.
inline void PrintRow(const std::string& name, double value, const std::string& unit, double goal, double reference,
                     const std::string& referenceName) {
  std::printf("%-34s %10.2f %-4s goal %8.2f %-4s %-5s | %-26s %10.2f %-4s ratio %6.2fx\n", name.c_str(), value,
              unit.c_str(), goal, unit.c_str(), value <= goal ? "met" : "MISSED", referenceName.c_str(), reference,
              unit.c_str(), reference > 0 ? value / reference : 0.0);
}

}  // namespace scenewright::bench
