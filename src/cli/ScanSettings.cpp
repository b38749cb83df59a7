#include "cli/ScanSettings.h"

#include "cli/ProgressLine.h"
#include "config/ConfigObject.h"
#include "config/DataFolders.h"
#include "config/ExclusionFile.h"
#include "config/LangLookup.h"
#include "config/MemIniFile.h"
#include "platform/Platform.h"
#include "scanner/RegScannerExport.h"
#include "scanner/ScanCategories.h"
#include "sysutil/AdminFlag.h"

namespace kelvara::cli {
namespace {

constexpr int kIeUrlHistory = 13;
constexpr int kEmptyKey = 15;

}  // namespace

std::intptr_t FindingCollector::Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (message == WM_REGSCAN && wParam == SCAN_FOUND) {
    auto finding = std::make_unique<TResultData>();
    GetCurData(finding.get());
    findings.push_back(std::move(finding));
  }
  if (progress_ == nullptr) return 0;
  if (message == WM_REGSCAN) {
    if (wParam == SCAN_CATEGORY) {
      ++categoriesBegun_;
      category_ = GetScanTypeName(static_cast<TScanType>(lParam));
      ShowScan(true);
    } else if (wParam == SCAN_KEY || wParam == SCAN_FOUND) {
      ShowScan(false);
    } else if (wParam == SCAN_FINISHED) {
      progress_->Clear();
    }
  } else if (message == WM_REGCLEAN) {
    if (wParam == CLEAN_ACTION) {
      progress_->Show(lParam == daBack ? L"Writing the backup of the selected entries..."
                                       : L"Removing the selected entries...");
    } else if (wParam == CLEAN_FINISHED) {
      progress_->Clear();
    }
  }
  return 0;
}

void FindingCollector::ShowScan(bool now) {
  const std::wstring text = L"Scanning " + category_ + L" (" + std::to_wstring(categoriesBegun_) + L"/" +
                            std::to_wstring(categories_) + L"): " + std::to_wstring(GetKeyCount()) + L" keys, " +
                            std::to_wstring(findings.size()) + L" found";
  if (now) {
    progress_->Show(text);
  } else {
    progress_->ShowThrottled(text);
  }
}

std::wstring DataFolder(const CliArguments& args, const RegistrySource& source) {
  if (!args.dataDir.empty()) return WithTrailingSeparator(args.dataDir);
  const TDataFolder chosen = ChooseAutoModeDataFolder(ProgramFolder(), source.hostAppData);
  return chosen.DataPath;
}

void LoadEnglish() {
  const wchar_t sep = platform::HostFiles().Separator();
  LoadLanguageFile(ProgramFolder() + L"Languages" + sep + L"English.ini");
}

// The scan's settings from the data folder's configuration and the
// command line.
TConfig ScanConfig(const CliArguments& args, const std::wstring& dataPath, std::vector<TEntry>& rows) {
  TConfig config;
  config.Path = ProgramFolder();
  config.DataPath = dataPath;
  config.ConfigFile = dataPath + L"Config.ini";
  config.ThreadMode = false;
  config.ScanLevel = args.level;
  TMemIniFile& ini = ConfigObject(config.ConfigFile);
  const std::wstring backup = ini.ReadString(L"General", L"BackupPath", L"");
  config.BackupDir = !args.backupDir.empty() ? WithTrailingSeparator(args.backupDir)
                     : backup.empty()        ? DefaultBackupDir(dataPath)
                                             : WithTrailingSeparator(backup);
  rows.assign(kScanTypeCount, TEntry{});
  for (int i = 0; i < kScanTypeCount; ++i) {
    rows[i].ScanID = static_cast<TScanType>(i);
    rows[i].Section = ScanCategoryInfo(rows[i].ScanID)->typeKey;
  }
  if (!args.categories.empty()) {
    for (const TScanType c : args.categories) config.ScanTypes.push_back(&rows[static_cast<std::size_t>(c)]);
  } else {
    for (auto& row : rows) {
      if (ini.ReadBool(L"Type", row.Section, false)) config.ScanTypes.push_back(&row);
    }
    if (config.ScanTypes.empty()) {
      for (auto& row : rows) {
        const int ordinal = static_cast<int>(row.ScanID);
        if (ordinal != kIeUrlHistory && ordinal != kEmptyKey) config.ScanTypes.push_back(&row);
      }
    }
  }
  ReadExclusionFile(config);
  config.ExList.insert(config.ExList.end(), args.excludes.begin(), args.excludes.end());
  if (IsAdmin()) {
    config.AllUsers = args.allUsers;
    config.UsersList = args.users;
  }
  return config;
}

}  // namespace kelvara::cli
