// Restoring one per-fix backup: importing its registry export so that
// every key and value the clean removed comes back.
//
// The registry editor imports it ("regedit /s", hidden, started through
// the process facility with file-system redirection switched off around
// it). When the editor cannot run (it cannot start, or the user's policy
// disables the registry tools) or ends with an error code, the program's
// own reader imports the file; a second import of a backup is harmless,
// because a backup only creates keys and sets values. The snapshot
// backend starts no programs, so on a snapshot the own reader always
// imports, into the snapshot.
//
// The file is read and checked first: a missing or malformed backup is
// refused, with an error naming the file (and the line), before anything
// is imported.
#pragma once

#include <string>

namespace kelvara {

enum class TRegImportTool { RegistryEditor, OwnReader };

struct TBackupRestoreResult {
  bool succeeded = false;
  TRegImportTool tool = TRegImportTool::OwnReader;  // what imported (or last tried)
  std::wstring error;                               // names the file and the reason
};

// Imports the backup `fileName` (a full path); `useRegistryEditor` false
// leaves the editor out.
TBackupRestoreResult RestoreRegBackup(const std::wstring& fileName, bool useRegistryEditor = true);

}  // namespace kelvara
