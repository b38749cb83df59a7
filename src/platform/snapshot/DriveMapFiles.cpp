#include "platform/snapshot/DriveMapFiles.h"

#include <iterator>
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
      listing->emplace(UpperCase(WideName(name)), Entry{name.native(), isFolder});
    }
  }
  std::unique_lock lock(cacheMutex_);
  return cache_.emplace(hostFolder.native(), std::move(listing)).first->second;
}

bool DriveMapFiles::ResolveFrom(const std::filesystem::path& hostFolder, const std::vector<std::wstring>& parts,
                                std::size_t index, bool mustBeFolder, std::filesystem::path& hostPath) {
  if (index == parts.size()) {
    hostPath = hostFolder;
    return true;
  }
  const std::shared_ptr<const Listing> listing = ListingOf(hostFolder);
  if (!listing) return false;
  const std::wstring& part = parts[index];
  const bool last = index + 1 == parts.size();
  const auto [first, end] = listing->equal_range(UpperCase(part));
  // Among names that differ only in case, the exact one first.
  const bool several = first != end && std::next(first) != end;
  for (int pass = several ? 0 : 1; pass < 2; ++pass) {
    for (auto it = first; it != end; ++it) {
      const Entry& entry = it->second;
      if (several && (WideName(entry.hostName) == part) != (pass == 0)) continue;
      // Only the last part may be a file, and not when a folder is named.
      if (!entry.isFolder && (!last || mustBeFolder)) continue;
      if (ResolveFrom(hostFolder / entry.hostName, parts, index + 1, mustBeFolder, hostPath)) return true;
    }
  }
  return false;
}

bool DriveMapFiles::Resolve(const std::wstring& path, std::filesystem::path& hostPath) {
  const std::optional<DrivePath> parsed = ParseDrivePath(path);
  if (!parsed) return false;
  auto drive = drives_.find(parsed->drive);
  if (drive == drives_.end()) return false;
  const std::filesystem::path root(drive->second.hostFolder);
  if (parsed->parts.empty()) {
    hostPath = root;
    return IsHostFolder(root);
  }
  return ResolveFrom(root, parsed->parts, 0, parsed->endsWithSeparator, hostPath);
}

bool DriveMapFiles::PathExists(const std::wstring& path) {
  std::filesystem::path hostPath;
  return Resolve(path, hostPath);
}

std::optional<std::filesystem::path> DriveMapFiles::HostPath(const std::wstring& path) {
  std::filesystem::path hostPath;
  if (!Resolve(path, hostPath)) return std::nullopt;
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
