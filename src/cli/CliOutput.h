// What kelvara-cli prints: findings as a table grouped by category or as
// JSON Lines, and the summaries of scan and clean.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "scanner/uDefines.h"

namespace kelvara::cli {

// Writes UTF-8 text to a stream.
void Print(std::FILE* stream, const std::wstring& text);

void PrintFindingsJson(const std::vector<const TResultData*>& findings);
void PrintFindingsTable(const std::vector<const TResultData*>& findings);
void PrintScanSummaryJson(std::size_t findings, std::size_t safe, bool aborted);

struct CleanSummary {
  int total = 0;
  int safe = 0;
  int unsafe = 0;
  int failed = 0;
  std::wstring backup;  // full path of the backup, empty when none was written
  std::vector<std::wstring> failures;
};
void PrintCleanJson(const CleanSummary& summary);
void PrintCleanTable(const CleanSummary& summary);

}  // namespace kelvara::cli
