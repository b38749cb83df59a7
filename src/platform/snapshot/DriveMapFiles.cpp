#include "platform/snapshot/DriveMapFiles.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <mutex>

#include "platform/Text.h"
#include "platform/snapshot/WindowsPath.h"

namespace kelvara::platform {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const noexcept { closedir(dir); }
};

bool IsHostFolder(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

DriveMapFiles::DriveMapFiles(const std::map<wchar_t, DriveMapping>& drives) {
  for (const auto& [letter, mapping] : drives) drives_[UpperChar(letter)] = mapping;
}

DriveMapFiles::~DriveMapFiles() = default;

std::shared_ptr<const DriveMapFiles::Listing> DriveMapFiles::ListingOf(const std::string& hostFolder) {
  {
    std::shared_lock lock(cacheMutex_);
    auto it = cache_.find(hostFolder);
    if (it != cache_.end()) return it->second;
  }
  std::shared_ptr<Listing> listing;
  if (std::unique_ptr<DIR, DirCloser> dir(opendir(hostFolder.c_str())); dir) {
    listing = std::make_shared<Listing>();
    while (const dirent* item = readdir(dir.get())) {
      const std::string name = item->d_name;
      if (name == "." || name == "..") continue;
      bool isFolder = item->d_type == DT_DIR;
      if (item->d_type == DT_LNK || item->d_type == DT_UNKNOWN) isFolder = IsHostFolder(hostFolder + "/" + name);
      // Two host names equal but for case: the first listed stands.
      listing->emplace(UpperCase(FromUtf8(name)), Entry{name, isFolder});
    }
  }
  std::unique_lock lock(cacheMutex_);
  return cache_.emplace(hostFolder, std::move(listing)).first->second;
}

bool DriveMapFiles::Resolve(const std::wstring& path, std::string& hostPath, bool& isFolder) {
  const std::optional<DrivePath> parsed = ParseDrivePath(path);
  if (!parsed) return false;
  auto drive = drives_.find(parsed->drive);
  if (drive == drives_.end()) return false;
  hostPath = ToUtf8(drive->second.hostFolder);
  while (hostPath.size() > 1 && hostPath.back() == '/') hostPath.pop_back();
  if (parsed->parts.empty()) {
    isFolder = true;
    return IsHostFolder(hostPath);
  }
  for (const std::wstring& part : parsed->parts) {
    const std::shared_ptr<const Listing> listing = ListingOf(hostPath);
    if (!listing) return false;
    auto entry = listing->find(UpperCase(part));
    if (entry == listing->end()) return false;
    hostPath += "/" + entry->second.hostName;
    isFolder = entry->second.isFolder;
    // Only the last part may be a file.
    if (!isFolder && &part != &parsed->parts.back()) return false;
  }
  return isFolder || !parsed->endsWithSeparator;
}

bool DriveMapFiles::PathExists(const std::wstring& path) {
  std::string hostPath;
  bool isFolder = false;
  return Resolve(path, hostPath, isFolder);
}

std::optional<std::string> DriveMapFiles::HostPath(const std::wstring& path) {
  std::string hostPath;
  bool isFolder = false;
  if (!Resolve(path, hostPath, isFolder)) return std::nullopt;
  return hostPath;
}

unsigned DriveMapFiles::DriveType(const std::wstring& root) {
  const std::optional<wchar_t> letter = ParseDriveRoot(root);
  if (!letter) return kDriveNoRootDir;
  auto drive = drives_.find(*letter);
  return drive != drives_.end() ? drive->second.type : kDriveNoRootDir;
}

bool DriveMapFiles::DisableRedirection(void*& oldState) {
  oldState = nullptr;
  return false;
}

void DriveMapFiles::RevertRedirection(void* /*oldState*/) {}

void DriveMapFiles::BeginScan() {
  std::unique_lock lock(cacheMutex_);
  cache_.clear();
}

}  // namespace kelvara::platform
