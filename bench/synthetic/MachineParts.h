// The parts of the synthetic machine, each written by its own unit: the
// identity keys the scanner needs, the COM registrations, the file types
// and shell extensions, the programs' software keys, the system lists of
// Windows, the services, the user profiles' event sounds and menus, their
// history lists, and the bulk settings that fill the machine to its size.
// Each part writes healthy entries and planted problems and records the
// findings that the planted ones must give.
#pragma once

#include <string>
#include <vector>

#include "synthetic/MachineContext.h"

namespace kelvara::bench {

// The class ids the COM part registered, for the parts that refer to them.
struct ComClasses {
  std::vector<std::wstring> healthy;  // CLSIDs whose server exists
};

void WriteIdentity(MachineContext& ctx, SplitMix rng);
ComClasses WriteComRegistrations(MachineContext& ctx, SplitMix rng);
void WriteFileTypes(MachineContext& ctx, SplitMix rng, const ComClasses& classes);
void WriteShellExtensions(MachineContext& ctx, SplitMix rng);
void WriteUserClasses(MachineContext& ctx, SplitMix rng);
void WriteSoftware(MachineContext& ctx, SplitMix rng);
void WriteProgramLists(MachineContext& ctx, SplitMix rng);
void WriteSystemLists(MachineContext& ctx, SplitMix rng);
void WriteServices(MachineContext& ctx, SplitMix rng);
void WriteUserEvents(MachineContext& ctx, SplitMix rng);
void WriteHistory(MachineContext& ctx, SplitMix rng);
// Fills the machine with settings until the export holds the target count
// of keys.
void WriteBulkSettings(MachineContext& ctx, SplitMix rng);

}  // namespace kelvara::bench
