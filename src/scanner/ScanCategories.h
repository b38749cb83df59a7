// The table of scan categories: display names (through the language file),
// their [Type] keys, and which ones need administrator rights.
#pragma once

#include <string>

#include "scanner/uDefines.h"

namespace kelvara {

enum class TAdminNeed {
  None,         // every key of the category belongs to the user
  MachinePart,  // the machine-wide keys are read only by an administrator
  Whole         // skipped entirely without administrator rights
};

struct TScanCategoryInfo {
  TScanType type;
  const wchar_t* typeKey;  // key of the category in the [Type] section of config.ini
  TAdminNeed adminNeed;
};

// The row of a category; `_None` and out-of-range values give nullptr.
const TScanCategoryInfo* ScanCategoryInfo(TScanType type);
// The translated display name; empty for `_None`.
std::wstring GetScanTypeName(TScanType type);
// The category whose [Type] key equals `key` (case-insensitive), or `_None`.
TScanType ScanTypeFromKey(const std::wstring& key);

}  // namespace kelvara
