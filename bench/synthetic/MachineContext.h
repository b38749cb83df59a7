// What every part of the generator writes to: the export, the drive's
// files, the catalogue of programs, the machine's layout and the ground
// truth, with the counts that size each part.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "synthetic/MachineLayout.h"
#include "synthetic/ProductCatalog.h"
#include "synthetic/RegExportWriter.h"
#include "synthetic/SplitMix.h"
#include "synthetic/SyntheticMachine.h"

namespace kelvara::bench {

// The ground truth being collected; an expected finding recorded twice is
// kept once.
class TruthRecorder {
 public:
  void Expect(TScanType category, const std::wstring& location, const std::wstring& value, bool safe,
              bool deepOnly = false);
  [[nodiscard]] const std::vector<ExpectedFinding>& Findings() const { return findings_; }

 private:
  std::vector<ExpectedFinding> findings_;
  std::unordered_set<std::wstring> seen_;
};

// Which entries of a run are planted problems: one in every `period`, the
// kinds of problem taking turns, so that even a small machine plants every
// kind. Next() gives -1 for a healthy entry, else the kind to plant.
class PlantSchedule {
 public:
  PlantSchedule(std::size_t period, int kinds) : period_(period), kinds_(kinds) {}
  int Next() {
    if (++count_ % period_ != period_ / 2) return -1;
    return static_cast<int>(planted_++ % static_cast<std::size_t>(kinds_));
  }

 private:
  std::size_t period_;
  int kinds_;
  std::size_t count_ = 0, planted_ = 0;
};

struct MachineContext {
  RegExportWriter& reg;
  DriveFiles& files;
  ProductCatalog& catalog;
  TruthRecorder& truth;
  const MachineLayout& layout;
  std::uint64_t targetKeys = 0;

  // Records a safe finding at `key` (a key of HKEY_LOCAL_MACHINE\SOFTWARE)
  // of a list that Wine shares between the 64-bit and the 32-bit view (App
  // Paths, Fonts, Image File Execution Options): in a Wine prefix the scan
  // reports it in both views.
  void ExpectInSharedList(TScanType category, const std::wstring& key, const std::wstring& value);
  // A count that grows with the machine: `perMillion` at 1,000,000 keys,
  // never below `minimum`.
  [[nodiscard]] std::size_t Scaled(double perMillion, std::size_t minimum) const;
};

}  // namespace kelvara::bench
