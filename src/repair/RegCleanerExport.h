// The functions the windows and the automatic mode use to reach the one
// cleaner of the process (the scanner's are in scanner/RegScannerExport.h,
// included here). The cleaner is created by the first SetupCleaner and
// freed by FreeEngines() at program end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "repair/RegCleaner.h"
#include "scanner/RegScannerExport.h"
#include "scanner/uDefines.h"

namespace kelvara {

// Creates the cleaner when needed and hands it the owner, the data folder
// (for Errorlog.txt), the backup folder, whether to back up before
// removing, whether to run on a worker thread, and the entries (the
// caller's records, which must stay alive and unchanged until
// CLEAN_FINISHED). The administrator flag comes from IsAdmin(). Ignored
// while a clean is running, so the running clean keeps its entries.
void SetupCleaner(TMessageTarget* window, const std::wstring& appPath, const std::wstring& backupPath, bool createData,
                  bool threaded, const std::vector<TResultData*>& entries);
// Runs the clean when a cleaner exists and no engine is busy.
void StartClean();
// Appends every line of the cleaner's fail list to `list`.
void GetFailList(std::vector<std::wstring>& list);
std::int32_t GetCleanProgress();
// The last backup's name without folder and extension; empty without a
// cleaner or when the last backup failed.
std::wstring GetBackupFile();
// Why the last backup failed; empty when it did not.
std::wstring GetBackupError();
bool IsCleanerBusy();
void GetCurEntry(TRegData& record);
void GetDelInfo(TCleanKeyInfo& record);
// The scanner is running or pausing, or the cleaner is busy.
bool IsEngineBusy();
// The cleaner instance, or nullptr before the first SetupCleaner.
TRegCleaner* Cleaner();
// Frees the cleaner and the scanner.
void FreeEngines();

}  // namespace kelvara
