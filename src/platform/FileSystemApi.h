// The file facility of the system being examined: existence tests and drive
// types of Windows paths. On Windows this is the real file system; on the
// snapshot backend Windows paths are resolved through a drive map.
#pragma once

#include <string>

namespace kelvara::platform {

// GetDriveTypeW codes.
inline constexpr unsigned kDriveUnknown = 0;
inline constexpr unsigned kDriveNoRootDir = 1;
inline constexpr unsigned kDriveRemovable = 2;
inline constexpr unsigned kDriveFixed = 3;
inline constexpr unsigned kDriveRemote = 4;
inline constexpr unsigned kDriveCdRom = 5;
inline constexpr unsigned kDriveRamDisk = 6;

class FileSystemApi {
 public:
  virtual ~FileSystemApi() = default;

  // PathFileExists semantics: true for an existing file or folder.
  virtual bool PathExists(const std::wstring& path) = 0;
  // GetDriveTypeW of a drive root such as "C:\".
  virtual unsigned DriveType(const std::wstring& root) = 0;
  // Per-thread file-system redirection of a 32-bit process on 64-bit
  // Windows. Disable returns false when there is nothing to switch; the
  // token it fills is handed back to Revert.
  virtual bool DisableRedirection(void*& oldState) = 0;
  virtual void RevertRedirection(void* oldState) = 0;
  // Called when a scan starts: a backend that caches file look-ups drops
  // what it learnt before, so files changed between scans are seen.
  virtual void BeginScan() = 0;
};

}  // namespace kelvara::platform
