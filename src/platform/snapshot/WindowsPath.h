// Parsing of Windows drive paths such as "C:\Program Files\app.exe" the
// way Windows normalises them before a look-up: "\" and "/" both
// separate, doubled separators and "." parts are dropped, ".." goes one
// part up (never above the root), and trailing dots and blanks of the
// last part are removed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara::platform {

struct DrivePath {
  wchar_t drive = L'C';  // upper-case letter
  std::vector<std::wstring> parts;
  bool endsWithSeparator = false;  // names a folder: "C:\Windows\"
};

// nullopt for anything that is not an absolute drive path: UNC paths
// ("\\server\share"), device and long-path forms ("\\?\", "\\.\"),
// relative paths, "C:" without separator followed by a name, and names
// with characters Windows refuses (< > : " | ? * and controls).
std::optional<DrivePath> ParseDrivePath(std::wstring_view path);

// The drive letter of a root text "C:", "C:\" or "C:/"; nullopt otherwise.
std::optional<wchar_t> ParseDriveRoot(std::wstring_view root);

}  // namespace kelvara::platform
