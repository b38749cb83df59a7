// The command line of kelvara-cli: one command and its options.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scanner/uDefines.h"

namespace kelvara::cli {

enum class Command { Scan, Clean, Restore, Auto, Categories, Help };

struct DriveOption {
  wchar_t letter = L'C';
  std::wstring folder;
};

struct CliArguments {
  Command command = Command::Help;
  // Where the examined registry comes from.
  std::vector<std::wstring> registryFiles;
  std::vector<DriveOption> drives;
  std::wstring user;
  std::optional<std::pair<unsigned, unsigned>> os;
  std::optional<bool> x64;
  bool noAdmin = false;
  // Selection.
  TScanLevel level = slNormal;
  std::vector<TScanType> categories;
  std::vector<std::wstring> excludes;
  std::vector<std::wstring> users;
  bool allUsers = false;
  // Cleaning.
  bool all = false;
  bool noBackup = false;
  std::wstring backupDir;
  std::wstring outFile;
  std::wstring fixScript;
  std::wstring backupToRestore;
  bool json = false;
  std::wstring dataDir;
};

// Parses `args` (without the program name). On a usage error returns
// nullopt and sets `error` to a message naming the offending argument.
std::optional<CliArguments> ParseArguments(const std::vector<std::wstring>& args, std::wstring& error);

// The usage text printed for "help" and after a usage error.
std::wstring UsageText();

}  // namespace kelvara::cli
