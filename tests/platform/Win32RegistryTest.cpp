// The win32 registry backend against a real registry (Wine's under test),
// in a scratch key of the contract factory.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/RegistryApi.h"
#include "platform/RegistryContract.h"
#include "platform/Text.h"

namespace kelvara::platform {
namespace {

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = test::MakeContractBackend();
    ASSERT_EQ(Open(L"", kKeyAllAccess, scratch_), kErrorSuccess) << "the factory must create the scratch key";
    scratchOwner_.emplace(Reg(), scratch_);
  }

  RegistryApi& Reg() { return backend_->Registry(); }
  std::wstring Path(const std::wstring& relative) const {
    return relative.empty() ? backend_->ScratchPath() : backend_->ScratchPath() + L"\\" + relative;
  }
  long Open(const std::wstring& relative, std::uint32_t access, HKey& key) {
    return Reg().OpenKey(backend_->Root(), Path(relative), access, key);
  }
  long Create(const std::wstring& relative) {
    HKey key = 0;
    const long rc = Reg().CreateKey(backend_->Root(), Path(relative), kKeyAllAccess, key);
    if (rc == kErrorSuccess) Reg().CloseKey(key);
    return rc;
  }
  long SetDword(HKey key, const std::wstring& name, std::uint32_t value) {
    std::uint8_t bytes[4];
    std::memcpy(bytes, &value, 4);
    return Reg().SetValue(key, name, kRegDword, bytes, 4);
  }
  std::vector<std::wstring> SubKeys(HKey key) {
    std::vector<std::wstring> names;
    std::wstring name;
    for (std::uint32_t i = 0; Reg().EnumKey(key, i, name) == kErrorSuccess; ++i) names.push_back(name);
    return names;
  }
  std::vector<std::wstring> ValueNames(HKey key) {
    std::vector<std::wstring> names;
    std::wstring name;
    for (std::uint32_t i = 0; Reg().EnumValue(key, i, name) == kErrorSuccess; ++i) names.push_back(name);
    return names;
  }

  std::unique_ptr<test::ContractBackend> backend_;
  HKey scratch_ = 0;
  // Declared after the backend: closed before the scratch key is removed.
  std::optional<UniqueKey> scratchOwner_;
};

TEST_F(Win32RegistryTest, MissingKeysAndValuesGiveCode2) {
  HKey key = 0;
  EXPECT_EQ(Open(L"Missing", kKeyRead, key), kErrorFileNotFound);
  EXPECT_EQ(Open(L"Missing\\Deeper", kKeyRead, key), kErrorFileNotFound);
  EXPECT_EQ(key, 0u);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(Reg().QueryValue(scratch_, L"absent", type, nullptr, size), kErrorFileNotFound);
  EXPECT_EQ(Reg().QueryValue(scratch_, L"", type, nullptr, size), kErrorFileNotFound) << "no default value yet";
  EXPECT_EQ(Reg().DeleteValue(scratch_, L"absent"), kErrorFileNotFound);
  EXPECT_EQ(Reg().DeleteKey(backend_->Root(), Path(L"Missing"), 0), kErrorFileNotFound);
  EXPECT_EQ(Reg().DeleteKey(backend_->Root(), Path(L"Missing"), kKeyWow64_64Key), kErrorFileNotFound);
}

TEST_F(Win32RegistryTest, CreateMakesEveryLevelAndNamesAreCaseInsensitive) {
  ASSERT_EQ(Create(L"One\\Two\\Three"), kErrorSuccess);
  HKey key = 0;
  ASSERT_EQ(Open(L"one\\TWO", kKeyRead, key), kErrorSuccess);
  UniqueKey two(Reg(), key);
  EXPECT_EQ(SubKeys(two.get()), std::vector<std::wstring>{L"Three"}) << "case is preserved";
  // An empty sub-key opens a second, independent handle to the same key.
  HKey again = 0;
  ASSERT_EQ(Reg().OpenKey(two.get(), L"", kKeyRead, again), kErrorSuccess);
  UniqueKey againOwner(Reg(), again);
  EXPECT_NE(again, two.get());
  EXPECT_EQ(SubKeys(again), std::vector<std::wstring>{L"Three"});
}

