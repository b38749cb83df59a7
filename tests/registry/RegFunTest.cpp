#include "registry/RegFun.h"

#include <gtest/gtest.h>

#include "RegistryTestHost.h"
#include "platform/Text.h"

namespace kelvara {
namespace {

using test::HostFacts;
using test::RegistryTestHost;

TEST(RegFun, AccessMaskFollowsTheViewPolicy) {
  const wchar_t* const wow = L"SOFTWARE\\Wow6432Node\\Vendor";
  const wchar_t* const other = L"SOFTWARE\\Vendor";
  const struct {
    HostFacts facts;
    const wchar_t* key;
    bool readOnly;
    bool useView;
    std::uint32_t mask;
  } cases[] = {
      {{.win64 = true, .major = 6, .minor = 1}, wow, true, true, 0x20119},  // Windows 7
      {{.win64 = true, .major = 10, .minor = 0}, L"software\\WOW6432NODE", true, true, 0x20119},
      {{.win64 = true, .major = 6, .minor = 0}, wow, true, true, 0x20219},   // Vista
      {{.win64 = true, .major = 5, .minor = 2}, wow, false, true, 0xF023F},  // XP x64
      {{.win64 = true, .major = 6, .minor = 0}, other, true, true, 0x20119},
      {{.win64 = true, .major = 6, .minor = 1}, other, false, true, 0xF013F},
      {{.win64 = true, .major = 6, .minor = 1}, other, true, false, 0x20019},  // no view asked
      {{.win64 = false, .major = 6, .minor = 0}, wow, true, true, 0x20019},    // 32-bit Windows
      {{.win64 = false, .major = 10, .minor = 0}, L"", false, true, 0xF003F},
  };
  for (const auto& c : cases) {
    RegistryTestHost host(c.facts);
    EXPECT_EQ(GetRegAccess(c.key, c.readOnly, c.useView), c.mask)
        << ToUtf8(c.key) << " on " << c.facts.major << "." << c.facts.minor << (c.facts.win64 ? " x64" : " x86");
  }
}

TEST(RegFun, ReadRegDataTellsAMissingKeyFromAMissingValue) {
  RegistryTestHost host;
  host.Load(L"[$\\K]\r\n@=\"default\"\r\n\"n\"=dword:0000002a\r\n\"m\"=hex(7):61,00,00,00,00,00\r\n");
  const struct {
    const wchar_t* key;
    const wchar_t* name;
    bool opened;
    const wchar_t* text;
  } cases[] = {
      {L"K", L"missing", true, L""},  {L"K", L"", true, L"default"},
      {L"K", L"n", true, L"42"},      {L"K", L"m", true, L"61,00,00,00,00,00"},
      {L"Missing", L"n", false, L""},
  };
  for (const auto& c : cases) {
    std::wstring text = L"stale";
    EXPECT_EQ(ReadRegData(host.Root(), host.Path(c.key), c.name, true, text), c.opened) << ToUtf8(c.name);
    EXPECT_EQ(text, c.text) << ToUtf8(c.name);
    GetRegData(host.Root(), host.Path(c.key), c.name, text);
    EXPECT_EQ(text, c.text) << ToUtf8(c.name);
  }
  EXPECT_EQ(ReadRegInteger(host.Root(), host.Path(L"K"), L"n", true, -1), 42);
  EXPECT_EQ(ReadRegInteger(host.Root(), host.Path(L"K"), L"", true, -1), -1);
  EXPECT_EQ(ReadRegInteger(host.Root(), host.Path(L"Missing"), L"n", true, -1), -1);
}

TEST(RegFun, ExistenceAndValueDeletion) {
  RegistryTestHost host;
  host.Load(L"[$\\K]\r\n\"v\"=\"x\"\r\n@=\"d\"\r\n");
  EXPECT_TRUE(RegKeyExists(host.Root(), host.Path(L"K")));
  EXPECT_FALSE(RegKeyExists(host.Root(), host.Path(L"Missing")));
  EXPECT_TRUE(RegKeyExistsEx(host.Root(), host.Path(L"K")));
  EXPECT_FALSE(RegKeyExistsEx(host.Root(), host.Path(L"Missing")));
  EXPECT_TRUE(RegValueExists(host.Root(), host.Path(L"K"), L"v"));
  EXPECT_FALSE(RegValueExists(host.Root(), host.Path(L"K"), L"w"));
  EXPECT_TRUE(RegValueExistsEx(host.Root(), host.Path(L"K"), L"v"));
  EXPECT_FALSE(RegValueExistsEx(host.Root(), host.Path(L"Missing"), L"v"));
  EXPECT_TRUE(DeleteRegValue(host.Root(), host.Path(L"K"), L"v"));
  EXPECT_FALSE(DeleteRegValue(host.Root(), host.Path(L"K"), L"v"));
  EXPECT_TRUE(DeleteRegValue(host.Root(), host.Path(L"K"), L""));
  EXPECT_FALSE(RegValueExistsEx(host.Root(), host.Path(L"K"), L""));
}

TEST(RegFun, RefusedAccessCountsAsExistingOnlyForTheExHelpers) {
  RegistryTestHost host;
  host.Load(L"[$\\NoRead]\r\n\"v\"=\"x\"\r\n[$\\NoWrite\\Sub]\r\n[$\\NoWrite]\r\n\"v\"=\"x\"\r\n");
  if (!host.RefuseReads(L"NoRead") || !host.RefuseWrites(L"NoWrite")) GTEST_SKIP() << "needs the store's knobs";
  const platform::HKey root = host.Root();
  EXPECT_TRUE(RegKeyExistsEx(root, host.Path(L"NoRead")));
  EXPECT_FALSE(RegValueExistsEx(root, host.Path(L"NoRead"), L"v"));  // the key does not open
  EXPECT_FALSE(RegKeyExists(root, host.Path(L"NoRead")));

  EXPECT_TRUE(RegKeyExistsEx(root, host.Path(L"NoWrite")));
  EXPECT_TRUE(RegValueExistsEx(root, host.Path(L"NoWrite"), L"v"));
  EXPECT_FALSE(RegKeyExists(root, host.Path(L"NoWrite")));
  EXPECT_FALSE(RegValueExists(root, host.Path(L"NoWrite"), L"v"));
  EXPECT_FALSE(DeleteRegValue(root, host.Path(L"NoWrite"), L"v"));
  EXPECT_EQ(GetRegValueCount(root, host.Path(L"NoWrite")), 0);
  EXPECT_EQ(GetRegSubKeyCount(root, host.Path(L"NoWrite"), false), 0);
  EXPECT_EQ(CountRegSubKeys(root, host.Path(L"NoWrite")), 1);
  std::vector<std::wstring> names{L"untouched"};
  EXPECT_FALSE(GetRegSubKeys(root, host.Path(L"NoWrite"), names, false));
  EXPECT_EQ(names, std::vector<std::wstring>{L"untouched"});
  EXPECT_TRUE(GetRegSubKeys(root, host.Path(L"NoWrite"), names, true));
  EXPECT_EQ(names, std::vector<std::wstring>{L"Sub"});
}

TEST(RegFun, CountsOverATree) {
  RegistryTestHost host;
  host.Load(
      L"[$\\T]\r\n\"a\"=\"1\"\r\n[$\\T\\A]\r\n\"b\"=\"2\"\r\n\"c\"=\"3\"\r\n[$\\T\\A\\Deep]\r\n\"d\"=\"4\"\r\n"
      L"[$\\T\\B]\r\n");
  const platform::HKey root = host.Root();
  EXPECT_EQ(GetRegTreeValueCount(root, host.Path(L"T")), 4);
  EXPECT_EQ(GetRegTreeValueCount(root, host.Path(L"T\\B")), 0);
  EXPECT_EQ(GetRegTreeValueCount(root, host.Path(L"Missing")), 1);
  EXPECT_EQ(GetRegSubKeyCount(root, host.Path(L"T"), false), 2);
  EXPECT_EQ(GetRegSubKeyCount(root, host.Path(L"T"), true), 3);
  EXPECT_EQ(GetRegSubKeyCount(root, host.Path(L"Missing"), true), 0);
  EXPECT_EQ(CountRegSubKeys(root, host.Path(L"T")), 2);
  EXPECT_EQ(GetRegValueCount(root, host.Path(L"T\\A")), 2);
  TRegKeyInfo info;
  EXPECT_TRUE(GetRegKeyInfo(root, host.Path(L"T\\A"), info));
  EXPECT_EQ(info.NumValues, 2);
  EXPECT_EQ(info.NumSubKeys, 1);
  EXPECT_FALSE(GetRegKeyInfo(root, host.Path(L"Missing"), info));
  std::vector<std::wstring> names;
  EXPECT_TRUE(GetRegValues(root, host.Path(L"T\\A"), names, true));
  EXPECT_EQ(names, (std::vector<std::wstring>{L"b", L"c"}));
}

TEST(RegFun, EmptyKeysAndTrees) {
  RegistryTestHost host;
  host.Load(
      L"[$\\Empty]\r\n"
      L"[$\\BlankDefault]\r\n@=\" \t \"\r\n[$\\BlankDefault\\EmptySub\\EmptierSub]\r\n"
      L"[$\\NamedEmpty]\r\n\"x\"=\"\"\r\n"
      L"[$\\TextDefault]\r\n@=\"a\"\r\n"
      L"[$\\EmptySubs\\One]\r\n[$\\EmptySubs\\Two\\Three]\r\n"
      L"[$\\FullSub\\One]\r\n[$\\FullSub\\Two\\Three]\r\n\"v\"=dword:00000000\r\n"
      L"[$\\BlankDefaultSub\\One]\r\n@=\"\"\r\n");
  const struct {
    const wchar_t* key;
    bool emptyKey;
    bool emptyTree;
  } cases[] = {
      {L"Empty", true, true},
      {L"BlankDefault", true, false},
      {L"NamedEmpty", false, false},
      {L"TextDefault", false, false},
      {L"EmptySubs", true, true},
      {L"FullSub", false, false},
      {L"BlankDefaultSub", false, false},  // only the key itself may hold a blank default
      {L"Missing", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsEmptyRegKey(host.Root(), host.Path(c.key)), c.emptyKey) << ToUtf8(c.key);
    EXPECT_EQ(IsEmptyRegTree(host.Root(), host.Path(c.key)), c.emptyTree) << ToUtf8(c.key);
  }
}

TEST(RegFun, RegistryToolsPolicy) {
  if (!RegistryTestHost::HasPrivateRegistry()) GTEST_SKIP() << "changes the user's policies";
  RegistryTestHost host;
  EXPECT_FALSE(IsRegistryToolsDisabled());
  EXPECT_FALSE(EnableRegistryTools());
  host.Load(
      L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System]\r\n"
      L"\"DisableRegistryTools\"=dword:00000001\r\n");
  EXPECT_TRUE(IsRegistryToolsDisabled());
  EXPECT_TRUE(EnableRegistryTools());
  EXPECT_FALSE(IsRegistryToolsDisabled());
}

}  // namespace
}  // namespace kelvara
