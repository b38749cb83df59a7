// The raw walk: the least work any scan of the whole registry must do.
// It enumerates every key and value of the machine and user roots through
// the installed registry facility, reads every value's data, and tests
// every drive path found in string data once for existence.
#pragma once

#include <cstdint>

namespace kelvara::bench {

struct RawWalkCounts {
  std::uint64_t keys = 0;
  std::uint64_t values = 0;
  std::uint64_t dataBytes = 0;
  std::uint64_t pathsTested = 0;
  std::uint64_t pathsFound = 0;
  std::uint64_t unreadableKeys = 0;
};

RawWalkCounts RawWalk();

}  // namespace kelvara::bench
