// The per-fix backup: which sections the gathered locations give, and how
// the file is prepared and written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CleanFixture.h"
#include "platform/Text.h"
#include "repair/CleanBackup.h"

namespace kelvara::test {
namespace {

constexpr wchar_t kTree[] =
    LR"(
[$\K]
"A"="a"
"B"="b"

[$\K\Sub]
"S"="s"
)";

struct SectionCase {
  const char* name;
  std::vector<TRegData> added;         // in the order they are added
  std::vector<std::wstring> expected;  // lines after the header, "$" for the scratch key
};

wchar_t Separator() { return static_cast<wchar_t>(std::filesystem::path::preferred_separator); }

TRegData At(const std::wstring& key, const std::wstring& value, TRegFixType type) {
  return Finding(key, value, type).RegData;
}

class CleanBackupSections : public ::testing::TestWithParam<SectionCase> {};

TEST_P(CleanBackupSections, GivesOneSectionPerKey) {
  CleanFixture fixture;
  fixture.Load(kTree);
  const std::wstring root = L"HKEY_CURRENT_USER\\" + fixture.Scratch();
  TCleanBackup backup;
  for (TRegData location : GetParam().added) {
    location.key = ReplaceAll(location.key, L"$", fixture.Scratch());
    backup.Add(location);
  }
  const std::wstring file = fixture.PathIn(L"sections.reg");
  std::wstring error;
  ASSERT_TRUE(backup.Write(file, error)) << ToUtf8(error);

  const std::vector<std::uint8_t> bytes = ReadBytes(file);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  std::vector<std::wstring> expected{L"Windows Registry Editor Version 5.00"};
  for (const std::wstring& line : GetParam().expected) expected.push_back(ReplaceAll(line, L"$", root));
  EXPECT_EQ(Lines(ReadText(file)), expected);
}

const std::vector<std::wstring> kWholeK{L"", L"[$\\K]",      L"\"A\"=\"a\"", L"\"B\"=\"b\"",
                                        L"", L"[$\\K\\Sub]", L"\"S\"=\"s\""};

INSTANTIATE_TEST_SUITE_P(
    Cases, CleanBackupSections,
    ::testing::Values(
        SectionCase{"ValueThenKey", {At(L"$\\K", L"A", rfValue), At(L"$\\K", L"", rfKey)}, kWholeK},
        SectionCase{"KeyThenValue", {At(L"$\\K", L"", rfKey), At(L"$\\K", L"A", rfValue)}, kWholeK},
        SectionCase{"TrailingBackslash", {At(L"$\\K\\", L"", rfKey), At(L"$\\k", L"B", rfValue)}, kWholeK},
        SectionCase{"TwoValues",
                    {At(L"$\\K", L"B", rfValue), At(L"$\\k", L"A", rfValue), At(L"$\\K", L"b", rfValue)},
                    {L"", L"[$\\K]", L"\"B\"=\"b\"", L"\"A\"=\"a\""}},
        SectionCase{"KeysInOrderOfFirstSight",
                    {At(L"$\\K\\Sub", L"S", rfValue), At(L"$\\K", L"A", rfValue), At(L"$\\K\\SUB", L"", rfKey)},
                    {L"", L"[$\\K\\Sub]", L"\"S\"=\"s\"", L"", L"[$\\K]", L"\"A\"=\"a\""}},
        SectionCase{"MissingValueLeftOut", {At(L"$\\K", L"Gone", rfValue)}, {L"", L"[$\\K]"}},
        SectionCase{"MissingKeysLeftOut",
                    {At(L"$\\Gone", L"", rfKey), At(L"$\\K", L"A", rfValue), At(L"$\\Gone\\Too", L"v", rfValue)},
                    {L"", L"[$\\K]", L"\"A\"=\"a\""}},
        SectionCase{"NodeAndNothingGiveTheHeaderAlone", {At(L"$\\K", L"", rfNode)}, {}}),
    [](const ::testing::TestParamInfo<SectionCase>& param) { return param.param.name; });

TEST(CleanBackupFile, AnOldFileOfTheSameNameIsReplacedEvenWhenReadOnly) {
  CleanFixture fixture;
  fixture.Load(kTree);
  const std::filesystem::path folder = fixture.Folder() / "Backup";
  std::filesystem::create_directories(folder);
  const std::filesystem::path old = folder / "PC 2019-5-3 14-7-9-45.reg";
  std::ofstream(old) << "old";
  std::filesystem::permissions(old, std::filesystem::perms::owner_read, std::filesystem::perm_options::replace);

  std::wstring fileName;
  std::wstring error;
  ASSERT_TRUE(PrepareBackupFile(folder.wstring() + Separator(), L"PC 2019-5-3 14-7-9-45", fileName, error))
      << ToUtf8(error);
  EXPECT_EQ(std::filesystem::path(fileName), old);
  EXPECT_FALSE(std::filesystem::exists(old));
  TCleanBackup backup;
  backup.Add(At(fixture.Key(L"K"), L"A", rfValue));
  ASSERT_TRUE(backup.Write(fileName, error)) << ToUtf8(error);
  EXPECT_EQ(Lines(ReadText(fileName)).size(), 4u);
}

TEST(CleanBackupFile, MissingFoldersAreCreatedAndAFileInTheWayIsReported) {
  CleanFixture fixture;
  const wchar_t sep = Separator();
  std::wstring fileName;
  std::wstring error;
  const std::wstring deep = fixture.PathIn(L"a") + sep + L"b" + sep;
  ASSERT_TRUE(PrepareBackupFile(deep, L"N", fileName, error)) << ToUtf8(error);
  EXPECT_TRUE(std::filesystem::is_directory(deep));
  EXPECT_EQ(fileName, deep + L"N.reg");

  std::ofstream(fixture.Folder() / "file") << "x";
  const std::wstring blocked = fixture.PathIn(L"file") + sep + L"Backup" + sep;
  EXPECT_FALSE(PrepareBackupFile(blocked, L"N", fileName, error));
  EXPECT_NE(error.find(L"file"), std::wstring::npos) << ToUtf8(error);
  EXPECT_FALSE(PrepareBackupFile(L"", L"N", fileName, error));
  EXPECT_FALSE(error.empty());
}

TEST(CleanBackupFile, AFailedWriteNamesTheFileAndLeavesNoFile) {
  CleanFixture fixture;
  fixture.Load(kTree);
  fixture.Snapshot().Facilities().hostFiles->FillDiskAfter(10);
  TCleanBackup backup;
  backup.Add(At(fixture.Key(L"K"), L"", rfKey));
  const std::wstring file = fixture.PathIn(L"full.reg");
  std::wstring error;
  EXPECT_FALSE(backup.Write(file, error));
  EXPECT_NE(error.find(file), std::wstring::npos) << ToUtf8(error);
  EXPECT_FALSE(std::filesystem::exists(file));
  fixture.Snapshot().Facilities().hostFiles->ClearFaults();
  // The failed export is over: the next one starts with its own header.
  ASSERT_TRUE(backup.Write(file, error)) << ToUtf8(error);
  EXPECT_EQ(
      Lines(ReadText(file)),
      (std::vector<std::wstring>{L"Windows Registry Editor Version 5.00", L"",
                                 L"[HKEY_CURRENT_USER\\" + fixture.Key(L"K") + L"]", L"\"A\"=\"a\"", L"\"B\"=\"b\"",
                                 L"", L"[HKEY_CURRENT_USER\\" + fixture.Key(L"K\\Sub") + L"]", L"\"S\"=\"s\""}));
}

}  // namespace
}  // namespace kelvara::test
