#include "platform/snapshot/DriveMapFiles.h"

#include <mutex>
#include <system_error>

#include "platform/Text.h"
#include "platform/snapshot/WindowsPath.h"

namespace kelvara::platform {
namespace {

bool IsHostFolder(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

std::wstring WideName(const std::filesystem::path& name) {
#ifdef _WIN32
  return name.native();
#else
  return FromUtf8(name.native());
#endif
}

}  // namespace

DriveMapFiles::DriveMapFiles(const std::map<wchar_t, DriveMapping>& drives) {
  for (const auto& [letter, mapping] : drives) drives_[UpperChar(letter)] = mapping;
}

DriveMapFiles::~DriveMapFiles() = default;

std::shared_ptr<const DriveMapFiles::Listing> DriveMapFiles::ListingOf(const std::filesystem::path& hostFolder) {
  {
    std::shared_lock lock(cacheMutex_);
    auto it = cache_.find(hostFolder.native());
    if (it != cache_.end()) return it->second;
  }
  std::shared_ptr<Listing> listing;
  std::error_code ec;
  std::filesystem::directory_iterator items(hostFolder, ec);
  if (!ec) {
    listing = std::make_shared<Listing>();
    for (const auto& item : items) {
      const std::filesystem::path name = item.path().filename();
      std::error_code typeError;
      const bool isFolder = item.is_directory(typeError);
      // Two host names equal but for case: the first listed stands.
      listing->emplace(UpperCase(WideName(name)), Entry{name.native(), isFolder});
    }
  }
  std::unique_lock lock(cacheMutex_);
  return cache_.emplace(hostFolder.native(), std::move(listing)).first->second;
}

bool DriveMapFiles::Resolve(const std::wstring& path, std::filesystem::path& hostPath, bool& isFolder) {
  const std::optional<DrivePath> parsed = ParseDrivePath(path);
  if (!parsed) return false;
  auto drive = drives_.find(parsed->drive);
  if (drive == drives_.end()) return false;
  hostPath = std::filesystem::path(drive->second.hostFolder);
  if (parsed->parts.empty()) {
    isFolder = true;
    return IsHostFolder(hostPath);
  }
  for (const std::wstring& part : parsed->parts) {
    const std::shared_ptr<const Listing> listing = ListingOf(hostPath);
    if (!listing) return false;
    auto entry = listing->find(UpperCase(part));
    if (entry == listing->end()) return false;
    hostPath /= entry->second.hostName;
    isFolder = entry->second.isFolder;
    // Only the last part may be a file.
    if (!isFolder && &part != &parsed->parts.back()) return false;
  }
  return isFolder || !parsed->endsWithSeparator;
}

bool DriveMapFiles::PathExists(const std::wstring& path) {
  std::filesystem::path hostPath;
  bool isFolder = false;
  return Resolve(path, hostPath, isFolder);
}

std::optional<std::filesystem::path> DriveMapFiles::HostPath(const std::wstring& path) {
  std::filesystem::path hostPath;
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
