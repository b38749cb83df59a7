// A healthy machine, whose every class, file type, software key, program
// path and help file names something that exists, gives no finding in the
// COM, file-type, context-menu, applications, software, application-path
// and help-file categories, at any scan level.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RulesAFixture.h"

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

}  // namespace
}  // namespace kelvara
