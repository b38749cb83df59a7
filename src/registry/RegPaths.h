// The text side of registry locations: root-key names in both directions,
// joining key paths, small text helpers, the existence test for a full
// path ("HKEY_LOCAL_MACHINE\SOFTWARE\..."), the computer name used to name
// backups, and showing a key in the registry editor.
#pragma once

#include <string>
#include <string_view>

#include "platform/RegistryApi.h"

namespace kelvara {

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
// "HKEY_USERS" or "HKEY_CURRENT_CONFIG"; empty for any other handle.
std::wstring RootKeyToName(platform::HKey root);
// As RootKeyToName, and also "HKEY_PERFORMANCE_DATA" and "HKEY_DYN_DATA":
// the names of export key lines and of TNefoRegistry::RootKeyName.
std::wstring RootKeyLongName(platform::HKey root);
// Long or short name, any case; anything else gives HKEY_CLASSES_ROOT.
platform::HKey NameToRootKey(std::wstring_view name);

// Empty stays empty; else exactly one "\" at the end.
std::wstring IncludeKeyDelimiter(std::wstring_view key);
// A non-empty path gets one "\" in front when it has none.
std::wstring IncludeLeadingDelimiter(std::wstring_view path);
// Every "\" becomes "\\".
std::wstring EscapeBackslashes(std::wstring_view text);
// Occurrences of `sub` in `text`, overlapping ones included; 0 for an
// empty `sub`.
int CountSubStr(std::wstring_view sub, std::wstring_view text);
// Zero-based index of the last character of the last occurrence of `sub`;
// -1 when it does not occur (or is empty).
int LastPosIndex(std::wstring_view sub, std::wstring_view text);
// The text contains "{8-4-4-4-12}" word characters (letters, digits, "_").
bool IsGuidString(std::wstring_view text);

// 0 when the key of a full path does not exist (or its root is none of
// HKLM, HKCU, HKCR, HKU); else 3 HKLM, 2 HKCU, 1 HKCR, 5 HKU.
int RegPathExists(const std::wstring& fullPath);
// The computer name from the registry; empty when missing or when it holds
// a character that cannot be part of a file name ("/\?*;,").
std::wstring GetRegComputerName();
// Shows the key and value in the registry editor. Not available on this
// program's platforms yet: always false.
bool JumpToRegEdit(const std::wstring& fullPath, const std::wstring& valueName);

}  // namespace kelvara
