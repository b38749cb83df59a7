// Errorlog.txt in the program's data folder: one five-line record per
// entry the cleaner could not remove, appended as it happens. The log is
// UTF-8 text with CR LF line ends; a new log starts with a byte-order mark
// so that Notepad shows non-ASCII key names correctly.
#pragma once

#include <string>

#include "platform/HostFilesApi.h"
#include "sysutil/TextFormat.h"

namespace kelvara {

inline constexpr wchar_t kErrorLogName[] = L"Errorlog.txt";
inline constexpr wchar_t kRemoveKeyFailed[] = L"Remove Key failed.";
inline constexpr wchar_t kRemoveValueFailed[] = L"Remove value failed.";

// The record's text: "Time: <h:nn:ss> Problems:", 71 "=", "Key: <location>",
// "Reason: <reason>", 71 "-", each line ended by CR LF.
std::wstring ErrorLogRecord(const TDateTimeParts& time, const std::wstring& location, const std::wstring& reason);

// Appends one record, stamped with the local time now, to `logFile`.
bool AppendErrorLog(const std::wstring& logFile, const std::wstring& location, const std::wstring& reason,
                    platform::HostFileError& error);

}  // namespace kelvara
