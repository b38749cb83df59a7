#include "measure/ProcessMemory.h"

#ifdef _WIN32
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>
#else
#include <fstream>
#include <string>
#endif

namespace kelvara::bench {

#ifdef _WIN32
std::uint64_t PeakResidentBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.PeakWorkingSetSize;
}
#else
std::uint64_t PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
  }
  return 0;
}
#endif

}  // namespace kelvara::bench
