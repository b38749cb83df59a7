// One-shot registry helpers. Each builds its own TNefoRegistry, sets the
// root, chooses the access mask for the key path with GetRegAccess, opens
// the key, does one thing and closes it again, so every thread may call
// them and no key handle outlives a call.
//
// Read-only helpers ("read") open with read rights; full-access helpers
// ("full") need write rights and treat a key the process may only read as
// absent. Reads never raise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/RegistryApi.h"
#include "registry/NefoRegistry.h"

namespace kelvara {

// The access mask for a key path: read (0x20019) or full (0xF003F), plus
// on 64-bit Windows the 64-bit view flag, or the 32-bit view flag for
// Wow6432Node paths on 64-bit Windows 6.0 and 5.2.
std::uint32_t GetRegAccess(const std::wstring& key, bool readOnly, bool useView);

// Full access: the key opened.
bool RegKeyExists(platform::HKey root, const std::wstring& key);
// Full access: the key opened and holds the value.
bool RegValueExists(platform::HKey root, const std::wstring& key, const std::wstring& name);
// Read access: the key opened, or opening it was refused (access denied
// counts as existing, so nothing is reported missing for lack of rights).
bool RegKeyExistsEx(platform::HKey root, const std::wstring& key, bool useView = true);
// Read access: the key opened and the value exists or its query was
// refused; false when the key does not open.
bool RegValueExistsEx(platform::HKey root, const std::wstring& key, const std::wstring& name, bool useView = true);
bool GetRegKeyInfo(platform::HKey root, const std::wstring& key, TRegKeyInfo& info);
// The list is left untouched when the key does not open.
bool GetRegSubKeys(platform::HKey root, const std::wstring& key, std::vector<std::wstring>& list, bool readOnly);
bool GetRegValues(platform::HKey root, const std::wstring& key, std::vector<std::wstring>& list, bool readOnly);
// The value as text (GetDataAsString without type prefix; an empty name is
// the default value). True when the key opened, even when the value is
// missing (then the text is empty).
bool ReadRegData(platform::HKey root, const std::wstring& key, const std::wstring& name, bool useView,
                 std::wstring& text);
void GetRegData(platform::HKey root, const std::wstring& key, const std::wstring& name, std::wstring& text,
                bool useView = true);
// The DWORD value, or `defaultValue` when it cannot be read as one.
int ReadRegInteger(platform::HKey root, const std::wstring& key, const std::wstring& name, bool useView,
                   int defaultValue);
// Full access: deletes one value (the default value for an empty name).
bool DeleteRegValue(platform::HKey root, const std::wstring& key, const std::wstring& name);
// Full access: the number of sub-keys, with the whole tree below when
// `recursive`; 0 when the key does not open.
int GetRegSubKeyCount(platform::HKey root, const std::wstring& key, bool recursive);
// Read access: the number of sub-keys; 0 when the key does not open.
int CountRegSubKeys(platform::HKey root, const std::wstring& key);
// Full access: the number of values; 0 when the key does not open.
int GetRegValueCount(platform::HKey root, const std::wstring& key);
// Read access: the values of the whole tree; a key that does not open
// counts 1, so it is never taken for an empty one.
int GetRegTreeValueCount(platform::HKey root, const std::wstring& key);
// No values and only empty sub-keys; a key that does not open is not empty.
bool IsEmptyRegTree(platform::HKey root, const std::wstring& key);
// As IsEmptyRegTree, but a lone default value of blanks counts as empty.
bool IsEmptyRegKey(platform::HKey root, const std::wstring& key);
// The user's policy "DisableRegistryTools"; false on any failure.
bool IsRegistryToolsDisabled();
// Deletes that policy value.
bool EnableRegistryTools();

}  // namespace kelvara