TEST_F(Win32RegistryTest, EnumerationAndKeyStatistics) {
  for (const wchar_t* name : {L"Beta", L"alpha", L"Gamma-longest"}) ASSERT_EQ(Create(name), kErrorSuccess);
  // Sub-keys come in the registry's order: sorted without regard to case.
  EXPECT_EQ(SubKeys(scratch_), (std::vector<std::wstring>{L"alpha", L"Beta", L"Gamma-longest"}));
  ASSERT_EQ(SetDword(scratch_, L"zeta", 1), kErrorSuccess);
  ASSERT_EQ(SetDword(scratch_, L"Alpha", 2), kErrorSuccess);
  const std::vector<std::uint8_t> eight(8, 0xAB);
  ASSERT_EQ(Reg().SetValue(scratch_, L"", kRegBinary, eight.data(), 8), kErrorSuccess);
  std::vector<std::wstring> values = ValueNames(scratch_);
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (std::vector<std::wstring>{L"", L"Alpha", L"zeta"})) << "the default value has an empty name";

  std::wstring name;
  EXPECT_EQ(Reg().EnumKey(scratch_, 3, name), kErrorNoMoreItems);
  EXPECT_EQ(Reg().EnumValue(scratch_, 3, name), kErrorNoMoreItems);
  RegKeyStats stats;
  ASSERT_EQ(Reg().QueryInfoKey(scratch_, stats), kErrorSuccess);
  EXPECT_EQ(stats.subKeys, 3u);
  EXPECT_EQ(stats.maxSubKeyLen, 13u) << "characters, without the NUL";
  EXPECT_EQ(stats.values, 3u);
  EXPECT_EQ(stats.maxValueNameLen, 5u);
  EXPECT_EQ(stats.maxValueLen, 8u) << "bytes";
  EXPECT_NE(stats.lastWriteTime, 0u);
}

TEST_F(Win32RegistryTest, LongValueNamesEnumerateWhole) {
  const std::wstring longName(3000, L'v');
  ASSERT_EQ(SetDword(scratch_, longName, 7), kErrorSuccess);
  ASSERT_EQ(SetDword(scratch_, L"short", 8), kErrorSuccess);
  std::vector<std::wstring> values = ValueNames(scratch_);
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (std::vector<std::wstring>{L"short", longName}));
}

TEST_F(Win32RegistryTest, DeletingAKeyWithSubKeysIsRefused) {
  ASSERT_EQ(Create(L"Parent\\Child"), kErrorSuccess);
  const long refused = Reg().DeleteKey(backend_->Root(), Path(L"Parent"), 0);
  EXPECT_NE(refused, kErrorSuccess);
  EXPECT_EQ(refused, kErrorAccessDenied) << "Windows answers 5";
  HKey key = 0;
  ASSERT_EQ(Open(L"Parent\\Child", kKeyRead, key), kErrorSuccess) << "nothing was removed";
  Reg().CloseKey(key);
  EXPECT_EQ(Reg().DeleteKey(backend_->Root(), Path(L"Parent\\Child"), kKeyWow64_64Key), kErrorSuccess);
  EXPECT_EQ(Reg().DeleteKey(backend_->Root(), Path(L"Parent"), 0), kErrorSuccess);
  EXPECT_EQ(Open(L"Parent", kKeyRead, key), kErrorFileNotFound);
}

struct ValueCase {
  std::uint32_t type;
  std::vector<std::uint8_t> data;
  // Wine stores a text written without its terminating NUL with one added;
  // Windows stores the bytes as given.
  bool mayGainNul = false;
};

TEST_F(Win32RegistryTest, ValuesKeepTheirTypeSizeAndBytes) {
  const std::vector<ValueCase> cases = {
      {kRegSz, ToUtf16LeBytes(L"abc", true)},
      {kRegExpandSz, ToUtf16LeBytes(L"%a%", true)},
      {kRegSz, ToUtf16LeBytes(L"no terminator", false), true},
      {kRegMultiSz, ToUtf16LeBytes(std::wstring(L"one\0two\0\0", 9), false)},
      {kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}},
      {kRegDwordBigEndian, {0x00, 0x00, 0x00, 0x1A}},
      {kRegQword, {1, 2, 3, 4, 5, 6, 7, 8}},
      {kRegBinary, {}},
      {kRegBinary, std::vector<std::uint8_t>(70000, 0x5A)},
      {kRegNone, {0x00, 0x01}},
      {kRegLink, ToUtf16LeBytes(L"\\Registry\\Machine", false)},
      {0x12345, {9}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const ValueCase& c = cases[i];
    const std::wstring name = L"v" + std::to_wstring(i);
    SCOPED_TRACE(testing::Message() << "case " << i << ", type " << c.type);
    ASSERT_EQ(Reg().SetValue(scratch_, name, c.type, c.data.empty() ? nullptr : c.data.data(),
                             static_cast<std::uint32_t>(c.data.size())),
              kErrorSuccess);
    std::uint32_t type = 99;
    std::uint32_t size = 12345;
    ASSERT_EQ(Reg().QueryValue(scratch_, name, type, nullptr, size), kErrorSuccess);
    EXPECT_EQ(type, c.type);
    std::vector<std::uint8_t> expected = c.data;
    if (c.mayGainNul && size == expected.size() + 2) expected.insert(expected.end(), {0, 0});
    EXPECT_EQ(size, expected.size());
    std::vector<std::uint8_t> data;
    size = static_cast<std::uint32_t>(expected.size()) + 16;  // more room than needed
    ASSERT_EQ(Reg().QueryValue(scratch_, name, type, &data, size), kErrorSuccess);
    EXPECT_EQ(size, expected.size());
    EXPECT_EQ(data, expected);
  }
}

