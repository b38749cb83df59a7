// The functions the windows and the automatic mode use to reach the one
// scanner of the process, created on first use. The cleaner's functions,
// IsEngineBusy (scanner or cleaner) and FreeEngines (both, at program end)
// are in repair/RegCleanerExport.h, the layer that knows both engines.
#pragma once

#include <cstdint>
#include <string>

#include "config/uConfig.h"
#include "scanner/RegScanner.h"
#include "scanner/uDefines.h"

namespace kelvara {

// Copies categories, level, exclusions and profiles of `config` into the
// scanner (creating it when needed) and loads the hives of the checked
// other profiles. False when copying the categories or exclusions failed.
bool SetupScanner(const TConfig& config);
void StartScan();
void StopScan();
TJobStatus GetScanStatus();
std::int32_t GetKeyCount();
std::wstring GetCurKey();
// Copies the current finding; `Checked` starts as `SafeToFix`.
void GetCurData(TResultData* record);
// The scanner instance, or nullptr before the first SetupScanner.
TRegScanner* Scanner();
void FreeScanner();

}  // namespace kelvara
