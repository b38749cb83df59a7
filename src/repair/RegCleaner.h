// The registry cleaner: removes the findings the user (or the automatic
// mode) selected. Before removing anything it writes one registry export
// of every key and value it is about to remove (when CreateData is set),
// so the whole fix can be undone by importing that file. It counts what it
// removed, lists what it could not remove and appends a record per
// failure to Errorlog.txt in AppPath.
//
// A backup that was asked for and cannot be written completely (folder
// not creatable, old file of the same name not deletable, write error,
// full disk) stops the clean before anything is removed: every selected
// entry is then counted in FailRemove and listed in FailList, and
// BackupError says why.
//
// Notifications go to ParWin as WM_REGCLEAN: CLEAN_STARTED, CLEAN_ACTION
// (lParam daBack or daClean) when a phase begins, CLEAN_FINISHED at the
// end of every run. The owner polls Busy, CurProcessCount and CurEntry;
// the entry records belong to the caller and must stay unchanged until
// CLEAN_FINISHED.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "scanner/uDefines.h"

namespace kelvara {

class TCleanThread;

class TRegCleaner {
 public:
  TRegCleaner();
  TRegCleaner(const TRegCleaner&) = delete;
  TRegCleaner& operator=(const TRegCleaner&) = delete;
  // Requests a stop of a running clean and waits for its worker, so it
  // must not be destroyed from a notification handler on another thread
  // than the worker's.
  ~TRegCleaner();

  // Runs a clean; nothing while one is running. Clears an earlier stop
  // request.
  void Execute();
  void Stop() { fAborted = true; }

  [[nodiscard]] bool CreateData() const { return fCreateData; }
  void SetCreateData(bool createData) { fCreateData = createData; }
  [[nodiscard]] TCleanKeyInfo DelInfo() const;
  [[nodiscard]] TDelAction CurAction() const { return fDelAction.load(); }
  [[nodiscard]] bool Busy() const { return fBusy.load(); }
  [[nodiscard]] const std::vector<TResultData*>& EntriesList() const { return fEntriesList; }
  void SetEntriesList(const std::vector<TResultData*>& entries) { fEntriesList = entries; }
  [[nodiscard]] std::vector<std::wstring> FailList() const;
  [[nodiscard]] TRegData CurEntry() const;
  [[nodiscard]] const std::wstring& AppPath() const { return fAppPath; }
  void SetAppPath(const std::wstring& path) { fAppPath = path; }
  [[nodiscard]] const std::wstring& BackupPath() const { return fBackupPath; }
  // A trailing folder separator is added when missing.
  void SetBackupPath(const std::wstring& path);
  [[nodiscard]] TMessageTarget* ParWin() const { return fParWin; }
  void SetParWin(TMessageTarget* target) { fParWin = target; }
  [[nodiscard]] bool Threaded() const { return fThreaded; }
  void SetThreaded(bool threaded) { fThreaded = threaded; }
  [[nodiscard]] std::int32_t CurProcessCount() const { return fCurProcessCount.load(); }
  [[nodiscard]] bool IsAdmin() const { return fIsAdmin; }
  void SetIsAdmin(bool isAdmin) { fIsAdmin = isAdmin; }
  // The name of the backup the last run wrote, without folder and
  // extension; empty when that run's backup failed or was stopped, and
  // unchanged by a run without backup.
  [[nodiscard]] std::wstring BackupFile() const;
  // Why the last run's backup could not be written; empty otherwise.
  [[nodiscard]] std::wstring BackupError() const;

 private:
  friend class TCleanThread;

  enum class TBackupResult { Written, Stopped, Failed };

  // The backup, the removal and the finish step.
  void Run();
  TBackupResult RunBackup();
  TBackupResult BackupFailed(const std::wstring& why);
  // Removes the checked entries, or with `backupFailed` counts each as
  // failed without touching the registry.
  void RunRemoval(bool backupFailed);
  void RecordFailure(const TRegData& location, bool backupFailed);
  void Finish();
  void SetCurEntry(const TRegData& location);
  void Notify(std::uintptr_t code, std::intptr_t lParam);

  bool fIsAdmin = false;
  TMessageTarget* fParWin = nullptr;
  TCleanKeyInfo fDelInfo;
  std::vector<TResultData*> fEntriesList;
  std::vector<std::wstring> FFailList;
  TRegData fCurEntry;
  std::atomic<bool> fBusy{false};
  bool fCreateData = false;
  std::atomic<TDelAction> fDelAction{daBack};
  std::atomic<bool> fAborted{false};
  bool fThreaded = false;
  // The worker of the last threaded clean. Only the owner's thread sets
  // or drops it: the next clean lets the old worker go (it may still be
  // returning from CLEAN_FINISHED), the destructor waits for it.
  std::unique_ptr<TCleanThread> fCleanThread;
  std::wstring fAppPath;
  std::atomic<std::int32_t> fCurProcessCount{0};
  std::wstring fFileName;
  std::wstring fBackupPath;
  std::wstring fBackupError;
  // Guards what the worker writes and the owner reads while a clean runs:
  // the counters, the fail list, the current entry, the backup name and
  // error.
  mutable std::mutex fStateLock;
};

}  // namespace kelvara
