// A registry file of deletions that applies a clean to another machine:
// the clean of a snapshot, replayed on the machine the export came from
// by importing the file there (regedit /s).
#pragma once

#include <string>
#include <vector>

#include "scanner/uDefines.h"

namespace kelvara {

// The .reg text (without byte-order mark) that removes `entries`, in the
// order the cleaner removes them (last entry first): "[-ROOT\key]" for a
// key, "[ROOT\key]" and "name"=- (or @=- for the default value) for a
// value. rfNode entries remove nothing and are left out.
std::wstring FixScriptText(const std::vector<const TResultData*>& entries);
// Writes that text as UTF-16LE with a byte-order mark through a temporary
// file; false with `error` naming the file and the reason.
bool WriteFixScript(const std::wstring& fileName, const std::vector<const TResultData*>& entries, std::wstring& error);

}  // namespace kelvara
