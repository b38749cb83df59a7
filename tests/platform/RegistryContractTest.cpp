// The behaviour every registry backend shares with the Windows registry:
// result codes, creation along a path, enumeration order, case rules,
// value types and sizes, deletion rules, key statistics and the 32-bit
// view of HKLM\SOFTWARE. Runs unchanged on the snapshot store and, under
// Wine, on the real registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/RegistryApi.h"
#include "platform/RegistryContract.h"

namespace kelvara::test {
namespace {

using platform::HKey;
using platform::UniqueKey;
using Bytes = std::vector<std::uint8_t>;

Bytes Utf16(std::u16string_view text) {
  Bytes bytes(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
  }
  return bytes;
}

class RegistryContractTest : public ::testing::Test {
 protected:
  void SetUp() override { backend_ = MakeContractBackend(); }

  platform::RegistryApi& Reg() { return backend_->Registry(); }
  std::wstring Path(const std::wstring& sub) const {
    return sub.empty() ? backend_->ScratchPath() : backend_->ScratchPath() + L"\\" + sub;
  }

  long Open(const std::wstring& sub, std::uint32_t access, UniqueKey& key) {
    HKey handle = 0;
    const long code = Reg().OpenKey(backend_->Root(), Path(sub), access, handle);
    key.reset(handle);
    return code;
  }
  UniqueKey Create(const std::wstring& sub) {
    HKey handle = 0;
    EXPECT_EQ(Reg().CreateKey(backend_->Root(), Path(sub), platform::kKeyAllAccess, handle), 0) << Path(sub);
    return UniqueKey(Reg(), handle);
  }
  void Set(HKey key, const std::wstring& name, std::uint32_t type, const Bytes& bytes) {
    ASSERT_EQ(Reg().SetValue(key, name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size())), 0) << name;
  }
  std::vector<std::wstring> SubKeys(HKey key) {
    std::vector<std::wstring> names;
    std::wstring name;
    for (std::uint32_t i = 0; Reg().EnumKey(key, i, name) == 0; ++i) names.push_back(name);
    return names;
  }
  std::vector<std::wstring> Values(HKey key) {
    std::vector<std::wstring> names;
    std::wstring name;
    for (std::uint32_t i = 0; Reg().EnumValue(key, i, name) == 0; ++i) names.push_back(name);
    return names;
  }
  // Type and data of a value, read with a buffer of exactly its size.
  long Read(HKey key, const std::wstring& name, std::uint32_t& type, Bytes& data) {
    std::uint32_t size = 0;
    if (const long code = Reg().QueryValue(key, name, type, nullptr, size); code != 0) return code;
    return Reg().QueryValue(key, name, type, &data, size);
  }

  std::unique_ptr<ContractBackend> backend_;
};

TEST_F(RegistryContractTest, MissingKeysAndValuesGiveNotFound) {
  UniqueKey key(Reg());
  EXPECT_EQ(Open(L"Missing", platform::kKeyRead, key), platform::kErrorFileNotFound);
  EXPECT_FALSE(key);
  EXPECT_EQ(Open(L"Missing\\Deeper", platform::kKeyRead, key), platform::kErrorFileNotFound);
  ASSERT_EQ(Open(L"", platform::kKeyRead, key), 0);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(Reg().QueryValue(key.get(), L"absent", type, nullptr, size), platform::kErrorFileNotFound);
}

TEST_F(RegistryContractTest, CreateMakesEveryKeyAlongThePathAndOpensExistingOnes) {
  Create(L"A\\B\\C");
  UniqueKey key(Reg());
  EXPECT_EQ(Open(L"A", platform::kKeyRead, key), 0);
  EXPECT_EQ(Open(L"A\\B", platform::kKeyRead, key), 0);
  EXPECT_EQ(Open(L"A\\B\\C", platform::kKeyRead, key), 0);
  UniqueKey again = Create(L"A\\B");
  EXPECT_EQ(SubKeys(again.get()), std::vector<std::wstring>{L"C"});
  // An empty sub-key opens the same key again.
  HKey same = 0;
  ASSERT_EQ(Reg().OpenKey(again.get(), L"", platform::kKeyRead, same), 0);
  UniqueKey sameKey(Reg(), same);
  EXPECT_EQ(SubKeys(same), std::vector<std::wstring>{L"C"});
  // Relative to an open key.
  HKey child = 0;
  EXPECT_EQ(Reg().OpenKey(again.get(), L"C", platform::kKeyRead, child), 0);
  UniqueKey childKey(Reg(), child);
}

// Sub-keys come sorted without regard to case. (Windows sorts by the
// upper-cased name and lists values in the order they were first written;
// Wine sorts by the lower-cased name and lists values sorted, so the
// cases where the two differ are checked on the snapshot store only.)
TEST_F(RegistryContractTest, SubKeysEnumerateSortedWithoutRegardToCase) {
  UniqueKey key = Create(L"Order");
  for (const wchar_t* name : {L"b", L"Zeta", L"A", L"a1", L"C", L"0"}) {
    HKey child = 0;
    ASSERT_EQ(Reg().CreateKey(key.get(), name, platform::kKeyAllAccess, child), 0);
    Reg().CloseKey(child);
  }
  EXPECT_EQ(SubKeys(key.get()), (std::vector<std::wstring>{L"0", L"A", L"a1", L"b", L"C", L"Zeta"}));

  for (const wchar_t* name : {L"zeta", L"Alpha", L"", L"mid"}) Set(key.get(), name, platform::kRegDword, {1, 0, 0, 0});
  Set(key.get(), L"ALPHA", platform::kRegSz, Utf16(u"x"));
  ASSERT_EQ(Reg().DeleteValue(key.get(), L"zeta"), 0);
  std::vector<std::wstring> values = Values(key.get());
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (std::vector<std::wstring>{L"", L"Alpha", L"mid"}));
}

