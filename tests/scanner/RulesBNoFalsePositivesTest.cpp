// A healthy machine: every file, folder and program the system lists name
// exists, written in the forms real registries hold (quoted command lines
// with switches, icon indexes, environment variables, native prefixes,
// service hosts, bare font names, firewall rule texts, cache entry
// suffixes). A scan of the system-list and history categories must find
// nothing there. The recently-used lists and typed addresses hold no
// entries: each of their entries is history and reported by design.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RulesBFindings.h"
#include "support/ScanFixture.h"

namespace kelvara {
namespace {

constexpr wchar_t kHealthyMachine[] =
    LR"reg(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDlls]
"C:\\Windows\\system32\\msvcr71.dll"=dword:00000001
"C:\\Program Files\\Common Files\\Vendor\\shared.dll"=dword:00000002

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\SharedDlls]
"C:\\Program Files (x86)\\Vendor\\legacy.dll"=dword:00000004

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\App]
"DisplayName"="App"
"DisplayIcon"="C:\\Program Files\\App\\app.exe,0"
"UninstallString"="\"C:\\Program Files\\App\\unins000.exe\" /SILENT"
"QuietUninstallString"="\"C:\\Program Files\\App\\unins000.exe\" /VERYSILENT"
"InstallLocation"="C:\\Program Files\\App\\"
"Publisher"="Vendor"
"URLInfoAbout"="https://example.com/"
"EstimatedSize"=dword:00001000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\{12345678-1234-1234-1234-123456789012}]
"DisplayName"="Installer package"
"UninstallString"="MsiExec.exe /X{12345678-1234-1234-1234-123456789012}"
"ModifyPath"="MsiExec.exe /I{12345678-1234-1234-1234-123456789012}"
"InstallSource"="C:\\ProgramData\\Package Cache\\{12345678-1234-1234-1234-123456789012}\\"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Helper]
"UninstallString"="C:\\Windows\\System32\\rundll32.exe C:\\Program Files\\App\\setup.dll,Uninstall"

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Legacy]
"DisplayIcon"="C:\\Program Files (x86)\\Legacy\\legacy.exe"
"UninstallString"="C:\\Program Files (x86)\\Legacy\\uninst.exe /S"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\UserTool]
"UninstallString"="\"C:\\Users\\User\\AppData\\Local\\UserTool\\Update.exe\" --uninstall"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"Common Programs"="C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"Programs"="C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Accessories]
"Order"=hex:08,00,00,00

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Accessories\System Tools]

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Vendor]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
@=""
"SecurityHealth"="C:\\Windows\\system32\\SecurityHealthSystray.exe"
"AppTray"="\"C:\\Program Files\\App\\tray.exe\" /background"
"Agent"="%ProgramFiles%\\App\\agent.exe -min"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnceEx\0001]
"1"="C:\\Gone\\never-read.exe"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"OneDrive"="\"C:\\Users\\User\\AppData\\Local\\Microsoft\\OneDrive\\OneDrive.exe\" /background"
"Helper"="C:\\Windows\\System32\\rundll32.exe C:\\Program Files\\App\\setup.dll,Start"

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Run]
"Legacy"="\"C:\\Program Files (x86)\\Legacy\\legacy.exe\" -tray"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\AppService]
"ImagePath"="\"C:\\Program Files\\App\\svc.exe\" -service"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Dhcp]
"ImagePath"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,00,25,00,5c,00,73,00,79,\
  00,73,00,74,00,65,00,6d,00,33,00,32,00,5c,00,73,00,76,00,63,00,68,00,6f,00,73,00,74,00,2e,00,65,00,78,00,\
  65,00,20,00,2d,00,6b,00,20,00,4c,00,6f,00,63,00,61,00,6c,00,53,00,65,00,72,00,76,00,69,00,63,00,65,00,00,00

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Spooler]
"ImagePath"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,00,25,00,5c,00,53,00,79,\
  00,73,00,74,00,65,00,6d,00,33,00,32,00,5c,00,73,00,70,00,6f,00,6f,00,6c,00,73,00,76,00,2e,00,65,00,78,00,\
  65,00,00,00

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\disk]
"ImagePath"="system32\\drivers\\disk.sys"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Beep]
"ImagePath"="\\SystemRoot\\System32\\drivers\\beep.sys"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\VendorDriver]
"ImagePath"="\\??\\C:\\Windows\\system32\\drivers\\vendor.sys"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Tcpip]
"Start"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\chrome.exe]
"MitigationOptions"=hex:00,00,00,00,00,00,00,00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\Your Image File Name Here without a path]
"Debugger"="ntsd -d"

[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\legacy.exe]
"GlobalFlag"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Fonts]
"Arial (TrueType)"="arial.ttf"
"Segoe UI (TrueType)"="segoeui.ttf"
"Custom (TrueType)"="C:\\Users\\User\\AppData\\Local\\Microsoft\\Windows\\Fonts\\custom.ttf"

