// A healthy machine, whose every class, file type, software key, program
// path and help file names something that exists, gives no finding in the
// COM, file-type, context-menu, applications, software, application-path
// and help-file categories, at any scan level; the bundled sample machine
// gives exactly its planted problems in those categories.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "RulesAFixture.h"
#include "platform/Text.h"
#include "support/ScanFixture.h"
#include "support/TestData.h"

namespace kelvara {
namespace {

using test::TRulesFixture;
using ::testing::IsEmpty;

constexpr char kHealthyMachine[] = R"(
[HKEY_CLASSES_ROOT\.txt]
@="txtfile"
"Content Type"="text/plain"
[HKEY_CLASSES_ROOT\.txt\ShellNew]
"ItemName"="@%SystemRoot%\\system32\\notepad.exe,-470"
"NullFile"=""
[HKEY_CLASSES_ROOT\.log]
@="txtfile"
[HKEY_CLASSES_ROOT\.odd]
@="odd_gone"
[HKEY_CLASSES_ROOT\.odd\OpenWithList\notepad.exe]
[HKEY_CLASSES_ROOT\txtfile]
@="Text Document"
"EditFlags"=dword:00210000
"FriendlyTypeName"="@%SystemRoot%\\system32\\notepad.exe,-469"
[HKEY_CLASSES_ROOT\txtfile\DefaultIcon]
@="%SystemRoot%\\system32\\imageres.dll,-102"
[HKEY_CLASSES_ROOT\txtfile\shell\open\command]
@="%SystemRoot%\\system32\\NOTEPAD.EXE %1"
[HKEY_CLASSES_ROOT\txtfile\shell\print\command]
@="\"C:\\Windows\\system32\\notepad.exe\" /p \"%1\""
[HKEY_CLASSES_ROOT\Vendor.Document]
@="Vendor document"
[HKEY_CLASSES_ROOT\Vendor.Document\CLSID]
@="{C0000000-0000-0000-0000-000000000001}"
[HKEY_CLASSES_ROOT\Vendor.Document\CurVer]
@="Vendor.Document.2"
[HKEY_CLASSES_ROOT\Vendor.Document\DefaultIcon]
@="\"C:\\Program Files\\Vendor\\vendor.exe\",0"
[HKEY_CLASSES_ROOT\Vendor.Document\shell\open\command]
@="\"C:\\Program Files\\Vendor\\vendor.exe\" /open \"%1\""
[HKEY_CLASSES_ROOT\Vendor.Document\shell\open\ddeexec]
@="[open(\"%1\")]"
[HKEY_CLASSES_ROOT\Vendor.Document.2]
@="Vendor document 2"
[HKEY_CLASSES_ROOT\cplfile\shell\cplopen\command]
@="rundll32.exe C:\\Windows\\system32\\shell32.dll,Control_RunDLL \"%1\",%*"
[HKEY_CLASSES_ROOT\http\shell\open\command]
@="\"C:\\Program Files\\Browser\\browser.exe\" -url \"%1\""
[HKEY_CLASSES_ROOT\MIME\Database\Content Type\text/plain]
"Extension"=".txt"
[HKEY_CLASSES_ROOT\MIME\Database\Content Type\application/x-vendor]
"Extension"=".odd"
"CLSID"="{C0000000-0000-0000-0000-000000000001}"
[HKEY_CLASSES_ROOT\AppID\{AAAAAAAA-0000-0000-0000-000000000001}]
@="Vendor service"
"LocalService"="VendorService"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000001}]
@="Vendor Document"
"AppID"="{aaaaaaaa-0000-0000-0000-000000000001}"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000001}\InprocServer32]
@="C:\\Program Files\\Vendor\\vendor.dll"
"ThreadingModel"="Apartment"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000001}\LocalServer32]
@="\"C:\\Program Files\\Vendor\\vendor.exe\" /automation"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000001}\ProgID]
@="Vendor.Document.2"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000001}\VersionIndependentProgID]
@="Vendor.Document"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000001}\TypeLib]
@="{70000000-0000-0000-0000-000000000001}"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000001}\DefaultIcon]
@="%SystemRoot%\\system32\\shell32.dll,3"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000002}\InprocServer32]
@="%SystemRoot%\\system32\\shell32.dll"
"ThreadingModel"="Both"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000003}\InprocServer32]
@="vendorps.dll"
[HKEY_CLASSES_ROOT\TypeLib\{70000000-0000-0000-0000-000000000001}\1.0]
@="Vendor 1.0 Type Library"
[HKEY_CLASSES_ROOT\TypeLib\{70000000-0000-0000-0000-000000000001}\1.0\0\win32]
@="C:\\Program Files\\Vendor\\vendor.tlb"
[HKEY_CLASSES_ROOT\TypeLib\{70000000-0000-0000-0000-000000000001}\1.0\0\win64]
@="C:\\Program Files\\Vendor\\vendor.dll\\2"
[HKEY_CLASSES_ROOT\TypeLib\{70000000-0000-0000-0000-000000000001}\1.0\FLAGS]
@="0"
[HKEY_CLASSES_ROOT\TypeLib\{70000000-0000-0000-0000-000000000001}\1.0\HELPDIR]
@="C:\\Program Files\\Vendor"
[HKEY_CLASSES_ROOT\Interface\{10000000-0000-0000-0000-000000000001}]
@="IVendorDocument"
[HKEY_CLASSES_ROOT\Interface\{10000000-0000-0000-0000-000000000001}\ProxyStubClsid32]
@="{C0000000-0000-0000-0000-000000000003}"
[HKEY_CLASSES_ROOT\Interface\{10000000-0000-0000-0000-000000000001}\TypeLib]
@="{70000000-0000-0000-0000-000000000001}"
"Version"="1.0"
[HKEY_CLASSES_ROOT\Interface\{10000000-0000-0000-0000-000000000001}\BaseInterface]
@="{00000000-0000-0000-C000-000000000046}"
[HKEY_CLASSES_ROOT\Interface\{00000000-0000-0000-C000-000000000046}]
@="IUnknown"
[HKEY_CLASSES_ROOT\Interface\{10000000-0000-0000-0000-000000000002}\ProxyStubClsid]
@="C0000000-0000-0000-0000-000000000002"
[HKEY_CLASSES_ROOT\*\shell\VendorScan\command]
@="\"C:\\Program Files\\Vendor\\vendor.exe\" /scan \"%1\""
[HKEY_CLASSES_ROOT\*\shellex\ContextMenuHandlers\VendorMenu]
@="{C0000000-0000-0000-0000-000000000001}"
[HKEY_CLASSES_ROOT\Directory\shellex\ContextMenuHandlers\{C0000000-0000-0000-0000-000000000002}]
[HKEY_CLASSES_ROOT\Folder\shellex\ContextMenuHandlers\Vendor32]
@="{D0000000-0000-0000-0000-000000000001}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Wow6432Node\CLSID\{D0000000-0000-0000-0000-000000000001}\InProcServer32]
@="C:\\Program Files (x86)\\Vendor\\vendor32.dll"
[HKEY_CLASSES_ROOT\Directory\Background\shell\VendorHere\command]
@="C:\\Program Files\\Vendor\\vendor.exe \"%V\""
[HKEY_CLASSES_ROOT\Applications\notepad.exe\shell\open\command]
@="C:\\Windows\\system32\\NOTEPAD.EXE %1"
[HKEY_CLASSES_ROOT\Applications\vendor.exe]
"FriendlyAppName"="@C:\\Program Files\\Vendor\\vendor.exe,-101"
[HKEY_CLASSES_ROOT\Applications\vendor.exe\SupportedTypes]
".odd"=""
[HKEY_CLASSES_ROOT\Applications\vendor.exe\shell\open\command]
@="\"C:\\Program Files\\Vendor\\vendor.exe\" \"%1\""

