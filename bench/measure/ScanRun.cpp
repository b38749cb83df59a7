#include "measure/ScanRun.h"

#include <chrono>

#include "cli/ScanSettings.h"
#include "repair/RegCleanerExport.h"
#include "scanner/RegScannerExport.h"

namespace kelvara::bench {
namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

bool RunScan(const cli::CliArguments& args, const cli::RegistrySource& source, ScanOutcome& outcome,
             std::wstring& error) {
  std::vector<TEntry> rows;
  TConfig config = cli::ScanConfig(args, cli::DataFolder(args, source), rows);
  cli::FindingCollector collector;
  config.ParWinHandle = &collector;
  const auto start = std::chrono::steady_clock::now();
  if (!SetupScanner(config)) {
    error = L"the scanner could not take the categories or exclusions";
    return false;
  }
  StartScan();
  outcome.seconds = SecondsSince(start);
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
  const auto start = std::chrono::steady_clock::now();
  SetupCleaner(&owner, dataPath, config.BackupDir, true, false, entries);
  StartClean();
  outcome.seconds = SecondsSince(start);
  GetDelInfo(outcome.info);
  outcome.backupFile = GetBackupFile();
  outcome.backupError = GetBackupError();
  if (!outcome.backupFile.empty()) outcome.backupFile = config.BackupDir + outcome.backupFile + L".reg";
  return outcome;
}

}  // namespace kelvara::bench