TEST_F(RegistryContractTest, NamesAreCaseInsensitiveAndKeepTheirFirstCase) {
  UniqueKey parent = Create(L"Case");
  UniqueKey mixed = Create(L"Case\\MixedName");
  Create(L"CASE\\mixedname");
  EXPECT_EQ(SubKeys(parent.get()), std::vector<std::wstring>{L"MixedName"});
  UniqueKey key(Reg());
  EXPECT_EQ(Open(L"case\\MIXEDNAME", platform::kKeyRead, key), 0);

  Set(mixed.get(), L"ValName", platform::kRegDword, {1, 0, 0, 0});
  Set(mixed.get(), L"VALNAME", platform::kRegDword, {2, 0, 0, 0});
  EXPECT_EQ(Values(mixed.get()), std::vector<std::wstring>{L"ValName"});
  std::uint32_t type = 0;
  Bytes data;
  ASSERT_EQ(Read(key.get(), L"valname", type, data), 0);
  EXPECT_EQ(data, (Bytes{2, 0, 0, 0}));
}

TEST_F(RegistryContractTest, ValuesKeepTheirTypeAndExactBytes) {
  struct Case {
    const wchar_t* name;
    std::uint32_t type;
    Bytes bytes;
  };
  const Case cases[] = {
      {L"sz with NUL", platform::kRegSz, Utf16(std::u16string(u"abc\0", 4))},
      {L"empty sz", platform::kRegSz, {}},
      {L"embedded NULs", platform::kRegSz, Utf16(std::u16string(u"a\0b\0", 4))},
      {L"expand", platform::kRegExpandSz, Utf16(std::u16string(u"%a%\0", 4))},
      {L"multi", platform::kRegMultiSz, Utf16(std::u16string(u"a\0bc\0\0", 6))},
      {L"empty binary", platform::kRegBinary, {}},
      {L"binary", platform::kRegBinary, {0x00, 0xFF, 0x0A, 0x1B, 0x00}},
      {L"dword", platform::kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}},
      {L"big endian", platform::kRegDwordBigEndian, {0, 0, 0, 26}},
      {L"qword", platform::kRegQword, {1, 2, 3, 4, 5, 6, 7, 8}},
      {L"none", platform::kRegNone, {7}},
      {L"resource list", 8, {1, 2}},
  };
  UniqueKey key = Create(L"Types");
  for (const Case& c : cases) Set(key.get(), c.name, c.type, c.bytes);
  // A string without its NUL: the code unit after the given size is not
  // NUL, so no backend may count it in.
  const Bytes unterminated = Utf16(u"abc");
  ASSERT_EQ(Reg().SetValue(key.get(), L"sz without NUL", platform::kRegSz, unterminated.data(), 4), 0);

  for (const Case& c : cases) {
    std::uint32_t type = 99;
    std::uint32_t size = 12345;
    ASSERT_EQ(Reg().QueryValue(key.get(), c.name, type, nullptr, size), 0) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(size, c.bytes.size()) << c.name;
    Bytes data;
    ASSERT_EQ(Read(key.get(), c.name, type, data), 0) << c.name;
    EXPECT_EQ(data, c.bytes) << c.name;
  }
  std::uint32_t type = 0;
  Bytes data;
  ASSERT_EQ(Read(key.get(), L"sz without NUL", type, data), 0);
  EXPECT_EQ(data, (Bytes{'a', 0, 'b', 0}));
}

