#include "cli/CliArguments.h"

#include "platform/Text.h"
#include "scanner/ScanCategories.h"

namespace kelvara::cli {
namespace {

bool ParseCommand(const std::wstring& word, Command& command) {
  static const std::pair<const wchar_t*, Command> kCommands[] = {
      {L"scan", Command::Scan},
      {L"clean", Command::Clean},
      {L"restore", Command::Restore},
      {L"auto", Command::Auto},
      {L"categories", Command::Categories},
      {L"help", Command::Help},
      {L"--help", Command::Help},
      {L"-h", Command::Help},
  };
  for (const auto& [name, value] : kCommands) {
    if (word == name) {
      command = value;
      return true;
    }
  }
  return false;
}

std::vector<std::wstring> SplitList(const std::wstring& text) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(L',', start);
    const std::wstring part =
        Trim(text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
    if (!part.empty()) parts.push_back(part);
    if (comma == std::wstring::npos) return parts;
    start = comma + 1;
  }
}

bool ParseOs(const std::wstring& text, std::pair<unsigned, unsigned>& os) {
  const std::size_t dot = text.find(L'.');
  if (dot == std::wstring::npos || dot == 0 || dot + 1 >= text.size()) return false;
  unsigned parts[2] = {0, 0};
  const std::wstring pieces[2] = {text.substr(0, dot), text.substr(dot + 1)};
  for (int i = 0; i < 2; ++i) {
    if (pieces[i].empty() || pieces[i].size() > 3) return false;
    for (wchar_t c : pieces[i]) {
      if (c < L'0' || c > L'9') return false;
      parts[i] = parts[i] * 10 + static_cast<unsigned>(c - L'0');
    }
  }
  os = {parts[0], parts[1]};
  return true;
}

}  // namespace

std::wstring UsageText() {
  return L"Usage:\n"
         L"  kelvara-cli scan [SOURCE] [--level safe|normal|deep] [--category KEY]... [--exclude PATTERN]...\n"
         L"                   [--users NAME,...|--all-users] [--json]\n"
         L"  kelvara-cli clean [SOURCE] [selection options] [--all] [--no-backup] [--backup-dir DIR]\n"
         L"                   [--out FILE.reg] [--fix-script FILE.reg] [--json]\n"
         L"  kelvara-cli restore [SOURCE] BACKUP.reg [--out FILE.reg]\n"
         L"  kelvara-cli auto [SOURCE] [--all]\n"
         L"  kelvara-cli categories\n"
         L"Every command takes --data-dir DIR (Config.ini, Exclusion.dat, Backup\\, Errorlog.txt).\n"
         L"SOURCE: --registry FILE.reg (repeatable) [--drive LETTER=DIR]... [--user NAME] [--os MAJOR.MINOR]\n"
         L"        [--arch x64|x86] [--no-admin]; without --registry on Windows: the live registry.\n"
         L"Exit codes: 0 done, 1 done with removal failures, 2 usage error, 3 input unreadable or malformed.\n";
}

std::optional<CliArguments> ParseArguments(const std::vector<std::wstring>& args, std::wstring& error) {
  CliArguments out;
  if (args.empty()) return out;
  if (!ParseCommand(args[0], out.command)) {
    error = L"unknown command \"" + args[0] + L"\"";
    return std::nullopt;
  }
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::wstring& a = args[i];
    auto value = [&](std::wstring& target) {
      if (i + 1 >= args.size()) {
        error = a + L" needs a value";
        return false;
      }
      target = args[++i];
      return true;
    };
    std::wstring v;
    if (a == L"--registry") {
      if (!value(v)) return std::nullopt;
      out.registryFiles.push_back(v);
    } else if (a == L"--drive") {
      if (!value(v)) return std::nullopt;
      if (v.size() < 3 || v[1] != L'=' || UpperChar(v[0]) < L'A' || UpperChar(v[0]) > L'Z') {
        error = L"--drive expects LETTER=DIR, not \"" + v + L"\"";
        return std::nullopt;
      }
      out.drives.push_back({UpperChar(v[0]), v.substr(2)});
    } else if (a == L"--user") {
      if (!value(out.user)) return std::nullopt;
    } else if (a == L"--os") {
      if (!value(v)) return std::nullopt;
      std::pair<unsigned, unsigned> os;
      if (!ParseOs(v, os)) {
        error = L"--os expects MAJOR.MINOR, not \"" + v + L"\"";
        return std::nullopt;
      }
      out.os = os;
    } else if (a == L"--arch") {
      if (!value(v)) return std::nullopt;
      if (v != L"x64" && v != L"x86") {
        error = L"--arch expects x64 or x86, not \"" + v + L"\"";
        return std::nullopt;
      }
      out.x64 = v == L"x64";
    } else if (a == L"--no-admin") {
      out.noAdmin = true;
    } else if (a == L"--level") {
      if (!value(v)) return std::nullopt;
      if (v == L"safe") {
        out.level = slSafe;
      } else if (v == L"normal") {
        out.level = slNormal;
      } else if (v == L"deep") {
        out.level = slDeep;
      } else {
        error = L"--level expects safe, normal or deep, not \"" + v + L"\"";
        return std::nullopt;
      }
    } else if (a == L"--category") {
      if (!value(v)) return std::nullopt;
      const TScanType type = ScanTypeFromKey(v);
      if (type == _None) {
        error = L"unknown category \"" + v + L"\" (see: kelvara-cli categories)";
        return std::nullopt;
      }
      out.categories.push_back(type);
    } else if (a == L"--exclude") {
      if (!value(v)) return std::nullopt;
      out.excludes.push_back(v);
    } else if (a == L"--users") {
      if (!value(v)) return std::nullopt;
      out.users = SplitList(v);
    } else if (a == L"--all-users") {
      out.allUsers = true;
    } else if (a == L"--all") {
      out.all = true;
    } else if (a == L"--no-backup") {
      out.noBackup = true;
    } else if (a == L"--backup-dir") {
      if (!value(out.backupDir)) return std::nullopt;
    } else if (a == L"--out") {
      if (!value(out.outFile)) return std::nullopt;
    } else if (a == L"--fix-script") {
      if (!value(out.fixScript)) return std::nullopt;
    } else if (a == L"--json") {
      out.json = true;
    } else if (a == L"--data-dir") {
      if (!value(out.dataDir)) return std::nullopt;
    } else if (out.command == Command::Restore && out.backupToRestore.empty() && !a.starts_with(L"--")) {
      out.backupToRestore = a;
    } else {
      error = L"unknown option \"" + a + L"\"";
      return std::nullopt;
    }
  }
  if (!out.users.empty() && out.allUsers) {
    error = L"--users and --all-users exclude each other";
    return std::nullopt;
  }
  if (out.command == Command::Restore && out.backupToRestore.empty()) {
    error = L"restore needs the backup file to import";
    return std::nullopt;
  }
  const bool cleans = out.command == Command::Clean;
  if (!cleans && (out.noBackup || !out.backupDir.empty() || !out.fixScript.empty())) {
    error = L"--no-backup, --backup-dir and --fix-script belong to clean";
    return std::nullopt;
  }
  if (!out.outFile.empty() && !cleans && out.command != Command::Restore) {
    error = L"--out belongs to clean and restore";
    return std::nullopt;
  }
  return out;
}

}  // namespace kelvara::cli
