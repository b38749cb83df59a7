// File and system services shared by the scanner, the repair engines and
// the pages: existence of the files registry data names, deleting the
// program's own files, the web addresses kept in the registry, memory size.
#pragma once

#include <cstdint>
#include <string>

namespace kelvara {

// The file or folder exists on the examined system. On 64-bit Windows a
// miss is asked again with file-system redirection off. A path without an
// extension also counts when it exists with ".exe", ".com", ".bat", ".cmd"
// or ".dll" appended (as a command line names a program).
bool PathExists(const std::wstring& path);

// Deletes one of the program's own files even when it is read-only; true
// when it is gone afterwards (also when it did not exist).
bool ForceDeleteFile(const std::wstring& path);

// The web address stored in HKEY_LOCAL_MACHINE\<key> as `valueName`, read
// first through the default view and then the 64-bit view; `defaultAddress`
// when neither holds text with "http://", "https://" or "mailto".
std::wstring GetRegURL(const std::wstring& key, const std::wstring& valueName, const std::wstring& defaultAddress);

// Total physical memory in whole MiB, rounded down.
std::uint64_t GetTotalMemoryMiB();

}  // namespace kelvara
