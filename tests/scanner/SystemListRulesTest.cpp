// The rules of the fixed system lists, each over a small registry and the
// files that exist on drive C: (drive E: is not present, so it counts as a
// removable disk without media).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "RulesBFindings.h"
#include "scanner/RegScanner.h"
#include "support/ScanFixture.h"

namespace kelvara {
namespace {

using rulesb::DescribeFindings;
using rulesb::ScanCategory;

constexpr wchar_t kMissing[] = L"File(Folder) does not exist.";
constexpr wchar_t kOnDriveE[] =
    L"File(Folder) does not exist, but drive \"E\" is Removable Disk, recommend you ignore this error.";

class SystemListRules : public ::testing::Test {
 protected:
  void Load(const std::wstring& body) { fixture.LoadReg(L"Windows Registry Editor Version 5.00\r\n\r\n" + body); }
  void Files(std::initializer_list<const wchar_t*> paths) {
    for (const wchar_t* path : paths) fixture.AddFile(path);
  }

  test::ScanFixture fixture;
};

TEST_F(SystemListRules, SharedDllsReportMissingFilesAndFilesNoProgramUses) {
  Load(
      LR"reg([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDlls]
"C:\\Gone\\gone.dll"=dword:00000002
"C:\\Lib\\unused.dll"=dword:00000000
"C:\\Lib\\used.dll"=dword:00000003
"C:\\Lib\\text.dll"="0"
"C:\\Gone\\text.dll"="1"

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\SharedDlls]
"C:\\Gone\\old32.dll"=dword:00000001
)reg");
  Files({L"C:\\Lib\\unused.dll", L"C:\\Lib\\used.dll", L"C:\\Lib\\text.dll"});
  // The findings name the key with a trailing backslash; a count that is
  // no number reads as -1 and is never taken for "not in use".
  const std::wstring key = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls\\\\";
  EXPECT_EQ(ScanCategory(_DLL),
            (std::vector<std::wstring>{
                key + L"C:\\Gone\\gone.dll | 2 | value safe | Shared File does not exist.",
                key + L"C:\\Lib\\unused.dll | 0 | value safe | Shared file not be use.",
                key + L"C:\\Gone\\text.dll | -1 | value safe | Shared File does not exist.",
                L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\SharedDlls\\\\"
                L"C:\\Gone\\old32.dll | 1 | value safe | Shared File does not exist.",
            }));
}

TEST_F(SystemListRules, UninstallEntries) {
  Load(
      LR"reg([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\GoneApp]
"DisplayName"="Gone App"
"UninstallString"="\"C:\\Program Files\\Gone\\unins000.exe\" /SILENT"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\IconGone]
"DisplayIcon"="C:\\Program Files\\IconApp\\icon.ico,0"
"UninstallString"="C:\\Program Files\\IconApp\\uninstall.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Hollow\Empty]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Portable]
"InstallLocation"="E:\\Portable\\Tool"
"UninstallString"="MsiExec.exe /X{12345678-1234-1234-1234-123456789012}"

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Old32]
"UninstallString"="C:\\Old32\\remove.exe"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\UserApp]
"UninstallString"="C:\\Users\\User\\AppData\\Local\\UserApp\\uninstall.exe"
)reg");
  Files({L"C:\\Program Files\\IconApp\\uninstall.exe"});
  const std::wstring machine = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  const std::wstring user =
      std::wstring(L"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") +
      L"UserApp\\UninstallString | C:\\Users\\User\\AppData\\Local\\UserApp\\uninstall.exe | "
      L"key safe | " +
      kMissing + L"C:\\Users\\User\\AppData\\Local\\UserApp\\uninstall.exe";
  // A missing uninstaller removes the whole entry, any other missing file
  // only its value; the file of a drive that is not present is not tested.
  // Entries come in the registry's (alphabetical) order.
  EXPECT_EQ(
      ScanCategory(_Uninstall),
      (std::vector<std::wstring>{
          machine + L"GoneApp\\UninstallString | \"C:\\Program Files\\Gone\\unins000.exe\" /SILENT | key safe | " +
              kMissing + L"C:\\Program Files\\Gone\\unins000.exe",
          machine + L"Hollow |  | key safe | Invalid uninstall information.",
          machine + L"IconGone\\DisplayIcon | C:\\Program Files\\IconApp\\icon.ico,0 | value safe | " + kMissing +
              L"C:\\Program Files\\IconApp\\icon.ico",
          machine + L"Portable\\InstallLocation | E:\\Portable\\Tool | value unsafe | " + kOnDriveE,
          L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Old32\\"
          L"UninstallString | C:\\Old32\\remove.exe | key safe | " +
              std::wstring(kMissing) + L"C:\\Old32\\remove.exe",
          user,
      }));
  // Without administrator rights only the user's own entries are read.
  EXPECT_EQ(ScanCategory(_Uninstall, slNormal, false), std::vector<std::wstring>{user});
}

