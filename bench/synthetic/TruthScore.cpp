// Scoring a scan's findings against the ground truth.
#include <unordered_set>

#include "platform/Text.h"
#include "registry/RegPaths.h"
#include "scanner/ScanCategories.h"
#include "synthetic/SyntheticMachine.h"
#include "synthetic/TruthFile.h"

namespace kelvara::bench {
namespace {

constexpr std::size_t kShownLines = 20;
constexpr std::wstring_view kClassesRoot = L"HKEY_CLASSES_ROOT";
constexpr std::wstring_view kMachineClasses = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES";
constexpr std::wstring_view kCurrentUser = L"HKEY_CURRENT_USER";

// One place in upper case with the roots spelt one way: the machine's
// classes for HKEY_CLASSES_ROOT, the running user's hive under HKEY_USERS
// for HKEY_CURRENT_USER; no trailing backslash.
std::wstring NormalPlace(const std::wstring& location, const std::wstring& userHive) {
  std::wstring place = UpperCase(location);
  while (!place.empty() && place.back() == L'\\') place.pop_back();
  const auto replaceRoot = [&place](std::wstring_view root, std::wstring_view by) {
    if (place.starts_with(root) && (place.size() == root.size() || place[root.size()] == L'\\')) {
      place.replace(0, root.size(), by);
    }
  };
  replaceRoot(kClassesRoot, kMachineClasses);
  replaceRoot(kCurrentUser, userHive);
  return place;
}

std::wstring CategoryKey(TScanType category) {
  const TScanCategoryInfo* info = ScanCategoryInfo(category);
  return info != nullptr ? info->typeKey : L"?";
}

std::wstring MatchKey(TScanType category, const std::wstring& place, const std::wstring& value) {
  return std::to_wstring(static_cast<int>(category)) + L"|" + place + L"|" + UpperCase(value);
}

std::wstring Readable(TScanType category, const std::wstring& location, const std::wstring& value) {
  return CategoryKey(category) + L" " + location + (value.empty() ? L"" : L" -> " + value);
}

double Ratio(std::size_t part, std::size_t whole) {
  return whole == 0 ? 1.0 : static_cast<double>(part) / static_cast<double>(whole);
}

}  // namespace

TruthScore ScoreFindings(const SyntheticMachine& machine, const std::vector<const TResultData*>& findings,
                         TScanLevel level) {
  const std::wstring userHive = L"HKEY_USERS\\" + UpperCase(machine.userSid);
  TruthScore score;
  std::unordered_set<std::wstring> expected;
  for (const ExpectedFinding& f : machine.truth) {
    if (!ExpectedAtLevel(f, level)) continue;
    expected.insert(MatchKey(f.category, NormalPlace(f.location, userHive), f.value));
  }
  std::unordered_set<std::wstring> reported;
  for (const TResultData* finding : findings) {
    if (finding == nullptr) continue;
    const std::wstring location = RootKeyLongName(finding->RegData.root) + L"\\" + finding->RegData.key;
    const std::wstring key = MatchKey(finding->ScanSection, NormalPlace(location, userHive), finding->RegData.value);
    if (!reported.insert(key).second) continue;
    if (expected.count(key) != 0) {
      ++score.matched;
    } else if (score.unexpected.size() < kShownLines) {
      score.unexpected.push_back(Readable(finding->ScanSection, location, finding->RegData.value));
    }
  }
  for (const ExpectedFinding& f : machine.truth) {
    if (score.missed.size() >= kShownLines) break;
    if (!ExpectedAtLevel(f, level)) continue;
    if (reported.count(MatchKey(f.category, NormalPlace(f.location, userHive), f.value)) == 0) {
      score.missed.push_back(Readable(f.category, f.location, f.value));
    }
  }
  score.expected = expected.size();
  score.reported = reported.size();
  score.precision = Ratio(score.matched, score.reported);
  score.recall = Ratio(score.matched, score.expected);
  return score;
}

}  // namespace kelvara::bench
