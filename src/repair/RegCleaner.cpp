#include "repair/RegCleaner.h"

#include "platform/Platform.h"
#include "registry/RegPaths.h"
#include "repair/BackupName.h"
#include "repair/CleanBackup.h"
#include "repair/CleanThread.h"
#include "repair/EntryRemoval.h"
#include "repair/ErrorLog.h"

namespace kelvara {
namespace {

std::wstring WithTrailingSeparator(const std::wstring& path) {
  if (path.empty()) return path;
  const wchar_t separator = platform::HostFiles().Separator();
  const wchar_t last = path.back();
  if (last == separator || (separator == L'\\' && last == L'/')) return path;
  return path + separator;
}

std::wstring WithoutTrailingBackslash(const std::wstring& key) {
  if (!key.empty() && key.back() == L'\\') return key.substr(0, key.size() - 1);
  return key;
}

}  // namespace

TRegCleaner::TRegCleaner() = default;

TRegCleaner::~TRegCleaner() {
  fAborted = true;
  fCleanThread.reset();
}

TCleanKeyInfo TRegCleaner::DelInfo() const {
  const std::lock_guard lock(fStateLock);
  return fDelInfo;
}

std::vector<std::wstring> TRegCleaner::FailList() const {
  const std::lock_guard lock(fStateLock);
  return FFailList;
}

TRegData TRegCleaner::CurEntry() const {
  const std::lock_guard lock(fStateLock);
  return fCurEntry;
}

std::wstring TRegCleaner::BackupFile() const {
  const std::lock_guard lock(fStateLock);
  return fFileName;
}

std::wstring TRegCleaner::BackupError() const {
  const std::lock_guard lock(fStateLock);
  return fBackupError;
}

void TRegCleaner::SetBackupPath(const std::wstring& path) { fBackupPath = WithTrailingSeparator(path); }

void TRegCleaner::SetCurEntry(const TRegData& location) {
  const std::lock_guard lock(fStateLock);
  fCurEntry = location;
}

void TRegCleaner::Execute() {
  if (fBusy.load()) return;
  if (fCleanThread) {
    fCleanThread->Detach();
    fCleanThread.reset();
  }
  fAborted = false;
  fCurProcessCount = 0;
  {
    const std::lock_guard lock(fStateLock);
    fDelInfo = TCleanKeyInfo{};
  }
  fAppPath = WithTrailingSeparator(fAppPath);
  fBackupPath = WithTrailingSeparator(fBackupPath);
  fBusy = true;
  Notify(CLEAN_STARTED, 0);
  if (!fThreaded) {
    Run();
    return;
  }
  try {
    fCleanThread = std::make_unique<TCleanThread>(*this);
    fCleanThread->Start();
  } catch (...) {
    fCleanThread.reset();
    Finish();
    throw;
  }
}

void TRegCleaner::Run() {
  try {
    const TBackupResult backup = fCreateData ? RunBackup() : TBackupResult::Written;
    RunRemoval(backup == TBackupResult::Failed);
  } catch (...) {
    // Whatever failed, the owner waits for CLEAN_FINISHED.
  }
  Finish();
}

TRegCleaner::TBackupResult TRegCleaner::RunBackup() {
  fDelAction = daBack;
  Notify(CLEAN_ACTION, daBack);
  {
    const std::lock_guard lock(fStateLock);
    fFileName.clear();
    fBackupError.clear();
  }
  std::wstring fileName;
  std::wstring why;
  const std::wstring name = NewBackupName();
  if (!PrepareBackupFile(fBackupPath, name, fileName, why)) return BackupFailed(why);
  TCleanBackup backup;
  for (auto it = fEntriesList.rbegin(); it != fEntriesList.rend(); ++it) {
    if (fAborted.load()) return TBackupResult::Stopped;
    const TResultData* entry = *it;
    if (entry == nullptr || !entry->Checked) continue;
    SetCurEntry(entry->RegData);
    backup.Add(entry->RegData);
  }
  if (!backup.Write(fileName, why)) return BackupFailed(why);
  const std::lock_guard lock(fStateLock);
  fFileName = name;
  return TBackupResult::Written;
}

TRegCleaner::TBackupResult TRegCleaner::BackupFailed(const std::wstring& why) {
  const std::lock_guard lock(fStateLock);
  fBackupError = why;
  return TBackupResult::Failed;
}

void TRegCleaner::RunRemoval(bool backupFailed) {
  fDelAction = daClean;
  {
    const std::lock_guard lock(fStateLock);
    FFailList.clear();
  }
  Notify(CLEAN_ACTION, daClean);
  for (auto it = fEntriesList.rbegin(); it != fEntriesList.rend(); ++it) {
    if (!backupFailed && fAborted.load()) break;
    const TResultData* entry = *it;
    if (entry == nullptr || !entry->Checked) continue;
    SetCurEntry(entry->RegData);
    ++fCurProcessCount;
    {
      const std::lock_guard lock(fStateLock);
      ++fDelInfo.TotalKeys;
    }
    bool removed = false;
    if (!backupFailed) {
      try {
        removed = RemoveRegEntry(entry->RegData);
      } catch (...) {
        removed = false;
      }
    }
    if (!removed) {
      RecordFailure(entry->RegData, backupFailed);
      continue;
    }
    const std::lock_guard lock(fStateLock);
    ++(entry->SafeToFix ? fDelInfo.SafeKeys : fDelInfo.UnSafeKeys);
  }
}

void TRegCleaner::RecordFailure(const TRegData& location, bool backupFailed) {
  const bool isValue = location.RemoveType == rfValue;
  const std::wstring keyText =
      RootKeyToName(location.root) + L"\\" + (isValue ? location.key : WithoutTrailingBackslash(location.key));
  std::wstring reason = isValue ? kRemoveValueFailed : kRemoveKeyFailed;
  {
    const std::lock_guard lock(fStateLock);
    ++fDelInfo.FailRemove;
    FFailList.push_back(isValue && !location.value.empty() ? keyText + L"\\" + location.value : keyText);
    if (backupFailed) reason += L" Nothing was removed because the backup failed: " + fBackupError;
  }
  if (fAppPath.empty()) return;
  // A log that cannot be written loses only its record; the clean goes on.
  platform::HostFileError ignored;
  AppendErrorLog(fAppPath + kErrorLogName, isValue ? keyText + L"\\" + location.value : keyText, reason, ignored);
}

void TRegCleaner::Finish() {
  fBusy = false;
  Notify(CLEAN_FINISHED, 0);
}

void TRegCleaner::Notify(std::uintptr_t code, std::intptr_t lParam) {
  if (fParWin == nullptr) return;
  try {
    fParWin->Send(WM_REGCLEAN, code, lParam);
  } catch (...) {
    // A handler's failure must not end the worker or leave the run busy.
  }
}

}  // namespace kelvara
