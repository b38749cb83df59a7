#include "registry/NefoRegistry.h"

#include <gtest/gtest.h>

#include "RegistryTestHost.h"
#include "platform/Text.h"
#include "registry/RegistryException.h"

namespace kelvara {
namespace {

using test::RegistryTestHost;

// Full access in the 64-bit view; the default root is the test's root.
constexpr std::uint32_t kFullAccess64 = platform::kKeyAllAccess | platform::kKeyWow64_64Key;

TEST(NefoRegistry, StartsOnTheCurrentUserWithFullAccess) {
  RegistryTestHost host;
  TNefoRegistry reg;
  EXPECT_EQ(reg.RootKey(), platform::kHkeyCurrentUser);
  EXPECT_EQ(reg.Access(), 0xF003Fu);
  EXPECT_TRUE(reg.LazyWrite());
  EXPECT_EQ(reg.CurrentKey(), 0u);
  EXPECT_EQ(reg.RootKeyName(), L"HKEY_CURRENT_USER");
  reg.SetRootKey(platform::kHkeyDynData);
  EXPECT_EQ(reg.RootKeyName(), L"HKEY_DYN_DATA");
  reg.SetRootKey(0x1234);
  EXPECT_EQ(reg.RootKeyName(), L"");
}

TEST(NefoRegistry, KeyArgumentsFollowTheCurrentPathRules) {
  RegistryTestHost host;
  host.Load(L"[$\\A\\B\\C]\r\n");
  TNefoRegistry reg(kFullAccess64);
  const std::wstring base = host.Base();
  const struct {
    std::wstring key;
    bool opens;
    std::wstring path;  // CurrentPath afterwards
  } steps[] = {
      {L"\\" + base, true, base},                          // absolute, nothing open
      {L"\\" + base + L"\\A\\B", true, base + L"\\A\\B"},  // absolute while a key is open
      {L"C", true, base + L"\\A\\B\\C"},                   // relative to the open key
      {L"Missing", false, base + L"\\A\\B\\C"},            // a failed open changes nothing
      {L"\\" + base + L"\\A", true, base + L"\\A"},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(reg.OpenKey(step.key, false), step.opens) << ToUtf8(step.key);
    EXPECT_EQ(reg.CurrentPath(), step.path) << ToUtf8(step.key);
  }
  EXPECT_EQ(reg.LastError(), 0);
  EXPECT_FALSE(reg.OpenKey(L"Missing", false));
  EXPECT_EQ(reg.LastError(), platform::kErrorFileNotFound);
  EXPECT_NE(reg.LastErrorMsg(), L"");
  reg.CloseKey();
  EXPECT_EQ(reg.CurrentPath(), L"");
  EXPECT_TRUE(reg.OpenKey(base + L"\\A", false));  // relative to the root
  EXPECT_EQ(reg.CurrentPath(), base + L"\\A");
  EXPECT_TRUE(reg.OpenKey(L"New\\Deeper", true));
  EXPECT_EQ(reg.CurrentPath(), base + L"\\A\\New\\Deeper");
  EXPECT_EQ(reg.LastErrorMsg(), L"");
}

TEST(NefoRegistry, ReadOnlyOpeningKeepsTheViewAndExistenceKeepsTheMask) {
  RegistryTestHost host;
  host.Load(L"[$\\A]\r\n");
  TNefoRegistry reg(kFullAccess64);
  EXPECT_TRUE(reg.KeyExists(host.Path(L"A")));
  EXPECT_FALSE(reg.KeyExists(host.Path(L"B")));
  EXPECT_EQ(reg.Access(), 0xF013Fu);
  EXPECT_EQ(reg.CurrentKey(), 0u);
  EXPECT_TRUE(reg.OpenKeyReadOnly(host.Path(L"A")));
  EXPECT_EQ(reg.Access(), 0x20119u);
  EXPECT_EQ(reg.CurrentPath(), host.Path(L"A"));
}

TEST(NefoRegistry, DeletesAKeyWithItsWholeTree) {
  RegistryTestHost host;
  host.Load(
      L"[$\\Doomed\\One\\Two]\r\n\"v\"=\"x\"\r\n[$\\Doomed\\Three]\r\n[$\\Doomed\\Four\\Five\\Six]\r\n"
      L"[$\\Kept]\r\n");
  TNefoRegistry reg(kFullAccess64);
  ASSERT_TRUE(reg.OpenKey(L"\\" + host.Path(L"Kept"), false));
  EXPECT_TRUE(reg.DeleteKey(L"\\" + host.Path(L"Doomed")));
  EXPECT_FALSE(reg.KeyExists(L"\\" + host.Path(L"Doomed")));
  EXPECT_EQ(reg.CurrentPath(), host.Path(L"Kept"));  // the current key stays
  EXPECT_FALSE(reg.DeleteKey(L"\\" + host.Path(L"Doomed")));
  EXPECT_EQ(reg.LastError(), platform::kErrorFileNotFound);
}

TEST(NefoRegistry, ADeletionRefusedBelowKeepsTheKey) {
  RegistryTestHost host;
  host.Load(L"[$\\Doomed\\Locked]\r\n[$\\Doomed\\Free]\r\n");
  if (!host.RefuseWrites(L"Doomed\\Locked")) GTEST_SKIP() << "needs the snapshot store's knobs";
  TNefoRegistry reg(kFullAccess64);
  EXPECT_FALSE(reg.DeleteKey(host.Path(L"Doomed")));
  EXPECT_TRUE(reg.KeyExists(host.Path(L"Doomed\\Locked")));
  EXPECT_FALSE(reg.KeyExists(host.Path(L"Doomed\\Free")));
}

TEST(NefoRegistry, KeyInfoAndNameLists) {
  for (const bool doubleByte : {false, true}) {
    RegistryTestHost host({.doubleByteLocale = doubleByte});
    host.Load(L"[$\\K\\Sub1]\r\n[$\\K\\LongerSub2]\r\n[$\\K]\r\n@=\"d\"\r\n\"Name12\"=hex:01,02,03\r\n");
    TNefoRegistry reg(kFullAccess64);
    ASSERT_TRUE(reg.OpenKey(host.Path(L"K"), false));
    TRegKeyInfo info;
    ASSERT_TRUE(reg.GetKeyInfo(info));
    const int factor = doubleByte ? 2 : 1;
    EXPECT_EQ(info.NumSubKeys, 2);
    EXPECT_EQ(info.MaxSubKeyLen, 10 * factor);
    EXPECT_EQ(info.NumValues, 2);
    EXPECT_EQ(info.MaxValueLen, 6 * factor);
    EXPECT_EQ(info.MaxDataLen, 4);
    EXPECT_TRUE(reg.HasSubKeys());
    std::vector<std::wstring> names{L"stale"};
    reg.GetKeyNames(names);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"LongerSub2", L"Sub1"}));
    reg.GetValueNames(names);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"", L"Name12"}));
  }
  TNefoRegistry closed;
  TRegKeyInfo info{.NumSubKeys = 7};
  EXPECT_FALSE(closed.GetKeyInfo(info));
  EXPECT_EQ(info.NumSubKeys, 0);
}

