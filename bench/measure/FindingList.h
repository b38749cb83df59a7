// A scan's findings as a plain list of places, one line each
// (category key, location, value; tab-separated, UTF-8): what a live
// machine reports before the synthetic machine is imported into it, so
// that only the imported findings are scored.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "scanner/uDefines.h"

namespace kelvara::bench {

// The line of one finding; the location is the long root name and the key.
std::wstring FindingLine(const TResultData& finding);

bool SaveFindingList(const std::wstring& fileName, const std::vector<std::unique_ptr<TResultData>>& findings,
                     std::wstring& error);
bool LoadFindingList(const std::wstring& fileName, std::set<std::wstring>& lines, std::wstring& error);

// The findings whose lines are not in `known`.
std::vector<const TResultData*> FindingsNotIn(const std::vector<std::unique_ptr<TResultData>>& findings,
                                              const std::set<std::wstring>& known);

}  // namespace kelvara::bench
