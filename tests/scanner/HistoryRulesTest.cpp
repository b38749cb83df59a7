// The history rules: recently-used lists, the program-name caches and the
// typed addresses, for the running user and for another loaded profile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RulesBFindings.h"
#include "scanner/RegScanner.h"
#include "scanner/UserProfiles.h"
#include "support/ScanFixture.h"

namespace kelvara {
namespace {

using rulesb::DescribeFindings;
using rulesb::ScanCategory;

constexpr wchar_t kExplorer[] = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
constexpr wchar_t kOtherSid[] = L"S-1-5-21-7-7-7-1007";

class HistoryRules : public ::testing::Test {
 protected:
  void Load(const std::wstring& body) { fixture.LoadReg(L"Windows Registry Editor Version 5.00\r\n\r\n" + body); }

  test::ScanFixture fixture;
};

TEST_F(HistoryRules, EveryValueOfAListAndOfItsSubKeysIsHistory) {
  Load(
      LR"reg([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\RunMRU]
@="default"
"a"="notepad\\1"
"MRUList"="a"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs\.txt]
"0"="C:\\Docs\\gone.txt"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs\.txt\Deeper]
"kept"="C:\\Docs\\present.txt"
"lost"="C:\\Docs\\lost.txt"
)reg");
  fixture.AddFile(L"C:\\Docs\\present.txt");
  const std::wstring runMru = std::wstring(kExplorer) + L"RunMRU";
  const std::wstring txt = std::wstring(kExplorer) + L"RecentDocs\\.txt";
  // The sub-keys of a list's sub-key are not history: only their values
  // naming missing files are reported, as is a history value naming one.
  EXPECT_EQ(ScanCategory(_MRU), (std::vector<std::wstring>{
                                    runMru + L" | default | value safe | User MRU Lists",
                                    runMru + L"\\a | notepad\\1 | value safe | User MRU Lists",
                                    runMru + L"\\MRUList | a | value safe | User MRU Lists",
                                    txt + L"\\0 | C:\\Docs\\gone.txt | value safe | User MRU Lists",
                                    txt + L"\\0 | C:\\Docs\\gone.txt | value safe | File(Folder) does not "
                                          L"exist.C:\\Docs\\gone.txt",
                                    txt + L"\\Deeper\\lost | C:\\Docs\\lost.txt | value safe | File(Folder) does not "
                                          L"exist.C:\\Docs\\lost.txt",
                                }));
}

TEST_F(HistoryRules, UserAssistCountersOnlyInADeepScan) {
  Load(
      LR"reg([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\UserAssist]
"Top"="t"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\UserAssist\{GUID}]
"Version"=dword:00000005

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\UserAssist\{GUID}\Count]
"HRZR_PGYFRFFVBA"="counter"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\UserAssist\{GUID}\Other]
"y"="z"
)reg");
  EXPECT_EQ(ScanCategory(_MRU, slNormal), std::vector<std::wstring>{});
  EXPECT_EQ(ScanCategory(_MRU, slDeep),
            std::vector<std::wstring>{std::wstring(kExplorer) + L"UserAssist\\{GUID}\\Count\\HRZR_PGYFRFFVBA | "
                                                                L"counter | value safe | User MRU Lists"});
}

TEST_F(HistoryRules, ProgramNameCacheEntriesNamingADrivePath) {
  Load(
      LR"reg([HKEY_CURRENT_USER\Software\Microsoft\Windows\ShellNoRoam\MUICache]
"LangID"=hex:09,04
"C:\\x.exe"="X"
"c:\\Tools\\lower.exe"="Lower"
"A:\\x.exe"="Floppy"
"C:\\"="Root"
)reg");
  // The entry is history whether or not the program exists; its data names
  // no file, so the finding carries none.
  const std::wstring cache = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache\\";
  EXPECT_EQ(ScanCategory(_MRU), (std::vector<std::wstring>{
                                    cache + L"C:\\x.exe |  | value safe | User MRU Lists",
                                    cache + L"c:\\Tools\\lower.exe |  | value safe | User MRU Lists",
                                }));
}

TEST_F(HistoryRules, TypedAddresses) {
  Load(
      LR"reg([HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\TypedURLs]
"url1"="http://example.com/"
"url2"="ftp://files.example.com/"
)reg");
  const std::wstring typed = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs\\";
  EXPECT_EQ(ScanCategory(_IEUrl), (std::vector<std::wstring>{
                                      typed + L"url1 | http://example.com/ | value safe | IE Url History",
                                      typed + L"url2 | ftp://files.example.com/ | value safe | IE Url History",
                                  }));
}

