// The per-fix backup of one clean: every key and value the clean is about
// to remove, gathered first and then written as one registry export, so
// that importing the file puts back exactly what the clean removed.
//
// Locations are gathered per root key; within a root, keys are told apart
// without regard to letter case (and to one trailing backslash) and keep
// the order in which they were first added. A key holds either the
// whole-key mark (an rfKey entry: the key with all its values and
// sub-keys) or the list of its values to keep (rfValue entries). A
// whole-key mark wins over values, in either order.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/RegistryApi.h"
#include "scanner/uDefines.h"

namespace kelvara {

// Makes the folder of a backup (with its parents) when missing and clears
// the way for the file `name`.reg in it: an old file of that name is
// deleted, read-only or not. `folder` ends with a folder separator. False
// with `error` naming the folder or file and the reason.
bool PrepareBackupFile(const std::wstring& folder, const std::wstring& name, std::wstring& fileName,
                       std::wstring& error);

class TCleanBackup {
 public:
  // rfKey adds the whole key, rfValue one value, rfNode nothing.
  void Add(const TRegData& location);
  // The number of key sections the export will hold.
  [[nodiscard]] std::size_t KeyCount() const noexcept;

  // Writes the export to `fileName` through the export writer (the file is
  // replaced atomically and flushed to the disk). Keys that do not exist
  // (any more) are left out, so that importing the file creates no key the
  // clean did not remove; a backup without keys is the header line alone.
  // False with `error` naming the file and the reason.
  bool Write(const std::wstring& fileName, std::wstring& error) const;

 private:
  struct KeySection {
    std::wstring key;
    bool wholeKey = false;
    std::vector<std::wstring> values;
    std::unordered_set<std::wstring> upperValues;  // the listed names, upper-cased
  };
  struct RootSections {
    platform::HKey root = 0;
    std::vector<KeySection> keys;
    std::unordered_map<std::wstring, std::size_t> byUpperKey;
  };

  RootSections& SectionsOf(platform::HKey root);

  std::vector<RootSections> roots_;
};

}  // namespace kelvara