TEST_F(SystemListRules, StartMenuOrderEntriesWithoutTheirFolder) {
  Load(
      LR"reg([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"Common Programs"="C:\\ProgramData\\Start Menu\\Programs"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"Programs"="C:\\Users\\User\\Start Menu\\Programs"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu\Programs\Retired]

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Tools]
"Order"="x"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Tools\Gone]

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Tools\Kept]

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Games]
)reg");
  // Without either programs folder nothing can be judged.
  EXPECT_EQ(ScanCategory(_StartMenu), std::vector<std::wstring>{});

  fixture.AddFolder(L"C:\\Users\\User\\Start Menu\\Programs\\Tools\\Kept");
  fixture.AddFolder(L"C:\\ProgramData\\Start Menu\\Programs\\Games");
  const std::wstring order = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\";
  EXPECT_EQ(ScanCategory(_StartMenu),
            (std::vector<std::wstring>{
                order + L"Start Menu\\Programs\\Retired |  | key safe | Obsolete Start Menu Item.",
                order + L"Start Menu2\\Programs\\Tools\\Gone |  | key safe | Obsolete Start Menu Item.",
            }));
}

TEST_F(SystemListRules, RunKeys) {
  Load(
      LR"reg([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
@="C:\\Gone\\default.exe"
"Tray"="\"C:\\Gone\\tray.exe\" /background"
"Blank"=""
"Present"="C:\\Tools\\present.exe -s"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\RunOnce]
"Once"="C:\\Gone\\once.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Policies\Explorer\Run]
"Policy"="C:\\Gone\\policy32.exe"
)reg");
  Files({L"C:\\Tools\\present.exe"});
  const std::wstring once =
      std::wstring(L"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\") +
      L"Once | C:\\Gone\\once.exe | value safe | " + kMissing + L"C:\\Gone\\once.exe";
  // The unnamed default value of a run key is never examined.
  EXPECT_EQ(
      ScanCategory(_Startup),
      (std::vector<std::wstring>{
          L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Tray | \"C:\\Gone\\tray.exe\" "
          L"/background | value safe | " +
              std::wstring(kMissing) + L"C:\\Gone\\tray.exe",
          L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Blank |  | value safe | Empty "
          L"value",
          once,
          L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run\\"
          L"Policy | C:\\Gone\\policy32.exe | value safe | " +
              std::wstring(kMissing) + L"C:\\Gone\\policy32.exe",
      }));
  EXPECT_EQ(ScanCategory(_Startup, slNormal, false), std::vector<std::wstring>{once});
}

TEST_F(SystemListRules, ServicesWhoseProgramIsGone) {
  Load(
      LR"reg([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\GoneSvc]
"ImagePath"="\"C:\\Program Files\\Gone\\svc.exe\" -service"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\SharedHost]
"ImagePath"="C:\\Windows\\System32\\SVCHOST.EXE -k LocalService"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Driver]
"ImagePath"="system32\\drivers\\gone.sys"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\NativeGone]
"ImagePath"="\\??\\C:\\Windows\\gone.sys"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Present]
"ImagePath"="C:\\Tools\\present.exe"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\NoImage]
"Start"=dword:00000003
)reg");
  Files({L"C:\\Tools\\present.exe"});
  const std::wstring services = L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\";
  // A service host is never judged, even when its file is missing.
  EXPECT_EQ(
      ScanCategory(_Services),
      (std::vector<std::wstring>{
          services + L"GoneSvc\\ImagePath | \"C:\\Program Files\\Gone\\svc.exe\" -service | key safe | Service "
                     L"program specified not exists.",
          services + L"NativeGone\\ImagePath | \\??\\C:\\Windows\\gone.sys | key safe | Service program specified "
                     L"not exists.",
      }));
}

