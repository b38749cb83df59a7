// The machine manifest DIR/machine.txt: UTF-8 lines "name=value" naming the
// export and the drive folder (relative to DIR), the running user and its
// SID, the counts of keys and values, and how the machine was made.
#pragma once

#include <string>

#include "synthetic/SyntheticMachine.h"

namespace kelvara::bench {

struct MachineOrigin {
  std::uint64_t seed = 1;
  std::uint64_t requestedKeys = 0;
  bool wine = false;
  std::uint64_t exportBytes = 0;
  std::size_t files = 0;
};

bool WriteMachineManifest(const std::string& path, const SyntheticMachine& machine, const MachineOrigin& origin,
                          std::wstring& error);

}  // namespace kelvara::bench
