// The ground truth on disk: DIR/truth.tsv, UTF-8, one finding a line with
// five tab-separated fields: the category's [Type] key, "safe" or
// "unsafe", "deep" or "all" (the levels that report it), the location and
// the value name. Tab, line feed, carriage return and backslash in a field
// are written as \t, \n, \r and \\.
#pragma once

#include <string>
#include <vector>

#include "synthetic/SyntheticMachine.h"

namespace kelvara::bench {

// Whether a scan at `level` reports the finding: at slSafe the safe ones
// that are not deep-only, at slNormal those not deep-only, at slDeep all.
bool ExpectedAtLevel(const ExpectedFinding& finding, TScanLevel level);

bool WriteTruthFile(const std::string& path, const std::vector<ExpectedFinding>& truth, std::wstring& error);
bool ReadTruthFile(const std::wstring& path, std::vector<ExpectedFinding>& truth, std::wstring& error);

}  // namespace kelvara::bench
