// What a scan of kelvara-cli runs with: the data folder, the settings
// taken from its configuration and the command line, the English texts the
// findings are worded in, and the owner that keeps every finding.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/CliArguments.h"
#include "cli/RegistrySource.h"
#include "config/uConfig.h"
#include "scanner/uDefines.h"

namespace kelvara::cli {

class ProgressLine;

// The owner of the engines for a command: keeps a copy of every finding
// and, given a progress line, shows the running category, the keys
// examined and the findings so far, then the phases of the clean.
class FindingCollector final : public TMessageTarget {
 public:
  FindingCollector() = default;
  FindingCollector(ProgressLine& progress, std::size_t categories) : progress_(&progress), categories_(categories) {}

  std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

  std::vector<std::unique_ptr<TResultData>> findings;

 private:
  void ShowScan(bool now);

  ProgressLine* progress_ = nullptr;
  std::size_t categories_ = 0;
  std::size_t categoriesBegun_ = 0;
  std::wstring category_;
};

// The data folder: --data-dir, else "Kelvara" under the host's
// application-data folder (created when missing).
std::wstring DataFolder(const CliArguments& args, const RegistrySource& source);

// Loads Languages/English.ini beside the program.
void LoadEnglish();

// The scan's settings from the data folder's configuration and the command
// line. `rows` receives the category records the settings point to.
TConfig ScanConfig(const CliArguments& args, const std::wstring& dataPath, std::vector<TEntry>& rows);

}  // namespace kelvara::cli
