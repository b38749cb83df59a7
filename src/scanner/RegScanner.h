// The scan engine: runs the chosen categories, offers every finding to the
// reportability test and hands accepted findings to its owner one at a time
// through synchronous notifications. It keeps no findings of its own.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scanner/ExclusionList.h"
#include "scanner/UserProfiles.h"
#include "scanner/uDefines.h"

namespace kelvara {

class TScanThread;
class TRegScanner;

// What a category runs: its progress estimate and its rules, once for the
// running user and, when it covers other users, once for every other
// checked profile whose hive is loaded.
struct TCategoryBlock {
  std::function<std::int64_t(TRegScanner&)> estimate;
  std::function<void(TRegScanner&, const TProfileContext&)> rules;
  bool coversOtherUsers = false;
};

class TRegScanner {
 public:
  TRegScanner();
  TRegScanner(const TRegScanner&) = delete;
  TRegScanner& operator=(const TRegScanner&) = delete;
  virtual ~TRegScanner();

  void AddScanType(TScanType scanType);
  void ClearScanType();
  [[nodiscard]] TScanType GetScanID(int index) const;
  [[nodiscard]] int ScanIDCount() const { return static_cast<int>(fScanIDs.size()); }

  void Execute();
  void Start();
  void Stop(bool pause);

  [[nodiscard]] const TResultData& CurData() const { return fData; }
  [[nodiscard]] const std::wstring& CurKey() const { return fCurKey; }
  [[nodiscard]] TScanType CurType() const { return fCurType; }
  [[nodiscard]] TMessageTarget* ParWin() const { return fParWin; }
  void SetParWin(TMessageTarget* target) { fParWin = target; }
  [[nodiscard]] TJobStatus Status() const { return fStatus.load(); }
  [[nodiscard]] TScanLevel ScanLevel() const { return fScanLevel; }
  void SetScanLevel(TScanLevel level) { fScanLevel = level; }
  [[nodiscard]] const std::vector<std::wstring>& Excluded() const { return fExcluded.Items(); }
  void SetExcluded(const std::vector<std::wstring>& patterns) { fExcluded.Assign(patterns); }
  [[nodiscard]] std::int64_t KeyCount() const { return fKeyCount; }
  [[nodiscard]] bool Threaded() const { return fThreaded; }
  void SetThreaded(bool threaded) { fThreaded = threaded; }
  [[nodiscard]] bool CanFindResult() const { return fCanFindResult.load(); }
  void SetCanFindResult(bool can) { fCanFindResult = can; }
  [[nodiscard]] bool IsAdmin() const { return fIsAdmin; }
  void SetIsAdmin(bool isAdmin) { fIsAdmin = isAdmin; }
  [[nodiscard]] bool Win64() const { return fWin64; }

  // Replaces what a category runs (the rule families install theirs at
  // construction; tests install small rules of their own).
  void SetCategoryBlock(TScanType scanType, TCategoryBlock block);

  // Used by the rules.
  void AddResult(platform::HKey root, const std::wstring& key, const std::wstring& value, const std::wstring& data,
                 TRegFixType removeType, TScanType scanSection, bool safeToFix, const std::wstring& errorMsg,
                 const std::wstring& user);
  virtual bool CanReport(platform::HKey root, const std::wstring& key, const std::wstring& value);
  void ReportKey(const std::wstring& text, bool step);
  void BeginCategory(TScanType scanType);
  [[nodiscard]] bool Aborted() const { return fStatus.load() == SAborted; }
  // Temporary patterns of a running category.
  void AddExclusion(const std::wstring& pattern) { fExcluded.Add(pattern); }
  void RemoveExclusion(const std::wstring& pattern) { fExcluded.RemoveFirst(pattern); }
  void RemoveLastExclusions(std::size_t count) { fExcluded.RemoveLast(count); }
  void SetKeyCount(std::int64_t count) { fKeyCount = count; }

