#include "registry/RegImport.h"

#include <gtest/gtest.h>

#include "RegistryTestHost.h"
#include "RoundTripTree.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "registry/NefoRegistry.h"
#include "registry/RegExport.h"
#include "registry/RegFun.h"

namespace kelvara {
namespace {

using test::RegistryTestHost;

class RegImport : public ::testing::Test {
 protected:
  void TearDown() override { platform::HostFiles().ForceDeleteFile(file_); }

  bool Import(std::wstring_view body, std::wstring& error) const {
    return ImportRegData(host_.RegBytes(body), L"backup.reg", error);
  }

  RegistryTestHost host_;
  std::wstring file_ = host_.TempFile(L"import.reg");
};

TEST_F(RegImport, RestoresExactlyWhatTheExportWrote) {
  test::WriteRoundTripTree(host_.Root(), host_.Path(L"Tree"));
  ASSERT_EQ(test::CompareRoundTripTree(host_.Root(), host_.Path(L"Tree")), std::vector<std::string>{});
  ASSERT_TRUE(ExportRegKey(host_.Root(), host_.Path(L"Tree"), nullptr, false, file_));
  TNefoRegistry reg;
  ASSERT_TRUE(reg.DeleteKey(host_.Path(L"Tree")));

  std::wstring error;
  ASSERT_TRUE(ImportRegFile(file_, error)) << ToUtf8(error);
  EXPECT_EQ(test::CompareRoundTripTree(host_.Root(), host_.Path(L"Tree")), std::vector<std::string>{});
}

TEST_F(RegImport, AMalformedLineChangesNothing) {
  host_.Load(L"[$\\Old]\r\n\"keep\"=\"old\"\r\n");
  std::wstring error;
  EXPECT_FALSE(
      Import(L"[$\\New]\r\n\"v\"=\"x\"\r\n[-$\\Old]\r\n[$\\Other]\r\n\"h\"=hex:01,\\\r\n  02,\\\r\n  zz\r\n", error));
  EXPECT_EQ(error.substr(0, 20), L"backup.reg, line 8: ") << ToUtf8(error);
  EXPECT_FALSE(RegKeyExists(host_.Root(), host_.Path(L"New")));
  EXPECT_FALSE(RegKeyExists(host_.Root(), host_.Path(L"Other")));
  std::wstring text;
  EXPECT_TRUE(ReadRegData(host_.Root(), host_.Path(L"Old"), L"keep", true, text));
  EXPECT_EQ(text, L"old");

  EXPECT_FALSE(ImportRegFile(host_.TempFile(L"missing.reg"), error));
  EXPECT_NE(error.find(host_.TempFile(L"missing.reg")), std::wstring::npos) << ToUtf8(error);
}

TEST_F(RegImport, DeletesKeysAndValues) {
  host_.Load(
      L"[$\\Doomed\\Deep\\Deeper]\r\n\"v\"=\"x\"\r\n[$\\Kept]\r\n\"gone\"=\"x\"\r\n\"stays\"=\"y\"\r\n@=\"d\"\r\n");
  std::wstring error;
  ASSERT_TRUE(
      Import(L"[-$\\Doomed]\r\n[-$\\NeverWas]\r\n[$\\Kept]\r\n\"gone\"=-\r\n\"never\"=-\r\n@=-\r\n"
             L"[HKEY_CURRENT_USER\\Software\\Kelvara-never-created\\A]\r\n\"x\"=\"y\"\r\n"
             L"[-HKEY_CURRENT_USER\\Software\\Kelvara-never-created]\r\n",
             error))
      << ToUtf8(error);
  EXPECT_FALSE(RegKeyExists(host_.Root(), host_.Path(L"Doomed")));
  EXPECT_FALSE(RegValueExists(host_.Root(), host_.Path(L"Kept"), L"gone"));
  EXPECT_FALSE(RegValueExists(host_.Root(), host_.Path(L"Kept"), L""));
  EXPECT_TRUE(RegValueExists(host_.Root(), host_.Path(L"Kept"), L"stays"));
  EXPECT_FALSE(RegKeyExists(host_.Root(), L"Software\\Kelvara-never-created"));
}

TEST_F(RegImport, RestoresWhatItCanAndReportsTheFirstFailure) {
  host_.Load(L"[$\\Locked]\r\n");
  if (!host_.RefuseWrites(L"Locked")) GTEST_SKIP() << "needs the store's knobs";
  std::wstring error;
  EXPECT_FALSE(
      Import(L"[$\\A]\r\n\"v\"=\"1\"\r\n[$\\Locked\\Sub]\r\n\"v\"=\"2\"\r\n[$\\Locked]\r\n\"v\"=\"3\"\r\n"
             L"[$\\C]\r\n\"v\"=\"4\"\r\n",
             error));
  EXPECT_EQ(error.substr(0, 20), L"backup.reg, line 4: ") << ToUtf8(error);
  EXPECT_NE(error.find(L"cannot create the key " + host_.FullPath(L"Locked\\Sub")), std::wstring::npos)
      << ToUtf8(error);
  EXPECT_NE(error.find(L"(2 operations failed in all)"), std::wstring::npos) << ToUtf8(error);
  EXPECT_TRUE(RegValueExists(host_.Root(), host_.Path(L"A"), L"v"));
  EXPECT_TRUE(RegValueExists(host_.Root(), host_.Path(L"C"), L"v"));

  ASSERT_TRUE(host_.FailWritesAfter(2, platform::kErrorDiskFull));
  EXPECT_FALSE(Import(L"[$\\D]\r\n\"v\"=\"1\"\r\n\"w\"=\"2\"\r\n", error));
  EXPECT_NE(error.find(L"line 4: cannot set the value \"w\" of " + host_.FullPath(L"D")), std::wstring::npos)
      << ToUtf8(error);
}

}  // namespace
}  // namespace kelvara
