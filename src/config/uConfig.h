// The in-memory configuration record of a run-mode window and its enums.
// The defaults of the fields are those of a first start with no
// configuration file anywhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/DateTime.h"
// mingw's _mingw.h, which every standard header above pulls in, defines an
// empty macro _DLL that would erase the scan category of that name.
#undef _DLL
#include "scanner/uDefines.h"

namespace kelvara {

enum TCleanMode : int { cmAll = 0, cmSafe };
// How often the update check runs.
enum TCheckMode : int { ckDAY = 0, ckWEEK, ckMONTH, ckNEVER };
// How long per-fix backups are kept: 7 days, 30 days, for ever.
enum TDelBackupMode : int { dbWeekly = 0, dbMonthly, dbNever };

struct TRegDefragInfo {
  TDateTime LastTime = 0;  // 0: never defragmented
  double TotalSize = 0;    // megabytes saved by all defragmentations so far
};

// A byte copy of the first 44 bytes of the program file's Windows fixed
// version record. The four 16-bit words overlay its file-version numbers:
// for file version 10.1.6.677 they hold 1 (minor), 10 (major), 677 and 6.
struct TFixedFileInfo {
  std::uint32_t dwSignature = 0;
  std::uint32_t dwStrucVersion = 0;
  std::uint16_t wFileVersionMS = 0;     // minor version
  std::uint16_t wFileVersionLS = 0;     // major version
  std::uint16_t wProductVersionMS = 0;  // fourth number (build)
  std::uint16_t wProductVersionLS = 0;  // third number (release)
  std::uint32_t dwFileFlagsMask = 0;
  std::uint32_t dwFileFlags = 0;
  std::uint32_t dwFileOS = 0;
  std::uint32_t dwFileType = 0;
  std::uint32_t dwFileSubtype = 0;
  std::uint32_t dwFileDateMS = 0;
  std::uint32_t dwFileDateLS = 0;
};

struct TConfig {
  std::vector<std::wstring> UsersList;  // other users whose registry is scanned
  bool AllUsers = false;                // scan every user profile
  std::vector<std::wstring> ExList;     // exclusion patterns, in list order
  std::wstring Path;                    // program folder, trailing separator
  std::wstring DataPath;                // data folder, trailing separator
  std::wstring BackupDir;               // per-fix backup folder, trailing separator
  TFixedFileInfo AppInfo;
  std::wstring ConfigFile;  // full name of the configuration file
  TDateTime LastCheckTime = 0;
  std::wstring LanguageFile;       // full name of the language file in use
  bool NeedBackup = true;          // [General] BackupHint
  bool SkipUac = true;             // [General] SkipUAC
  bool assist = false;             // carried in the record; no part of the program reads it
  bool ClearCreateRestore = true;  // back up every entry before the cleaner removes it
  std::wstring Lang;               // language base name; empty: choose from the UI language
  TCleanMode ClearMode = cmSafe;
  TCheckMode CheckNewMode = ckWEEK;
  std::wstring Skin = L"Magic";
  bool ReadHabit = true;                   // false when the language reads right to left
  bool ThreadMode = true;                  // scans and cleans run on worker threads
  std::vector<TEntry*> ScanTypes;          // categories of the next scan (rows owned by the page)
  TMessageTarget* ParWinHandle = nullptr;  // receives the scanner's notifications
  TScanLevel ScanLevel = slNormal;
  TDelBackupMode ClearBackup = dbMonthly;
  std::int32_t showfeature = 0;
  bool ShowCleanHint = true;  // [General] CleanHint
  TDateTime LastTime = 0;     // last completed clean
  TRegDefragInfo DefragInfo;
  std::wstring Setupver;
  std::wstring SetupGUID;  // installation identifier
  // Carried in the record; no part of the program reads them (the
  // process-wide first-run flag serves instead of FirstTimeRun).
  bool FirstTimeRun = false;
  bool UserUe = false;
  TDateTime UserDate = 0;
  std::int32_t UseMode = 0;
  bool isJP = false;  // regional edition flag
  std::wstring Msgids;
};

}  // namespace kelvara
