#include "measure/ScanRun.h"

#include "cli/ScanSettings.h"
#include "measure/Stopwatch.h"
#include "repair/RegCleanerExport.h"
#include "scanner/RegScannerExport.h"

namespace kelvara::bench {

bool RunScan(const cli::CliArguments& args, const cli::RegistrySource& source, ScanOutcome& outcome,
             std::wstring& error) {
  std::vector<TEntry> rows;
  TConfig config = cli::ScanConfig(args, cli::DataFolder(args, source), rows);
  cli::FindingCollector collector;
  config.ParWinHandle = &collector;
  const Stopwatch stopwatch;
  if (!SetupScanner(config)) {
    error = L"the scanner could not take the categories or exclusions";
    return false;
  }
  StartScan();
  outcome.seconds = stopwatch.Seconds();
  outcome.aborted = GetScanStatus() == SAborted;
  outcome.findings = std::move(collector.findings);
  return true;
}

CleanOutcome RunClean(const cli::CliArguments& args, const cli::RegistrySource& source,
                      std::vector<std::unique_ptr<TResultData>>& findings) {
  const std::wstring dataPath = cli::DataFolder(args, source);
  std::vector<TEntry> rows;
  const TConfig config = cli::ScanConfig(args, dataPath, rows);
  std::vector<TResultData*> entries;
  for (auto& f : findings) {
    f->Checked = true;
    entries.push_back(f.get());
  }
  cli::FindingCollector owner;
  CleanOutcome outcome;
  const Stopwatch stopwatch;
  SetupCleaner(&owner, dataPath, config.BackupDir, true, false, entries);
  StartClean();
  outcome.seconds = stopwatch.Seconds();
  GetDelInfo(outcome.info);
  outcome.backupFile = GetBackupFile();
  outcome.backupError = GetBackupError();
  if (!outcome.backupFile.empty()) outcome.backupFile = config.BackupDir + outcome.backupFile + L".reg";
  return outcome;
}

}  // namespace kelvara::bench
