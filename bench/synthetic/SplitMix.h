// The generator's random numbers: splitmix64, so that a seed gives the same
// machine on every platform and standard library.
#pragma once

#include <cstdint>
#include <vector>

namespace kelvara::bench {

class SplitMix {
 public:
  explicit SplitMix(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // A number in [0, bound); 0 when bound is 0.
  std::uint64_t Below(std::uint64_t bound) { return bound == 0 ? 0 : Next() % bound; }
  // A number in [low, high].
  int Between(int low, int high) { return low + static_cast<int>(Below(static_cast<std::uint64_t>(high - low + 1))); }
  // True with the given chance in percent.
  bool Percent(double percent) { return static_cast<double>(Below(1000000)) < percent * 10000.0; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[Below(items.size())];
  }
  // A new generator for one part of the machine, so that each part's
  // output does not depend on how much the parts before it drew.
  SplitMix Fork(std::uint64_t salt) { return SplitMix(Next() ^ (salt * 0xD1B54A32D192ED03ULL)); }

 private:
  std::uint64_t state_;
};

}  // namespace kelvara::bench
