#include "scanner/RegScanner.h"

#include <gtest/gtest.h>

#include "registry/RegFun.h"
#include "scanner/RegScannerExport.h"
#include "scanner/ScanCategories.h"
#include "scanner/UserProfiles.h"
#include "support/ScanFixture.h"

namespace kelvara {
namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using test::Location;
using test::RecordingTarget;
using test::ScanFixture;

const wchar_t kMachine[] =
    L"Windows Registry Editor Version 5.00\r\n\r\n"
    L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App]\r\n\"Path\"=\"C:\\\\gone.exe\"\r\n\"   \"=\"blank\"\r\n"
    L"\"mail.eml\"=\"x\"\r\n\r\n"
    L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\CLSID\\x]\r\n\r\n"
    L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Second]\r\n\"A\"=\"1\"\r\n\"B\"=\"2\"\r\n";

// A rule of the test's own: reports every value of the given keys, the
// even-numbered ones as safe, and watches for a stop between values.
TCategoryBlock ValuesRule(std::vector<std::wstring> keys, bool coversOtherUsers = false) {
  TCategoryBlock block;
  block.estimate = [n = keys.size()](TRegScanner&) { return static_cast<std::int64_t>(n); };
  block.rules = [keys](TRegScanner& s, const TProfileContext& ctx) {
    bool safe = true;
    for (const auto& key : keys) {
      for (const auto* value : {L"Path", L"   ", L"mail.eml", L"A", L"B"}) {
        if (s.Aborted()) return;
        s.ReportKey(key, true);
        s.AddResult(kHkeyLocalMachine, key, value, L"data", rfValue, _SoftWare, safe, L"reason", ctx.userName);
        safe = !safe;
      }
    }
  };
  block.coversOtherUsers = coversOtherUsers;
  return block;
}

class ScannerTest : public ::testing::Test {
 protected:
  void SetUp() override { fixture.LoadReg(kMachine); }

  std::vector<TResultData> Scan(TRegScanner& s) {
    RecordingTarget target(&s);
    s.SetParWin(&target);
    s.Execute();
    s.SetParWin(nullptr);
    messages = target.messages;
    return target.findings;
  }

  ScanFixture fixture;
  std::vector<RecordingTarget::Message> messages;
};

TEST_F(ScannerTest, ExclusionsMatchAnywhereInTheLocationText) {
  struct Case {
    std::vector<std::wstring> patterns;
    std::vector<std::wstring> expected;
  };
  const std::wstring app = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App";
  const std::wstring second = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Second";
  // A missing value of an existing key is still a writable location.
  const std::vector<std::wstring> appAll = {app + L"\\Path", app, app + L"\\A", app + L"\\B"};
  const std::vector<std::wstring> secondAll = {second + L"\\Path", second, second + L"\\A", second + L"\\B"};
  std::vector<std::wstring> everything = appAll;
  everything.insert(everything.end(), secondAll.begin(), secondAll.end());
  std::vector<std::wstring> appAndSecondKey = appAll;
  appAndSecondKey.push_back(second);
  const Case cases[] = {
      // The built-in "*.eml" removes a value name containing ".eml"; a
      // value of blanks is reported with the empty name.
      {{}, everything},
      {{L"vendor\\APP"}, secondAll},
      {{L"second\\?"}, appAndSecondKey},
      {{L""}, {}},
  };
  for (const auto& c : cases) {
    TRegScanner s;
    s.SetCategoryBlock(_SoftWare, ValuesRule({L"SOFTWARE\\Vendor\\App", L"SOFTWARE\\Vendor\\Second"}));
    s.AddScanType(_SoftWare);
    s.SetExcluded(c.patterns);
    std::vector<std::wstring> got;
    for (const auto& f : Scan(s)) got.push_back(Location(f));
    EXPECT_EQ(got, c.expected) << (c.patterns.empty() ? "" : ToUtf8(c.patterns[0]));
  }
}

TEST_F(ScannerTest, BuiltInPatternOfClsidUnderClsidExcludesTheKey) {
  TRegScanner s;
  TCategoryBlock block;
  block.rules = [](TRegScanner& scanner, const TProfileContext&) {
    scanner.AddResult(platform::kHkeyClassesRoot, L"CLSID\\CLSID\\x", L"", L"", rfKey, _ACTIVEX, true, L"r", L"");
  };
  s.SetCategoryBlock(_ACTIVEX, block);
  s.SetIsAdmin(true);
  s.AddScanType(_ACTIVEX);
  EXPECT_TRUE(Scan(s).empty());
  EXPECT_EQ(s.Excluded().size(), 44u);
}

TEST_F(ScannerTest, SafeLevelDropsUnsafeFindingsAndUserDefaultsToRunningUser) {
  for (const TScanLevel level : {slNormal, slSafe}) {
    TRegScanner s;
    s.SetCategoryBlock(_SoftWare, ValuesRule({L"SOFTWARE\\Vendor\\Second"}));
    s.AddScanType(_SoftWare);
    s.SetScanLevel(level);
    const auto found = Scan(s);
    ASSERT_EQ(found.size(), level == slSafe ? 2u : 4u);
    EXPECT_EQ(found[0].User, L"User");
    EXPECT_FALSE(found[0].Checked);
  }
}

