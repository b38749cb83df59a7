#include "registry/RegExport.h"

#include <gtest/gtest.h>

#include "RegistryTestHost.h"
#include "platform/Encoding.h"
#include "platform/Platform.h"
#include "platform/Text.h"

namespace kelvara {
namespace {

using test::RegistryTestHost;

// The file's text; fails the test unless it is UTF-16LE with a BOM.
std::wstring ReadExport(const std::wstring& fileName) {
  std::vector<std::uint8_t> bytes;
  platform::HostFileError error;
  EXPECT_TRUE(platform::HostFiles().ReadFile(fileName, bytes, error)) << ToUtf8(error.message);
  EXPECT_GE(bytes.size(), 2u);
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) ADD_FAILURE() << "no UTF-16LE byte-order mark";
  return DecodeText(bytes).text;
}

// The expected text: "$" stands for the scratch key's full path, "|" ends
// a line with CR LF.
std::wstring Expected(const RegistryTestHost& host, std::wstring_view lines) {
  return ReplaceAll(ReplaceAll(lines, L"$", host.FullPath(L"")), L"|", L"\r\n");
}

class RegExport : public ::testing::Test {
 protected:
  void TearDown() override { platform::HostFiles().ForceDeleteFile(file_); }

  RegistryTestHost host_;
  std::wstring file_ = host_.TempFile(L"export.reg");
};

// Values are written in alphabetical order, the order in which both the
// snapshot store (insertion order) and Wine (sorted) enumerate them.
TEST_F(RegExport, WritesAKeyTreeDepthFirstInTheExportFormat) {
  host_.Load(
      L"[$\\K]\r\n@=\"C:\\\\a\\\"b\"\r\n\"bin\"=hex:\r\n\"exp\"=hex(2):25,00,00,00\r\n"
      L"\"multi\"=hex(7):61,00,00,00,00,00\r\n\"none\"=hex(0):\r\n\"q\"=hex(b):01,00,00,00,00,00,00,00\r\n"
      L"\"x\\\\y\"=dword:00000001\r\n"
      L"[$\\K\\B]\r\n\"s\"=\"b\"\r\n[$\\K\\A\\Deep]\r\n[$\\K\\A]\r\n\"s\"=\"a\"\r\n");
  ASSERT_TRUE(ExportRegKey(host_.Root(), host_.Path(L"K"), nullptr, false, file_));
  EXPECT_EQ(ReadExport(file_), Expected(host_,
                                        L"Windows Registry Editor Version 5.00||"
                                        L"[$\\K]|"
                                        L"@=\"C:\\\\a\\\"b\"|"
                                        L"\"bin\"=hex(3):|"
                                        L"\"exp\"=hex(2):25,00,00,00|"
                                        L"\"multi\"=hex(7):61,00,00,00,00,00|"
                                        L"\"none\"=hex(0):|"
                                        L"\"q\"=hex(b):01,00,00,00,00,00,00,00|"
                                        L"\"x\\\\y\"=dword:00000001||"
                                        L"[$\\K\\A]|\"s\"=\"a\"||"
                                        L"[$\\K\\A\\Deep]||"
                                        L"[$\\K\\B]|\"s\"=\"b\"|"));
}

TEST_F(RegExport, AccumulatesSectionsUntilTheFinalSave) {
  host_.Load(L"[$\\One]\r\n\"a\"=\"1\"\r\n\"b\"=\"2\"\r\n\"c\"=\"3\"\r\n[$\\One\\Sub]\r\n[$\\Two]\r\n\"t\"=\"2\"\r\n");
  const std::vector<std::wstring> listed{L"c", L"gone", L"a"};
  ASSERT_TRUE(ExportRegKey(host_.Root(), host_.Path(L"One"), &listed, true, file_));
  ASSERT_TRUE(ExportRegKey(host_.Root(), host_.Path(L"Two\\"), nullptr, true, file_));
  ASSERT_TRUE(ExportRegKey(host_.Root(), host_.Path(L"Missing"), &listed, true, file_));
  ASSERT_TRUE(ExportRegKey(host_.Root(), L"", nullptr, true, file_));  // nothing happens
  EXPECT_FALSE(platform::HostFiles().FileExists(file_));
  ASSERT_TRUE(ExportRegKey(0, L"", nullptr, false, file_));
  // Listed values only, in the order given, without sub-keys; a missing
  // value or key leaves no value line, but the key line stays.
  EXPECT_EQ(ReadExport(file_), Expected(host_,
                                        L"Windows Registry Editor Version 5.00||"
                                        L"[$\\One]|\"c\"=\"3\"|\"a\"=\"1\"||"
                                        L"[$\\Two]|\"t\"=\"2\"||"
                                        L"[$\\Missing]|"));
  // The export has ended: finishing again writes nothing.
  platform::HostFiles().ForceDeleteFile(file_);
  ASSERT_TRUE(ExportRegKey(0, L"", nullptr, false, file_));
  EXPECT_FALSE(platform::HostFiles().FileExists(file_));
}

TEST_F(RegExport, KeepsEveryStringExactlyAndNeverWraps) {
  std::wstring bigHex = L"hex(3):AB";
  for (int i = 1; i < 5000; ++i) bigHex += L",AB";
  host_.Load(L"[$\\S]\r\n\"big\"=" + bigHex +
             L"\r\n"
             L"\"empty-no-nul\"=hex(1):\r\n"
             L"\"inner-nul\"=hex(1):61,00,00,00,62,00,00,00\r\n"
             L"\"lines\"=hex(1):61,00,0d,00,0a,00,62,00,00,00\r\n"
             L"\"no-nul\"=hex(1):61,00\r\n"
             L"\"odd\"=hex(1):61,00,00\r\n"
             L"\"quote\\\"name\"=\"\"\r\n"
             L"\"\u00e9t\u00e9 \u65e5\u672c\"=\"\u00fcber \u65e5\u672c\"\r\n");
  ASSERT_TRUE(ExportRegKey(host_.Root(), host_.Path(L"S"), nullptr, false, file_));
  EXPECT_EQ(ReadExport(file_), Expected(host_,
                                        L"Windows Registry Editor Version 5.00||"
                                        L"[$\\S]|"
                                        L"\"big\"=" +
                                            bigHex +
                                            L"|"
                                            L"\"empty-no-nul\"=hex(1):|"
                                            L"\"inner-nul\"=hex(1):61,00,00,00,62,00,00,00|"
                                            L"\"lines\"=hex(1):61,00,0D,00,0A,00,62,00,00,00|"
                                            L"\"no-nul\"=hex(1):61,00|"
                                            L"\"odd\"=hex(1):61,00,00|"
                                            L"\"quote\\\"name\"=\"\"|"
                                            L"\"\u00e9t\u00e9 \u65e5\u672c\"=\"\u00fcber \u65e5\u672c\"|"));
}

TEST_F(RegExport, NamesEveryRootInKeyLines) {
  ASSERT_TRUE(ExportRegKey(platform::kHkeyPerformanceData, L"Counters", nullptr, true, file_));
  ASSERT_TRUE(ExportRegKey(0x1234, L"Odd", nullptr, false, file_));
  EXPECT_EQ(ReadExport(file_),
            L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_PERFORMANCE_DATA\\Counters]\r\n"
            L"\r\n[\\Odd]\r\n");
}

TEST_F(RegExport, AFailedSaveIsReportedWithTheFileName) {
  host_.Load(L"[$\\K]\r\n");
  const wchar_t sep = platform::HostFiles().Separator();
  const std::wstring unwritable = host_.TempFile(L"no-such-folder") + sep + L"backup.reg";
  std::wstring error;
  EXPECT_FALSE(ExportRegKey(host_.Root(), host_.Path(L"K"), nullptr, false, unwritable, &error));
  EXPECT_NE(error.find(unwritable), std::wstring::npos) << ToUtf8(error);

  error.clear();
  ASSERT_TRUE(ExportRegKey(host_.Root(), host_.Path(L"K"), nullptr, true, unwritable));
  EXPECT_FALSE(ExportRegKey(0, L"", nullptr, false, unwritable, &error));
  EXPECT_NE(error.find(unwritable), std::wstring::npos) << ToUtf8(error);
  // The failed export is over; the next one starts with its own header.
  ASSERT_TRUE(ExportRegKey(host_.Root(), host_.Path(L"K"), nullptr, false, file_));
  EXPECT_EQ(ReadExport(file_), Expected(host_, L"Windows Registry Editor Version 5.00||[$\\K]|"));
}

}  // namespace
}  // namespace kelvara
