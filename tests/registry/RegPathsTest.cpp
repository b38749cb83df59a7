#include "registry/RegPaths.h"

#include <gtest/gtest.h>

#include "RegistryTestHost.h"
#include "platform/Text.h"
#include "registry/NefoRegistry.h"

namespace kelvara {
namespace {

using test::RegistryTestHost;

TEST(RegPaths, RootNamesInBothDirections) {
  EXPECT_EQ(RootKeyToName(platform::kHkeyLocalMachine), L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(RootKeyToName(platform::kHkeyCurrentConfig), L"HKEY_CURRENT_CONFIG");
  EXPECT_EQ(RootKeyToName(platform::kHkeyPerformanceData), L"");
  EXPECT_EQ(RootKeyToName(0x1234), L"");
  EXPECT_EQ(RootKeyLongName(platform::kHkeyPerformanceData), L"HKEY_PERFORMANCE_DATA");
  EXPECT_EQ(RootKeyLongName(platform::kHkeyDynData), L"HKEY_DYN_DATA");

  const struct {
    const wchar_t* name;
    platform::HKey root;
  } names[] = {
      {L"hklm", platform::kHkeyLocalMachine},
      {L"HKey_Local_Machine", platform::kHkeyLocalMachine},
      {L"HKCU", platform::kHkeyCurrentUser},
      {L"hku", platform::kHkeyUsers},
      {L"HKEY_CURRENT_CONFIG", platform::kHkeyCurrentConfig},
      {L"hkcc", platform::kHkeyCurrentConfig},
      {L"HKEY_PERFORMANCE_DATA", platform::kHkeyClassesRoot},
      {L"", platform::kHkeyClassesRoot},
      {L"HKLM\\", platform::kHkeyClassesRoot},
  };
  for (const auto& c : names) EXPECT_EQ(NameToRootKey(c.name), c.root) << ToUtf8(c.name);
}

TEST(RegPaths, DelimitersAndEscapes) {
  EXPECT_EQ(IncludeKeyDelimiter(L"A\\"), L"A\\");
  EXPECT_EQ(IncludeKeyDelimiter(L"A"), L"A\\");
  EXPECT_EQ(IncludeKeyDelimiter(L""), L"");
  EXPECT_EQ(IncludeLeadingDelimiter(L"A\\B"), L"\\A\\B");
  EXPECT_EQ(IncludeLeadingDelimiter(L"\\A"), L"\\A");
  EXPECT_EQ(IncludeLeadingDelimiter(L""), L"");
  EXPECT_EQ(EscapeBackslashes(L"C:\\a\\\\b"), L"C:\\\\a\\\\\\\\b");
}

TEST(RegPaths, CountsAndLastPositions) {
  const struct {
    const wchar_t* sub;
    const wchar_t* text;
    int count;
    int lastPos;
  } cases[] = {
      {L"aa", L"aaa", 2, 2}, {L"ab", L"abcab", 2, 4}, {L"x", L"abc", 0, -1},
      {L"", L"abc", 0, -1},  {L"abc", L"abc", 1, 2},  {L"A", L"aaa", 0, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CountSubStr(c.sub, c.text), c.count) << ToUtf8(c.sub) << " in " << ToUtf8(c.text);
    EXPECT_EQ(LastPosIndex(c.sub, c.text), c.lastPos) << ToUtf8(c.sub) << " in " << ToUtf8(c.text);
  }
}

TEST(RegPaths, FindsGuidsAnywhereInTheText) {
  EXPECT_TRUE(IsGuidString(L"{12345678-ABCD-ef01-2345-6789abcdef01}"));
  EXPECT_TRUE(IsGuidString(L"CLSID\\{12345678-ABCD-ef01-2345-6789abcdef01}\\InprocServer32"));
  EXPECT_TRUE(IsGuidString(L"{{zzzzzzzz-____-0000-aaaa-bbbbbbbbbbbb}"));
  EXPECT_FALSE(IsGuidString(L"{12345678-ABCD-ef01-2345-6789abcdef0}"));
  EXPECT_FALSE(IsGuidString(L"12345678-ABCD-ef01-2345-6789abcdef01"));
  EXPECT_FALSE(IsGuidString(L"{12345678-AB D-ef01-2345-6789abcdef01}"));
  EXPECT_FALSE(IsGuidString(L""));
}

TEST(RegPaths, RegPathExistsNamesTheRootOfAnExistingKey) {
  RegistryTestHost host;
  host.Load(L"[$\\Present]\r\n");
  EXPECT_EQ(RegPathExists(host.FullPath(L"Present")), 2);
  EXPECT_EQ(RegPathExists(L"hkey_current_user\\" + host.Path(L"present")), 2);
  EXPECT_EQ(RegPathExists(host.FullPath(L"Missing")), 0);
  EXPECT_EQ(RegPathExists(L"HKCU\\" + host.Path(L"Present")), 0);
  EXPECT_EQ(RegPathExists(L"HKEY_CURRENT_CONFIG\\Software"), 0);
  EXPECT_EQ(RegPathExists(L""), 0);
}

TEST(RegPaths, ComputerNameIsEmptyWhenItCannotNameAFile) {
  // The computer name key is machine-wide; only the snapshot store may be
  // changed freely.
  RegistryTestHost host;
  if (!RegistryTestHost::HasPrivateRegistry()) GTEST_SKIP() << "needs a registry of its own";
  const wchar_t* const key = L"SYSTEM\\ControlSet001\\Control\\ComputerName\\ComputerName";
  EXPECT_EQ(GetRegComputerName(), L"");
  const struct {
    const wchar_t* name;
    const wchar_t* expected;
  } cases[] = {{L"DESKTOP-1", L"DESKTOP-1"},
               {L"a,b", L""},
               {L"a/b", L""},
               {L"a;b", L""},
               {L"a*", L""},
               {L"a?", L""},
               {L"a\\b", L""}};
  for (const auto& c : cases) {
    TNefoRegistry reg;
    reg.SetRootKey(platform::kHkeyLocalMachine);
    ASSERT_TRUE(reg.OpenKey(key, true));
    reg.WriteString(L"ComputerName", c.name);
    EXPECT_EQ(GetRegComputerName(), c.expected) << ToUtf8(c.name);
  }
}

}  // namespace
}  // namespace kelvara