TEST_F(ScannerTest, ScanIdsAndStatusRules) {
  TRegScanner s;
  s.AddScanType(_None);
  s.AddScanType(_MRU);
  s.AddScanType(_MRU);
  EXPECT_EQ(s.ScanIDCount(), 2);
  EXPECT_EQ(s.GetScanID(-1), _None);
  EXPECT_EQ(s.GetScanID(2), _None);
  EXPECT_EQ(s.GetScanID(1), _MRU);
  // Stop(true) without a worker thread is a stop.
  s.Stop(true);
  EXPECT_EQ(s.Status(), SAborted);
  Scan(s);
  EXPECT_EQ(s.Status(), SStop);
}

TEST_F(ScannerTest, ExecuteWhileBusyDoesNothing) {
  TRegScanner s;
  int nested = 0;
  TCategoryBlock block;
  block.rules = [&](TRegScanner& scanner, const TProfileContext&) {
    scanner.Execute();
    scanner.Start();
    ++nested;
  };
  s.SetCategoryBlock(_MRU, block);
  s.AddScanType(_MRU);
  Scan(s);
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(std::count_if(messages.begin(), messages.end(), [](const auto& m) { return m.code == SCAN_STARTED; }), 1);
}

TEST_F(ScannerTest, WithoutAdministratorRightsWholeAdminCategoriesSendNothing) {
  TRegScanner s;
  for (int i = 0; i < kScanTypeCount; ++i) s.AddScanType(static_cast<TScanType>(i));
  s.SetIsAdmin(false);
  Scan(s);
  std::vector<std::intptr_t> categories;
  for (const auto& m : messages) {
    if (m.code == SCAN_CATEGORY) categories.push_back(m.lParam);
  }
  const std::vector<std::intptr_t> expected = {_SoftWare,  _AppPath, _FileType, _MRU,   _Uninstall,
                                               _StartMenu, _Startup, _Sound,    _IEUrl, _MUICache};
  EXPECT_EQ(categories, expected);
}

TEST_F(ScannerTest, StopDuringACategoryEndsAbortedWithoutLaterFindings) {
  TRegScanner s;
  auto block = ValuesRule({L"SOFTWARE\\Vendor\\App", L"SOFTWARE\\Vendor\\Second"});
  s.SetCategoryBlock(_SoftWare, block);
  s.SetCategoryBlock(_Uninstall, block);
  s.AddScanType(_SoftWare);
  s.AddScanType(_Uninstall);
  struct StopAtFirst : RecordingTarget {
    using RecordingTarget::RecordingTarget;
    TRegScanner* engine = nullptr;
    std::intptr_t Send(std::uint32_t m, std::uintptr_t w, std::intptr_t l) override {
      RecordingTarget::Send(m, w, l);
      if (w == SCAN_FOUND) engine->Stop(false);
      return 0;
    }
  } target(&s);
  target.engine = &s;
  s.SetParWin(&target);
  s.Execute();
  EXPECT_EQ(target.findings.size(), 1u);
  EXPECT_EQ(s.Status(), SAborted);
  ASSERT_FALSE(target.messages.empty());
  EXPECT_EQ(target.messages.back().code, SCAN_FINISHED);
  EXPECT_EQ(std::count_if(target.messages.begin(), target.messages.end(),
                          [](const auto& m) { return m.code == SCAN_CATEGORY; }),
            1);
}

TEST_F(ScannerTest, ThreadedScanSendsTheSameSequenceAndStableCurrentData) {
  auto run = [&](bool threaded) {
    TRegScanner s;
    s.SetCategoryBlock(_SoftWare, ValuesRule({L"SOFTWARE\\Vendor\\App", L"SOFTWARE\\Vendor\\Second"}));
    s.AddScanType(_SoftWare);
    s.AddScanType(_SoftWare);
    s.SetThreaded(threaded);
    struct Waiting : RecordingTarget {
      using RecordingTarget::RecordingTarget;
      std::atomic<bool> finished{false};
      std::intptr_t Send(std::uint32_t m, std::uintptr_t w, std::intptr_t l) override {
        RecordingTarget::Send(m, w, l);
        if (w == SCAN_FINISHED) finished = true;
        return 0;
      }
    } target(&s);
    s.SetParWin(&target);
    s.Execute();
    while (!target.finished) std::this_thread::yield();
    std::vector<std::wstring> trace;
    for (const auto& m : target.messages) trace.push_back(std::to_wstring(m.code) + L":" + std::to_wstring(m.lParam));
    for (const auto& f : target.findings) trace.push_back(Location(f));
    return trace;
  };
  const auto plain = run(false);
  EXPECT_EQ(run(true), plain);
  EXPECT_GT(plain.size(), 10u);
}

