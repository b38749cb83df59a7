// The values this program keeps in the registry beside its configuration
// file: the regional edition flag and the installation identifier.
#pragma once

#include <string>

namespace kelvara {

inline constexpr wchar_t kRegionalFlagKey[] = L"SOFTWARE\\Nefolab\\KLV";
inline constexpr wchar_t kRegionalFlagKey32[] = L"SOFTWARE\\Wow6432Node\\Nefolab\\KLV";
inline constexpr wchar_t kInstallationIdKey[] = L"CLSID\\{D4EF86C3-77D7-4F82-BBB8-6DFFAB6E2D32}";

// DWORD "IsJP" under HKEY_LOCAL_MACHINE\SOFTWARE\Nefolab\KLV, or when that
// is not 1 under its Wow6432Node twin, equals 1.
bool ReadRegionalFlag();

// Text value "KLV" of HKEY_CLASSES_ROOT\CLSID\{D4EF86C3-...}. When it is
// missing or empty a new identifier is made and stored there; when storing
// it fails (a user without the right to write there) the new identifier
// still serves this run and the failure stays silent.
std::wstring ReadInstallationId();

// A random (version 4) GUID in braced upper-case form,
// "{XXXXXXXX-XXXX-4XXX-YXXX-XXXXXXXXXXXX}".
std::wstring NewGuidText();

}  // namespace kelvara
