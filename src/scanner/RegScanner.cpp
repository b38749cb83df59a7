#include "scanner/RegScanner.h"

#include "platform/Text.h"
#include "registry/RegFun.h"
#include "registry/RegPaths.h"
#include "scanner/IgnoreList.h"
#include "scanner/ScanCategories.h"
#include "scanner/ScanThread.h"
#include "sysutil/WindowsVersions.h"

namespace kelvara {

TRegScanner::TRegScanner() : fWin64(IsWin64()) {
  InstallComRules();
  InstallFileTypeRules();
  InstallSoftwareRules();
  InstallSystemListRules();
  InstallHistoryRules();
}

TRegScanner::~TRegScanner() {
  const TJobStatus s = fStatus.load();
  if (s == SBusy || s == SPause) Stop(false);
  fScanThread.reset();
  fFinishedThread.reset();
}

void TRegScanner::AddScanType(TScanType scanType) {
  if (scanType == _None) return;
  fScanIDs.push_back(scanType);
}

void TRegScanner::ClearScanType() { fScanIDs.clear(); }

TScanType TRegScanner::GetScanID(int index) const {
  if (index < 0 || index >= ScanIDCount()) return _None;
  return fScanIDs[static_cast<std::size_t>(index)];
}

void TRegScanner::SetCategoryBlock(TScanType scanType, TCategoryBlock block) {
  const int index = static_cast<int>(scanType);
  if (index < 0 || index >= kScanTypeCount) return;
  fBlocks[static_cast<std::size_t>(index)] = std::move(block);
}

void TRegScanner::Execute() {
  const TJobStatus s = fStatus.load();
  if (s != SStop && s != SAborted) return;
  if (fFinishedThread) {
    fFinishedThread->Detach();
    fFinishedThread.reset();
  }
  PrepareScan();
  if (fThreaded) {
    try {
      fScanThread = std::make_unique<TScanThread>(*this);
      fScanThread->Start();
    } catch (...) {
      fScanThread.reset();
      FinishScan();
      throw;
    }
    return;
  }
  try {
    RunScan();
  } catch (...) {
    FinishScan();
    throw;
  }
  FinishScan();
}

void TRegScanner::Start() {
  if (fStatus.load() == SBusy) return;
  // The engine never suspends its worker, so there is nothing to resume:
  // a start after a pause or stop begins a new scan.
  Execute();
}

void TRegScanner::Stop(bool pause) {
  if (pause && fScanThread) {
    fStatus = SPause;
    return;
  }
  fStatus = SAborted;
}

void TRegScanner::PrepareScan() {
  fStatus = SBusy;
  for (const auto& pattern : BuiltInIgnoreList()) fExcluded.Add(pattern);
  Notify(SCAN_STARTED, 0);
}

void TRegScanner::RunScan() {
  if (fStatus.load() != SBusy) return;
  for (const TScanType scanType : fScanIDs) {
    if (fStatus.load() != SBusy) break;
    fCurType = scanType;
    try {
      RunCategory(scanType);
    } catch (...) {
      // One category's failure abandons that category only.
    }
  }
}

void TRegScanner::RunCategory(TScanType scanType) {
  fKeyCount = 0;
  const TScanCategoryInfo* info = ScanCategoryInfo(scanType);
  if (info == nullptr) return;
  if (info->adminNeed == TAdminNeed::Whole && !fIsAdmin) return;
  const TCategoryBlock& block = fBlocks[static_cast<std::size_t>(scanType)];
  if (block.estimate) fKeyCount = block.estimate(*this);
  BeginCategory(scanType);
  if (!block.rules) return;
  block.rules(*this, RunningUserContext());
  if (!block.coversOtherUsers) return;
  for (const auto& user : UserList()) {
    if (Aborted()) return;
    if (user.IsCurUser || !user.Checked) continue;
    if (!RegKeyExistsEx(platform::kHkeyUsers, user.StringSID, true)) continue;
    block.rules(*this, ProfileContext(user));
  }
}

void TRegScanner::FinishScan() {
  fFinishedThread = std::move(fScanThread);
  if (fStatus.load() != SAborted) fStatus = SStop;
  Notify(SCAN_FINISHED, 0);
}

void TRegScanner::Notify(std::uintptr_t code, std::intptr_t lParam) {
  if (fParWin != nullptr) fParWin->Send(WM_REGSCAN, code, lParam);
}

void TRegScanner::AddResult(platform::HKey root, const std::wstring& key, const std::wstring& value,
                            const std::wstring& data, TRegFixType removeType, TScanType scanSection, bool safeToFix,
                            const std::wstring& errorMsg, const std::wstring& user) {
  if (!CanReport(root, key, value)) return;
  if (fScanLevel == slSafe && !safeToFix) return;
  fData.RegData.root = root;
  fData.RegData.key = key;
  fData.RegData.value = (scanSection != _EMPTY && Trim(value).empty()) ? std::wstring() : value;
  fData.RegData.Data = data;
  fData.RegData.RemoveType = removeType;
  fData.SafeToFix = safeToFix;
  fData.ScanSection = scanSection;
  fData.TranSection = errorMsg;
  fData.ErrorMsg = errorMsg;
  fData.User = user;
  fData.Checked = false;
  if (fData.User.empty()) {
    for (const auto& profile : UserList()) {
      if (profile.IsCurUser) {
        fData.User = profile.UserName;
        break;
      }
    }
  }
  Notify(SCAN_FOUND, 0);
}

bool TRegScanner::CanReport(platform::HKey root, const std::wstring& key, const std::wstring& value) {
  if (!fCanFindResult.load()) return false;
  // The location must be writable: its key must open with full access. A
  // value exists only in a key that opens, so the key alone decides, and
  // one opening serves for the whole test (this runs for every key the
  // rules descend into).
  if (!RegKeyExists(root, key)) return false;
  std::wstring location = RootKeyToName(root) + L"\\" + Trim(key);
  if (!value.empty()) {
    location = Trim(location);
    if (location.empty() || location.back() != L'\\') location.push_back(L'\\');
    location += Trim(value);
  }
  if (fExcluded.Matches(LowerCase(location))) return false;
  return !Aborted();
}

void TRegScanner::ReportKey(const std::wstring& text, bool step) {
  fCurKey = text;
  Notify(SCAN_KEY, step ? 1 : 0);
}

void TRegScanner::BeginCategory(TScanType scanType) {
  fCurType = scanType;
  Notify(SCAN_CATEGORY, static_cast<std::intptr_t>(scanType));
}

}  // namespace kelvara
