// What the scanner learns about the machine from its registry: the Windows
// version, the user profiles, the program and system folders, the selected
// control set and the environment, and each profile's shell folders; and
// the system files every Windows machine has. A Wine prefix has all of
// these already, so only the user's folders are made for it.
#include <array>

#include "synthetic/MachineParts.h"
#include "synthetic/Names.h"
#include "synthetic/SettingsTree.h"

namespace kelvara::bench {
namespace {

constexpr wchar_t kNtCurrentVersion[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr wchar_t kCurrentVersion[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr std::array<const wchar_t*, 6> kSystemPrograms = {L"explorer.exe",
                                                           L"System32\\rundll32.exe",
                                                           L"System32\\svchost.exe",
                                                           L"System32\\cmd.exe",
                                                           L"System32\\SecurityHealthSystray.exe",
                                                           L"notepad.exe"};

void Version(MachineContext& ctx, SplitMix& rng) {
  RegExportWriter& reg = ctx.reg;
  reg.Key(ctx.layout.Machine(kNtCurrentVersion));
  reg.Dword(L"CurrentMajorVersionNumber", 10);
  reg.Dword(L"CurrentMinorVersionNumber", 0);
  reg.String(L"CurrentBuildNumber", L"22631");
  reg.String(L"CurrentBuild", L"22631");
  reg.String(L"CurrentVersion", L"6.3");
  reg.String(L"DisplayVersion", L"23H2");
  reg.String(L"EditionID", L"Professional");
  reg.String(L"ProductName", L"Windows 10 Pro");
  reg.String(L"InstallationType", L"Client");
  reg.String(L"RegisteredOwner", ctx.layout.user.name);
  reg.String(L"SystemRoot", ctx.layout.windows);
  reg.String(L"PathName", ctx.layout.windows);
  reg.Dword(L"InstallDate", static_cast<std::uint32_t>(1680000000 + rng.Below(20000000)));
  reg.Key(ctx.layout.Machine(kCurrentVersion));
  reg.String(L"ProgramFilesDir", ctx.layout.programFiles);
  reg.String(L"ProgramFilesDir (x86)", ctx.layout.programFilesX86);
  reg.String(L"ProgramW6432Dir", ctx.layout.programFiles);
  reg.String(L"CommonFilesDir", ctx.layout.programFiles + L"\\Common Files");
  reg.String(L"CommonFilesDir (x86)", ctx.layout.programFilesX86 + L"\\Common Files");
  reg.ExpandString(L"DevicePath", L"%SystemRoot%\\inf");
  reg.String(L"MediaPathUnexpanded", L"%SystemRoot%\\Media");
}

void Profiles(MachineContext& ctx) {
  RegExportWriter& reg = ctx.reg;
  const std::wstring list = ctx.layout.Machine(std::wstring(kNtCurrentVersion) + L"\\ProfileList");
  reg.Key(list);
  reg.ExpandString(L"Default", L"%SystemDrive%\\Users\\Default");
  reg.ExpandString(L"ProfilesDirectory", L"%SystemDrive%\\Users");
  reg.ExpandString(L"ProgramData", L"%SystemDrive%\\ProgramData");
  reg.ExpandString(L"Public", L"%SystemDrive%\\Users\\Public");
  const std::array<std::pair<const wchar_t*, const wchar_t*>, 3> services = {
      {{L"S-1-5-18", L"%systemroot%\\system32\\config\\systemprofile"},
       {L"S-1-5-19", L"%systemroot%\\ServiceProfiles\\LocalService"},
       {L"S-1-5-20", L"%systemroot%\\ServiceProfiles\\NetworkService"}}};
  for (const auto& [sid, path] : services) {
    reg.Key(list + L"\\" + sid);
    reg.ExpandString(L"ProfileImagePath", path);
    reg.Dword(L"Flags", 12);
    reg.Dword(L"State", 0);
  }
  for (const UserProfile* p : {&ctx.layout.user, ctx.layout.other ? &*ctx.layout.other : nullptr}) {
    if (p == nullptr) continue;
    reg.Key(list + L"\\" + p->sid);
    reg.String(L"ProfileImagePath", p->home);
    reg.Dword(L"Flags", 0);
    reg.Dword(L"State", 0);
    ctx.files.Present(p->home + L"\\NTUSER.DAT");
  }
}

void SystemKeys(MachineContext& ctx) {
  RegExportWriter& reg = ctx.reg;
  reg.Key(ctx.layout.Machine(L"SYSTEM\\Select"));
  reg.Dword(L"Current", 1);
  reg.Dword(L"Default", 1);
  reg.Dword(L"Failed", 0);
  reg.Dword(L"LastKnownGood", 1);
  reg.Key(ctx.layout.Machine(L"SYSTEM\\ControlSet001\\Control\\ComputerName\\ComputerName"));
  reg.String(L"ComputerName", L"BENCH-PC");
  reg.Key(ctx.layout.Machine(L"SYSTEM\\ControlSet001\\Control\\Session Manager\\Environment"));
  reg.ExpandString(L"ComSpec", L"%SystemRoot%\\system32\\cmd.exe");
  reg.String(L"OS", L"Windows_NT");
  reg.ExpandString(L"Path", L"%SystemRoot%\\system32;%SystemRoot%;%SystemRoot%\\System32\\Wbem");
  reg.String(L"PATHEXT", L".COM;.EXE;.BAT;.CMD;.VBS;.JS;.MSC");
  reg.String(L"PROCESSOR_ARCHITECTURE", L"AMD64");
  reg.String(L"NUMBER_OF_PROCESSORS", L"8");
  reg.ExpandString(L"TEMP", L"%SystemRoot%\\TEMP");
  reg.ExpandString(L"TMP", L"%SystemRoot%\\TEMP");
  reg.ExpandString(L"windir", L"%SystemRoot%");
  const std::wstring startMenu = ctx.layout.programData + L"\\Microsoft\\Windows\\Start Menu";
  reg.Key(ctx.layout.Machine(std::wstring(kCurrentVersion) + L"\\Explorer\\Shell Folders"));
  reg.String(L"Common Programs", startMenu + L"\\Programs");
  reg.String(L"Common Start Menu", startMenu);
  reg.String(L"Common Startup", startMenu + L"\\Programs\\Startup");
  reg.String(L"Common Documents", L"C:\\Users\\Public\\Documents");
}

void UserKeys(MachineContext& ctx, SplitMix& rng, const UserProfile& p) {
  RegExportWriter& reg = ctx.reg;
  reg.Key(p.hive + L"\\Environment");
  reg.ExpandString(L"TEMP", L"%USERPROFILE%\\AppData\\Local\\Temp");
  reg.ExpandString(L"TMP", L"%USERPROFILE%\\AppData\\Local\\Temp");
  const std::wstring roaming = p.home + L"\\AppData\\Roaming";
  const std::wstring startMenu = roaming + L"\\Microsoft\\Windows\\Start Menu";
  reg.Key(p.hive + L"\\" + kCurrentVersion + L"\\Explorer\\Shell Folders");
  reg.String(L"AppData", roaming);
  reg.String(L"Desktop", p.home + L"\\Desktop");
  reg.String(L"Local AppData", p.home + L"\\AppData\\Local");
  reg.String(L"Personal", p.documents);
  reg.String(L"Programs", startMenu + L"\\Programs");
  reg.String(L"Start Menu", startMenu);
  reg.Key(p.hive + L"\\Control Panel\\Desktop");
  reg.String(L"WallpaperStyle", L"10");
  reg.String(L"MenuShowDelay", L"400");
  reg.Binary(L"UserPreferencesMask", std::vector<std::uint8_t>{0x9e, 0x1e, 0x07, 0x80, 0x12, 0, 0, 0});
  reg.Key(p.hive + L"\\Keyboard Layout\\Preload");
  reg.String(L"1", L"00000409");
  WriteSettingsTree(reg, rng, p.hive + L"\\Console", 3, 2);
}

}  // namespace

void WriteIdentity(MachineContext& ctx, SplitMix rng) {
  for (const wchar_t* program : kSystemPrograms) ctx.files.Present(ctx.layout.windows + L"\\" + program);
  ctx.files.Folder(ctx.layout.user.documents);
  if (ctx.layout.wine) return;
  Version(ctx, rng);
  Profiles(ctx);
  SystemKeys(ctx);
  UserKeys(ctx, rng, ctx.layout.user);
  if (ctx.layout.other) UserKeys(ctx, rng, *ctx.layout.other);
  ctx.reg.Key(L"HKEY_USERS\\.DEFAULT\\Control Panel\\International");
  ctx.reg.String(L"LocaleName", L"en-US");
  ctx.reg.String(L"sShortDate", L"M/d/yyyy");
  for (const wchar_t* sid : {L"S-1-5-18", L"S-1-5-19", L"S-1-5-20"}) {
    ctx.reg.Key(std::wstring(L"HKEY_USERS\\") + sid + L"\\Control Panel\\International");
    ctx.reg.String(L"LocaleName", L"en-US");
  }
}

}  // namespace kelvara::bench
