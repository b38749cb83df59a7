// Names of drive kinds, as the scanner words missing-file findings. The
// names are constants; the views stay valid for the whole run.
#pragma once

#include <string_view>

namespace kelvara {

inline constexpr std::wstring_view kDriveRemovableName = L"Removable Disk";
inline constexpr std::wstring_view kDriveHardDiskName = L"Hard Disk";
inline constexpr std::wstring_view kDriveCdRomName = L"CD\\DVD-ROM";
inline constexpr std::wstring_view kDriveUnknownName = L"UnKonw";

// The kind of a drive root such as "C:" or "C:\", letters A to Z: "Hard
// Disk" for a fixed disk, "CD\DVD-ROM" for an optical drive, "Removable
// Disk" for a letter with no root (a drive that is not present), and
// "UnKonw" for everything else (network, RAM disk, removable media that is
// present, text that is no drive root).
std::wstring_view GetDriveTypeName(std::wstring_view drive);
// The same for the file-reference rules, which accept only C to Z: floppy
// letters are never judged.
std::wstring_view GetPathDriveTypeName(std::wstring_view drive);

}  // namespace kelvara
