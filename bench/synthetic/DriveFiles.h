// The files of the synthetic machine's drive C:. Healthy entries name
// files recorded here as present; planted entries name files recorded as
// missing. Creating the drive checks that no path is both.
#pragma once

#include <string>
#include <unordered_set>

namespace kelvara::bench {

class DriveFiles {
 public:
  // Records a file (a Windows path on C:) that the drive holds; returns it.
  const std::wstring& Present(const std::wstring& path);
  // Records a folder that the drive holds.
  void Folder(const std::wstring& path);
  // Records a path that must not exist on the drive; returns it.
  const std::wstring& Missing(const std::wstring& path);

  // Creates every present file and folder below `driveFolder` (the folder
  // of C:). False, with `error` set, when a path is both present and
  // missing or a file cannot be made.
  bool Create(const std::string& driveFolder, std::wstring& error) const;
  [[nodiscard]] std::size_t FileCount() const { return files_.size(); }

 private:
  std::unordered_set<std::wstring> files_;    // lower-cased
  std::unordered_set<std::wstring> folders_;  // lower-cased
  std::unordered_set<std::wstring> missing_;  // lower-cased
  std::unordered_set<std::wstring> spelled_;  // as first spelled, for creation
};

}  // namespace kelvara::bench
