#include "repair/RegCleanerExport.h"

#include <memory>

#include "sysutil/AdminFlag.h"

namespace kelvara {
namespace {

std::unique_ptr<TRegCleaner>& CleanerInstance() {
  static std::unique_ptr<TRegCleaner> cleaner;
  return cleaner;
}

}  // namespace

TRegCleaner* Cleaner() { return CleanerInstance().get(); }

void SetupCleaner(TMessageTarget* window, const std::wstring& appPath, const std::wstring& backupPath, bool createData,
                  bool threaded, const std::vector<TResultData*>& entries) {
  auto& cleaner = CleanerInstance();
  if (!cleaner) cleaner = std::make_unique<TRegCleaner>();
  if (cleaner->Busy()) return;
  cleaner->SetParWin(window);
  cleaner->SetIsAdmin(IsAdmin());
  cleaner->SetEntriesList(entries);
  cleaner->SetCreateData(createData);
  cleaner->SetAppPath(appPath);
  cleaner->SetBackupPath(backupPath);
  cleaner->SetThreaded(threaded);
}

void StartClean() {
  TRegCleaner* c = Cleaner();
  if (c != nullptr && !IsEngineBusy()) c->Execute();
}

void GetFailList(std::vector<std::wstring>& list) {
  const TRegCleaner* c = Cleaner();
  if (c == nullptr) return;
  const std::vector<std::wstring> lines = c->FailList();
  list.insert(list.end(), lines.begin(), lines.end());
}

std::int32_t GetCleanProgress() {
  const TRegCleaner* c = Cleaner();
  return c == nullptr ? 0 : c->CurProcessCount();
}

std::wstring GetBackupFile() {
  const TRegCleaner* c = Cleaner();
  return c == nullptr ? std::wstring() : c->BackupFile();
}

std::wstring GetBackupError() {
  const TRegCleaner* c = Cleaner();
  return c == nullptr ? std::wstring() : c->BackupError();
}

bool IsCleanerBusy() {
  const TRegCleaner* c = Cleaner();
  return c != nullptr && c->Busy();
}

void GetCurEntry(TRegData& record) {
  if (const TRegCleaner* c = Cleaner()) record = c->CurEntry();
}

void GetDelInfo(TCleanKeyInfo& record) {
  if (const TRegCleaner* c = Cleaner()) record = c->DelInfo();
}

bool IsEngineBusy() {
  const TJobStatus status = GetScanStatus();
  return status == SBusy || status == SPause || IsCleanerBusy();
}

void FreeEngines() {
  CleanerInstance().reset();
  FreeScanner();
}

}  // namespace kelvara