  // COM registration rules (ComRules.cpp).
  void InstallComRules();
  void ScanClassesRoot(const TProfileContext& profile);
  void ScanClsids();
  void ScanTypeLibs();
  void ScanInterfaces();
  // Checks every value below `key` (the key included) for a missing file;
  // the findings carry the running category and the profile's user name.
  void ScanValueReferences(platform::HKey root, const std::wstring& key, const TProfileContext& profile);
  void CheckDefaultFile(const std::wstring& key, bool helpDirectory);
  void CheckEmptyClsid(platform::HKey root, const std::wstring& key);
  void CheckEmptyProgId(const std::wstring& key);
  void CheckInterfaceRef(const std::wstring& key);
  void ScanComSources(const std::wstring& key);
  [[nodiscard]] bool IsComIdMissing(const std::wstring& id) const;
  // File type and shell rules (FileTypeRules.cpp).
  void InstallFileTypeRules();
  void ScanFileTypes();
  void ScanMimeTypes();
  void ScanClassKeys();
  void CheckExtensionClass(const std::wstring& extension);
  void ScanFileExts(const TProfileContext& profile);
  void ScanShellMenus(const std::wstring& className);
  void ReportMissingMenuFile(const std::wstring& key, const std::wstring& data);
  void ScanOpenWithApps(platform::HKey root, const std::wstring& key, const TProfileContext& profile);
  // Software, application path and help file rules (SoftwareRules.cpp).
  void InstallSoftwareRules();
  void ScanMachineSoftware();
  void ScanMachineSoftware32();
  void ScanUserSoftware(const TProfileContext& profile);
  void ScanUserSoftware32(const TProfileContext& profile);
  // The sub-keys of one software key: empty ones, and the values below the
  // others (the 32-bit software key skipped when asked).
  void ScanSoftwareKeys(platform::HKey root, const std::wstring& base, const TProfileContext& profile,
                        bool skipWow64Key);
  void ScanInstallerFolders();
  void ScanAppPaths(platform::HKey root, const std::wstring& key, const TProfileContext& profile);
  void ScanProgramList(platform::HKey root, const std::wstring& key, const TProfileContext& profile);
  void ScanHelpFiles(platform::HKey root, const std::wstring& key);
  // System list rules (SystemListRules.cpp).
  void InstallSystemListRules();
  void ScanSharedDlls(const std::wstring& key);
  void ScanUninstall(platform::HKey root, const std::wstring& key);
  void ScanMenuOrder(const std::wstring& menuKey, const std::wstring& relativePath, const std::wstring& userFolder,
                     const std::wstring& commonFolder);
  void ScanRunKey(const std::wstring& rootName, const std::wstring& key);
  void ScanServices();
  void ScanImageOptions(const std::wstring& key);
  void ScanFonts(const std::wstring& key);
  void ScanFirewallList(const std::wstring& key);
  void ScanSoundEvents(platform::HKey root, const std::wstring& key);
  void ScanEmptyUserKeys(const std::wstring& subkey);
  // History list rules (HistoryRules.cpp).
  void InstallHistoryRules();
  void ScanHistory(const TProfileContext& profile);
  void ScanHistoryKey(platform::HKey root, const std::wstring& key, const TProfileContext& profile);
  void ReportAllValues(platform::HKey root, const std::wstring& key, const std::wstring& user);
  void ScanTypedUrls();
  void ScanMuiCache(platform::HKey root, const std::wstring& key, const TProfileContext& profile);

 private:
  friend class TScanThread;

  void PrepareScan();
  void RunScan();
  void FinishScan();
  void RunCategory(TScanType scanType);
  void Notify(std::uintptr_t code, std::intptr_t lParam);

  TMessageTarget* fParWin = nullptr;
  bool fIsAdmin = false;
  std::vector<TScanType> fScanIDs;
  bool fWin64 = false;
  TScanLevel fScanLevel = slNormal;
  TResultData fData;
  std::wstring fCurKey;
  std::atomic<std::int64_t> fKeyCount{0};
  TScanType fCurType = _None;
  std::atomic<TJobStatus> fStatus{SStop};
  // The worker of the running scan; none between scans.
  std::unique_ptr<TScanThread> fScanThread;
  // The worker of the previous scan: let go when the next scan starts,
  // joined when the engine is destroyed.
  std::unique_ptr<TScanThread> fFinishedThread;
  bool fThreaded = false;
  TExclusionList fExcluded;
  std::atomic<bool> fCanFindResult{true};
  std::array<TCategoryBlock, kScanTypeCount> fBlocks;
};

}  // namespace kelvara
