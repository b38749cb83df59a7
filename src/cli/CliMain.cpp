// kelvara-cli: scans a registry (the live one on Windows, or a snapshot of
// registry exports), cleans it with a per-fix backup, restores backups and
// runs the automatic cleaning from a command line.
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "platform/Text.h"

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args(argv + 1, argv + argc);
  return kelvara::cli::RunCli(args);
}
#else
int main(int argc, char** argv) {
  std::vector<std::wstring> args;
  for (int i = 1; i < argc; ++i) args.push_back(kelvara::FromUtf8(argv[i]));
  return kelvara::cli::RunCli(args);
}
#endif