TEST(NefoRegistry, DataAsText) {
  RegistryTestHost host;
  host.Load(
      L"[$\\V]\r\n"
      L"\"minus\"=dword:ffffffff\r\n"
      L"\"26\"=dword:0000001a\r\n"
      L"\"bin\"=hex:0a,1b\r\n"
      L"\"nobin\"=hex:\r\n"
      L"\"qword\"=hex(b):01,02,03,04,05,06,07,88\r\n"
      L"\"expand\"=hex(2):25,00,61,00,25,00,00,00\r\n"
      L"\"sz\"=\"C:\\\\a\\\"b\"\r\n"
      L"\"sz-no-nul\"=hex(1):61,00,62,00\r\n"
      L"\"sz-inner-nul\"=hex(1):61,00,00,00,62,00,00,00\r\n"
      L"\"big\"=hex(5):01,00,00,80\r\n"
      L"\"multi\"=hex(7):61,00,00,00,00,00\r\n"
      L"\"none\"=hex(0):ff\r\n"
      L"\"odd-dword\"=hex(4):01,02\r\n");
  TNefoRegistry reg(kFullAccess64);
  ASSERT_TRUE(reg.OpenKey(host.Path(L"V"), false));
  const struct {
    const wchar_t* name;
    const wchar_t* plain;
    const wchar_t* prefixed;
  } cases[] = {
      {L"minus", L"-1", L"dword:FFFFFFFF"},
      {L"26", L"26", L"dword:0000001A"},
      {L"bin", L"0A,1B", L"hex(3):0A,1B"},
      {L"nobin", L"", L"hex(3):"},
      {L"qword", L"-8644934341102468607", L"hex(b):01,02,03,04,05,06,07,88"},
      {L"expand", L"%a%", L"hex(2):25,00,61,00,25,00,00,00"},
      {L"sz", L"C:\\a\"b", L"C:\\a\"b"},
      {L"sz-no-nul", L"ab", L"ab"},
      {L"sz-inner-nul", L"a", L"a"},
      {L"big", L"-2147483647", L"hex(5):01,00,00,80"},
      {L"multi", L"61,00,00,00,00,00", L"hex(7):61,00,00,00,00,00"},
      {L"none", L"FF", L"hex(0):FF"},
      {L"odd-dword", L"513", L"hex(4):01,02"},
      {L"missing", L"", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(reg.GetDataAsString(c.name, false), c.plain) << ToUtf8(c.name);
    EXPECT_EQ(reg.GetDataAsString(c.name, true), c.prefixed) << ToUtf8(c.name);
  }
}

TEST(NefoRegistry, TypedReadsNeverRaise) {
  RegistryTestHost host;
  host.Load(
      L"[$\\V]\r\n\"dw\"=dword:00000007\r\n\"zero\"=dword:00000000\r\n\"big\"=hex(5):00,00,00,01\r\n"
      L"\"short\"=hex(4):01,02\r\n\"sz\"=\"text\"\r\n\"empty-sz\"=hex(1):\r\n\"expand\"=hex(2):41,00,00,00\r\n"
      L"\"q\"=hex(b):ff,ff,ff,ff,ff,ff,ff,7f\r\n\"bin\"=hex:01,02,03\r\n");
  TNefoRegistry reg(kFullAccess64);
  ASSERT_TRUE(reg.OpenKey(host.Path(L"V"), false));
  const struct {
    const wchar_t* name;
    bool isInteger;
    int integer;
    bool isString;
    const wchar_t* text;
  } cases[] = {
      {L"dw", true, 7, false, L""},           {L"zero", true, 0, false, L""},
      {L"big", true, 0x01000000, false, L""},  // stored bytes, not swapped
      {L"short", false, 0, false, L""},       {L"sz", false, 0, true, L"text"},
      {L"empty-sz", false, 0, false, L""},    {L"expand", false, 0, true, L"A"},
      {L"bin", false, 0, false, L""},         {L"missing", false, 0, false, L""},
  };
  for (const auto& c : cases) {
    int integer = -99;
    EXPECT_EQ(reg.ReadInteger(c.name, integer), c.isInteger) << ToUtf8(c.name);
    if (c.isInteger) {
      EXPECT_EQ(integer, c.integer) << ToUtf8(c.name);
    }
    EXPECT_EQ(reg.ReadBool(c.name), c.isInteger && c.integer != 0) << ToUtf8(c.name);
    std::wstring text = L"stale";
    EXPECT_EQ(reg.ReadString(c.name, text), c.isString) << ToUtf8(c.name);
    EXPECT_EQ(text, c.text) << ToUtf8(c.name);
  }
  EXPECT_EQ(reg.ReadInteger64(L"q"), 0x7FFFFFFFFFFFFFFFll);
  EXPECT_EQ(reg.GetDataSize(L"bin"), 3);
  EXPECT_EQ(reg.GetDataSize(L"missing"), -1);
  EXPECT_EQ(reg.GetDataType(L"expand"), platform::kRegExpandSz);
  EXPECT_EQ(reg.GetDataType(L"missing"), 0u);
  std::uint8_t small[2] = {9, 9};
  EXPECT_EQ(reg.ReadBinaryData(L"bin", small), 3);
  EXPECT_EQ(small[0], 9);  // too small: nothing copied
  std::uint8_t large[4] = {};
  EXPECT_EQ(reg.ReadBinaryData(L"bin", large), 3);
  EXPECT_EQ(large[2], 3);
  EXPECT_EQ(reg.ReadBinaryData(L"missing", large), 0);
}

TEST(NefoRegistry, WritesStoreTheRawFormsAndRaiseOnFailure) {
  RegistryTestHost host;
  TNefoRegistry reg(kFullAccess64);
  ASSERT_TRUE(reg.OpenKey(host.Path(L"W"), true));
  reg.WriteString(L"s", L"ab");
  reg.WriteExpandString(L"e", L"%x%");
  reg.WriteInteger(L"i", -2);
  reg.WriteBool(L"b", true);
  reg.WriteFloat(L"f", 1.5);
  reg.WriteCurrency(L"c", 12.3456);
  reg.WriteBinaryData(L"bin", std::vector<std::uint8_t>{1, 2});
  EXPECT_EQ(reg.GetDataAsString(L"s", true), L"ab");
  EXPECT_EQ(reg.GetDataAsString(L"e", true), L"hex(2):25,00,78,00,25,00,00,00");
  EXPECT_EQ(reg.GetDataAsString(L"i", true), L"dword:FFFFFFFE");
  EXPECT_EQ(reg.GetDataAsString(L"b", true), L"dword:00000001");
  EXPECT_EQ(reg.GetDataAsString(L"f", true), L"hex(3):00,00,00,00,00,00,F8,3F");
  EXPECT_DOUBLE_EQ(reg.ReadFloat(L"f"), 1.5);
  EXPECT_DOUBLE_EQ(reg.ReadCurrency(L"c"), 12.3456);
  EXPECT_EQ(reg.GetDataAsString(L"bin", true), L"hex(3):01,02");

  TNefoRegistry closed;
  try {
    closed.WriteString(L"name", L"x");
    ADD_FAILURE() << "no exception";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), L"Failed to set data for 'name'");
  }
  TNefoRegistry invalidRoot;
  invalidRoot.SetRootKey(0x1234);
  try {
    invalidRoot.CreateKey(L"Some\\Key");
    ADD_FAILURE() << "no exception";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), L"Failed to create key Some\\Key");
  }
}

