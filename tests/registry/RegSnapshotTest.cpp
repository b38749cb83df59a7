// Whole-registry snapshots exist on the snapshot backend only.
#ifndef _WIN32

#include "registry/RegSnapshot.h"

#include <gtest/gtest.h>

#include "RegistryTestHost.h"
#include "platform/Encoding.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/snapshot/RegistryStore.h"
#include "registry/RegFun.h"
#include "registry/RegImport.h"

namespace kelvara {
namespace {

using test::RegistryTestHost;

const std::wstring kSid = platform::kDefaultUserSid;

class RegSnapshot : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const std::wstring& file : files_) platform::HostFiles().ForceDeleteFile(file);
  }

  std::wstring Write(std::wstring_view name, std::wstring_view text) {
    const std::wstring file = host_.TempFile(name);
    platform::HostFileError error;
    EXPECT_TRUE(
        platform::HostFiles().WriteFileAtomic(file, EncodeText(std::wstring(text), TextEncoding::Utf16LeBom), error));
    files_.push_back(file);
    return file;
  }

  RegistryTestHost host_;
  std::vector<std::wstring> files_;
};

TEST_F(RegSnapshot, LoadsWindowsAndWineExportsOntoTheRealKeys) {
  // Wine's exports hold the two real roots; Windows' exports repeat the
  // classes and the user's keys under their aliases.
  const std::wstring wine = Write(L"wine.reg",
                                  L"Windows Registry Editor Version 5.00\r\n\r\n"
                                  L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.txt]\r\n@=\"txtfile\"\r\n\r\n"
                                  L"[HKEY_USERS\\" +
                                      kSid + L"\\Software\\Wine]\r\n\"v\"=\"1\"\r\n");
  const std::wstring windows =
      Write(L"windows.reg",
            L"Windows Registry Editor Version 5.00\r\n\r\n"
            L"[HKEY_CLASSES_ROOT\\.txt]\r\n@=\"txtfile\"\r\n\"Content Type\"=\"text/plain\"\r\n"
            L"[HKEY_CURRENT_USER\\Software\\Windows]\r\n\"w\"=dword:00000002\r\n");
  std::wstring error;
  ASSERT_TRUE(LoadRegistrySnapshot({wine, windows}, error)) << ToUtf8(error);
  std::wstring text;
  EXPECT_TRUE(ReadRegData(platform::kHkeyLocalMachine, L"SOFTWARE\\Classes\\.txt", L"Content Type", true, text));
  EXPECT_EQ(text, L"text/plain");
  EXPECT_TRUE(RegValueExists(platform::kHkeyUsers, kSid + L"\\Software\\Windows", L"w"));
  EXPECT_TRUE(RegValueExists(platform::kHkeyCurrentUser, L"Software\\Wine", L"v"));

  // Saved back, only the real roots are written, and they load again.
  const std::wstring saved = host_.TempFile(L"saved.reg");
  files_.push_back(saved);
  ASSERT_TRUE(SaveRegistrySnapshot(saved, error)) << ToUtf8(error);
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(ReadRegFileBytes(saved, bytes, error)) << ToUtf8(error);
  const std::wstring savedText = DecodeText(bytes).text;
  EXPECT_NE(savedText.find(L"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.txt]\r\n@=\"txtfile\"\r\n"
                           L"\"Content Type\"=\"text/plain\"\r\n"),
            std::wstring::npos);
  EXPECT_EQ(savedText.find(L"[HKEY_CLASSES_ROOT"), std::wstring::npos);
  EXPECT_EQ(savedText.find(L"[HKEY_CURRENT_USER"), std::wstring::npos);

  RegistryTestHost fresh;
  ASSERT_TRUE(LoadRegistrySnapshot({saved}, error)) << ToUtf8(error);
  EXPECT_TRUE(RegValueExists(platform::kHkeyCurrentUser, L"Software\\Windows", L"w"));
  EXPECT_TRUE(RegValueExists(platform::kHkeyClassesRoot, L".txt", L"Content Type"));
}

TEST_F(RegSnapshot, AMalformedFileLoadsNothing) {
  const std::wstring good = Write(L"good.reg",
                                  L"Windows Registry Editor Version 5.00\r\n\r\n"
                                  L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Good]\r\n");
  const std::wstring bad = Write(L"bad.reg",
                                 L"Windows Registry Editor Version 5.00\r\n\r\n"
                                 L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Bad]\r\n\"v\"=dword:xyz\r\n");
  std::wstring error;
  EXPECT_FALSE(LoadRegistrySnapshot({good, bad}, error));
  EXPECT_EQ(error.substr(0, bad.size() + 10), bad + L", line 4: ") << ToUtf8(error);
  EXPECT_FALSE(RegKeyExists(platform::kHkeyLocalMachine, L"SOFTWARE\\Good"));
}

}  // namespace
}  // namespace kelvara

#endif  // _WIN32
