// Reading every process-wide system fact in the order they depend on each
// other: the version and 64-bit facts, then the folder values, then the
// folder-name table.
#pragma once

namespace kelvara {

// Called once at start-up after the platform is installed and before any
// window or thread exists. Tests call it again after installing another
// platform, so that every fact comes from that platform.
void InitSystemUtilities();

}  // namespace kelvara
