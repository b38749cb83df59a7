// Where the configuration file, the exclusion list, the backups and the
// error log live. Paths are host paths with the host's separator; folders
// carry one trailing separator.
#pragma once

#include <string>

namespace kelvara {

struct TDataFolder {
  std::wstring DataPath;    // trailing separator
  std::wstring ConfigFile;  // full name of the configuration file
  bool Portable = false;    // a "config.ini" beside the program chose the program folder
};

// The folder of the running program file, with a trailing separator.
std::wstring ProgramFolder();
// `folder` with one trailing host separator.
std::wstring WithTrailingSeparator(const std::wstring& folder);

// The interactive mode's choice: "config.ini" in the program folder makes
// the program portable (data folder = program folder). Otherwise the folder
// "Kelvara" under `appDataFolder`, created with its parents when missing,
// with "Config.ini" in it; when that folder cannot be made, the program
// folder with "Config.ini".
TDataFolder ChooseDataFolder(const std::wstring& programFolder, const std::wstring& appDataFolder);
// The automatic mode's choice: the same without the portable test.
TDataFolder ChooseAutoModeDataFolder(const std::wstring& programFolder, const std::wstring& appDataFolder);

// The per-fix backup folder used when [General] BackupPath is empty.
std::wstring DefaultBackupDir(const std::wstring& dataPath);

}  // namespace kelvara