TEST_F(HistoryRules, MuiCacheEntriesOfGonePrograms) {
  Load(
      LR"reg([HKEY_CURRENT_USER\Software\Classes\Local Settings\Software\Microsoft\Windows\Shell\MuiCache]
"LangID"=hex:09,04
"C:\\Tools\\present.exe.FriendlyAppName"="Present"
"C:\\Tools\\present.exe.ApplicationCompany"="Vendor"
"C:\\Tools\\present.exe"="Present"
"C:\\Gone\\gone.exe.FriendlyAppName"="Gone"
"C:\\Gone\\old.exe"="Old"
"E:\\Portable\\p.exe.FriendlyAppName"="Portable"
"@%SystemRoot%\\system32\\shell32.dll,-22067"="Documents"
)reg");
  fixture.AddFile(L"C:\\Tools\\present.exe");
  // The entry suffixes of Windows 7 and later are no part of the program's
  // path; the finding keeps the entry's full name.
  const std::wstring cache =
      L"HKEY_CURRENT_USER\\Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache\\";
  EXPECT_EQ(ScanCategory(_MUICache),
            (std::vector<std::wstring>{
                cache + L"C:\\Gone\\gone.exe.FriendlyAppName | Gone | value safe | Missing MUI reference",
                cache + L"C:\\Gone\\old.exe | Old | value safe | Missing MUI reference",
                cache + L"E:\\Portable\\p.exe.FriendlyAppName | Portable | value unsafe | Missing MUI reference, but "
                        L"drive \"E\" is Removable Disk, recommend you ignore this error.",
            }));
}

TEST_F(HistoryRules, AnotherProfileIsScannedUnderItsOwnName) {
  Load(
      LR"reg([HKEY_USERS\S-1-5-21-7-7-7-1007\Software\Microsoft\Windows\CurrentVersion\Explorer\RunMRU]
"a"="cmd\\1"

[HKEY_USERS\S-1-5-21-7-7-7-1007\Software\Microsoft\Windows\CurrentVersion\Explorer\UserAssist\{GUID}\Count]
"HRZR_PGYFRFFVBA"="counter"

[HKEY_USERS\S-1-5-21-7-7-7-1007\Software\Classes\Local Settings\Software\Microsoft\Windows\Shell\MuiCache]
"C:\\Gone\\theirs.exe.FriendlyAppName"="Theirs"
"%ProgramFiles%\\Gone\\expanded.exe"="Not judged"

[HKEY_USERS\S-1-5-21-8-8-8-1008\Software\Microsoft\Windows\CurrentVersion\Explorer\RunMRU]
"a"="unchecked"
)reg");
  UserList().push_back({false, L"Other", kOtherSid, L"C:\\Users\\Other", true});
  UserList().push_back({false, L"Unchecked", L"S-1-5-21-8-8-8-1008", L"C:\\Users\\Unchecked", false});
  // Another profile's UserAssist counters are never reported, and its
  // references with "%" would expand to the running user's folders.
  const std::vector<TResultData> findings = test::RunScan({_MRU, _MUICache}, slDeep);
  EXPECT_EQ(
      DescribeFindings(findings),
      (std::vector<std::wstring>{
          L"HKEY_USERS\\S-1-5-21-7-7-7-1007\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU\\a | "
          L"cmd\\1 | value safe | User MRU Lists",
          L"HKEY_USERS\\S-1-5-21-7-7-7-1007\\Software\\Classes\\Local "
          L"Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache\\C:\\Gone\\theirs.exe.FriendlyAppName | Theirs "
          L"| value safe | Missing MUI reference",
      }));
  for (const TResultData& finding : findings) EXPECT_EQ(finding.User, L"Other");
}

TEST_F(HistoryRules, ProgressEstimatesCountEveryScannedProfile) {
  Load(
      LR"reg([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs\.txt]

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\RecentDocs\.doc]

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\UserAssist\{GUID}]

[HKEY_USERS\S-1-5-21-7-7-7-1007\Software\Microsoft\Windows\CurrentVersion\Explorer\RunMRU\Sub]

[HKEY_CURRENT_USER\Software\Classes\Local Settings\Software\Microsoft\Windows\Shell\MuiCache]
"a"="x"
"b"="x"

[HKEY_USERS\S-1-5-21-7-7-7-1007\Software\Classes\Local Settings\Software\Microsoft\Windows\Shell\MuiCache]
"c"="x"

[HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\TypedURLs]
"url1"="http://example.com/"
)reg");
  UserList().push_back({false, L"Other", kOtherSid, L"C:\\Users\\Other", true});
  // Sub-keys of the history keys (UserAssist only in a deep scan), values
  // of the caches, each for both profiles.
  EXPECT_EQ(rulesb::Estimate(_MRU, false, slNormal), 3);
  EXPECT_EQ(rulesb::Estimate(_MRU, false, slDeep), 4);
  EXPECT_EQ(rulesb::Estimate(_MUICache, false), 3);
  EXPECT_EQ(rulesb::Estimate(_IEUrl, false), 1);
}

}  // namespace
}  // namespace kelvara
