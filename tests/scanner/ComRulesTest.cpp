// The ActiveX/COM rules, the recursive value scan they share with the
// software and history rules, and the wording of their reasons.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RulesAFixture.h"
#include "platform/Text.h"
#include "registry/RegFun.h"
#include "scanner/RuleMessages.h"

namespace kelvara {
namespace {

using test::TRulesFixture;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(RuleMessagesTest, TrustsOnlyTranslationsWithTheRightPlaceholders) {
  struct Case {
    std::wstring_view translated;
    std::wstring expected;
  };
  const std::wstring_view english = L"drive \"%s\" is %s.";
  const Case cases[] = {
      {L"Laufwerk %s ist %s.", L"Laufwerk F ist Removable Disk."},
      {L"Laufwerk %s fehlt.", L"drive \"F\" is Removable Disk."},
      {L"%s %s %s", L"drive \"F\" is Removable Disk."},
      {L"", L"drive \"F\" is Removable Disk."},
      {L"100% %s: %s%d", L"100% F: Removable Disk%d"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDriveMessage(c.translated, english, L"F:\\app.exe", L"Removable Disk"), c.expected)
        << ToUtf8(std::wstring(c.translated));
  }
  EXPECT_EQ(FormatRuleMessage(L"MIME %s", L"x %s", {L".abc"}), L"MIME .abc");
  EXPECT_EQ(FormatRuleMessage(L"MIME", L"x %s", {L".abc"}), L"x .abc");
}

TEST(RuleMessagesTest, WordsMissingFilesWithTheirPath) {
  TRulesFixture fixture("", {});
  EXPECT_EQ(MissingFileMessage(L"C:\\a.exe"), L"File(Folder) does not exist.C:\\a.exe");
  EXPECT_EQ(MissingFileOnDriveMessage(L"D:\\a.exe", L"CD\\DVD-ROM"),
            L"File(Folder) does not exist, but drive \"D\" is CD\\DVD-ROM, recommend you ignore this error.");
  EXPECT_EQ(RemovableDriveType(L"F:\\a.exe"), L"Removable Disk");
  EXPECT_EQ(RemovableDriveType(L"D:\\a.exe"), L"CD\\DVD-ROM");
  EXPECT_EQ(RemovableDriveType(L"C:\\a.exe"), L"");
}

// Values that name files, on every kind of drive, in a key tree with a
// sub-key named like its parent.
constexpr char kValueTree[] = R"(
[HKEY_CURRENT_USER\Software\Vendor]
"Present"="C:\\Tools\\app.exe"
"Missing"="C:\\Tools\\gone.exe"
"NoVolume"="F:\\Portable\\tool.exe"
"OnDisc"="D:\\Setup\\setup.exe"
"Inserted"="E:\\Stick\\tool.exe"
"Text"="hello world"
"Percent"="%SystemRoot%\\gone.exe"

[HKEY_CURRENT_USER\Software\Vendor\Plugins]
@="\"C:\\Old\\plugin.dll\",1"

[HKEY_CURRENT_USER\Software\Vendor\Plugins\plugins]
"Hidden"="C:\\Old\\hidden.exe"
)";

TEST(ScanValueReferencesTest, ReportsEveryValueNamingAMissingFileBelowTheKey) {
  TRulesFixture fixture(kValueTree, {L"C:\\Tools\\app.exe", L"C:\\Windows\\"});
  const auto found = fixture.ScanWith(_MRU, [](TRegScanner& scanner, const TProfileContext& profile) {
    scanner.ScanValueReferences(profile.root, L"Software\\Vendor", profile);
  });
  EXPECT_THAT(
      found,
      ElementsAre("HKEY_CURRENT_USER\\Software\\Vendor | Missing | C:\\Tools\\gone.exe | rfValue | safe | _MRU | "
                  "File(Folder) does not exist.C:\\Tools\\gone.exe | User",
                  "HKEY_CURRENT_USER\\Software\\Vendor | NoVolume | F:\\Portable\\tool.exe | rfValue | unsafe | "
                  "_MRU | File(Folder) does not exist, but drive \"F\" is Removable Disk, recommend you ignore "
                  "this error. | User",
                  "HKEY_CURRENT_USER\\Software\\Vendor | OnDisc | D:\\Setup\\setup.exe | rfValue | unsafe | _MRU "
                  "| File(Folder) does not exist, but drive \"D\" is CD\\DVD-ROM, recommend you ignore this "
                  "error. | User",
                  "HKEY_CURRENT_USER\\Software\\Vendor | Percent | %SystemRoot%\\gone.exe | rfValue | safe | "
                  "_MRU | File(Folder) does not exist.C:\\Windows\\gone.exe | User",
                  "HKEY_CURRENT_USER\\Software\\Vendor\\Plugins |  | \"C:\\Old\\plugin.dll\",1 | rfValue | safe "
                  "| _MRU | File(Folder) does not exist.C:\\Old\\plugin.dll | User"));
}

TEST(ScanValueReferencesTest, LeavesPercentDataOfAnotherProfileUnjudged) {
  TRulesFixture fixture(R"(
[HKEY_USERS\S-1-5-21-3623811015-3361044348-30300820-1002\Software\Vendor]
"Percent"="%SystemRoot%\\gone.exe"
"Missing"="C:\\gone.exe"
)",
                        {L"C:\\Windows\\"});
  fixture.AddOtherUser();
  TProfileContext other = ProfileContext(UserList().back());
  const auto found = fixture.ScanWith(_MRU, [&other](TRegScanner& scanner, const TProfileContext&) {
    scanner.ScanValueReferences(other.root, other.prefix + L"Software\\Vendor", other);
  });
  EXPECT_THAT(found, ElementsAre("HKEY_USERS\\S-1-5-21-3623811015-3361044348-30300820-1002\\Software\\Vendor | Missing "
                                 "| C:\\gone.exe | rfValue | safe | _MRU | File(Folder) does not exist.C:\\gone.exe | "
                                 "Other"));
}

