#include "config/DataFolders.h"

#include "platform/Platform.h"

namespace kelvara {
namespace {

bool EndsWithSeparator(const std::wstring& path, wchar_t separator) {
  if (path.empty()) return false;
  const wchar_t last = path.back();
  return last == separator || (separator == L'\\' && last == L'/');
}

TDataFolder ProgramFolderData(const std::wstring& programFolder, const wchar_t* configName) {
  const std::wstring folder = WithTrailingSeparator(programFolder);
  return {folder, folder + configName, false};
}

}  // namespace

std::wstring WithTrailingSeparator(const std::wstring& folder) {
  const wchar_t separator = platform::HostFiles().Separator();
  return EndsWithSeparator(folder, separator) ? folder : folder + separator;
}

std::wstring ProgramFolder() {
  const std::wstring program = platform::HostFiles().ProgramFile();
  const wchar_t separator = platform::HostFiles().Separator();
  std::size_t cut = program.rfind(separator);
  if (separator == L'\\') {
    const std::size_t slash = program.rfind(L'/');
    if (slash != std::wstring::npos && (cut == std::wstring::npos || slash > cut)) cut = slash;
  }
  return cut == std::wstring::npos ? std::wstring() : program.substr(0, cut + 1);
}

TDataFolder ChooseAutoModeDataFolder(const std::wstring& programFolder, const std::wstring& appDataFolder) {
  // Without an application-data folder "Kelvara" would be a relative path
  // that depends on the working folder; the program folder serves instead.
  if (appDataFolder.empty()) return ProgramFolderData(programFolder, L"Config.ini");
  auto& files = platform::HostFiles();
  const std::wstring folder = WithTrailingSeparator(WithTrailingSeparator(appDataFolder) + L"Kelvara");
  if (!files.FolderExists(folder)) {
    platform::HostFileError ignored;
    files.CreateFolders(folder, ignored);
  }
  if (!files.FolderExists(folder)) return ProgramFolderData(programFolder, L"Config.ini");
  return {folder, folder + L"Config.ini", false};
}

TDataFolder ChooseDataFolder(const std::wstring& programFolder, const std::wstring& appDataFolder) {
  TDataFolder portable = ProgramFolderData(programFolder, L"config.ini");
  if (platform::HostFiles().FileExists(portable.ConfigFile)) {
    portable.Portable = true;
    return portable;
  }
  return ChooseAutoModeDataFolder(programFolder, appDataFolder);
}

std::wstring DefaultBackupDir(const std::wstring& dataPath) {
  return WithTrailingSeparator(WithTrailingSeparator(dataPath) + L"Backup");
}

}  // namespace kelvara
