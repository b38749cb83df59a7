// What the scan rules say about the files their entries name: the drive
// test behind the "not inserted" findings, and the reasons shared by
// several rule families. The reasons are looked up in the language files
// (section "ErrorMessage") with their English defaults.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kelvara {

// The drive type name of the path's drive when it is a removable disk (or
// a letter with no volume) or an optical drive, else empty. A file that is
// missing there may only be on media that is not inserted, so the rules
// report it as unsafe without testing the file.
std::wstring_view RemovableDriveType(std::wstring_view path);

// `translated` with its "%s" placeholders replaced by `args` in order. A
// translation that does not hold exactly as many "%s" as there are
// arguments is not trusted: the English default is formatted instead.
// Other "%" sequences are kept as they are.
std::wstring FormatRuleMessage(std::wstring_view translated, std::wstring_view englishDefault,
                               std::initializer_list<std::wstring_view> args);
// A drive message: the two "%s" become the path's drive letter and the
// drive type name.
std::wstring FormatDriveMessage(std::wstring_view translated, std::wstring_view englishDefault, std::wstring_view path,
                                std::wstring_view driveType);

// "File(Folder) does not exist." followed directly by `path` (which may be
// empty where a rule names no path).
std::wstring MissingFileMessage(std::wstring_view path);
// "File(Folder) does not exist, but drive "C" is Removable Disk, ...".
std::wstring MissingFileOnDriveMessage(std::wstring_view path, std::wstring_view driveType);
// "Help File(Folder) does not exist." followed directly by `path`.
std::wstring MissingHelpFileMessage(std::wstring_view path);
// "Empty Key": the reason of every empty-key finding.
std::wstring EmptyKeyMessage();

}  // namespace kelvara
