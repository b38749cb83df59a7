// The name of a backup file without folder and extension: the computer
// name, one blank and the local date and time ("PC-1 2019-5-3 14-7-9-45"),
// or the date and time alone when the computer has no name usable in a
// file name. Per-fix and full backups are named alike.
#pragma once

#include <string>

#include "sysutil/TextFormat.h"

namespace kelvara {

// `computerName` empty gives the stamp alone.
std::wstring MakeBackupName(const std::wstring& computerName, const TDateTimeParts& time);
// The name for a backup made now, from the registry's computer name.
std::wstring NewBackupName();
// The local date and time now, to the millisecond.
TDateTimeParts LocalTimeNow();

}  // namespace kelvara