TEST_F(Win32RegistryTest, ATooSmallBufferReportsTheSizeNeeded) {
  const std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5, 6};
  ASSERT_EQ(Reg().SetValue(scratch_, L"six", kRegBinary, bytes.data(), 6), kErrorSuccess);
  for (std::uint32_t capacity : {0u, 5u}) {
    std::vector<std::uint8_t> data;
    std::uint32_t type = 0;
    std::uint32_t size = capacity;
    EXPECT_EQ(Reg().QueryValue(scratch_, L"six", type, &data, size), kErrorMoreData) << capacity;
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(type, kRegBinary);
  }
  std::vector<std::uint8_t> data;
  std::uint32_t type = 0;
  std::uint32_t size = 6;
  ASSERT_EQ(Reg().QueryValue(scratch_, L"six", type, &data, size), kErrorSuccess);
  EXPECT_EQ(data, bytes);
}

TEST_F(Win32RegistryTest, PredefinedRootsKeepTheirNumbers) {
  HKey key = 0;
  ASSERT_EQ(Reg().OpenKey(kHkeyLocalMachine, L"Software", kKeyRead, key), kErrorSuccess);
  UniqueKey software(Reg(), key);
  EXPECT_FALSE(UniqueKey::IsPredefined(key));
  EXPECT_FALSE(SubKeys(key).empty());
  // Opening a root with no sub-key hands the root itself back.
  ASSERT_EQ(Reg().OpenKey(kHkeyCurrentUser, L"", kKeyRead, key), kErrorSuccess);
  EXPECT_EQ(key, kHkeyCurrentUser);
  EXPECT_EQ(Reg().CloseKey(kHkeyCurrentUser), kErrorSuccess);
  RegKeyStats stats;
  EXPECT_EQ(Reg().QueryInfoKey(kHkeyUsers, stats), kErrorSuccess);
  EXPECT_GT(stats.subKeys, 0u);
}

TEST_F(Win32RegistryTest, ErrorMessagesComeFromTheSystem) {
  EXPECT_EQ(Reg().ErrorMessage(0), L"");
  EXPECT_FALSE(Reg().ErrorMessage(kErrorFileNotFound).empty());
  EXPECT_NE(Reg().ErrorMessage(kErrorFileNotFound), Reg().ErrorMessage(kErrorAccessDenied));
  EXPECT_NE(Reg().ErrorMessage(0x7FFFFF01).find(L"2147483393"), std::wstring::npos)
      << "an unknown code still names itself";
}

// The 32-bit view of HKLM\Software is the 64-bit view's Wow6432Node.
TEST(Win32RegistryViews, The32BitViewIsKeptApart) {
  auto backend = test::MakeContractBackend();
  RegistryApi& reg = backend->Registry();
  const std::wstring name = L"Kelvara view test " + backend->ScratchPath().substr(backend->ScratchPath().rfind(L'-'));
  const std::wstring path32 = L"Software\\" + name;
  HKey key = 0;
  const long created = reg.CreateKey(kHkeyLocalMachine, path32, kKeyAllAccess | kKeyWow64_32Key, key);
  if (created == kErrorAccessDenied) GTEST_SKIP() << "HKLM is not writable for this user";
  ASSERT_EQ(created, kErrorSuccess);
  reg.CloseKey(key);

  EXPECT_EQ(reg.OpenKey(kHkeyLocalMachine, path32, kKeyRead | kKeyWow64_32Key, key), kErrorSuccess);
  reg.CloseKey(key);
  EXPECT_EQ(reg.OpenKey(kHkeyLocalMachine, path32, kKeyRead | kKeyWow64_64Key, key), kErrorFileNotFound);
  EXPECT_EQ(reg.OpenKey(kHkeyLocalMachine, L"Software\\Wow6432Node\\" + name, kKeyRead | kKeyWow64_64Key, key),
            kErrorSuccess);
  reg.CloseKey(key);

  EXPECT_EQ(reg.DeleteKey(kHkeyLocalMachine, path32, kKeyWow64_64Key), kErrorFileNotFound)
      << "deleting in the wrong view finds nothing";
  EXPECT_EQ(reg.DeleteKey(kHkeyLocalMachine, path32, kKeyWow64_32Key), kErrorSuccess);
  EXPECT_EQ(reg.OpenKey(kHkeyLocalMachine, path32, kKeyRead | kKeyWow64_32Key, key), kErrorFileNotFound);
}

}  // namespace
}  // namespace kelvara::platform

#endif  // _WIN32
