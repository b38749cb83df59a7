#include "sysutil/EnvironmentStrings.h"

#include <gtest/gtest.h>

#include "FakePlatform.h"

namespace kelvara {
namespace {

test::FakePlatform ProfileFakes() {
  test::FakePlatform fakes;
  fakes.system->folders = {{0, L"C:\\Users\\User\\Desktop"},
                           {5, L"C:\\Users\\User\\Documents"},
                           {12, L"C:\\Wrong\\MyDocuments"},
                           {17, L""},
                           {26, L"C:\\Users\\User\\AppData\\Roaming"},
                           {40, L"C:\\Users\\User"},
                           {50, L"C:\\Unnamed"}};
  fakes.system->environment = {{L"windir", L"C:\\Windows"},
                               {L"TEMP", L"C:\\Users\\User\\AppData\\Local\\Temp"},
                               {L"SystemRoot", L"C:\\Windows"}};
  return fakes;
}

TEST(EnvironmentStrings, ListsNamedFoldersThenLocalLowThenVariables) {
  ProfileFakes().Install();
  std::vector<std::wstring> entries;
  for (const TEnvironmentStringRec& rec : EnvironmentStrings().PathList())
    entries.push_back(rec.Name + L"=" + rec.Value);
  EXPECT_EQ(entries, (std::vector<std::wstring>{
                         L"DESKTOP=C:\\Users\\User\\Desktop",
                         L"PERSONAL=C:\\Users\\User\\Documents",
                         L"MYDOCUMENTS=C:\\Users\\User\\Documents",
                         L"APPDATA=C:\\Users\\User\\AppData\\Roaming",
                         L"PROFILE=C:\\Users\\User",
                         L"LOCAL_APPDATA_LOW=C:\\Users\\User\\AppData\\LocalLow",
                         L"SystemRoot=C:\\Windows",
                         L"TEMP=C:\\Users\\User\\AppData\\Local\\Temp",
                         L"windir=C:\\Windows",
                     }));
  EXPECT_EQ(EnvironmentStrings().GetPathCount(), 9);
  EXPECT_EQ(EnvironmentStrings().GetPathName(4), L"C:\\Users\\User");
  EXPECT_EQ(EnvironmentStrings().GetPathName(9), L"");
  EXPECT_EQ(EnvironmentStrings().GetPathName(-1), L"");
}

TEST(EnvironmentStrings, WithoutAProfileThereIsNoLocalLowEntry) {
  test::FakePlatform fakes = ProfileFakes();
  fakes.system->folders.erase(40);
  fakes.Install();
  for (const TEnvironmentStringRec& rec : EnvironmentStrings().PathList()) EXPECT_NE(rec.Name, L"LOCAL_APPDATA_LOW");
}

TEST(EnvironmentStrings, ExpandPathVarsReplacesKnownNamesInAnyCase) {
  ProfileFakes().Install();
  EXPECT_EQ(ExpandPathVars(L"%appdata%\\App\\a.exe;%AppData%\\b"),
            L"C:\\Users\\User\\AppData\\Roaming\\App\\a.exe;C:\\Users\\User\\AppData\\Roaming\\b");
  EXPECT_EQ(ExpandPathVars(L"%LOCAL_APPDATA_LOW%\\x %windir%"), L"C:\\Users\\User\\AppData\\LocalLow\\x C:\\Windows");
  EXPECT_EQ(ExpandPathVars(L"%NOPE%\\x and 100%"), L"%NOPE%\\x and 100%");
  EXPECT_EQ(ExpandPathVars(L"plain"), L"plain");
}

}  // namespace
}  // namespace kelvara