TEST_F(SystemListRules, EveryImageDebuggerIsAHijack) {
  Load(
      LR"reg([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\taskmgr.exe]
"Debugger"="C:\\Tools\\procexp.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\calc.exe]
"GlobalFlag"=dword:00000000

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\blank.exe]
"debugger"=""

[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\old.exe]
"debugger"="C:\\Gone\\hook.exe"
)reg");
  Files({L"C:\\Tools\\procexp.exe"});
  const std::wstring trojan =
      L"This is typical behavior of the Trojan. We strongly recommend that you immediately remove the entry and use "
      L"anti-virus software to scan your computer.";
  EXPECT_EQ(
      ScanCategory(_IFEO),
      (std::vector<std::wstring>{
          L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution "
          L"Options\\taskmgr.exe\\Debugger | C:\\Tools\\procexp.exe | key safe | taskmgr.exe has been hijacked by "
          L"C:\\Tools\\procexp.exe." +
              trojan,
          L"HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows NT\\CurrentVersion\\Image File "
          L"Execution Options\\old.exe\\Debugger | C:\\Gone\\hook.exe | key safe | old.exe has been hijacked by "
          L"C:\\Gone\\hook.exe." +
              trojan,
      }));
}

TEST_F(SystemListRules, FontFilesInTheFontsFolderOrWhereTheyPoint) {
  Load(
      LR"reg([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Fonts]
"Arial (TrueType)"="arial.ttf"
"Gone (TrueType)"="gone.ttf"
"Mine (TrueType)"="C:\\MyFonts\\mine.ttf"
"Lost (TrueType)"="C:\\MyFonts\\lost.ttf"
)reg");
  // lost.ttf exists in the fonts folder, but its entry points elsewhere.
  Files({L"C:\\Windows\\Fonts\\arial.ttf", L"C:\\MyFonts\\mine.ttf", L"C:\\Windows\\Fonts\\lost.ttf"});
  const std::wstring fonts = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts\\";
  EXPECT_EQ(ScanCategory(_Fonts), (std::vector<std::wstring>{
                                      fonts + L"Gone (TrueType) | gone.ttf | value safe | Fonts File does not exist.",
                                      fonts + L"Lost (TrueType) | C:\\MyFonts\\lost.ttf | value safe | Fonts File does "
                                              L"not exist.",
                                  }));
}

TEST_F(SystemListRules, FirewallExceptionsForGonePrograms) {
  Load(
      LR"reg([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\SharedAccess\Parameters\FirewallPolicy\StandardProfile\AuthorizedApplications\List]
"C:\\Gone\\old.exe"="C:\\Gone\\old.exe:*:Enabled:Old"
"C:\\Tools\\present.exe"="C:\\Tools\\present.exe:*:Enabled:Present"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\SharedAccess\Parameters\FirewallPolicy\FirewallRules]
"{A}"="v2.10|Action=Allow|Active=TRUE|Dir=In|App=C:\\Gone\\X.exe|Name=X|"
"{B}"="v2.10|Action=Allow|Dir=In|App=System|Name=Sys|"
"{C}"="v2.10|Action=Allow|App=C:\\Tools\\present.exe|"
"{D}"="v2.10|Action=Allow|App=E:\\Portable\\p.exe|"
"{E}"="v2.10|Action=Allow|Dir=Out|Name=NoApp|"
)reg");
  Files({L"C:\\Tools\\present.exe"});
  const std::wstring policy =
      L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\SharedAccess\\Parameters\\FirewallPolicy\\";
  // The program of a rule text is taken lower-cased.
  EXPECT_EQ(
      ScanCategory(_FWALL),
      (std::vector<std::wstring>{
          policy +
              L"StandardProfile\\AuthorizedApplications\\List\\C:\\Gone\\old.exe | "
              L"C:\\Gone\\old.exe:*:Enabled:Old | value safe | " +
              kMissing + L" C:\\Gone\\old.exe",
          policy +
              L"FirewallRules\\{A} | v2.10|Action=Allow|Active=TRUE|Dir=In|App=C:\\Gone\\X.exe|Name=X| | "
              L"value safe | " +
              kMissing + L" c:\\gone\\x.exe",
          policy + L"FirewallRules\\{D} | v2.10|Action=Allow|App=E:\\Portable\\p.exe| | value unsafe | File(Folder) "
                   L"does not exist, but drive \"e\" is Removable Disk, recommend you ignore this error.",
      }));
}

