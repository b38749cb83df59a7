#include "platform/snapshot/SnapshotSystem.h"

#include <utility>

namespace kelvara::platform {
namespace {

std::map<int, std::wstring> DefaultFolders(const SystemSettings& s) {
  const std::wstring windows = s.windowsFolder;
  const std::wstring drive = windows.size() >= 2 ? windows.substr(0, 2) : L"C:";
  const std::wstring profile = drive + L"\\Users\\" + s.userName;
  const std::wstring roaming = profile + L"\\AppData\\Roaming";
  const std::wstring local = profile + L"\\AppData\\Local";
  const std::wstring startMenu = roaming + L"\\Microsoft\\Windows\\Start Menu";
  const std::wstring programData = drive + L"\\ProgramData";
  const std::wstring commonStartMenu = programData + L"\\Microsoft\\Windows\\Start Menu";
  const std::wstring publicFolder = drive + L"\\Users\\Public";
  const std::wstring programFiles = drive + L"\\Program Files";
  const std::wstring programFilesX86 = s.is64BitWindows ? drive + L"\\Program Files (x86)" : programFiles;
  return {
      {0, profile + L"\\Desktop"},
      {2, startMenu + L"\\Programs"},
      {5, profile + L"\\Documents"},
      {6, profile + L"\\Favorites"},
      {7, startMenu + L"\\Programs\\Startup"},
      {8, roaming + L"\\Microsoft\\Windows\\Recent"},
      {9, roaming + L"\\Microsoft\\Windows\\SendTo"},
      {11, startMenu},
      {13, profile + L"\\Music"},
      {14, profile + L"\\Videos"},
      {16, profile + L"\\Desktop"},
      {19, roaming + L"\\Microsoft\\Windows\\Network Shortcuts"},
      {20, windows + L"\\Fonts"},
      {21, roaming + L"\\Microsoft\\Windows\\Templates"},
      {22, commonStartMenu},
      {23, commonStartMenu + L"\\Programs"},
      {24, commonStartMenu + L"\\Programs\\Startup"},
      {25, publicFolder + L"\\Desktop"},
      {26, roaming},
      {27, roaming + L"\\Microsoft\\Windows\\Printer Shortcuts"},
      {28, local},
      {31, profile + L"\\Favorites"},
      {32, local + L"\\Microsoft\\Windows\\INetCache"},
      {33, local + L"\\Microsoft\\Windows\\INetCookies"},
      {34, local + L"\\Microsoft\\Windows\\History"},
      {35, programData},
      {36, windows},
      {37, windows + L"\\system32"},
      {38, programFiles},
      {39, profile + L"\\Pictures"},
      {40, profile},
      {41, s.is64BitWindows ? windows + L"\\SysWOW64" : windows + L"\\system32"},
      {42, programFilesX86},
      {43, programFiles + L"\\Common Files"},
      {44, programFilesX86 + L"\\Common Files"},
      {45, programData + L"\\Microsoft\\Windows\\Templates"},
      {46, publicFolder + L"\\Documents"},
      {47, commonStartMenu + L"\\Programs\\Administrative Tools"},
      {48, startMenu + L"\\Programs\\Administrative Tools"},
      {53, publicFolder + L"\\Music"},
      {54, publicFolder + L"\\Pictures"},
      {55, publicFolder + L"\\Videos"},
      {56, windows + L"\\resources"},
      {59, local + L"\\Microsoft\\Windows\\Burn\\Burn"},
  };
}

// The variables follow the folders (after the settings' overrides).
std::map<std::wstring, std::wstring, TextLess> DefaultEnvironment(const SystemSettings& s,
                                                                  const std::map<int, std::wstring>& folderMap) {
  auto folder = [&folderMap](int csidl) {
    auto it = folderMap.find(csidl);
    return it != folderMap.end() ? it->second : std::wstring();
  };
  const std::wstring windows = s.windowsFolder;
  const std::wstring drive = windows.size() >= 2 ? windows.substr(0, 2) : L"C:";
  const std::wstring profile = folder(40);
  std::map<std::wstring, std::wstring, TextLess> env{
      {L"ALLUSERSPROFILE", folder(35)},
      {L"APPDATA", folder(26)},
      {L"CommonProgramFiles", folder(43)},
      {L"ComSpec", windows + L"\\system32\\cmd.exe"},
      {L"HOMEDRIVE", drive},
      {L"HOMEPATH", StartsWithText(profile, drive) ? profile.substr(drive.size()) : profile},
      {L"LOCALAPPDATA", folder(28)},
      {L"OS", L"Windows_NT"},
      {L"ProgramData", folder(35)},
      {L"ProgramFiles", folder(38)},
      {L"PUBLIC", drive + L"\\Users\\Public"},
      {L"SystemDrive", drive},
      {L"SystemRoot", windows},
      {L"TEMP", folder(28) + L"\\Temp"},
      {L"TMP", folder(28) + L"\\Temp"},
      {L"USERNAME", s.userName},
      {L"USERPROFILE", profile},
      {L"windir", windows},
  };
  if (s.is64BitWindows) {
    env[L"CommonProgramFiles(x86)"] = folder(44);
    env[L"CommonProgramW6432"] = folder(43);
    env[L"ProgramFiles(x86)"] = folder(42);
    env[L"ProgramW6432"] = folder(38);
  }
  return env;
}

// UTF-16 code units of a text, the unit buffer sizes are counted in.
std::size_t Utf16Length(const std::wstring& text) { return ToUtf16(text).size(); }

}  // namespace

SnapshotSystem::SnapshotSystem(SystemSettings settings) : settings_(std::move(settings)) {
  folders_ = DefaultFolders(settings_);
  for (const auto& [csidl, path] : settings_.specialFolders) {
    if (path.empty()) {
      folders_.erase(csidl);
    } else {
      folders_[csidl] = path;
    }
  }
  environment_ = DefaultEnvironment(settings_, folders_);
  for (const auto& [name, value] : settings_.environment) environment_[name] = value;
  accounts_ = {{L"S-1-5-18", L"SYSTEM"},
               {L"S-1-5-19", L"LOCAL SERVICE"},
               {L"S-1-5-20", L"NETWORK SERVICE"},
               {L"S-1-5-32-544", L"Administrators"},
               {L"S-1-5-32-545", L"Users"}};
  if (!settings_.userSid.empty()) accounts_[settings_.userSid] = settings_.userName;
  for (const auto& [sid, name] : settings_.accounts) accounts_[sid] = name;
}

std::optional<OsVersion> SnapshotSystem::NativeVersion() {
  if (!settings_.nativeVersionAvailable) return std::nullopt;
  return settings_.version;
}

OsVersion SnapshotSystem::OrdinaryVersion() { return settings_.version; }

bool SnapshotSystem::IsWindows10OrGreater() { return settings_.version.major >= 10; }

bool SnapshotSystem::Is64BitWindows() { return settings_.is64BitWindows; }

std::wstring SnapshotSystem::SpecialFolder(int csidl) {
  auto it = folders_.find(csidl);
  return it != folders_.end() ? it->second : std::wstring();
}

std::wstring SnapshotSystem::WindowsFolder() { return settings_.windowsFolder; }

std::optional<std::wstring> SnapshotSystem::GetEnv(const std::wstring& name) {
  auto it = environment_.find(name);
  if (it == environment_.end()) return std::nullopt;
  return it->second;
}

// ExpandEnvironmentStrings: "%NAME%" of a known variable becomes its value
// (names compared without regard to case); an unknown "%NAME%" stays as it
// is and the scan goes on after its closing "%"; a "%" without a closing
// one stays with the rest of the text.
std::optional<std::wstring> SnapshotSystem::ExpandEnvironment(const std::wstring& text, std::size_t bufferChars) {
  std::wstring out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t open = text.find(L'%', i);
    const std::size_t close = open == std::wstring::npos ? open : text.find(L'%', open + 1);
    if (close == std::wstring::npos) {
      out.append(text, i, std::wstring::npos);
      break;
    }
    out.append(text, i, open - i);
    auto it = environment_.find(text.substr(open + 1, close - open - 1));
    if (it != environment_.end()) {
      out += it->second;
    } else {
      out.append(text, open, close - open + 1);
    }
    i = close + 1;
  }
  if (Utf16Length(out) + 1 > bufferChars) return std::nullopt;
  return out;
}

std::wstring SnapshotSystem::UserName() { return settings_.userName; }

std::optional<std::wstring> SnapshotSystem::AccountNameOfSid(const std::wstring& stringSid) {
  auto it = accounts_.find(stringSid);
  if (it == accounts_.end()) return std::nullopt;
  return it->second;
}

std::uint64_t SnapshotSystem::TotalMemory() { return settings_.totalMemory; }

wchar_t SnapshotSystem::DecimalSeparator() { return settings_.decimalSeparator; }

wchar_t SnapshotSystem::ThousandSeparator() { return settings_.thousandSeparator; }

bool SnapshotSystem::IsDoubleByteLocale() { return settings_.doubleByteLocale; }

std::uint16_t SnapshotSystem::UserUiLanguage() { return settings_.uiLanguage; }

}  // namespace kelvara::platform
