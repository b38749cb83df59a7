// The ActiveX/COM rules, the recursive value scan they share with the
// software and history rules, and the wording of their reasons.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RulesAFixture.h"
#include "platform/Text.h"
#include "scanner/RuleMessages.h"

namespace kelvara {
namespace {

using test::TRulesFixture;
using ::testing::ElementsAre;

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

}  // namespace
}  // namespace kelvara