TEST_F(SystemListRules, SoundEventsWhoseSoundIsGone) {
  Load(
      LR"reg([HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\SystemAsterisk\.Current]
@="C:\\Windows\\media\\gone.wav"

[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\SystemAsterisk\.Default]
@="%SystemRoot%\\media\\Windows Ding.wav"

[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\SystemHand\.Current]
@=""

[HKEY_USERS\.DEFAULT\AppEvents\Schemes\Apps\.Default\Notify\.Current]
@="C:\\Gone\\notify.wav"
)reg");
  Files({L"C:\\Windows\\media\\Windows Ding.wav"});
  const std::wstring user =
      L"HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\.Default\\SystemAsterisk\\.Current | C:\\Windows\\media\\gone.wav "
      L"| value safe | Sound File does not exist.";
  EXPECT_EQ(ScanCategory(_Sound), (std::vector<std::wstring>{
                                      L"HKEY_USERS\\.DEFAULT\\AppEvents\\Schemes\\Apps\\.Default\\Notify\\.Current | "
                                      L"C:\\Gone\\notify.wav | value safe | Sound File does not exist.",
                                      user,
                                  }));
  EXPECT_EQ(ScanCategory(_Sound, slNormal, false), std::vector<std::wstring>{user});
}

TEST_F(SystemListRules, EmptyKeysOnlyBelowAppEventsAndOnlyForTheCategory) {
  Load(
      LR"reg([HKEY_USERS\S-1-5-21-1-1-1-1001\AppEvents\Schemes\Apps\Stale\.Current]

[HKEY_USERS\S-1-5-21-1-1-1-1001\AppEvents\Schemes\Apps\Kept]
@="x"

[HKEY_USERS\S-1-5-21-1-1-1-1001\Console\Blank]

[HKEY_USERS\S-1-5-21-1-1-1-1001\Software\Vendor\AppEvents\Blank]

[HKEY_USERS\S-1-5-21-2-2-2-1002\appevents\Blank]

[HKEY_USERS\.DEFAULT\AppEvents\Schemes\Apps\Blank]
)reg");
  TRegScanner scanner;
  test::RecordingTarget target(&scanner);
  scanner.SetParWin(&target);
  scanner.SetIsAdmin(true);
  scanner.SetExcluded({L"HKEY_USERS\\.DEFAULT"});
  scanner.AddScanType(_EMPTY);
  scanner.Execute();
  // The match of "\AppEvents\" is case-sensitive; the software subtree and
  // the .DEFAULT hive are not walked.
  EXPECT_EQ(DescribeFindings(target.findings),
            std::vector<std::wstring>{
                L"HKEY_USERS\\S-1-5-21-1-1-1-1001\\AppEvents\\Schemes\\Apps\\Stale |  | key safe | Empty Key"});
  // The walk's own patterns are gone afterwards; the user's own pattern of
  // the same text is still there.
  const auto& excluded = scanner.Excluded();
  EXPECT_EQ(std::count(excluded.begin(), excluded.end(), L"HKEY_USERS\\.DEFAULT"), 1);
  EXPECT_EQ(std::count(excluded.begin(), excluded.end(), L"HKEY_USERS\\*\\Software"), 0);
  EXPECT_EQ(std::count(excluded.begin(), excluded.end(), L"HKEY_USERS\\*Wow6432Node"), 0);
}

TEST_F(SystemListRules, ProgressEstimates) {
  Load(
      LR"reg([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDlls]
"C:\\a.dll"=dword:00000001
"C:\\b.dll"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDlls\Below]
"C:\\c.dll"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\SharedDlls]
"C:\\d.dll"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\A\Below]

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\B]

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\C]

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu\Programs\Z]

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\X]

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Y]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
"a"="x"
"b"="x"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\RunOnce]
"c"="x"

[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Run]
"d"="x"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\S1]

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\S2]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\a.exe]

[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\b.exe]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Fonts]
"A"="a.ttf"
"B"="b.ttf"

[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Microsoft\Windows NT\CurrentVersion\Fonts]
"C"="c.ttf"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\SharedAccess\Parameters\FirewallPolicy\FirewallRules]
"{1}"="v2.10|"
"{2}"="v2.10|"

[HKEY_USERS\.DEFAULT\AppEvents\Schemes\Apps\.Default\E\.Current]

