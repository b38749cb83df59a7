// A synthetic machine for the benchmarks: a registry export of a plausible
// 64-bit Windows machine, the folder of its drive C:, and the findings a
// correct scan must report on it (its ground truth), written by
// registry_gen and read back here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scanner/uDefines.h"

namespace kelvara::bench {

// One finding a correct scan must report.
struct ExpectedFinding {
  TScanType category = _None;  // from scanner/uDefines.h
  std::wstring location;       // long root name + "\\" + key, e.g. HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{..}
  std::wstring value;          // empty for the key itself / its default value, as TRegData::value
  bool safe = false;           // the scan marks it safe to fix
  bool deepOnly = false;       // reported only at slDeep
};

struct SyntheticMachine {
  std::wstring folder;        // DIR
  std::wstring registryFile;  // DIR/registry.reg
  std::wstring driveFolder;   // DIR/C : drive C: of the machine
  std::wstring userName;      // the running user's profile name (for --user)
  std::wstring userSid;       // its SID
  std::uint64_t keys = 0;     // keys and values written to the export
  std::uint64_t values = 0;
  std::vector<ExpectedFinding> truth;
};

// Reads DIR/machine.txt and DIR/truth.tsv (UTF-8 text).
bool LoadSyntheticMachine(const std::wstring& folder, SyntheticMachine& machine, std::wstring& error);

struct TruthScore {
  std::size_t expected = 0, reported = 0, matched = 0;
  double precision = 1.0, recall = 1.0;          // 1.0 when the denominator is 0
  std::vector<std::wstring> missed, unexpected;  // readable lines, for diagnosis (the first 20 of each)
};

// Scores the findings of one scan at `level` of all twenty categories,
// running user plus every other profile. Category, location and value are
// compared case-insensitively; HKEY_CURRENT_USER\x and HKEY_USERS\<userSid>\x
// are the same place, and so are HKEY_CLASSES_ROOT\x and
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes\x. A finding reported twice counts
// once. At slSafe the expected set is the safe entries that are not
// deep-only; at slNormal the entries that are not deep-only; at slDeep all.
TruthScore ScoreFindings(const SyntheticMachine& machine, const std::vector<const TResultData*>& findings,
                         TScanLevel level);

}  // namespace kelvara::bench
