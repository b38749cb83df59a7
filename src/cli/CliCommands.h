// kelvara-cli's commands: scan, clean, restore, auto and categories.
#pragma once

#include <string>
#include <vector>

namespace kelvara::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitRemovalFailures = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitBadInput = 3;

// Runs the command line `args` (without the program name); the result is
// the process exit code.
int RunCli(const std::vector<std::wstring>& args);

}  // namespace kelvara::cli