TEST(ComRulesTest, ReportsEmptyClassKeysAndMissingFilesOfEveryCheckedUsersClasses) {
  TRulesFixture fixture(R"(
[HKEY_CLASSES_ROOT\EmptyClass\Sub]
[HKEY_CLASSES_ROOT\gonefile\shell\open\command]
@="\"C:\\Gone\\gone.exe\" \"%1\""
[HKEY_CLASSES_ROOT\okfile\shell\open\command]
@="\"C:\\Tools\\app.exe\" \"%1\""
[HKEY_CLASSES_ROOT\Foo.Document]
@="Foo document"
[HKEY_CLASSES_ROOT\Foo.Document\CLSID]
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000001}\InprocServer32]
@="C:\\Gone\\one.dll"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Wow6432Node\gone32file\DefaultIcon]
@="C:\\Gone\\gone32.ico"
[HKEY_USERS\S-1-5-21-3623811015-3361044348-30300820-1002\Console]
[HKEY_USERS\S-1-5-21-3623811015-3361044348-30300820-1002\Printers]
[HKEY_USERS\S-1-5-21-3623811015-3361044348-30300820-1002\Software\Classes\otherempty]
[HKEY_USERS\S-1-5-21-3623811015-3361044348-30300820-1002\Software\Classes\otherfile\DefaultIcon]
@="C:\\Gone\\other.ico"
)",
                        {L"C:\\Tools\\app.exe"});
  fixture.AddOtherUser();
  // The 32-bit classes are listed among the classes, and not scanned.
  std::vector<std::wstring> classes;
  GetRegSubKeys(platform::kHkeyClassesRoot, L"", classes, true);
  ASSERT_THAT(classes, ::testing::Contains(std::wstring(L"Wow6432Node")));
  const std::string otherClasses = "HKEY_USERS\\S-1-5-21-3623811015-3361044348-30300820-1002\\Software\\Classes\\";
  EXPECT_THAT(
      fixture.Scan({_ACTIVEX}),
      ElementsAre("HKEY_CLASSES_ROOT\\EmptyClass |  |  | rfKey | safe | _ACTIVEX | Empty Key | User",
                  "HKEY_CLASSES_ROOT\\Foo.Document\\CLSID |  |  | rfKey | safe | _ACTIVEX | Empty CLSID. | User",
                  "HKEY_CLASSES_ROOT\\gonefile\\shell\\open\\command |  | \"C:\\Gone\\gone.exe\" \"%1\" | "
                  "rfValue | safe | _ACTIVEX | File(Folder) does not exist.C:\\Gone\\gone.exe | User",

                  otherClasses + "otherempty |  |  | rfKey | safe | _ACTIVEX | Empty Key | Other",
                  otherClasses + "otherfile\\DefaultIcon |  | C:\\Gone\\other.ico | rfValue | safe | _ACTIVEX | "
                                 "File(Folder) does not exist.C:\\Gone\\other.ico | Other"));
}

