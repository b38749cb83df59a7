#include "cli/CliOutput.h"

#include <map>

#include "cli/JsonText.h"
#include "platform/Text.h"
#include "registry/RegPaths.h"
#include "scanner/ScanCategories.h"

namespace kelvara::cli {
namespace {

const wchar_t* RemoveName(TRegFixType type) {
  switch (type) {
    case rfValue:
      return L"value";
    case rfKey:
      return L"key";
    case rfNode:
      break;
  }
  return L"node";
}

std::string CategoryKey(TScanType type) {
  const TScanCategoryInfo* info = ScanCategoryInfo(type);
  return JsonString(info != nullptr ? info->typeKey : L"");
}

void PrintLine(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace

void Print(std::FILE* stream, const std::wstring& text) { std::fputs(ToUtf8(text).c_str(), stream); }

void PrintFindingsJson(const std::vector<const TResultData*>& findings) {
  for (const TResultData* f : findings) {
    const TRegData& r = f->RegData;
    PrintLine("{\"type\":\"finding\",\"category\":" + CategoryKey(f->ScanSection) +
              ",\"root\":" + JsonString(RootKeyToName(r.root)) + ",\"key\":" + JsonString(r.key) +
              ",\"value\":" + JsonString(r.value) + ",\"data\":" + JsonString(r.Data) +
              ",\"remove\":" + JsonString(RemoveName(r.RemoveType)) + ",\"safe\":" + (f->SafeToFix ? "true" : "false") +
              ",\"message\":" + JsonString(f->ErrorMsg) + ",\"user\":" + JsonString(f->User) + "}");
  }
}

void PrintFindingsTable(const std::vector<const TResultData*>& findings) {
  std::map<int, std::vector<const TResultData*>> byCategory;
  for (const TResultData* f : findings) byCategory[static_cast<int>(f->ScanSection)].push_back(f);
  std::size_t safe = 0;
  for (const auto& [category, list] : byCategory) {
    Print(stdout, GetScanTypeName(static_cast<TScanType>(category)) + L" (" + std::to_wstring(list.size()) + L")\n");
    for (const TResultData* f : list) {
      const TRegData& r = f->RegData;
      std::wstring location = RootKeyToName(r.root) + L"\\" + r.key;
      if (!r.value.empty()) location += L" -> \"" + r.value + L"\"";
      Print(stdout, std::wstring(L"  ") + (f->SafeToFix ? L"[safe]   " : L"[unsafe] ") + location + L"\n");
      Print(stdout, L"           " + f->ErrorMsg + (f->User.empty() ? L"" : L" (" + f->User + L")") + L"\n");
      if (f->SafeToFix) ++safe;
    }
  }
  Print(stdout, L"Findings: " + std::to_wstring(findings.size()) + L" (" + std::to_wstring(safe) + L" safe, " +
                    std::to_wstring(findings.size() - safe) + L" unsafe)\n");
}

void PrintScanSummaryJson(std::size_t findings, std::size_t safe, bool aborted) {
  PrintLine("{\"type\":\"summary\",\"findings\":" + std::to_string(findings) + ",\"safe\":" + std::to_string(safe) +
            ",\"unsafe\":" + std::to_string(findings - safe) + ",\"status\":\"" + (aborted ? "aborted" : "finished") +
            "\"}");
}

void PrintCleanJson(const CleanSummary& s) {
  for (const auto& failure : s.failures) PrintLine("{\"type\":\"failure\",\"location\":" + JsonString(failure) + "}");
  PrintLine("{\"type\":\"clean\",\"total\":" + std::to_string(s.total) + ",\"safe\":" + std::to_string(s.safe) +
            ",\"unsafe\":" + std::to_string(s.unsafe) + ",\"failed\":" + std::to_string(s.failed) +
            ",\"backup\":" + JsonString(s.backup) + "}");
}

void PrintCleanTable(const CleanSummary& s) {
  for (const auto& failure : s.failures) Print(stdout, L"  not removed: " + failure + L"\n");
  Print(stdout, L"Cleaned: " + std::to_wstring(s.total - s.failed) + L" of " + std::to_wstring(s.total) +
                    L" entries (" + std::to_wstring(s.safe) + L" safe, " + std::to_wstring(s.unsafe) + L" unsafe, " +
                    std::to_wstring(s.failed) + L" failed)\n");
  Print(stdout, s.backup.empty() ? std::wstring(L"No backup written.\n") : L"Backup: " + s.backup + L"\n");
}

}  // namespace kelvara::cli
