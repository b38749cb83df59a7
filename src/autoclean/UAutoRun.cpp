#include "autoclean/UAutoRun.h"

#include "config/ConfigObject.h"
#include "config/DataFolders.h"
#include "config/DateTime.h"
#include "config/ExclusionFile.h"
#include "config/LangLookup.h"
#include "config/MemIniFile.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "repair/RegCleanerExport.h"
#include "scanner/RegScannerExport.h"
#include "scanner/ScanCategories.h"
#include "sysutil/AdminFlag.h"

namespace kelvara {
namespace {

constexpr int kIeUrlHistory = 13;
constexpr int kEmptyKey = 15;

}  // namespace

TFrmAutoRun::TFrmAutoRun(TAutoRunView& view, TAutoRunFolders folders) : fView(view), fFolders(std::move(folders)) {}

TFrmAutoRun::~TFrmAutoRun() = default;

void TFrmAutoRun::FormCreate(const std::vector<std::wstring>& arguments) {
  fCheckTp = ctSafe;
  if (arguments.size() >= 2) {
    const std::wstring second = LowerCase(arguments[1]);
    if (second == L"-all" || second == L"all") fCheckTp = ctAll;
  }
  fConfig.ParWinHandle = this;
  fConfig.ThreadMode = true;
  fConfig.Path = WithTrailingSeparator(fFolders.programFolder);
  if (fFolders.dataFolderOverride.empty()) {
    const TDataFolder data = ChooseAutoModeDataFolder(fConfig.Path, fFolders.appDataFolder);
    fConfig.DataPath = data.DataPath;
    fConfig.ConfigFile = data.ConfigFile;
  } else {
    fConfig.DataPath = WithTrailingSeparator(fFolders.dataFolderOverride);
    fConfig.ConfigFile = fConfig.DataPath + L"Config.ini";
  }
  fTypeEntires.clear();
  fTypeEntires.reserve(kScanTypeCount);
  for (int i = 0; i < kScanTypeCount; ++i) {
    TEntry entry;
    entry.ScanID = static_cast<TScanType>(i);
    entry.Section = ScanCategoryInfo(entry.ScanID)->typeKey;
    entry.image = i + 1;
    entry.StateImg = -1;
    fTypeEntires.push_back(std::move(entry));
  }
  LoadConfiguration();
  ChooseCategories();
}

void TFrmAutoRun::LoadConfiguration() {
  try {
    TMemIniFile& ini = ConfigObject(fConfig.ConfigFile);
    fConfig.ScanLevel = static_cast<TScanLevel>(ini.ReadInteger(L"General", L"ScanLevel", 0));
    if (fConfig.ScanLevel < slNormal || fConfig.ScanLevel > slDeep) fConfig.ScanLevel = slNormal;
    fConfig.Lang = ini.ReadString(L"General", L"defaultlanguage", kEnglishLanguage);
    const std::wstring languages = fConfig.Path + L"Languages" + platform::HostFiles().Separator();
    fConfig.LanguageFile = languages + fConfig.Lang + L".ini";
    if (!platform::HostFiles().FileExists(fConfig.LanguageFile)) {
      fConfig.LanguageFile = languages + L"English.ini";
      fConfig.Lang = kEnglishLanguage;
    }
    LoadLanguageFile(fConfig.LanguageFile);
    const std::wstring backup = ini.ReadString(L"General", L"BackupPath", L"");
    fConfig.BackupDir = backup.empty() ? DefaultBackupDir(fConfig.DataPath) : WithTrailingSeparator(backup);
    fConfig.AllUsers = ini.ReadBool(L"Users", L"AllUsers", false);
    if (!fConfig.AllUsers) fConfig.UsersList = ini.ReadSection(L"UserList");
    for (auto& entry : fTypeEntires) entry.Checked = ini.ReadBool(L"Type", entry.Section, false);
  } catch (...) {
    // Whatever was read stays; the rest keeps its defaults.
  }
  if (!IsAdmin()) {
    fConfig.UsersList.clear();
    fConfig.AllUsers = false;
  }
  try {
    ReadExclusionFile(fConfig);
  } catch (...) {
    fConfig.ExList.clear();
  }
}

void TFrmAutoRun::ChooseCategories() {
  // The selection is read again from the file on disk, as it stands now.
  const TMemIniFile onDisk = TMemIniFile::Load(fConfig.ConfigFile);
  for (auto& entry : fTypeEntires) entry.Checked = onDisk.ReadBool(L"Type", entry.Section, entry.Checked);
  bool any = false;
  for (const auto& entry : fTypeEntires) any = any || entry.Checked;
  if (!any) {
    for (auto& entry : fTypeEntires) {
      const int ordinal = static_cast<int>(entry.ScanID);
      entry.Checked = ordinal != kIeUrlHistory && ordinal != kEmptyKey;
    }
  }
  fCheckedEntries.clear();
  for (auto& entry : fTypeEntires) {
    entry.StateImg = -1;
    if (entry.Checked) fCheckedEntries.push_back(&entry);
  }
}

void TFrmAutoRun::tmr1Timer() {
  fView.ShowTrayIcon();
  if (IsEngineBusy()) return;
  fConfig.ScanTypes = fCheckedEntries;
  fSetupFailed = !SetupScanner(fConfig);
  if (!fSetupFailed) StartScan();
}

bool TFrmAutoRun::FormCloseQuery() {
  if (!IsEngineBusy()) return true;
  const bool yes = fView.AskStopAndExit(
      LangLookup(L"Message", L"StopAndExit", L"The program is scanning, do you want to stop the scan and exit now?"));
  if (yes) StopScan();
  return yes;
}

void TFrmAutoRun::Exit1Click() {
  if (FormCloseQuery()) fView.Close();
}

std::intptr_t TFrmAutoRun::Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) {
  if (message == WM_REGSCAN) {
    switch (wParam) {
      case SCAN_STARTED:
        fView.SetTrayAnimation(true);
        fView.SetTrayHint(LangLookup(L"Message", L"Scanning", L"Scanning.."));
        break;
      case SCAN_FOUND:
        OnFound();
        break;
      case SCAN_FINISHED:
        OnScanFinished();
        break;
      default:
        break;
    }
  } else if (message == WM_REGCLEAN) {
    switch (wParam) {
      case CLEAN_STARTED:
        fView.SetTrayHint(LangLookup(L"Message", L"Cleaning", L"Cleaning.."));
        fConfig.LastTime = Now();
        break;
      case CLEAN_FINISHED:
        OnCleanFinished();
        break;
      default:
        break;
    }
  }
  return 0;
}

