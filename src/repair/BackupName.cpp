#include "repair/BackupName.h"

#include <chrono>

#include "config/DateTime.h"
#include "registry/RegPaths.h"

namespace kelvara {

std::wstring MakeBackupName(const std::wstring& computerName, const TDateTimeParts& time) {
  const std::wstring stamp = FormatDateTimeStamp(L"-", L"-", time);
  return computerName.empty() ? stamp : computerName + L" " + stamp;
}

TDateTimeParts LocalTimeNow() {
  const auto since1970 = std::chrono::system_clock::now().time_since_epoch();
  const auto millisecond = std::chrono::duration_cast<std::chrono::milliseconds>(since1970).count() % 1000;
  const TDateParts local = DecodeDateTime(Now());
  TDateTimeParts parts;
  parts.Year = local.year;
  parts.Month = local.month;
  parts.Day = local.day;
  parts.Hour = local.hour;
  parts.Minute = local.minute;
  parts.Second = local.second;
  parts.Millisecond = static_cast<int>(millisecond);
  return parts;
}

std::wstring NewBackupName() { return MakeBackupName(GetRegComputerName(), LocalTimeNow()); }

}  // namespace kelvara
