// Writes a whole synthetic machine into a folder: registry.reg, the drive
// folder C, truth.tsv and machine.txt.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "synthetic/MachineManifest.h"
#include "synthetic/SyntheticMachine.h"

namespace kelvara::bench {

struct GeneratorOptions {
  std::string folder;
  std::uint64_t keys = 1000000;
  std::uint64_t seed = 1;
  bool wine = false;
  std::wstring userName;  // the running user
};

struct GeneratedMachine {
  SyntheticMachine machine;
  MachineOrigin origin;
};

// `progress` is told what is being written. False, with `error` set, when
// the folder, the export or the drive cannot be written.
bool GenerateMachine(const GeneratorOptions& options, GeneratedMachine& result, std::wstring& error,
                     const std::function<void(const std::wstring&)>& progress);

}  // namespace kelvara::bench
