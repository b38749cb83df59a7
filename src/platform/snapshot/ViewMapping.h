// Where a registry path really lives. The in-memory registry holds two
// physical trees, the machine (HKEY_LOCAL_MACHINE) and the users
// (HKEY_USERS); every other root and every link key is a view onto them,
// as on Windows:
//
//   HKEY_CURRENT_USER    HKEY_USERS\<running user's SID>
//   HKEY_CLASSES_ROOT    HKLM\SOFTWARE\Classes merged with the running
//                        user's HKU\<SID>\Software\Classes
//   HKEY_CURRENT_CONFIG  HKLM\SYSTEM\CurrentControlSet\Hardware Profiles\Current
//   HKLM\SYSTEM\CurrentControlSet         HKLM\SYSTEM\ControlSet00N (N from
//                                         the DWORD HKLM\SYSTEM\Select\Current)
//   HKU\<SID>_Classes                     HKU\<SID>\Software\Classes
//   HKLM\SOFTWARE\Wow6432Node\Classes     HKLM\SOFTWARE\Classes\Wow6432Node
//
// On a 64-bit system the 32-bit view (KEY_WOW64_32KEY) of HKLM\SOFTWARE,
// of the classes keys and of the user's Software\Classes is the
// "Wow6432Node" sub-key; in the 64-bit view (or without a view flag)
// Wow6432Node is an ordinary key. Unlike Windows, no sub-tree of SOFTWARE
// is shared between the views: everything below SOFTWARE is redirected.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryApi.h"

namespace kelvara::platform {

enum class KeyBase : std::uint8_t { Machine, Users, Classes };

// A path from one of the physical trees, or from the merged classes view.
struct KeyPath {
  KeyBase base = KeyBase::Machine;
  std::vector<std::u16string> parts;
};

// Splits a sub-key argument at "\"; empty parts (doubled or trailing "\")
// are skipped. False when the text starts with "\", which the registry
// functions refuse.
bool SplitSubKey(std::wstring_view subKey, std::vector<std::u16string>& parts);

// The path a predefined root stands for; nullopt for the roots this
// registry does not hold (performance data, dynamic data).
std::optional<KeyPath> PredefinedRootPath(HKey root, std::u16string_view userSid);

// Applies the link keys above (not the views) to a full path. `controlSet`
// is the number of the current control set.
void ResolveLinks(KeyPath& path, std::uint32_t controlSet);

// Moves a full path into the 32-bit view: inserts "Wow6432Node" where the
// redirected part starts, unless the path already goes through it.
void MapTo32BitView(KeyPath& path);

// True when the path's parts start with SYSTEM\CurrentControlSet, the one
// link whose target depends on the registry's contents.
bool UsesCurrentControlSet(const KeyPath& path);

}  // namespace kelvara::platform
