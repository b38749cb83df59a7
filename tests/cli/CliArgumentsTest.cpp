#include "cli/CliArguments.h"

#include <gtest/gtest.h>

#include <functional>

#include "cli/JsonText.h"
#include "platform/RegistryApi.h"
#include "platform/Text.h"
#include "repair/FixScript.h"

namespace kelvara::cli {
namespace {

TEST(CliArgumentsTest, ParsesCommandsAndOptionsOrNamesTheUsageError) {
  using Check = std::function<void(const CliArguments&)>;
  const struct {
    std::vector<std::wstring> args;
    std::wstring error;  // empty: parses, and `check` holds
    Check check;
  } cases[] = {
      {{}, L"", [](const CliArguments& a) { EXPECT_EQ(a.command, Command::Help); }},
      {{L"scan"},
       L"",
       [](const CliArguments& a) {
         EXPECT_EQ(a.command, Command::Scan);
         EXPECT_EQ(a.level, slNormal);
         EXPECT_TRUE(a.categories.empty());
         EXPECT_FALSE(a.json);
       }},
      {{L"scan", L"--registry", L"a.reg", L"--registry", L"b.reg", L"--drive", L"c=/mnt/c", L"--drive", L"D=/d",
        L"--user", L"Anna", L"--os", L"6.1", L"--arch", L"x86", L"--no-admin", L"--json", L"--data-dir", L"/tmp/k"},
       L"",
       [](const CliArguments& a) {
         EXPECT_EQ(a.registryFiles, (std::vector<std::wstring>{L"a.reg", L"b.reg"}));
         ASSERT_EQ(a.drives.size(), 2U);
         EXPECT_EQ(a.drives[0].letter, L'C');
         EXPECT_EQ(a.drives[0].folder, L"/mnt/c");
         EXPECT_EQ(a.drives[1].letter, L'D');
         EXPECT_EQ(a.user, L"Anna");
         EXPECT_EQ(a.os, (std::pair<unsigned, unsigned>{6, 1}));
         EXPECT_EQ(a.x64, false);
         EXPECT_TRUE(a.noAdmin);
         EXPECT_TRUE(a.json);
         EXPECT_EQ(a.dataDir, L"/tmp/k");
       }},
      {{L"scan", L"--level", L"deep", L"--category", L"activex", L"--category", L"STARTUPPROGRAM", L"--exclude",
        L"*Vendor*", L"--users", L"Ben, Carl,,"},
       L"",
       [](const CliArguments& a) {
         EXPECT_EQ(a.level, slDeep);
         ASSERT_EQ(a.categories.size(), 2U);
         EXPECT_EQ(a.categories[0], static_cast<TScanType>(0));
         EXPECT_EQ(a.categories[1], static_cast<TScanType>(11));
         EXPECT_EQ(a.excludes, std::vector<std::wstring>{L"*Vendor*"});
         EXPECT_EQ(a.users, (std::vector<std::wstring>{L"Ben", L"Carl"}));
       }},
      {{L"clean", L"--all", L"--no-backup", L"--backup-dir", L"B", L"--out", L"o.reg", L"--fix-script", L"f.reg"},
       L"",
       [](const CliArguments& a) {
         EXPECT_EQ(a.command, Command::Clean);
         EXPECT_TRUE(a.all);
         EXPECT_TRUE(a.noBackup);
         EXPECT_EQ(a.backupDir, L"B");
         EXPECT_EQ(a.outFile, L"o.reg");
         EXPECT_EQ(a.fixScript, L"f.reg");
       }},
      {{L"restore", L"--out", L"o.reg", L"backup.reg"},
       L"",
       [](const CliArguments& a) {
         EXPECT_EQ(a.command, Command::Restore);
         EXPECT_EQ(a.backupToRestore, L"backup.reg");
         EXPECT_EQ(a.outFile, L"o.reg");
       }},
      {{L"auto", L"--all"},
       L"",
       [](const CliArguments& a) {
         EXPECT_EQ(a.command, Command::Auto);
         EXPECT_TRUE(a.all);
       }},
      {{L"scan", L"--all-users"}, L"", [](const CliArguments& a) { EXPECT_TRUE(a.allUsers); }},
      {{L"purge"}, L"unknown command \"purge\"", {}},
      {{L"scan", L"--registry"}, L"--registry needs a value", {}},
      {{L"scan", L"--frobnicate"}, L"unknown option \"--frobnicate\"", {}},
      {{L"scan", L"extra.reg"}, L"unknown option \"extra.reg\"", {}},
      {{L"scan", L"--drive", L"C:/mnt"}, L"--drive expects LETTER=DIR, not \"C:/mnt\"", {}},
      {{L"scan", L"--drive", L"1=/mnt"}, L"--drive expects LETTER=DIR, not \"1=/mnt\"", {}},
      {{L"scan", L"--drive", L"C="}, L"--drive expects LETTER=DIR, not \"C=\"", {}},
      {{L"scan", L"--os", L"10"}, L"--os expects MAJOR.MINOR, not \"10\"", {}},
      {{L"scan", L"--os", L"10.x"}, L"--os expects MAJOR.MINOR, not \"10.x\"", {}},
      {{L"scan", L"--arch", L"arm64"}, L"--arch expects x64 or x86, not \"arm64\"", {}},
      {{L"scan", L"--level", L"paranoid"}, L"--level expects safe, normal or deep, not \"paranoid\"", {}},
      {{L"scan", L"--category", L"Nope"}, L"unknown category \"Nope\" (see: kelvara-cli categories)", {}},
      {{L"scan", L"--users", L"Ben", L"--all-users"}, L"--users and --all-users exclude each other", {}},
      {{L"restore"}, L"restore needs the backup file to import", {}},
      {{L"scan", L"--no-backup"}, L"--no-backup, --backup-dir and --fix-script belong to clean", {}},
      {{L"auto", L"--fix-script", L"f.reg"}, L"--no-backup, --backup-dir and --fix-script belong to clean", {}},
      {{L"scan", L"--out", L"o.reg"}, L"--out belongs to clean and restore", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    std::wstring error;
    const std::optional<CliArguments> parsed = ParseArguments(c.args, error);
    if (c.error.empty()) {
      ASSERT_TRUE(parsed.has_value()) << ToUtf8(error);
      c.check(*parsed);
    } else {
      EXPECT_FALSE(parsed.has_value());
      EXPECT_EQ(error, c.error);
    }
  }
}

TEST(CliArgumentsTest, JsonStringsArePureAsciiWithEveryOtherUnitEscaped) {
  const struct {
    std::wstring text;
    std::string json;
  } cases[] = {
      {L"", "\"\""},
      {L"plain text", "\"plain text\""},
      {L"say \"hi\"", "\"say \\\"hi\\\"\""},
      {L"C:\\Windows\\notepad.exe", "\"C:\\\\Windows\\\\notepad.exe\""},
      {L"a\nb\rc\td", "\"a\\nb\\rc\\td\""},
      {std::wstring(L"nul\0x", 5), "\"nul\\u0000x\""},
      {L"\x01\x1f\x7f", "\"\\u0001\\u001f\\u007f\""},
      {L"caf\u00e9 \u20ac", "\"caf\\u00e9 \\u20ac\""},
      {L"\U0001F600", "\"\\ud83d\\ude00\""},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << ToUtf8(c.text);

  // Unpaired surrogates, which registry names may hold, come out as they are.
  std::wstring lone;
  lone.push_back(static_cast<wchar_t>(0xD800));
  lone.push_back(L'x');
  lone.push_back(static_cast<wchar_t>(0xDC01));
  EXPECT_EQ(JsonString(lone), "\"\\ud800x\\udc01\"");
}

TEST(CliArgumentsTest, FixScriptRemovesKeysNamedAndDefaultValuesLastEntryFirst) {
  auto entry = [](platform::HKey root, const std::wstring& key, const std::wstring& value, TRegFixType type) {
    TResultData e;
    e.RegData.root = root;
    e.RegData.key = key;
    e.RegData.value = value;
    e.RegData.RemoveType = type;
    return e;
  };
  const TResultData entries[] = {
      entry(platform::kHkeyLocalMachine, L"SOFTWARE\\Old\\", L"", rfKey),
      entry(platform::kHkeyCurrentUser, L"Software\\Run", L"Old \"quoted\" C:\\x", rfValue),
      entry(platform::kHkeyLocalMachine, L"SOFTWARE\\Classes\\OldGame.Save\\shell\\open\\command", L"", rfValue),
      entry(platform::kHkeyLocalMachine, L"SOFTWARE\\Node", L"", rfNode),
  };
  std::vector<const TResultData*> list;
  for (const auto& e : entries) list.push_back(&e);
  EXPECT_EQ(FixScriptText(list),
            L"Windows Registry Editor Version 5.00\r\n"
            L"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\OldGame.Save\\shell\\open\\command]\r\n"
            L"@=-\r\n"
            L"\r\n[HKEY_CURRENT_USER\\Software\\Run]\r\n"
            L"\"Old \\\"quoted\\\" C:\\\\x\"=-\r\n"
            L"\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Old]\r\n");
}

}  // namespace
}  // namespace kelvara::cli