TEST_F(RegistryContractTest, TooSmallBufferGivesMoreDataAndTheNeededSize) {
  UniqueKey key = Create(L"Small");
  Set(key.get(), L"v", platform::kRegBinary, {1, 2, 3, 4, 5, 6});
  std::uint32_t type = 0;
  std::uint32_t size = 3;
  Bytes data;
  EXPECT_EQ(Reg().QueryValue(key.get(), L"v", type, &data, size), platform::kErrorMoreData);
  EXPECT_EQ(size, 6u);
  size = 64;
  ASSERT_EQ(Reg().QueryValue(key.get(), L"v", type, &data, size), 0);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(data, (Bytes{1, 2, 3, 4, 5, 6}));
}

TEST_F(RegistryContractTest, OverwriteTakesTheNewTypeAndDeletedValuesAreGone) {
  UniqueKey key = Create(L"Overwrite");
  Set(key.get(), L"v", platform::kRegSz, Utf16(std::u16string(u"text\0", 5)));
  Set(key.get(), L"v", platform::kRegDword, {5, 0, 0, 0});
  std::uint32_t type = 0;
  Bytes data;
  ASSERT_EQ(Read(key.get(), L"v", type, data), 0);
  EXPECT_EQ(type, platform::kRegDword);
  EXPECT_EQ(data, (Bytes{5, 0, 0, 0}));

  EXPECT_EQ(Reg().DeleteValue(key.get(), L"V"), 0);
  EXPECT_EQ(Read(key.get(), L"v", type, data), platform::kErrorFileNotFound);
  EXPECT_EQ(Reg().DeleteValue(key.get(), L"v"), platform::kErrorFileNotFound);
}

TEST_F(RegistryContractTest, OnlyKeysWithoutSubKeysCanBeDeleted) {
  UniqueKey parent = Create(L"Del");
  Create(L"Del\\Inner\\Leaf");
  EXPECT_EQ(Reg().DeleteKey(parent.get(), L"Inner", 0), platform::kErrorAccessDenied);
  UniqueKey key(Reg());
  EXPECT_EQ(Open(L"Del\\Inner\\Leaf", platform::kKeyRead, key), 0);
  key.reset();
  EXPECT_EQ(Reg().DeleteKey(parent.get(), L"Inner\\Leaf", 0), 0);
  EXPECT_EQ(Reg().DeleteKey(parent.get(), L"inner", 0), 0);
  EXPECT_EQ(Open(L"Del\\Inner", platform::kKeyRead, key), platform::kErrorFileNotFound);
  EXPECT_EQ(Reg().DeleteKey(parent.get(), L"Inner", 0), platform::kErrorFileNotFound);
  EXPECT_TRUE(SubKeys(parent.get()).empty());
}

TEST_F(RegistryContractTest, HandleOfADeletedKeyReportsKeyDeleted) {
  UniqueKey parent = Create(L"Gone");
  UniqueKey leaf = Create(L"Gone\\Leaf");
  ASSERT_EQ(Reg().DeleteKey(parent.get(), L"Leaf", 0), 0);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(Reg().QueryValue(leaf.get(), L"", type, nullptr, size), platform::kErrorKeyDeleted);
  const std::uint8_t one = 1;
  EXPECT_EQ(Reg().SetValue(leaf.get(), L"v", platform::kRegBinary, &one, 1), platform::kErrorKeyDeleted);
}

TEST_F(RegistryContractTest, HandleRightsLimitWhatItCanDo) {
  Create(L"Rights");
  UniqueKey key(Reg());
  ASSERT_EQ(Open(L"Rights", platform::kKeyRead, key), 0);
  const std::uint8_t one = 1;
  EXPECT_EQ(Reg().SetValue(key.get(), L"v", platform::kRegBinary, &one, 1), platform::kErrorAccessDenied);
  EXPECT_EQ(Reg().DeleteValue(key.get(), L"v"), platform::kErrorAccessDenied);
  ASSERT_EQ(Open(L"Rights", platform::kKeySetValue, key), 0);
  EXPECT_EQ(Reg().SetValue(key.get(), L"v", platform::kRegBinary, &one, 1), 0);
  std::wstring name;
  EXPECT_EQ(Reg().EnumKey(key.get(), 0, name), platform::kErrorAccessDenied);
}