[HKEY_LOCAL_MACHINE\SOFTWARE\Vendor\App]
"InstallPath"="C:\\Program Files\\Vendor\\"
"Exe"="C:\\Program Files\\Vendor\\vendor.exe"
"Version"="2.1.0"
"Count"=dword:00000007
"Home"="https://vendor.example/"
"Portable"="E:\\Stick\\tool.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Vendor\App\Plugins]
"Viewer"="\"C:\\Program Files\\Vendor\\plugins\\viewer.dll\",1"
[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Vendor32]
"Path"="C:\\Program Files (x86)\\Vendor\\vendor32.dll"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\Folders]
"C:\\Program Files\\Vendor\\"=""
"C:\\Windows\\Installer\\"=""
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\vendor.exe]
@="C:\\Program Files\\Vendor\\vendor.exe"
"Path"="C:\\Program Files\\Vendor"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\viewer.exe]
@=""
"Path"="C:\\Program Files\\Vendor\\"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\tool]
@="C:\\Program Files\\Vendor\\tool"
[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Microsoft\Windows\CurrentVersion\App Paths\vendor32.exe]
@="\"C:\\Program Files (x86)\\Vendor\\vendor32.exe\""
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Layers]
"C:\\Program Files\\Vendor\\vendor.exe"="~ HIGHDPIAWARE"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\Help]
"vendor.chm"="C:\\Program Files\\Vendor\\"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\Html Help]
"vendor2.chm"="C:\\Program Files\\Vendor"
[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Microsoft\Windows\Help]
"vendor32.hlp"="C:\\Program Files (x86)\\Vendor"

