#include "cli/CliCommands.h"

#include <condition_variable>
#include <memory>
#include <mutex>

#include "autoclean/UAutoRun.h"
#include "cli/CliArguments.h"
#include "cli/CliOutput.h"
#include "cli/ProgressLine.h"
#include "cli/RegistrySource.h"
#include "cli/ScanSettings.h"
#include "config/ConfigObject.h"
#include "config/DataFolders.h"
#include "config/DateTime.h"
#include "config/ExclusionFile.h"
#include "config/LangLookup.h"
#include "config/MemIniFile.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "registry/RegImport.h"
#include "registry/RegPaths.h"
#include "registry/RegSnapshot.h"
#include "repair/BackupRestore.h"
#include "repair/FixScript.h"
#include "repair/RegCleanerExport.h"
#include "scanner/RegScannerExport.h"
#include "scanner/ScanCategories.h"
#include "sysutil/AdminFlag.h"

namespace kelvara::cli {
namespace {

std::vector<const TResultData*> View(const std::vector<std::unique_ptr<TResultData>>& findings) {
  std::vector<const TResultData*> out;
  out.reserve(findings.size());
  for (const auto& f : findings) out.push_back(f.get());
  return out;
}

std::wstring FailLine(const TRegData& r) {
  std::wstring line = RootKeyToName(r.root) + L"\\" + r.key;
  if (!r.value.empty()) line += L"\\" + r.value;
  return line;
}

int SaveSnapshotTo(const std::wstring& fileName) {
  std::wstring error;
  if (SaveRegistrySnapshot(fileName, error)) return kExitDone;
  Print(stderr, L"kelvara-cli: " + error + L"\n");
  return kExitBadInput;
}

int ScanOrClean(const CliArguments& args, const RegistrySource& source) {
  const std::wstring dataPath = DataFolder(args, source);
  std::vector<TEntry> rows;
  TConfig config = ScanConfig(args, dataPath, rows);
  ProgressLine progress(stderr, platform::HostFiles().IsErrorStreamTerminal());
  FindingCollector collector(progress, config.ScanTypes.size());
  config.ParWinHandle = &collector;
  if (!SetupScanner(config)) {
    Print(stderr, L"kelvara-cli: the scanner could not take the categories or exclusions\n");
    return kExitUsage;
  }
  StartScan();
  const bool aborted = GetScanStatus() == SAborted;
  const std::vector<const TResultData*> found = View(collector.findings);
  std::size_t safe = 0;
  for (const TResultData* f : found) safe += f->SafeToFix ? 1 : 0;
  if (args.command == Command::Scan) {
    if (args.json) {
      PrintFindingsJson(found);
      PrintScanSummaryJson(found.size(), safe, aborted);
    } else {
      PrintFindingsTable(found);
    }
    return kExitDone;
  }

  std::vector<TResultData*> entries;
  for (auto& f : collector.findings) {
    f->Checked = args.all || f->SafeToFix;
    if (f->Checked) entries.push_back(f.get());
  }
  if (args.json) {
    PrintFindingsJson(found);
  } else {
    PrintFindingsTable(found);
  }
  CleanSummary summary;
  std::vector<const TResultData*> removed;
  if (!entries.empty()) {
    const TDateTime started = Now();
    SetupCleaner(&collector, dataPath, config.BackupDir, !args.noBackup, false, entries);
    StartClean();
    TCleanKeyInfo info;
    GetDelInfo(info);
    summary.total = info.TotalKeys;
    summary.safe = info.SafeKeys;
    summary.unsafe = info.UnSafeKeys;
    summary.failed = info.FailRemove;
    GetFailList(summary.failures);
    const std::wstring backupName = GetBackupFile();
    if (!args.noBackup && !backupName.empty()) summary.backup = config.BackupDir + backupName + L".reg";
    if (!args.noBackup && backupName.empty()) {
      Print(stderr, L"kelvara-cli: no backup could be written, nothing was removed: " + GetBackupError() + L"\n");
    }
    TMemIniFile& ini = ConfigObject(config.ConfigFile);
    if (!summary.backup.empty()) ini.WriteInteger(L"RestoreData", backupName, summary.total);
    ini.WriteFloatDate(L"Clean", L"LastTime", started);
    platform::HostFileError saveError;
    if (!SaveConfigObject(saveError))
      Print(stderr, L"kelvara-cli: " + config.ConfigFile + L": " + saveError.message + L"\n");
    for (const TResultData* e : entries) {
      const std::wstring line = FailLine(e->RegData);
      bool failed = false;
      for (const auto& f : summary.failures) failed = failed || f == line;
      if (!failed) removed.push_back(e);
    }
  }
  if (args.json) {
    PrintCleanJson(summary);
  } else {
    PrintCleanTable(summary);
  }
  if (!args.fixScript.empty()) {
    std::wstring error;
    if (!WriteFixScript(args.fixScript, removed, error)) {
      Print(stderr, L"kelvara-cli: " + error + L"\n");
      return kExitBadInput;
    }
  }
  if (!args.outFile.empty() && source.snapshot) {
    const int code = SaveSnapshotTo(args.outFile);
    if (code != kExitDone) return code;
  }
  return summary.failed > 0 ? kExitRemovalFailures : kExitDone;
}

int Restore(const CliArguments& args, const RegistrySource& source) {
  std::vector<std::uint8_t> bytes;
  std::wstring error;
  if (!ReadRegFileBytes(args.backupToRestore, bytes, error) || !CheckRegData(bytes, args.backupToRestore, error)) {
    Print(stderr, L"kelvara-cli: " + error + L"\n");
    return kExitBadInput;
  }
  const TBackupRestoreResult result = RestoreRegBackup(args.backupToRestore, !source.snapshot);
  if (!result.succeeded) {
    Print(stderr, L"kelvara-cli: " + result.error + L"\n");
    return kExitRemovalFailures;
  }
  Print(stdout, L"Restored " + args.backupToRestore + L"\n");
  if (!args.outFile.empty() && source.snapshot) return SaveSnapshotTo(args.outFile);
  return kExitDone;
}

// The automatic run on the command line: its notice becomes two lines of
// text, and closing ends the wait.
class CliAutoRunView final : public TAutoRunView {
 public:
  bool ShowTrayIcon() override { return true; }
  void SetTrayAnimation(bool) override {}
  void SetTrayHint(const std::wstring&) override {}
  bool IsFullScreenActive() override { return false; }
  void ShowNotice(std::int64_t total, std::int32_t cleaned) override {
    Print(stdout, LangLookup(L"AutoClean", L"Title", L"Congratulations!") + L"\n");
    Print(stdout, std::to_wstring(total) + L" " + LangLookup(L"AutoClean", L"ErrorsFound", L"errors found.") + L"\n");
    Print(stdout, std::to_wstring(cleaned) + L" " +
                      LangLookup(L"AutoClean", L"ErrorsFixed", L"errors have been cleaned.") + L"\n");
    noticeShown = true;
  }
  bool AskStopAndExit(const std::wstring&) override { return true; }
  void Close() override {
    std::lock_guard lock(mutex_);
    closed_ = true;
    closedSignal_.notify_all();
  }
  void WaitForClose() {
    std::unique_lock lock(mutex_);
    closedSignal_.wait(lock, [this] { return closed_; });
  }
  bool noticeShown = false;

