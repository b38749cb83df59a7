#include "config/MemIniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "ConfigTestPlatform.h"

#ifndef _WIN32
#include "platform/snapshot/SnapshotPlatform.h"
#endif

namespace kelvara {
namespace {

using test::ConfigTestPlatform;

constexpr wchar_t kFile[] = L"C:\\Data\\Config.ini";

TEST(MemIniFile, ParsesSectionsAndKeysWithoutCaseAndKeepsTheirOrder) {
  TMemIniFile ini;
  ini.SetText(
      L"orphan=before any section\r\n"
      L"[General]\r\n"
      L"; a comment\r\n"
      L"\r\n"
      L"  Style  =  Magic  \r\n"
      L"BackupPath=C:\\B=x\r\n"
      L"bare line\r\n"
      L"Empty=\r\n"
      L"[ Users ]\n"
      L"AllUsers=1\r"
      L"[general]\r\n"
      L"style=ignored repeat\r\n"
      L"Later=added to the first General\r\n"
      L"[unclosed\r\n");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::wstring>{L"General", L"Users"}));
  EXPECT_EQ(ini.ReadSection(L"GENERAL"),
            (std::vector<std::wstring>{L"Style", L"BackupPath", L"bare line", L"Empty", L"Later", L"[unclosed"}));
  EXPECT_EQ(ini.ReadString(L"general", L"STYLE", L"x"), L"Magic");
  EXPECT_EQ(ini.ReadString(L"General", L"BackupPath", L"x"), L"C:\\B=x");
  EXPECT_EQ(ini.ReadString(L"General", L"Empty", L"default"), L"");
  EXPECT_EQ(ini.ReadString(L"General", L"Missing", L"default"), L"default");
  EXPECT_EQ(ini.ReadString(L"Users", L"AllUsers", L""), L"1");
  EXPECT_FALSE(ini.ValueExists(L"General", L"orphan"));

  // Saving drops comments, blank lines and orphans, and the blanks around "=".
  EXPECT_EQ(ini.Text(),
            L"[General]\r\nStyle=Magic\r\nBackupPath=C:\\B=x\r\nbare line=\r\nEmpty=\r\nLater=added to the first "
            L"General\r\n[unclosed=\r\n\r\n[Users]\r\nAllUsers=1\r\n\r\n");
}