TEST_F(ScannerTest, ExportFunctionsCopyTheConfiguration) {
  TConfig config;
  TEntry mru;
  mru.ScanID = _MRU;
  config.ScanTypes = {&mru};
  config.ThreadMode = false;
  config.ScanLevel = slSafe;
  config.ExList = {L"a", L"b"};
  RecordingTarget target;
  config.ParWinHandle = &target;
  ASSERT_TRUE(SetupScanner(config));
  TRegScanner* s = Scanner();
  ASSERT_NE(s, nullptr);
  target.Watch(s);
  EXPECT_EQ(s->ScanIDCount(), 1);
  EXPECT_EQ(s->ScanLevel(), slSafe);
  EXPECT_EQ(s->Excluded(), config.ExList);
  StartScan();
  EXPECT_EQ(GetScanStatus(), SStop);
  EXPECT_EQ(s->Excluded().size(), 46u);
  ASSERT_TRUE(SetupScanner(config));
  EXPECT_EQ(s->Excluded().size(), 2u);
  FreeScanner();
  EXPECT_EQ(GetScanStatus(), SStop);
  EXPECT_EQ(GetKeyCount(), 0);
}

TEST(ScanCategoriesTest, NamesAndKeys) {
  ScanFixture fixture;
  EXPECT_EQ(GetScanTypeName(_FWALL), L"Firewall Settings");
  EXPECT_EQ(GetScanTypeName(_None), L"");
  EXPECT_EQ(ScanTypeFromKey(L"firewall"), _FWALL);
  EXPECT_EQ(ScanTypeFromKey(L"ContextMenu"), _ContextMenu);
  EXPECT_EQ(ScanTypeFromKey(L"nothing"), _None);
}

const wchar_t kProfiles[] =
    L"Windows Registry Editor Version 5.00\r\n\r\n"
    L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-18]\r\n"
    L"\"ProfileImagePath\"=\"C:\\\\Windows\\\\system32\\\\config\\\\systemprofile\"\r\n\r\n"
    L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-1-2-3-1001]\r\n"
    L"\"ProfileImagePath\"=\"C:\\\\Users\\\\User\"\r\n\r\n"
    L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-1-2-3-1002]\r\n"
    L"\"ProfileImagePath\"=\"%SystemDrive%\\\\Users\\\\Other\"\r\n\r\n"
    L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-1-2-3-1003]\r\n"
    L"\"ProfileImagePath\"=\"C:\\\\Users\\\\Gone\"\r\n";

TEST(UserProfilesTest, ListSkipsServiceAccountsAndUnknownSidsAndKnowsTheRunningUser) {
  ScanFixture fixture([](platform::SnapshotSettings& s) {
    s.system.userName = L"user";
    s.system.accounts[L"S-1-5-21-1-2-3-1001"] = L"USER";
    s.system.accounts[L"S-1-5-21-1-2-3-1002"] = L"Other";
  });
  fixture.LoadReg(kProfiles);
  LoadUserList();
  ASSERT_EQ(UserList().size(), 2u);
  EXPECT_EQ(UserList()[0].UserName, L"USER");
  EXPECT_TRUE(UserList()[0].IsCurUser);
  EXPECT_TRUE(UserList()[0].Checked);
  EXPECT_EQ(UserList()[1].HomeDir, L"%SystemDrive%\\Users\\Other");
  EXPECT_FALSE(UserList()[1].IsCurUser);
  EXPECT_FALSE(UserList()[1].Checked);
  EXPECT_FALSE(StringToSid(L"S-1-"));
  EXPECT_TRUE(StringToSid(L"S-1-5-18"));
}

TEST(UserProfilesTest, HivesOfCheckedProfilesLoadOnceAndUnloadQuietly) {
  ScanFixture fixture([](platform::SnapshotSettings& s) {
    s.system.accounts[L"S-1-5-21-1-2-3-1002"] = L"Other";
    s.system.accounts[L"S-1-5-21-1-2-3-1003"] = L"Gone";
  });
  fixture.LoadReg(kProfiles);
  ASSERT_EQ(fixture.Store().RegisterHiveFile(L"%SystemDrive%\\Users\\Other\\NtUser.dat"), 0);
  LoadUserList();
  ASSERT_EQ(UserList().size(), 2u);
  for (auto& u : UserList()) u.Checked = true;
  LoadUserHives();
  EXPECT_TRUE(RegKeyExistsEx(platform::kHkeyUsers, L"S-1-5-21-1-2-3-1002", true));
  EXPECT_FALSE(RegKeyExistsEx(platform::kHkeyUsers, L"S-1-5-21-1-2-3-1003", true));
  // Already present: not loaded a second time, no failure.
  LoadUserHives();
  UnloadUserHives();
  EXPECT_FALSE(RegKeyExistsEx(platform::kHkeyUsers, L"S-1-5-21-1-2-3-1002", true));
  UnloadUserHives();
  const TProfileContext other = ProfileContext(UserList()[1]);
  EXPECT_EQ(other.root, platform::kHkeyUsers);
  EXPECT_EQ(other.prefix, L"S-1-5-21-1-2-3-1003\\");
  EXPECT_FALSE(other.allowPercent);
}

}  // namespace
}  // namespace kelvara