 private:
  std::mutex mutex_;
  std::condition_variable closedSignal_;
  bool closed_ = false;
};

int Auto(const CliArguments& args, const RegistrySource& source) {
  CliAutoRunView view;
  TFrmAutoRun run(view, TAutoRunFolders{ProgramFolder(), source.hostAppData, args.dataDir});
  std::vector<std::wstring> arguments = {L"-a"};
  if (args.all) arguments.push_back(L"-all");
  run.FormCreate(arguments);
  run.tmr1Timer();
  if (run.SetupFailed()) {
    Print(stderr, L"kelvara-cli: the scanner could not take the categories or exclusions\n");
    return kExitUsage;
  }
  view.WaitForClose();
  // The engines' worker threads end right after their last notification.
  while (IsEngineBusy()) std::this_thread::yield();
  if (!view.noticeShown) Print(stdout, L"Nothing to clean: no finding was selected.\n");
  TCleanKeyInfo info;
  GetDelInfo(info);
  return info.FailRemove > 0 ? kExitRemovalFailures : kExitDone;
}

int Categories() {
  for (int i = 0; i < kScanTypeCount; ++i) {
    const auto type = static_cast<TScanType>(i);
    Print(stdout, std::wstring(ScanCategoryInfo(type)->typeKey) + L"\t" + GetScanTypeName(type) + L"\n");
  }
  return kExitDone;
}

}  // namespace

int RunCli(const std::vector<std::wstring>& argv) {
  std::wstring error;
  const std::optional<CliArguments> parsed = ParseArguments(argv, error);
  if (!parsed) {
    Print(stderr, L"kelvara-cli: " + error + L"\n" + UsageText());
    return kExitUsage;
  }
  const CliArguments& args = *parsed;
  if (args.command == Command::Help) {
    Print(stdout, UsageText());
    return kExitDone;
  }
  if (args.command == Command::Categories) return Categories();
  if (!args.registryFiles.empty() && args.drives.empty() && args.command != Command::Restore) {
    Print(stderr, L"kelvara-cli: a snapshot needs its system drive: add --drive C=DIR\n");
    return kExitUsage;
  }
  RegistrySource source;
  const int installed = InstallRegistrySource(args, source, error);
  if (installed != 0) {
    Print(stderr, L"kelvara-cli: " + error + L"\n");
    return installed;
  }
  LoadEnglish();
  int code = kExitDone;
  switch (args.command) {
    case Command::Scan:
    case Command::Clean:
      code = ScanOrClean(args, source);
      break;
    case Command::Restore:
      code = Restore(args, source);
      break;
    case Command::Auto:
      code = Auto(args, source);
      break;
    case Command::Categories:
    case Command::Help:
      break;
  }
  FreeEngines();
  return code;
}

}  // namespace kelvara::cli