void TFrmAutoRun::OnFound() {
  auto finding = std::make_unique<TResultData>();
  GetCurData(finding.get());
  finding->Checked = fCheckTp == ctAll ? true : finding->SafeToFix;
  fEntries.push_back(std::move(finding));
}

void TFrmAutoRun::OnScanFinished() {
  fCleanEntries.clear();
  for (const auto& e : fEntries) fCleanEntries.push_back(e.get());
  bool anyChecked = false;
  for (const auto* e : fCleanEntries) anyChecked = anyChecked || e->Checked;
  if (!anyChecked) {
    fView.Close();
    return;
  }
  SetupCleaner(this, fConfig.DataPath, fConfig.BackupDir, true, true, fCleanEntries);
  StartClean();
}

void TFrmAutoRun::OnCleanFinished() {
  TCleanKeyInfo info;
  GetDelInfo(info);
  const std::int64_t total = info.TotalKeys;
  const std::int64_t failed = info.FailRemove;
  const std::wstring backup = GetBackupFile();
  TMemIniFile& ini = ConfigObject(fConfig.ConfigFile);
  if (!backup.empty()) ini.WriteInteger(L"RestoreData", backup, static_cast<int>(total));
  ini.WriteFloatDate(L"Clean", L"LastTime", fConfig.LastTime);
  platform::HostFileError error;
  SaveConfigObject(error);
  if (fView.IsFullScreenActive()) {
    fView.Close();
    return;
  }
  fView.ShowNotice(total, static_cast<std::int32_t>(total - failed));
  fView.Close();
}

}  // namespace kelvara
