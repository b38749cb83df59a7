// The system folders the program builds paths from: the folder values read
// once at start-up (each with one trailing "\", empty when the lookup
// failed) and the folder lookups behind them.
#pragma once

#include <string>
#include <string_view>

namespace kelvara {

// Special-folder identifiers (CSIDL values) the program asks for.
inline constexpr int kCsidlDesktop = 0;
inline constexpr int kCsidlPersonal = 5;
inline constexpr int kCsidlAppData = 26;
inline constexpr int kCsidlProgramFiles = 38;
inline constexpr int kCsidlProfile = 40;
inline constexpr int kCsidlProgramFilesCommon = 43;
inline constexpr int kCsidlCommonDocuments = 46;
// The program's own code for the user's "AppData\LocalLow" folder, which
// has no identifier of its own.
inline constexpr int kCsidlLocalLow = 32796;

struct TFolderValues {
  std::wstring ProgramFiles;              // special folder 38
  std::wstring CommonProgramFiles;        // special folder 43
  std::wstring NativeProgramFiles;        // %ProgramW6432%, 64-bit Windows only
  std::wstring NativeCommonProgramFiles;  // %CommonProgramW6432%, 64-bit Windows only
  std::wstring Profile;                   // special folder 40
  std::wstring AppData;                   // special folder 26
  std::wstring Windows;                   // the Windows directory
  std::wstring CommonDocuments;           // special folder 46
};

// Reads the folder values from the installed platform; needs the system
// facts (InitSystemFacts) for the 64-bit-only values.
void InitFolderValues();
const TFolderValues& FolderValues();

// The special folder's path without trailing "\"; empty on failure.
// kCsidlLocalLow gives the expansion of "%USERPROFILE%\AppData\LocalLow".
std::wstring GetSpecialFolder(int folderId);
// The desktop folder (special folder 0).
std::wstring GetDesktopFolder();
// The Windows directory, without trailing "\".
std::wstring GetWindowsFolder();

// A non-empty text with one "\" appended when it does not end with one.
std::wstring IncludeTrailingBackslash(std::wstring_view path);
// The text without one trailing "\".
std::wstring ExcludeTrailingBackslash(std::wstring_view path);

}  // namespace kelvara
