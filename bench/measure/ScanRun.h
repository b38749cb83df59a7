// One timed scan or clean through the engines' functions, exactly as
// kelvara-cli runs them (same settings, same data folder rules).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/CliArguments.h"
#include "cli/RegistrySource.h"
#include "scanner/uDefines.h"

namespace kelvara::bench {

struct ScanOutcome {
  double seconds = 0;
  bool aborted = false;
  std::vector<std::unique_ptr<TResultData>> findings;
};

// Scans with the selection of `args` (categories, level, users); false with
// `error` when the scanner does not take the settings.
bool RunScan(const cli::CliArguments& args, const cli::RegistrySource& source, ScanOutcome& outcome,
             std::wstring& error);

struct CleanOutcome {
  double seconds = 0;
  TCleanKeyInfo info;
  std::wstring backupFile;  // empty when the backup failed
  std::wstring backupError;
};

// Removes every finding of `findings` after writing the per-fix backup.
CleanOutcome RunClean(const cli::CliArguments& args, const cli::RegistrySource& source,
                      std::vector<std::unique_ptr<TResultData>>& findings);

}  // namespace kelvara::bench