[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Microsoft\Windows NT\CurrentVersion\Fonts]
"Arial (TrueType)"="arial.ttf"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\SharedAccess\Parameters\FirewallPolicy\StandardProfile\AuthorizedApplications\List]
"C:\\Program Files\\App\\app.exe"="C:\\Program Files\\App\\app.exe:*:Enabled:App"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\SharedAccess\Parameters\FirewallPolicy\FirewallRules]
"{1}"="v2.10|Action=Allow|Active=TRUE|Dir=In|Protocol=6|App=%SystemRoot%\\system32\\svchost.exe|Svc=Dnscache|Name=DNS|"
"{2}"="v2.10|Action=Allow|Active=TRUE|Dir=In|Protocol=6|LPort=445|App=System|Name=SMB|"
"{3}"="v2.10|Action=Allow|Active=TRUE|Dir=In|App=C:\\Program Files\\App\\app.exe|Name=App|"
"{4}"="v2.10|Action=Allow|Active=TRUE|Dir=Out|Name=Any program|"
"{5}"="v2.10|Action=Allow|Dir=In|App=%ProgramFiles%\\App\\app.exe|Name=App|"

[HKEY_USERS\.DEFAULT\AppEvents\Schemes\Apps\.Default\SystemAsterisk\.Current]
@="%SystemRoot%\\media\\Windows Background.wav"

[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\SystemAsterisk\.Current]
@="C:\\Windows\\media\\Windows Background.wav"

[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\SystemAsterisk\.Default]
@="%SystemRoot%\\media\\Windows Background.wav"

[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\SystemHand\.Current]
@=""

[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\Explorer\Navigating\.Current]
@="Windows Navigation Start.wav"

[HKEY_CURRENT_USER\AppEvents\EventLabels\SystemAsterisk]
@="Asterisk"

[HKEY_CURRENT_USER\Console\Empty]

[HKEY_CURRENT_USER\Software\Vendor\AppEvents\Empty]

[HKEY_CURRENT_USER\Printers\Connections]

[HKEY_USERS\.DEFAULT\AppEvents\Schemes\Apps\Empty]

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\UserAssist\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\Count]
"HRZR_PGYFRFFVBA"=hex:00,00,00,00

[HKEY_CURRENT_USER\Software\Microsoft\Windows\ShellNoRoam\MUICache]
"LangID"=hex:09,04

[HKEY_CURRENT_USER\Software\Classes\Local Settings\Software\Microsoft\Windows\Shell\MuiCache]
"LangID"=hex:09,04
"C:\\Program Files\\App\\app.exe.FriendlyAppName"="App"
"C:\\Program Files\\App\\app.exe.ApplicationCompany"="Vendor"
"C:\\Windows\\system32\\notepad.exe"="Notepad"
"@%SystemRoot%\\system32\\shell32.dll,-21787"="Documents"
"@C:\\Windows\\system32\\mmres.dll,-5840"="Beep"
)reg";

// Host folders are created as spelt here, so each folder is spelt one way;
// the registry data above names them in other letter cases too.
constexpr const wchar_t* kExistingFiles[] = {
    L"C:\\Windows\\System32\\msvcr71.dll",
    L"C:\\Program Files\\Common Files\\Vendor\\shared.dll",
    L"C:\\Program Files (x86)\\Vendor\\legacy.dll",
    L"C:\\Program Files\\App\\app.exe",
    L"C:\\Program Files\\App\\unins000.exe",
    L"C:\\Program Files\\App\\setup.dll",
    L"C:\\Program Files\\App\\tray.exe",
    L"C:\\Program Files\\App\\agent.exe",
    L"C:\\Program Files\\App\\svc.exe",
    L"C:\\Program Files (x86)\\Legacy\\legacy.exe",
    L"C:\\Program Files (x86)\\Legacy\\uninst.exe",
    L"C:\\Users\\User\\AppData\\Local\\UserTool\\Update.exe",
    L"C:\\Users\\User\\AppData\\Local\\Microsoft\\OneDrive\\OneDrive.exe",
    L"C:\\Windows\\System32\\rundll32.exe",
    L"C:\\Windows\\System32\\SecurityHealthSystray.exe",
    L"C:\\Windows\\System32\\spoolsv.exe",
    L"C:\\Windows\\System32\\svchost.exe",
    L"C:\\Windows\\System32\\drivers\\vendor.sys",
    L"C:\\Windows\\System32\\notepad.exe",
    L"C:\\Windows\\Fonts\\arial.ttf",
    L"C:\\Windows\\Fonts\\segoeui.ttf",
    L"C:\\Users\\User\\AppData\\Local\\Microsoft\\Windows\\Fonts\\custom.ttf",
    L"C:\\Windows\\media\\Windows Background.wav",
};

constexpr const wchar_t* kExistingFolders[] = {
    L"C:\\ProgramData\\Package Cache\\{12345678-1234-1234-1234-123456789012}",
    L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Accessories\\System Tools",
    L"C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Vendor",
};

TEST(RulesBNoFalsePositives, AHealthyMachineHasNoFindings) {
  test::ScanFixture fixture;
  fixture.LoadReg(kHealthyMachine);
  for (const wchar_t* file : kExistingFiles) fixture.AddFile(file);
  for (const wchar_t* folder : kExistingFolders) fixture.AddFolder(folder);
  const std::vector<TScanType> categories = {_FWALL, _Fonts, _DLL,  _MRU,   _Uninstall, _StartMenu, _Startup,
                                             _Sound, _IEUrl, _IFEO, _EMPTY, _Services,  _MUICache};
  for (const TScanLevel level : {slNormal, slSafe}) {
    EXPECT_EQ(rulesb::DescribeFindings(test::RunScan(categories, level)), std::vector<std::wstring>{})
        << "scan level " << level;
  }
}

}  // namespace
}  // namespace kelvara