[HKEY_CURRENT_USER\Software\Vendor]
"LastFile"="C:\\Users\\User\\Documents\\report.txt"
"Tools"="%ProgramFiles%\\Vendor\\vendor.exe"
[HKEY_CURRENT_USER\Software\Vendor\Vendor]
"SameName"="kept"
[HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Compatibility Assistant\Persisted]
"C:\\Program Files\\Vendor\\setup.exe"=dword:00000001
[HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Compatibility Assistant\Store]
"C:\\Program Files\\Vendor\\vendor.exe"=hex:53,41,43,50
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.txt\OpenWithList]
"a"="notepad.exe"
"MRUList"="a"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.txt\UserChoice]
"ProgId"="txtfile"

[HKEY_USERS\S-1-5-21-3623811015-3361044348-30300820-1002\Console]
"FontSize"=dword:00100000
[HKEY_USERS\S-1-5-21-3623811015-3361044348-30300820-1002\Software\Classes\Other.Document\DefaultIcon]
@="C:\\Program Files\\Vendor\\vendor.exe,1"
[HKEY_USERS\S-1-5-21-3623811015-3361044348-30300820-1002\Software\OtherVendor]
"Exe"="C:\\Program Files\\Vendor\\vendor.exe"
"Profile"="%USERPROFILE%\\gone.txt"
[HKEY_USERS\S-1-5-21-3623811015-3361044348-30300820-1002\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.odd\OpenWithProgids]
"Vendor.Document"=hex(0):
[HKEY_USERS\S-1-5-21-3623811015-3361044348-30300820-1002\Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Layers]
"C:\\Program Files\\Vendor\\vendor.exe"="RUNASADMIN"
)";

