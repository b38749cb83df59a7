#include "config/ConfigFile.h"

#include "config/ConfigObject.h"
#include "config/DataFolders.h"
#include "config/ExclusionFile.h"
#include "config/ProgramRegistryValues.h"
#include "platform/Text.h"

namespace kelvara {
namespace {

constexpr wchar_t kGeneral[] = L"General";
constexpr wchar_t kUsers[] = L"Users";
constexpr wchar_t kUserList[] = L"UserList";
constexpr wchar_t kInterface[] = L"Interface";

// An enumeration stored as its ordinal; a number outside the range reads
// as the default.
template <typename Enum>
Enum ReadOrdinal(const TMemIniFile& ini, const wchar_t* key, Enum defaultValue, Enum last) {
  const int value = ini.ReadInteger(kGeneral, key, static_cast<int>(defaultValue));
  return value >= 0 && value <= static_cast<int>(last) ? static_cast<Enum>(value) : defaultValue;
}

void ReadGeneral(const TMemIniFile& ini, TConfig& config) {
  config.CheckNewMode = ReadOrdinal(ini, L"CheckNewVer", ckWEEK, ckNEVER);
  const TDateTime startDate = ini.ReadFloatDate(kGeneral, L"StartDate", Now());
  config.LastCheckTime = ini.ReadDateText(kGeneral, L"LastCheck", startDate);
  config.ScanLevel = ReadOrdinal(ini, L"ScanLevel", slNormal, slDeep);
  config.Lang = ini.ReadString(kGeneral, L"defaultlanguage", L"");
  config.ClearCreateRestore = ini.ReadBool(kGeneral, L"CreateRestore", true);
  const std::wstring backupPath = ini.ReadString(kGeneral, L"BackupPath", L"");
  config.BackupDir = backupPath.empty() ? DefaultBackupDir(config.DataPath) : WithTrailingSeparator(backupPath);
  config.ClearBackup = ReadOrdinal(ini, L"ClearBackup", dbMonthly, dbNever);
  config.Skin = ini.ReadString(kGeneral, L"Style", L"Magic");
  config.ClearMode = ReadOrdinal(ini, L"CleanMode", cmSafe, cmSafe);
  config.NeedBackup = ini.ReadBool(kGeneral, L"BackupHint", true);
  config.ShowCleanHint = ini.ReadBool(kGeneral, L"CleanHint", true);
  config.SkipUac = ini.ReadBool(kGeneral, L"SkipUAC", true);
  config.UseMode = ini.ReadInteger(kGeneral, L"UseMode", 0);
  config.showfeature = ini.ReadInteger(kGeneral, L"ShowFeature", 0);
  config.Msgids = ini.ReadString(kGeneral, L"MsgIDs", L"");
  config.Setupver = ini.ReadString(kGeneral, L"SetupVer", L"");
}

void ReadUsers(const TMemIniFile& ini, TConfig& config, bool isAdmin) {
  config.AllUsers = ini.ReadBool(kUsers, L"AllUsers", false);
  config.UsersList.clear();
  if (!config.AllUsers) config.UsersList = ini.ReadSection(kUserList);
  // Other users' registries are closed to a user without administrator
  // rights, whatever the file says.
  if (!isAdmin) {
    config.UsersList.clear();
    config.AllUsers = false;
  }
}

void ReadWindowState(const TMemIniFile& ini, TWindowState& window) {
  window.SkinColorIndex = ini.ReadInteger(kInterface, L"SkinColorIndex", 0);
  switch (window.SkinColorIndex) {
    case 0:
      window.SkinColor = kSkinColorDefault;
      break;
    case 1:
      window.SkinColor = kSkinColorBlue;
      break;
    case 2:
      window.SkinColor = kSkinColorGreen;
      break;
    default:
      window.SkinColor = ini.ReadColor(kInterface, L"SkinColor_9", kSkinColorDefault);
      break;
  }

  window.Maximized = ini.ReadBool(kInterface, L"Maximize", false);
  window.HasPosition = false;
  if (window.Maximized) return;
  const int top = ini.ReadInteger(kInterface, L"Top", -1);
  if (top == -1) return;
  window.HasPosition = true;
  window.Top = top;
  window.Left = ini.ReadInteger(kInterface, L"Left", window.Left);
  window.Width = ini.ReadInteger(kInterface, L"Width", window.Width);
  window.Height = ini.ReadInteger(kInterface, L"Height", window.Height);
  if (window.Width < kMinWindowWidth) window.Width = kMinWindowWidth;
  if (window.Height < kMinWindowHeight) window.Height = kMinWindowHeight;
}

}  // namespace

void ReadConfigFile(TConfig& config, TWindowState& window, bool isAdmin) {
  config.isJP = ReadRegionalFlag();
  const TMemIniFile& ini = ConfigObject(config.ConfigFile);
  ReadGeneral(ini, config);
  config.SetupGUID = ReadInstallationId();
  ReadUsers(ini, config, isAdmin);
  ReadWindowState(ini, window);
  ReadExclusionFile(config);
}

platform::HostFileError WriteConfigFile(const TConfig& config, const TWindowState& window) {
  TMemIniFile& ini = ConfigObject(config.ConfigFile);

  // The default backup folder is stored as an empty BackupPath, so that it
  // follows the data folder (a later portable start keeps its backups
  // beside the program).
  const bool defaultBackup = SameText(config.BackupDir, DefaultBackupDir(config.DataPath));
  ini.WriteString(kGeneral, L"BackupPath", defaultBackup ? L"" : config.BackupDir);
  ini.WriteInteger(kGeneral, L"CheckNewVer", config.CheckNewMode);
  ini.WriteInteger(kGeneral, L"ScanLevel", config.ScanLevel);
  ini.WriteInteger(kGeneral, L"CleanMode", config.ClearMode);
  ini.WriteString(kGeneral, L"defaultlanguage", config.Lang);
  ini.WriteBool(kGeneral, L"BackupHint", config.NeedBackup);
  ini.WriteInteger(kGeneral, L"ClearBackup", config.ClearBackup);
  ini.WriteFloatDate(kGeneral, L"StartDate", Now());
  ini.WriteDateText(kGeneral, L"LastCheck", config.LastCheckTime);
  ini.WriteString(kGeneral, L"Style", config.Skin);
  ini.WriteBool(kGeneral, L"CleanHint", config.ShowCleanHint);
  ini.WriteBool(kGeneral, L"CreateRestore", config.ClearCreateRestore);
  ini.WriteString(kGeneral, L"SetupGuid", config.SetupGUID);
  ini.WriteString(kGeneral, L"SetupVer", config.Setupver);
  ini.WriteBool(kGeneral, L"SkipUAC", config.SkipUac);
  ini.WriteInteger(kGeneral, L"UseMode", config.UseMode);
  ini.WriteInteger(kGeneral, L"ShowFeature", config.showfeature);
  ini.WriteString(kGeneral, L"MsgIDs", config.Msgids);

  ini.WriteBool(kUsers, L"AllUsers", config.AllUsers);
  ini.EraseSection(kUserList);
  if (!config.AllUsers) {
    for (const std::wstring& user : config.UsersList) ini.WriteInteger(kUserList, user, 1);
  }

  ini.WriteColor(kInterface, L"SkinColor_9", window.SkinColor);
  ini.WriteInteger(kInterface, L"SkinColorIndex", window.SkinColorIndex);
  ini.WriteBool(kInterface, L"Maximize", window.Maximized);
  if (!window.Maximized) {
    ini.WriteInteger(kInterface, L"Top", window.Top);
    ini.WriteInteger(kInterface, L"Left", window.Left);
    ini.WriteInteger(kInterface, L"Width", window.Width);
    ini.WriteInteger(kInterface, L"Height", window.Height);
  }

  platform::HostFileError configError;
  SaveConfigObject(configError);
  platform::HostFileError exclusionError;
  WriteExclusionFile(config, exclusionError);
  return configError.failed ? configError : exclusionError;
}

}  // namespace kelvara
