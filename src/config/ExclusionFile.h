// The exclusion list file "Exclusion.dat" in the data folder: an INI file
// with one section "Exclusion" holding every pattern as a key with an empty
// value ("HKEY_CURRENT_USER\Software\Test*="), in list order.
//
// Some patterns cannot be an INI key: one with "=" in it, one starting with
// ";" (a comment) or "[" (a section), one with blanks or control characters
// at its ends (trimmed away) or line breaks inside, an empty one, and a
// repeat of an earlier pattern that differs only in case (keys compare
// without case). Such a pattern is written as a numbered placeholder key
// "#KelvaraPattern<n>" whose value is the pattern with "%", blanks, control
// characters and quotes written as "%XX". Files written before this form
// existed hold only empty values, and a line is decoded only when its key
// has the placeholder prefix and a value, so they read exactly as before;
// an older reader sees the placeholder itself, which matches no registry
// path. A pattern that itself starts with the prefix is always escaped, so
// placeholder keys never collide with plain ones.
#pragma once

#include <string>
#include <vector>

#include "config/MemIniFile.h"
#include "config/uConfig.h"
#include "platform/HostFilesApi.h"

namespace kelvara {

inline constexpr wchar_t kExclusionFileName[] = L"Exclusion.dat";
inline constexpr wchar_t kExclusionSection[] = L"Exclusion";

// The [Exclusion] lines that hold `patterns`; empty patterns are left out
// (they match nothing).
std::vector<TIniEntry> EncodeExclusions(const std::vector<std::wstring>& patterns);
// The patterns held by [Exclusion] lines, in order.
std::vector<std::wstring> DecodeExclusions(const std::vector<TIniEntry>& entries);

// Fills `config.ExList` from Exclusion.dat in `config.DataPath` when the
// file exists; a missing file leaves the list as it is.
void ReadExclusionFile(TConfig& config);
// Writes `config.ExList` to Exclusion.dat (temporary file, then rename),
// keeping the encoding of the existing file. Refuses to replace a file that
// exists but cannot be read, which would lose its list. False with the
// reason in `error` on failure; the previous file is then intact.
bool WriteExclusionFile(const TConfig& config, platform::HostFileError& error);

}  // namespace kelvara