TEST(NefoRegistry, RenamesAValueKeepingItsType) {
  RegistryTestHost host;
  host.Load(L"[$\\R]\r\n\"old\"=hex(2):41,00,00,00\r\n\"taken\"=\"t\"\r\n\"empty\"=hex:\r\n");
  TNefoRegistry reg(kFullAccess64);
  ASSERT_TRUE(reg.OpenKey(host.Path(L"R"), false));
  reg.RenameValue(L"old", L"new");
  EXPECT_FALSE(reg.ValueExists(L"old"));
  EXPECT_EQ(reg.GetDataAsString(L"new", true), L"hex(2):41,00,00,00");
  reg.RenameValue(L"new", L"taken");  // the new name exists: nothing
  EXPECT_TRUE(reg.ValueExists(L"new"));
  EXPECT_EQ(reg.GetDataAsString(L"taken", true), L"t");
  reg.RenameValue(L"empty", L"other");  // no data: nothing
  EXPECT_TRUE(reg.ValueExists(L"empty"));
  EXPECT_FALSE(reg.ValueExists(L"other"));
}

TEST(NefoRegistry, MovesAKeyWithEveryValueAndSubKey) {
  RegistryTestHost host;
  host.Load(
      L"[$\\From]\r\n@=\"default\"\r\n\"empty\"=hex:\r\n\"n\"=dword:00000005\r\n"
      L"[$\\From\\Child\\Grandchild]\r\n\"g\"=\"deep\"\r\n[$\\Taken]\r\n");
  TNefoRegistry reg(kFullAccess64);
  reg.MoveKey(host.Path(L"From"), host.Path(L"Taken"), true);  // target exists: nothing
  EXPECT_TRUE(reg.KeyExists(host.Path(L"From")));
  reg.MoveKey(host.Path(L"From"), host.Path(L"From\\Inside"), true);  // into itself: nothing
  EXPECT_FALSE(reg.KeyExists(host.Path(L"From\\Inside")));

  reg.MoveKey(host.Path(L"From"), host.Path(L"To"), true);
  EXPECT_FALSE(reg.KeyExists(host.Path(L"From")));
  ASSERT_TRUE(reg.OpenKey(host.Path(L"To"), false));
  EXPECT_EQ(reg.GetDataAsString(L"", true), L"default");
  EXPECT_EQ(reg.GetDataAsString(L"empty", true), L"hex(3):");
  EXPECT_EQ(reg.GetDataAsString(L"n", true), L"dword:00000005");
  ASSERT_TRUE(reg.OpenKey(L"Child\\Grandchild", false));
  EXPECT_EQ(reg.GetDataAsString(L"g", false), L"deep");

  reg.CloseKey();
  reg.MoveKey(host.Path(L"To"), host.Path(L"Copy"), false);
  EXPECT_TRUE(reg.KeyExists(host.Path(L"To\\Child\\Grandchild")));
  EXPECT_TRUE(reg.KeyExists(host.Path(L"Copy\\Child\\Grandchild")));
}

}  // namespace
}  // namespace kelvara
