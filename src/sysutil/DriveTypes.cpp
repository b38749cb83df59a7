#include "sysutil/DriveTypes.h"

#include <string>

#include "platform/Platform.h"
#include "platform/Text.h"

namespace kelvara {
namespace {

std::wstring_view DriveTypeName(std::wstring_view drive, wchar_t firstLetter) {
  if (drive.size() < 2 || drive.size() > 3) return kDriveUnknownName;
  if (drive.size() == 3 && drive[2] != L'\\') return kDriveUnknownName;  // would be longer than a root
  // Only a letter and a colon name a drive: the system calls a relative
  // root such as "db\" one without a root directory, which would pass for
  // a drive that is not present.
  const wchar_t letter = UpperChar(drive[0]);
  if (drive[1] != L':' || letter < firstLetter || letter > L'Z') return kDriveUnknownName;
  std::wstring root(drive.substr(0, 2));
  root.push_back(L'\\');
  switch (platform::Files().DriveType(root)) {
    case platform::kDriveNoRootDir:
      return kDriveRemovableName;
    case platform::kDriveFixed:
      return kDriveHardDiskName;
    case platform::kDriveCdRom:
      return kDriveCdRomName;
    default:
      return kDriveUnknownName;
  }
}

}  // namespace

std::wstring_view GetDriveTypeName(std::wstring_view drive) { return DriveTypeName(drive, L'A'); }

std::wstring_view GetPathDriveTypeName(std::wstring_view drive) { return DriveTypeName(drive, L'C'); }

}  // namespace kelvara
