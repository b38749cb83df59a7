#include "scanner/RegScannerExport.h"

#include <algorithm>
#include <memory>

#include "platform/Text.h"
#include "sysutil/AdminFlag.h"

namespace kelvara {
namespace {

std::unique_ptr<TRegScanner>& ScannerInstance() {
  static std::unique_ptr<TRegScanner> scanner;
  return scanner;
}

bool ListHas(const std::vector<std::wstring>& list, const std::wstring& name) {
  return std::any_of(list.begin(), list.end(), [&](const std::wstring& s) { return SameText(s, name); });
}

}  // namespace

TRegScanner* Scanner() { return ScannerInstance().get(); }

bool SetupScanner(const TConfig& config) {
  for (auto& user : UserList()) {
    if (user.IsCurUser) continue;
    user.Checked = config.AllUsers || ListHas(config.UsersList, user.UserName);
  }
  LoadUserHives();
  auto& scanner = ScannerInstance();
  if (!scanner) scanner = std::make_unique<TRegScanner>();
  scanner->SetThreaded(config.ThreadMode);
  scanner->SetIsAdmin(IsAdmin());
  try {
    scanner->ClearScanType();
    for (const TEntry* entry : config.ScanTypes) {
      if (entry != nullptr) scanner->AddScanType(entry->ScanID);
    }
    scanner->SetScanLevel(config.ScanLevel);
    scanner->SetParWin(config.ParWinHandle);
    scanner->SetExcluded(config.ExList);
  } catch (...) {
    return false;
  }
  return true;
}

void StartScan() {
  TRegScanner* s = Scanner();
  if (s == nullptr) return;
  const TJobStatus status = s->Status();
  if (status == SStop || status == SAborted) s->Start();
}

void StopScan() {
  TRegScanner* s = Scanner();
  if (s == nullptr) return;
  const TJobStatus status = s->Status();
  if (status == SBusy || status == SPause) s->Stop(false);
}

TJobStatus GetScanStatus() {
  const TRegScanner* s = Scanner();
  return s == nullptr ? SStop : s->Status();
}

std::int32_t GetKeyCount() {
  const TRegScanner* s = Scanner();
  if (s == nullptr) return 0;
  const std::int64_t n = s->KeyCount();
  if (n < 0) return 0;
  return static_cast<std::int32_t>(std::min<std::int64_t>(n, INT32_MAX));
}

std::wstring GetCurKey() {
  const TRegScanner* s = Scanner();
  return s == nullptr ? std::wstring() : s->CurKey();
}

void GetCurData(TResultData* record) {
  const TRegScanner* s = Scanner();
  if (record == nullptr || s == nullptr) return;
  const TResultData& d = s->CurData();
  record->RegData = d.RegData;
  record->SafeToFix = d.SafeToFix;
  record->ScanSection = d.ScanSection;
  record->ErrorMsg = d.ErrorMsg;
  record->User = d.User;
  record->Checked = d.SafeToFix;
}

void FreeScanner() { ScannerInstance().reset(); }

}  // namespace kelvara
