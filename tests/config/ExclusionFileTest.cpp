#include "config/ExclusionFile.h"

#include <gtest/gtest.h>

#include "ConfigTestPlatform.h"

namespace kelvara {
namespace {

using test::ConfigTestPlatform;

constexpr wchar_t kDataPath[] = L"C:\\Data\\";
constexpr wchar_t kFile[] = L"C:\\Data\\Exclusion.dat";

TConfig DataConfig(std::vector<std::wstring> patterns = {}) {
  TConfig config;
  config.DataPath = kDataPath;
  config.ExList = std::move(patterns);
  return config;
}

TEST(ExclusionFile, APlainPatternIsItsOwnKeyWithAnEmptyValue) {
  ConfigTestPlatform platform;
  platform.files->folders.insert(L"C:\\Data");
  platform::HostFileError error;
  ASSERT_TRUE(WriteExclusionFile(DataConfig({L"HKEY_CURRENT_USER\\Software\\Test*", L"HKLM\\A?B"}), error));
  EXPECT_EQ(platform.files->Bytes(kFile), "[Exclusion]\r\nHKEY_CURRENT_USER\\Software\\Test*=\r\nHKLM\\A?B=\r\n\r\n");

  TConfig read = DataConfig();
  ReadExclusionFile(read);
  EXPECT_EQ(read.ExList, (std::vector<std::wstring>{L"HKEY_CURRENT_USER\\Software\\Test*", L"HKLM\\A?B"}));
}

TEST(ExclusionFile, PatternsNoKeyCanHoldSurviveASaveAndReload) {
  ConfigTestPlatform platform;
  platform.files->folders.insert(L"C:\\Data");
  const std::vector<std::wstring> patterns = {
      L"HKCU\\Software\\A=B", L";HKCU\\Comment",          L"[HKCU\\Section]",
      L"  HKCU\\Blanks  ",    L"HKCU\\Tab\tand\r\nbreak", L"HKCU\\Percent%41\"quoted'",
      L"HKCU\\Plain",
      L"hkcu\\plain",  // differs only in case from the one before
      L"#KelvaraPattern1",    L"HKCU\\\u5F20\u4E09",
  };
  platform::HostFileError error;
  ASSERT_TRUE(WriteExclusionFile(DataConfig(patterns), error));
  TConfig read = DataConfig();
  ReadExclusionFile(read);
  EXPECT_EQ(read.ExList, patterns);
  // Characters beyond the ANSI code page make the file UTF-16.
  EXPECT_EQ(platform.files->Bytes(kFile).substr(0, 2), "\xFF\xFE");
  EXPECT_TRUE(DecodeExclusions(EncodeExclusions({L""})).empty());
}

TEST(ExclusionFile, OlderFilesReadAsBefore) {
  ConfigTestPlatform platform;
  platform.files->PutText(kFile,
                          "; written by hand\r\n[Exclusion]\r\nHKCU\\One*=\r\nHKCU\\NoEquals\r\n"
                          "HKCU\\WithValue=ignored\r\n#KelvaraPattern7=\r\n=\r\n[Other]\r\nx=1\r\n");
  TConfig config = DataConfig({L"stale"});
  ReadExclusionFile(config);
  EXPECT_EQ(config.ExList,
            (std::vector<std::wstring>{L"HKCU\\One*", L"HKCU\\NoEquals", L"HKCU\\WithValue", L"#KelvaraPattern7"}));

  platform.files->files.clear();
  TConfig missing = DataConfig({L"kept"});
  ReadExclusionFile(missing);
  EXPECT_EQ(missing.ExList, std::vector<std::wstring>{L"kept"});
}

TEST(ExclusionFile, AFailedRewriteKeepsThePreviousList) {
  ConfigTestPlatform platform;
  const std::string previous = "[Exclusion]\r\nHKCU\\Keep=\r\n";
  platform.files->PutText(kFile, previous);
  platform.files->failWrites = true;
  platform::HostFileError error;
  EXPECT_FALSE(WriteExclusionFile(DataConfig({L"HKCU\\New"}), error));
  EXPECT_NE(error.message.find(kFile), std::wstring::npos);
  EXPECT_EQ(platform.files->Bytes(kFile), previous);
  EXPECT_EQ(platform.files->deletes, 0);

  // A file that cannot be read is not replaced by a list that never saw it.
  platform.files->failWrites = false;
  platform.files->unreadable.insert(kFile);
  EXPECT_FALSE(WriteExclusionFile(DataConfig(), error));
  EXPECT_EQ(platform.files->Bytes(kFile), previous);
}

TEST(ExclusionFile, KeepsTheEncodingOfTheExistingFile) {
  ConfigTestPlatform platform;
  platform.files->PutText(kFile, test::Utf16File(L"[Exclusion]\r\nHKCU\\Old=\r\n"));
  platform::HostFileError error;
  ASSERT_TRUE(WriteExclusionFile(DataConfig({L"HKCU\\New"}), error));
  EXPECT_EQ(platform.files->Bytes(kFile), test::Utf16File(L"[Exclusion]\r\nHKCU\\New=\r\n\r\n"));
}

}  // namespace
}  // namespace kelvara
