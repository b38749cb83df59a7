// The process's peak resident memory, as the system counts it.
#pragma once

#include <cstdint>

namespace kelvara::bench {

// Bytes; 0 when the system does not tell.
std::uint64_t PeakResidentBytes();

}  // namespace kelvara::bench