constexpr char kComRegistrations[] = R"(
[HKEY_CLASSES_ROOT\AppID\{AAAAAAAA-0000-0000-0000-000000000001}]
@="Known application"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000001}]
"AppID"="{aaaaaaaa-0000-0000-0000-000000000001}"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000001}\InprocServer32]
@="C:\\Gone\\one.dll"
"ThreadingModel"="Both"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000002}]
"AppID"="{BBBBBBBB-0000-0000-0000-000000000002}"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000002}\LocalServer32]
@="C:\\Gone\\two.exe"
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000002}\TypeLib]
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000002}\ProgID]
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000002}\DefaultIcon]
[HKEY_CLASSES_ROOT\CLSID\{C0000000-0000-0000-0000-000000000003}\InprocServer32]
@="C:\\Tools\\three.dll"
[HKEY_CLASSES_ROOT\TypeLib\{70000000-0000-0000-0000-000000000001}\1.0]
@="Library 1.0"
[HKEY_CLASSES_ROOT\TypeLib\{70000000-0000-0000-0000-000000000001}\1.0\0\win32]
@="C:\\Gone\\lib1.tlb"
[HKEY_CLASSES_ROOT\TypeLib\{70000000-0000-0000-0000-000000000001}\1.0\HELPDIR]
@="C:\\Gone\\HelpDir"
[HKEY_CLASSES_ROOT\TypeLib\{70000000-0000-0000-0000-000000000001}\2.0\0\win64]
@="C:\\Tools\\lib2.tlb"
[HKEY_CLASSES_ROOT\TypeLib\{70000000-0000-0000-0000-000000000001}\2.0\HELPDIR]
[HKEY_CLASSES_ROOT\TypeLib\{70000000-0000-0000-0000-000000000001}\FLAGS]
@="0"
[HKEY_CLASSES_ROOT\TypeLib\{70000000-0000-0000-0000-000000000001}\x1\0\win32]
@="C:\\Gone\\x1.tlb"
[HKEY_CLASSES_ROOT\TypeLib\{70000000-0000-0000-0000-000000000001}\x1\HELPDIR]
@="C:\\Gone\\x1help"
[HKEY_CLASSES_ROOT\Interface\{10000000-0000-0000-0000-000000000001}\ProxyStubClsid32]
@="{C0000000-0000-0000-0000-000000000001}"
[HKEY_CLASSES_ROOT\Interface\{10000000-0000-0000-0000-000000000002}\ProxyStubClsid32]
@="DEADBEEF-0000-0000-0000-000000000000"
[HKEY_CLASSES_ROOT\Interface\{10000000-0000-0000-0000-000000000003}\BaseInterface]
@="IUnknown"
[HKEY_CLASSES_ROOT\Interface\{10000000-0000-0000-0000-000000000004}\TypeLib]
@="{70000000-0000-0000-0000-000000000001}"
[HKEY_CLASSES_ROOT\Interface\{10000000-0000-0000-0000-000000000005}\ProxyStubClsid]
@="{D0000000-0000-0000-0000-000000000005}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\Wow6432Node\CLSID\{D0000000-0000-0000-0000-000000000005}]
@="A 32-bit class"
)";

TEST(ComRulesTest, DeepScanChecksClassTypeLibraryAndInterfaceRegistrations) {
  TRulesFixture fixture(kComRegistrations, {L"C:\\Tools\\three.dll", L"C:\\Tools\\lib2.tlb"});
  const std::string one = "HKEY_CLASSES_ROOT\\CLSID\\{C0000000-0000-0000-0000-000000000001}";
  const std::string two = "HKEY_CLASSES_ROOT\\CLSID\\{C0000000-0000-0000-0000-000000000002}";
  const std::string lib = "HKEY_CLASSES_ROOT\\TypeLib\\{70000000-0000-0000-0000-000000000001}";
  EXPECT_THAT(
      fixture.Scan({_ACTIVEX}, slDeep),
      ElementsAre(
          one + "\\InprocServer32 |  | C:\\Gone\\one.dll | rfValue | safe | _ACTIVEX | File(Folder) does not "
                "exist.C:\\Gone\\one.dll | User",
          two + " | AppID | {BBBBBBBB-0000-0000-0000-000000000002} | rfValue | safe | _ACTIVEX | The App ID "
                "referenced does not exist. | User",
          two + "\\TypeLib |  |  | rfKey | safe | _ACTIVEX | Empty Key | User",
          two + "\\ProgID |  |  | rfKey | safe | _ACTIVEX | Empty value | User",
          two + "\\LocalServer32 |  | C:\\Gone\\two.exe | rfKey | safe | _ACTIVEX | File(Folder) does not "
                "exist.C:\\Gone\\two.exe | User",
          two + "\\DefaultIcon |  |  | rfKey | safe | _ACTIVEX | Empty Key | User",
          lib + "\\1.0\\HELPDIR |  | C:\\Gone\\HelpDir | rfKey | safe | _ACTIVEX | Help File(Folder) does not "
                "exist.C:\\Gone\\HelpDir | User",
          lib + "\\1.0\\0\\win32 |  | C:\\Gone\\lib1.tlb | rfKey | safe | _ACTIVEX | COM Source does not "
                "exist.C:\\Gone\\lib1.tlb | User",
          lib + "\\2.0\\HELPDIR |  |  | rfKey | safe | _ACTIVEX | Empty Help dirctory. | User",
          lib + "\\x1\\HELPDIR |  | C:\\Gone\\x1help | rfKey | safe | _ACTIVEX | Help File(Folder) does not "
                "exist.C:\\Gone\\x1help | User",
          "HKEY_CLASSES_ROOT\\Interface\\{10000000-0000-0000-0000-000000000002}\\ProxyStubClsid32 |  | "
          "{DEADBEEF-0000-0000-0000-000000000000} | rfValue | safe | _ACTIVEX | Refers to an invalid Activex/COM "
          "entry.{DEADBEEF-0000-0000-0000-000000000000} | User"));
  // The standard scan leaves the class, type-library and interface lists
  // to the deep scan.
  EXPECT_THAT(fixture.Scan({_ACTIVEX}), IsEmpty());
  EXPECT_THAT(fixture.Scan({_ACTIVEX}, slDeep, false), IsEmpty());
}

}  // namespace
}  // namespace kelvara