[HKEY_CURRENT_USER\AppEvents\Schemes\Apps\.Default\F]
)reg");
  struct Case {
    TScanType category;
    bool isAdmin;
    std::int64_t expected;
  };
  // Values below the shared-DLL keys; every key below the uninstall and
  // sound keys; values of the run and font keys; sub-keys of the rest.
  // The services key gains the firewall's SharedAccess; each of the two
  // firewall lists that do not exist counts 1. HKEY_USERS holds .DEFAULT and
  // the running user's hive.
  const Case cases[] = {
      {_DLL, true, 4},      {_Uninstall, true, 4}, {_Uninstall, false, 1}, {_StartMenu, false, 2}, {_Startup, true, 4},
      {_Startup, false, 1}, {_Services, true, 3},  {_IFEO, true, 2},       {_Fonts, true, 3},      {_FWALL, true, 4},
      {_Sound, true, 5},    {_Sound, false, 2},    {_EMPTY, true, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rulesb::Estimate(c.category, c.isAdmin), c.expected)
        << "category " << c.category << ", admin " << c.isAdmin;
  }
}

// Stops the engine at the first key a rule announces and counts the keys
// announced after that.
class StopAtFirstKey : public TMessageTarget {
 public:
  explicit StopAtFirstKey(TRegScanner& scanner) : fScanner(scanner) {}
  std::intptr_t Send(std::uint32_t message, std::uintptr_t code, std::intptr_t) override {
    if (message != WM_REGSCAN || code != SCAN_KEY) return 0;
    if (stopped) {
      ++keysAfterStop;
    } else {
      fScanner.Stop(false);
      stopped = true;
    }
    return 0;
  }
  bool stopped = false;
  int keysAfterStop = 0;

 private:
  TRegScanner& fScanner;
};

TEST_F(SystemListRules, AStopEndsEveryWalkAtOnce) {
  std::wstring body =
      LR"reg([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"Common Programs"="C:\\Programs"

)reg";
  for (const wchar_t* n : {L"1", L"2", L"3"}) {
    const std::wstring k = n;
    body += L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls]\r\n\"C:\\\\x" + k +
            L".dll\"=dword:00000001\r\n\r\n";
    body += L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\A" + k +
            L"]\r\n\"UninstallString\"=\"C:\\\\u" + k + L".exe\"\r\n\"DisplayIcon\"=\"C:\\\\i" + k + L".ico\"\r\n\r\n";
    body +=
        L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start "
        L"Menu\\Programs\\M" +
        k + L"\\Sub]\r\n\r\n";
    body += L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n\"R" + k + L"\"=\"C:\\\\r" +
            k + L".exe\"\r\n\r\n";
    body += L"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\S" + k + L"]\r\n\"ImagePath\"=\"C:\\\\s" + k +
            L".exe\"\r\n\r\n";
    body += L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options\\p" +
            k + L".exe]\r\n\"Debugger\"=\"C:\\\\d.exe\"\r\n\r\n";
    body += L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\r\n\"F" + k +
            L"\"=\"f.ttf\"\r\n\r\n";
    body +=
        L"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\SharedAccess\\Parameters\\FirewallPolicy\\"
        L"FirewallRules]\r\n\"{" +
        k + L"}\"=\"v2.10|App=C:\\\\a" + k + L".exe|\"\r\n\r\n";
    body += L"[HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\.Default\\E" + k + L"\\.Current]\r\n@=\"C:\\\\w" + k +
            L".wav\"\r\n\r\n";
    body += L"[HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\Blank" + k + L"\\Empty]\r\n\r\n";
    body += L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU]\r\n\"" + k +
            L"\"=\"x\"\r\n\r\n";
    body += L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs]\r\n\"url" + k +
            L"\"=\"http://x/\"\r\n\r\n";
    body +=
        L"[HKEY_CURRENT_USER\\Software\\Classes\\Local "
        L"Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache]\r\n\"C:\\\\m" +
        k + L".exe\"=\"M\"\r\n\r\n";
  }
  Load(body);
  fixture.AddFolder(L"C:\\Programs\\M1\\Sub");
  for (const TScanType category : {_FWALL, _Fonts, _DLL, _MRU, _Uninstall, _StartMenu, _Startup, _Sound, _IEUrl, _IFEO,
                                   _EMPTY, _Services, _MUICache}) {
    TRegScanner scanner;
    StopAtFirstKey target(scanner);
    scanner.SetParWin(&target);
    scanner.SetIsAdmin(true);
    scanner.AddScanType(category);
    scanner.Execute();
    EXPECT_TRUE(target.stopped) << "category " << category;
    EXPECT_LE(target.keysAfterStop, 1) << "category " << category;
  }
}

}  // namespace
}  // namespace kelvara
