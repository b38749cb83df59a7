#include "repair/ErrorLog.h"

#include <vector>

#include "platform/Encoding.h"
#include "platform/Platform.h"
#include "repair/BackupName.h"

namespace kelvara {
namespace {

std::wstring TwoDigits(int n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); }

}  // namespace

std::wstring ErrorLogRecord(const TDateTimeParts& time, const std::wstring& location, const std::wstring& reason) {
  const std::wstring clock = std::to_wstring(time.Hour) + L":" + TwoDigits(time.Minute) + L":" + TwoDigits(time.Second);
  std::wstring record = L"Time: " + clock + L" Problems:\r\n";
  record.append(71, L'=').append(L"\r\n");
  record += L"Key: " + location + L"\r\n";
  record += L"Reason: " + reason + L"\r\n";
  record.append(71, L'-').append(L"\r\n");
  return record;
}

bool AppendErrorLog(const std::wstring& logFile, const std::wstring& location, const std::wstring& reason,
                    platform::HostFileError& error) {
  platform::HostFilesApi& files = platform::HostFiles();
  const TextEncoding encoding = files.FileExists(logFile) ? TextEncoding::Utf8 : TextEncoding::Utf8Bom;
  return files.AppendFile(logFile, EncodeText(ErrorLogRecord(LocalTimeNow(), location, reason), encoding), error);
}

}  // namespace kelvara
