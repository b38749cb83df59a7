// Facts about the running Windows system: its true version and whether it
// is 64-bit Windows. They are read once from the installed platform at
// start-up, before any window or thread exists, and are read-only after.
#pragma once

#include <string>

#include "platform/SystemApi.h"

namespace kelvara {

// Windows generations the program tells apart, in this order (the tune-up
// definitions name versions by them).
enum TWinVersion : int { osAll = 0, os2K, osXP, osVista, osWin7, osWin8, osWin10 };

// Reads the version facts and the 64-bit fact from platform::System().
// InitSystemUtilities (SystemStartup.h) calls it first, at start-up and
// whenever tests install another platform; it may be called alone where
// only these facts are needed.
void InitSystemFacts();

// The version values: the native version query's when it answered, else
// the ordinary query's. On platform 1 (Windows 9x) the build keeps only its
// low 16 bits; the service-pack text has at most 128 characters.
const platform::OsVersion& GetOsVersion();
// Whether the native version query answered at start-up.
bool HasNativeVersion();

// The generation from the native version query; osAll when it failed or
// the version is none of the known ones.
TWinVersion GetWinVersion();
// Maps a version to its generation: 5.0 os2K, other 5.x osXP, 6.0
// osVista, 6.1 osWin7, other 6.x osWin8, 10.x osWin10, else osAll.
TWinVersion WinVersionOf(unsigned major, unsigned minor);
// "major.minor.build" from the native version query; empty when it failed.
std::wstring GetOSVersionText();
// The platform's version comparison for Windows 10 or later.
bool IsWindows10OrGreater();

// The system is 64-bit Windows. The Windows build of the program is a
// 64-bit process, so this is the platform's 64-bit-Windows fact; it selects
// the 64-bit registry view and the native program-files folders.
bool IsWin64();
// 64-bit Windows Vista or Server 2003 / XP x64 (version 6.0 or 5.2), whose
// registry views need the older access masks.
bool IsLegacyWow64();

}  // namespace kelvara