TEST_F(RegistryContractTest, QueryInfoCountsAndLongestNamesAndData) {
  UniqueKey key = Create(L"Info");
  platform::RegKeyStats stats;
  ASSERT_EQ(Reg().QueryInfoKey(key.get(), stats), 0);
  EXPECT_EQ(stats.subKeys, 0u);
  EXPECT_EQ(stats.values, 0u);

  Create(L"Info\\a");
  Create(L"Info\\Longest12");
  Set(key.get(), L"", platform::kRegBinary, Bytes(10, 1));
  Set(key.get(), L"ValueName17chars!", platform::kRegBinary, {1, 2, 3});
  ASSERT_EQ(Reg().QueryInfoKey(key.get(), stats), 0);
  EXPECT_EQ(stats.subKeys, 2u);
  EXPECT_EQ(stats.maxSubKeyLen, 9u);
  EXPECT_EQ(stats.values, 2u);
  EXPECT_EQ(stats.maxValueNameLen, 17u);
  EXPECT_EQ(stats.maxValueLen, 10u);
}

TEST_F(RegistryContractTest, EnumerationPastTheEndGivesNoMoreItems) {
  UniqueKey key = Create(L"End");
  std::wstring name;
  EXPECT_EQ(Reg().EnumKey(key.get(), 0, name), platform::kErrorNoMoreItems);
  EXPECT_EQ(Reg().EnumValue(key.get(), 0, name), platform::kErrorNoMoreItems);
  Create(L"End\\One");
  Set(key.get(), L"one", platform::kRegDword, {1, 0, 0, 0});
  EXPECT_EQ(Reg().EnumKey(key.get(), 0, name), 0);
  EXPECT_EQ(name, L"One");
  EXPECT_EQ(Reg().EnumKey(key.get(), 1, name), platform::kErrorNoMoreItems);
  EXPECT_EQ(Reg().EnumValue(key.get(), 1, name), platform::kErrorNoMoreItems);
}

// On 64-bit Windows the 32-bit view of HKLM\SOFTWARE is its Wow6432Node
// sub-key; the 64-bit view shows Wow6432Node as an ordinary key.
class RegistryViewContractTest : public RegistryContractTest {
 protected:
  void SetUp() override {
    RegistryContractTest::SetUp();
    const std::wstring scratch = backend_->ScratchPath();
    name_ = scratch.substr(scratch.find_last_of(L'\\') + 1);
  }
  void TearDown() override {
    Reg().DeleteKey(platform::kHkeyLocalMachine, L"SOFTWARE\\Wow6432Node\\" + name_, platform::kKeyWow64_64Key);
    Reg().DeleteKey(platform::kHkeyLocalMachine, L"SOFTWARE\\" + name_ + L"-64", platform::kKeyWow64_64Key);
  }
  long OpenMachine(const std::wstring& path, std::uint32_t view) {
    HKey handle = 0;
    const long code = Reg().OpenKey(platform::kHkeyLocalMachine, path, platform::kKeyRead | view, handle);
    UniqueKey key(Reg(), handle);
    return code;
  }

  std::wstring name_;
};

TEST_F(RegistryViewContractTest, TheThirtyTwoBitViewOfSoftwareIsWow6432Node) {
  HKey handle = 0;
  ASSERT_EQ(Reg().CreateKey(platform::kHkeyLocalMachine, L"SOFTWARE\\Wow6432Node\\" + name_,
                            platform::kKeyAllAccess | platform::kKeyWow64_64Key, handle),
            0);
  Reg().CloseKey(handle);
  ASSERT_EQ(Reg().CreateKey(platform::kHkeyLocalMachine, L"SOFTWARE\\" + name_ + L"-64",
                            platform::kKeyAllAccess | platform::kKeyWow64_64Key, handle),
            0);
  Reg().CloseKey(handle);

  EXPECT_EQ(OpenMachine(L"SOFTWARE\\" + name_, platform::kKeyWow64_32Key), 0);
  EXPECT_EQ(OpenMachine(L"SOFTWARE\\Wow6432Node\\" + name_, platform::kKeyWow64_32Key), 0);
  EXPECT_EQ(OpenMachine(L"SOFTWARE\\" + name_, platform::kKeyWow64_64Key), platform::kErrorFileNotFound);
  EXPECT_EQ(OpenMachine(L"SOFTWARE\\" + name_ + L"-64", platform::kKeyWow64_32Key), platform::kErrorFileNotFound);
  EXPECT_EQ(OpenMachine(L"SOFTWARE\\" + name_ + L"-64", platform::kKeyWow64_64Key), 0);
  EXPECT_EQ(OpenMachine(L"SOFTWARE\\" + name_ + L"-64", 0), 0);

  // Deleting in the 32-bit view removes the Wow6432Node key.
  EXPECT_EQ(Reg().DeleteKey(platform::kHkeyLocalMachine, L"SOFTWARE\\" + name_, platform::kKeyWow64_32Key), 0);
  EXPECT_EQ(OpenMachine(L"SOFTWARE\\Wow6432Node\\" + name_, platform::kKeyWow64_64Key), platform::kErrorFileNotFound);
}

}  // namespace
}  // namespace kelvara::test