TEST(RulesANoFalsePositivesTest, AHealthyMachineGivesNoFinding) {
  TRulesFixture fixture(
      kHealthyMachine,
      {L"C:\\Windows\\system32\\notepad.exe", L"C:\\Windows\\system32\\imageres.dll",
       L"C:\\Windows\\system32\\shell32.dll", L"C:\\Windows\\system32\\vendorps.dll", L"C:\\Windows\\Installer\\",
       L"C:\\Program Files\\Vendor\\vendor.exe", L"C:\\Program Files\\Vendor\\vendor.dll",
       L"C:\\Program Files\\Vendor\\vendor.tlb", L"C:\\Program Files\\Vendor\\viewer.exe",
       L"C:\\Program Files\\Vendor\\tool.exe", L"C:\\Program Files\\Vendor\\setup.exe",
       L"C:\\Program Files\\Vendor\\vendor.chm", L"C:\\Program Files\\Vendor\\vendor2.chm",
       L"C:\\Program Files\\Vendor\\plugins\\viewer.dll", L"C:\\Program Files\\Browser\\browser.exe",
       L"C:\\Program Files (x86)\\Vendor\\vendor32.dll", L"C:\\Program Files (x86)\\Vendor\\vendor32.exe",
       L"C:\\Program Files (x86)\\Vendor\\vendor32.hlp", L"C:\\Users\\User\\Documents\\report.txt"});
  fixture.AddOtherUser();
  for (const TScanLevel level : {slNormal, slDeep}) {
    EXPECT_THAT(fixture.Scan({_ACTIVEX, _SoftWare, _AppPath, _FileType, _HelpFiles, _APP, _ContextMenu}, level),
                IsEmpty())
        << "scan level " << level;
  }
}

TEST(RulesANoFalsePositivesTest, TheSampleMachineGivesOnlyItsPlantedProblems) {
  namespace fs = std::filesystem;
  const fs::path repository = fs::path(test::FixturePath(L"x")).parent_path().parent_path().parent_path();
  constexpr wchar_t kAnna[] = L"S-1-5-21-1004336348-1177238915-682003330-1001";
  test::ScanFixture machine([&repository, &kAnna](platform::SnapshotSettings& settings) {
    settings.drives[L'C'] = platform::DriveMapping{(repository / "samples" / "C").wstring(), platform::kDriveFixed};
    settings.system.userSid = kAnna;
    settings.system.userName = L"Anna";
    settings.system.accounts[L"S-1-5-21-1004336348-1177238915-682003330-1002"] = L"Ben";
  });
  std::ifstream in(repository / "samples" / "sample.reg", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  machine.LoadReg(FromUtf8(text.str()));
  LoadUserList();
  ASSERT_EQ(UserList().size(), 2u);
  for (TUserInfo& user : UserList()) user.Checked = true;

  std::multiset<std::wstring> found;
  for (const TResultData& finding :
       test::RunScan({_ACTIVEX, _SoftWare, _AppPath, _FileType, _HelpFiles, _APP, _ContextMenu}, slDeep)) {
    found.insert(std::to_wstring(finding.ScanSection) + L" " + test::Location(finding));
  }
  const std::multiset<std::wstring> planted = {
      L"0 HKEY_CLASSES_ROOT\\Applications\\oldviewer.exe\\shell\\open\\command",
      L"0 HKEY_CLASSES_ROOT\\OldGame.Save\\shell\\open\\command",
      L"1 HKEY_LOCAL_MACHINE\\SOFTWARE\\EmptyVendor",
      L"1 HKEY_LOCAL_MACHINE\\SOFTWARE\\OldGame\\Executable",
      L"1 HKEY_CURRENT_USER\\Software\\EmptyTool",
      L"1 HKEY_CURRENT_USER\\Software\\OldChat\\Program",
      L"2 HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\oldeditor.exe",
      L"2 HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers\\"
      L"C:\\Games\\OldGame\\game.exe",
      L"3 HKEY_CLASSES_ROOT\\OldGame.Save\\shell\\open\\command",
      L"4 HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\Help\\oldgame.hlp",
      L"16 HKEY_CLASSES_ROOT\\Applications\\oldviewer.exe\\shell\\open\\command",
      // Found only by the deep scan and for the second profile: a class
      // server and a tool of Ben's that are not on the drive either.
      L"0 HKEY_CLASSES_ROOT\\CLSID\\{9B8A7C6D-5E4F-4A3B-9C2D-1E0F9A8B7C6D}\\InprocServer32",
      L"1 HKEY_USERS\\S-1-5-21-1004336348-1177238915-682003330-1002\\Software\\BenTool\\Path",
  };
  std::string shown;
  for (const std::wstring& location : found) shown += ToUtf8(location) + "\n";
  EXPECT_EQ(found, planted) << shown;
}

}  // namespace
}  // namespace kelvara
