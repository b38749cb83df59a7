// The examined Windows machine's file system on the snapshot backend:
// drive letters map to host folders (a mounted or copied Windows drive),
// and Windows paths are looked up in them without regard to case, part by
// part, as Windows does. Each host folder is listed once and its listing
// (upper-cased name -> entry) kept until the next BeginScan, so hundreds of
// thousands of look-ups on a real drive stay cheap. Short (8.3) names and
// the long-path and UNC forms are not resolved (they report false).
// There is no file-system redirection to switch.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <shared_mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FileSystemApi.h"

namespace kelvara::platform {

struct DriveMapping {
  std::wstring hostFolder;      // host path of the drive's root
  unsigned type = kDriveFixed;  // kDriveFixed, kDriveRemovable or kDriveCdRom
};

class DriveMapFiles final : public FileSystemApi {
 public:
  // Drive letters in either case.
  explicit DriveMapFiles(const std::map<wchar_t, DriveMapping>& drives);
  ~DriveMapFiles() override;

  bool PathExists(const std::wstring& path) override;
  // The mapping's type for a mapped letter, kDriveNoRootDir otherwise.
  unsigned DriveType(const std::wstring& root) override;
  bool DisableRedirection(void*& oldState) override;
  void RevertRedirection(void* oldState) override;
  void BeginScan() override;

  // The host path of an existing Windows path, with the host's own case.
  std::optional<std::filesystem::path> HostPath(const std::wstring& path);

 private:
  using HostString = std::filesystem::path::string_type;
  struct Entry {
    HostString hostName;
    bool isFolder = false;
  };
  // Upper-cased name -> entries: a copied or case-sensitive host folder
  // may hold names that differ only in case, and each of them is tried.
  using Listing = std::unordered_multimap<std::wstring, Entry>;
  // The cached listing of a host folder; null when it cannot be listed.
  std::shared_ptr<const Listing> ListingOf(const std::filesystem::path& hostFolder);
  bool Resolve(const std::wstring& path, std::filesystem::path& hostPath);
  // Resolves parts[index..] below an existing host folder.
  bool ResolveFrom(const std::filesystem::path& hostFolder, const std::vector<std::wstring>& parts, std::size_t index,
                   bool mustBeFolder, std::filesystem::path& hostPath);

  std::map<wchar_t, DriveMapping> drives_;  // upper-case letters
  std::shared_mutex cacheMutex_;
  std::unordered_map<HostString, std::shared_ptr<const Listing>> cache_;
};

}  // namespace kelvara::platform
