// Wall-clock time since a start, in seconds, for the benchmarks' figures.
#pragma once

#include <chrono>

namespace kelvara::bench {

class Stopwatch {
 public:
  [[nodiscard]] double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace kelvara::bench
