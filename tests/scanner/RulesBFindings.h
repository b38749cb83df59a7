// Helpers of the system-list and history rule tests.
//
// One line of text per finding, for comparing a scan's findings with the
// expected list in one assertion: location, data, what the fix removes,
// whether it is safe, and the reason.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "scanner/RegScanner.h"
#include "scanner/uDefines.h"
#include "support/ScanFixture.h"

namespace kelvara::rulesb {

inline std::wstring DescribeFinding(const TResultData& finding) {
  return test::Location(finding) + L" | " + finding.RegData.Data + L" | " +
         (finding.RegData.RemoveType == rfKey ? L"key" : L"value") + (finding.SafeToFix ? L" safe" : L" unsafe") +
         L" | " + finding.ErrorMsg;
}

inline std::vector<std::wstring> DescribeFindings(const std::vector<TResultData>& findings) {
  std::vector<std::wstring> texts;
  texts.reserve(findings.size());
  for (const TResultData& finding : findings) texts.push_back(DescribeFinding(finding));
  return texts;
}

// Runs one category and describes what it found; every finding must carry
// that category.
inline std::vector<std::wstring> ScanCategory(TScanType category, TScanLevel level = slNormal, bool isAdmin = true) {
  const std::vector<TResultData> findings = test::RunScan({category}, level, isAdmin);
  for (const TResultData& finding : findings) {
    EXPECT_EQ(finding.ScanSection, category) << ToUtf8(DescribeFinding(finding));
  }
  return DescribeFindings(findings);
}

// Records the progress maximum a category announces.
class EstimateTarget : public TMessageTarget {
 public:
  explicit EstimateTarget(const TRegScanner& scanner) : fScanner(scanner) {}
  std::intptr_t Send(std::uint32_t message, std::uintptr_t code, std::intptr_t) override {
    if (message == WM_REGSCAN && code == SCAN_CATEGORY) estimate = fScanner.KeyCount();
    return 0;
  }
  std::int64_t estimate = -1;

 private:
  const TRegScanner& fScanner;
};

// The progress maximum of one category.
inline std::int64_t Estimate(TScanType category, bool isAdmin, TScanLevel level = slNormal) {
  TRegScanner scanner;
  EstimateTarget target(scanner);
  scanner.SetParWin(&target);
  scanner.SetIsAdmin(isAdmin);
  scanner.SetScanLevel(level);
  scanner.AddScanType(category);
  scanner.Execute();
  return target.estimate;
}

}  // namespace kelvara::rulesb