TEST(MemIniFile, TypedReadsFallBackToTheirDefaults) {
  ConfigTestPlatform platform;
  platform.system->decimal = L',';
  TMemIniFile ini;
  ini.SetText(
      L"[T]\nBoolNo=0\nBoolYes=-7\nBoolText=true\nInt=42\nHex=$1F\nNegHex=$FFFFFFFF\nHuge=99999999999\n"
      L"Float=45356,5\nFloatDot=45356.25\nDateText=2024-03-05 14:07:09\nBadDate=soon\n"
      L"Color=$00382A21\nNamed=clRed\nBadColor=#fff\n");
  EXPECT_FALSE(ini.ReadBool(L"T", L"BoolNo", true));
  EXPECT_TRUE(ini.ReadBool(L"T", L"BoolYes", false));
  EXPECT_TRUE(ini.ReadBool(L"T", L"BoolText", true));
  EXPECT_FALSE(ini.ReadBool(L"T", L"BoolText", false));
  EXPECT_EQ(ini.ReadInteger(L"T", L"Int", 0), 42);
  EXPECT_EQ(ini.ReadInteger(L"T", L"Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger(L"T", L"NegHex", 0), -1);
  EXPECT_EQ(ini.ReadInteger(L"T", L"Huge", 5), 5);
  EXPECT_EQ(ini.ReadInteger(L"T", L"Missing", 7), 7);
  EXPECT_EQ(ini.ReadFloatDate(L"T", L"Float", 0), 45356.5);
  EXPECT_EQ(ini.ReadFloatDate(L"T", L"FloatDot", 0), 45356.25);
  EXPECT_NEAR(ini.ReadFloatDate(L"T", L"DateText", 0), 45356.58829861111, 1e-9);
  EXPECT_NEAR(ini.ReadDateText(L"T", L"DateText", 0), 45356.58829861111, 1e-9);
  EXPECT_EQ(ini.ReadDateText(L"T", L"Float", 3.0), 3.0);
  EXPECT_EQ(ini.ReadFloatDate(L"T", L"BadDate", 3.0), 3.0);
  EXPECT_EQ(ini.ReadColor(L"T", L"Color", 0), 3680801u);
  EXPECT_EQ(ini.ReadColor(L"T", L"Named", 0), 0xFFu);
  EXPECT_EQ(ini.ReadColor(L"T", L"BadColor", 9), 9u);

  ini.WriteFloatDate(L"T", L"Out", 45356.5);
  ini.WriteDateText(L"T", L"When", 45356.58829861111);
  ini.WriteBool(L"T", L"Flag", true);
  ini.WriteColor(L"T", L"Colour", 3680801);
  EXPECT_EQ(ini.ReadString(L"T", L"Out", L""), L"45356,5");
  EXPECT_EQ(ini.ReadString(L"T", L"When", L""), L"2024-03-05 14:07:09");
  EXPECT_EQ(ini.ReadString(L"T", L"Flag", L""), L"1");
  EXPECT_EQ(ini.ReadString(L"T", L"Colour", L""), L"$00382A21");
}

TEST(MemIniFile, WritesReplaceInPlaceAppendAndCannotBreakLines) {
  TMemIniFile ini;
  ini.SetText(L"[A]\nx=1\ny=2\n[B]\nz=3\n");
  ini.WriteString(L"a", L"X", L"10");
  ini.WriteString(L"A", L"w", L"new");
  ini.WriteString(L"C", L"evil", L"1\r\n[General]\r\nStyle=Hacked");
  ini.DeleteKey(L"A", L"y");
  ini.EraseSection(L"b");
  EXPECT_EQ(ini.Text(), L"[A]\r\nx=10\r\nw=new\r\n\r\n[C]\r\nevil=1  [General]  Style=Hacked\r\n\r\n");
  EXPECT_EQ(ini.ReadString(L"A", L"w", L""), L"new");  // the index follows the deletion
}

TEST(MemIniFile, SavesInTheEncodingItWasReadWith) {
  ConfigTestPlatform platform;
  platform.files->folders.insert(L"C:\\Data");
  struct Case {
    const char* name;
    std::string bytes;
    std::string prefix;  // what the saved file starts with
  };
  const Case cases[] = {
      {"ANSI", "[S]\r\nName=Caf\xE9\r\n", "[S]\r\nName=Caf\xE9\r\n"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF[S]\r\nName=Caf\xC3\xA9\r\n", "\xEF\xBB\xBF[S]\r\nName=Caf\xC3\xA9\r\n"},
      {"UTF-16LE", test::Utf16File(L"[S]\r\nName=Caf\u00E9\r\n"), test::Utf16File(L"[S]\r\nName=Caf\u00E9\r\n")},
  };
  for (const Case& c : cases) {
    platform.files->PutText(kFile, c.bytes);
    TMemIniFile ini = TMemIniFile::Load(kFile);
    EXPECT_EQ(ini.ReadString(L"S", L"Name", L""), L"Caf\u00E9") << c.name;
    platform::HostFileError error;
    ASSERT_TRUE(ini.UpdateFile(error)) << c.name;
    EXPECT_EQ(platform.files->Bytes(kFile).substr(0, c.prefix.size()), c.prefix) << c.name;
  }

  // A new file is ANSI, unless its text needs more than the code page holds.
  platform.files->files.clear();
  TMemIniFile fresh(kFile);
  fresh.WriteString(L"S", L"Name", L"Caf\u00E9");
  platform::HostFileError error;
  ASSERT_TRUE(fresh.UpdateFile(error));
  EXPECT_EQ(platform.files->Bytes(kFile), "[S]\r\nName=Caf\xE9\r\n\r\n");
  fresh.WriteString(L"UserList", L"\u5F20\u4E09", L"1");
  ASSERT_TRUE(fresh.UpdateFile(error));
  EXPECT_EQ(platform.files->Bytes(kFile).substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(TMemIniFile::Load(kFile).ReadSection(L"UserList"), std::vector<std::wstring>{L"\u5F20\u4E09"});
}

TEST(MemIniFile, DamagedFilesKeepEveryReadableKey) {
  ConfigTestPlatform platform;
  std::mt19937 random(7);
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>(random() & 0xFF));
  std::string truncated = test::Utf16File(L"[General]\r\nStyle=Magic\r\nScanLevel=2");
  truncated.push_back('\x32');  // half of a code unit
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"truncated UTF-16", truncated},
      {"garbage around keys", garbage + "\r\n[General]\r\nStyle=Magic\r\n" + garbage + "\r\nScanLevel=2\r\n" + garbage},
      {"NULs and a lone CR", std::string("[General]\0\r\nStyle=Magic\rScanLevel=2\r\n\0\0\0", 40)},
      {"invalid UTF-8 after a BOM", "\xEF\xBB\xBF[General]\r\nBad=\xC3\x28\xFF\r\nStyle=Magic\r\nScanLevel=2\r\n"},
  };
  for (const auto& c : cases) {
    platform.files->PutText(kFile, c.bytes);
    const TMemIniFile ini = TMemIniFile::Load(kFile);
    EXPECT_EQ(ini.ReadString(L"General", L"Style", L""), L"Magic") << c.name;
    EXPECT_EQ(ini.ReadInteger(L"General", L"ScanLevel", 0), 2) << c.name;
  }
}

TEST(MemIniFile, ReadsAFiftyMegabyteFileWhole) {
  ConfigTestPlatform platform;
  std::string bytes = "[General]\r\nStyle=Magic\r\n[Big]\r\n";
  const std::string filler(480, 'x');
  int keys = 0;
  while (bytes.size() < 50u * 1024 * 1024) {
    bytes += "Key" + std::to_string(keys++) + "=" + filler + "\r\n";
  }
  bytes += "[Tail]\r\nLast=found\r\n";
  platform.files->PutText(kFile, bytes);
  const TMemIniFile ini = TMemIniFile::Load(kFile);
  EXPECT_EQ(ini.ReadString(L"General", L"Style", L""), L"Magic");
  EXPECT_EQ(ini.ReadString(L"Tail", L"Last", L""), L"found");
  EXPECT_EQ(ini.ReadSection(L"Big").size(), static_cast<std::size_t>(keys));
  EXPECT_EQ(ini.ReadString(L"Big", L"KEY" + std::to_wstring(keys / 2), L"").size(), filler.size());
}

TEST(MemIniFile, AFailedSaveLeavesThePreviousFile) {
  ConfigTestPlatform platform;
  platform.files->PutText(kFile, "[General]\r\nStyle=Old\r\n");
  TMemIniFile ini = TMemIniFile::Load(kFile);
  ini.WriteString(L"General", L"Style", L"New");
  platform.files->failWrites = true;
  platform::HostFileError error;
  EXPECT_FALSE(ini.UpdateFile(error));
  EXPECT_TRUE(error.failed);
  EXPECT_NE(error.message.find(kFile), std::wstring::npos);
  EXPECT_EQ(platform.files->Bytes(kFile), "[General]\r\nStyle=Old\r\n");
  EXPECT_EQ(platform.files->deletes, 0);
}

TEST(MemIniFile, AFileThatCouldNotBeReadIsNeverOverwritten) {
  ConfigTestPlatform platform;
  platform.files->PutText(kFile, "[General]\r\nStyle=Precious\r\n");
  platform.files->unreadable.insert(kFile);
  TMemIniFile ini = TMemIniFile::Load(kFile);
  EXPECT_FALSE(ini.LoadError().empty());
  EXPECT_EQ(ini.ReadString(L"General", L"Style", L"Magic"), L"Magic");
  ini.WriteString(L"General", L"Style", L"Magic");
  platform::HostFileError error;
  EXPECT_FALSE(ini.UpdateFile(error));
  EXPECT_NE(error.message.find(kFile), std::wstring::npos);
  EXPECT_EQ(platform.files->Bytes(kFile), "[General]\r\nStyle=Precious\r\n");
}

// The same on the disk, through the build's own backend: a save replaces
// the file whole, and on Linux a save that the disk refuses leaves it.
TEST(MemIniFile, SavesAndReloadsOnTheDisk) {
#ifdef _WIN32
  platform::Install(test::BackendPlatform());
#else
  auto snapshot = platform::MakeSnapshotFacilities({});
  platform::Install(snapshot.Platform());
#endif
  auto& files = platform::HostFiles();
  const std::wstring folder =
      files.TempFolder() + files.Separator() + L"kelvara-config-" + std::to_wstring(std::random_device()());
  platform::HostFileError error;
  ASSERT_TRUE(files.CreateFolders(folder, error));
  const std::wstring path = folder + files.Separator() + L"Config.ini";

  TMemIniFile ini(path);
  ini.WriteString(L"General", L"Style", L"Old");
  ASSERT_TRUE(ini.UpdateFile(error));
  ini.WriteString(L"General", L"Style", L"New");
  ASSERT_TRUE(ini.UpdateFile(error));
  EXPECT_EQ(TMemIniFile::Load(path).ReadString(L"General", L"Style", L""), L"New");
#ifndef _WIN32
  snapshot.hostFiles->FailWritesUnder(folder, L"No space left on device");
  ini.WriteString(L"General", L"Style", L"Lost");
  EXPECT_FALSE(ini.UpdateFile(error));
  EXPECT_NE(error.message.find(L"Config.ini"), std::wstring::npos);
  snapshot.hostFiles->ClearFaults();
  EXPECT_EQ(TMemIniFile::Load(path).ReadString(L"General", L"Style", L""), L"New");
#endif
  std::filesystem::remove_all(std::filesystem::path(folder));
}

}  // namespace
}  // namespace kelvara
