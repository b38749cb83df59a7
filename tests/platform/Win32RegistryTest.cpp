// What only the win32 registry backend does: translating the predefined
// roots, growing name and data buffers, the system's error texts and the
// hive calls. The behaviour every backend shares is the contract suite's.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/RegistryApi.h"
#include "platform/RegistryContract.h"
#include "platform/win32/Win32HostFiles.h"
#include "platform/win32/Win32Security.h"

namespace kelvara::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend_ = test::MakeContractBackend();
    HKey key = 0;
    ASSERT_EQ(Reg().OpenKey(backend_->Root(), backend_->ScratchPath(), kKeyAllAccess, key), kErrorSuccess)
        << "the factory must create the scratch key";
    scratch_.emplace(Reg(), key);
  }

  RegistryApi& Reg() { return backend_->Registry(); }
  HKey Scratch() const { return scratch_->get(); }
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
  // Declared after the backend: closed before the scratch key is removed.
  std::optional<UniqueKey> scratch_;
};

TEST_F(Win32RegistryTest, NamesLongerThanTheFirstBufferEnumerateWhole) {
  const std::wstring longName(3000, L'v');
  const Bytes one = {1, 0, 0, 0};
  ASSERT_EQ(Reg().SetValue(Scratch(), longName, kRegDword, one.data(), 4), kErrorSuccess);
  ASSERT_EQ(Reg().SetValue(Scratch(), L"short", kRegDword, one.data(), 4), kErrorSuccess);
  std::vector<std::wstring> values = ValueNames(Scratch());
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (std::vector<std::wstring>{L"short", longName}));
  const std::wstring longKey(255, L'k');  // the longest key name Windows allows
  HKey key = 0;
  ASSERT_EQ(Reg().CreateKey(Scratch(), longKey, kKeyAllAccess, key), kErrorSuccess);
  Reg().CloseKey(key);
  EXPECT_EQ(SubKeys(Scratch()), std::vector<std::wstring>{longKey});
}

TEST_F(Win32RegistryTest, DataBuffersReportTheSizeTheyNeed) {
  const Bytes big(70000, 0x5A);
  ASSERT_EQ(Reg().SetValue(Scratch(), L"big", kRegBinary, big.data(), static_cast<std::uint32_t>(big.size())),
            kErrorSuccess);
  // A zero capacity is a real (empty) buffer, not a size query.
  for (std::uint32_t capacity : {0u, 69999u}) {
    Bytes data;
    std::uint32_t type = 0;
    std::uint32_t size = capacity;
    EXPECT_EQ(Reg().QueryValue(Scratch(), L"big", type, &data, size), kErrorMoreData) << capacity;
    EXPECT_EQ(size, big.size());
    EXPECT_EQ(type, kRegBinary);
  }
  Bytes data;
  std::uint32_t type = 0;
  std::uint32_t size = 70000;
  ASSERT_EQ(Reg().QueryValue(Scratch(), L"big", type, &data, size), kErrorSuccess);
  EXPECT_EQ(data, big);
  ASSERT_EQ(Reg().SetValue(Scratch(), L"empty", kRegBinary, nullptr, 0), kErrorSuccess);
  size = 0;
  EXPECT_EQ(Reg().QueryValue(Scratch(), L"empty", type, &data, size), kErrorSuccess);
  EXPECT_TRUE(data.empty());
}

TEST_F(Win32RegistryTest, TextWithoutItsNulKeepsExactlyItsBytes) {
  // Exactly sized buffers: nothing but the data itself may be stored.
  for (const Bytes& text : {Bytes{'a', 0, 'b', 0, 'c', 0}, Bytes{'a', 0, 'b'}}) {
    for (std::uint32_t type : {kRegSz, kRegExpandSz, kRegMultiSz}) {
      const auto heapCopy = std::make_unique<std::uint8_t[]>(text.size());
      std::copy(text.begin(), text.end(), heapCopy.get());
      ASSERT_EQ(Reg().SetValue(Scratch(), L"text", type, heapCopy.get(), static_cast<std::uint32_t>(text.size())),
                kErrorSuccess);
      Bytes data;
      std::uint32_t read = 0;
      std::uint32_t size = 64;
      ASSERT_EQ(Reg().QueryValue(Scratch(), L"text", read, &data, size), kErrorSuccess);
      EXPECT_EQ(data, text) << "type " << type << ", " << text.size() << " bytes";
    }
  }
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
  for (HKey root : {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers, kHkeyCurrentConfig}) {
    RegKeyStats stats;
    EXPECT_EQ(Reg().QueryInfoKey(root, stats), kErrorSuccess) << std::hex << root;
  }
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

TEST_F(Win32RegistryTest, ASavedHiveLoadsUnderUsers) {
  win32::Win32Security security;
  if (!security.EnablePrivilege(L"SeBackupPrivilege", true) || !security.EnablePrivilege(L"SeRestorePrivilege", true)) {
    GTEST_SKIP() << "the backup and restore privileges are not held";
  }
  HKey key = 0;
  ASSERT_EQ(Reg().CreateKey(Scratch(), L"Saved\\Inner", kKeyAllAccess, key), kErrorSuccess);
  UniqueKey inner(Reg(), key);
  const Bytes data = {'h', 0, 'i', 0, 0, 0};
  ASSERT_EQ(Reg().SetValue(inner.get(), L"greeting", kRegSz, data.data(), 6), kErrorSuccess);
  ASSERT_EQ(Reg().OpenKey(Scratch(), L"Saved", kKeyAllAccess, key), kErrorSuccess);
  UniqueKey saved(Reg(), key);

  win32::Win32HostFiles files;
  const std::wstring hive = files.TempFolder() + L"\\kelvara-" + std::to_wstring(std::random_device{}()) + L".rhk";
  ASSERT_EQ(Reg().SaveKey(saved.get(), hive), kErrorSuccess);
  EXPECT_TRUE(files.FileExists(hive));
  // Wine's restore reports success without copying anything, so only the
  // call itself is checked here.
  ASSERT_EQ(Reg().CreateKey(Scratch(), L"Restored", kKeyAllAccess, key), kErrorSuccess);
  UniqueKey restored(Reg(), key);
  EXPECT_EQ(Reg().RestoreKey(restored.get(), hive), kErrorSuccess);

  const std::wstring mount = L"Kelvara-hive-" + std::to_wstring(std::random_device{}());
  ASSERT_EQ(Reg().LoadKey(kHkeyUsers, mount, hive), kErrorSuccess);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  ASSERT_EQ(Reg().OpenKey(kHkeyUsers, mount + L"\\Inner", kKeyRead, key), kErrorSuccess);
  EXPECT_EQ(Reg().QueryValue(key, L"greeting", type, nullptr, size), kErrorSuccess);
  EXPECT_EQ(size, 6u);
  Reg().CloseKey(key);
  EXPECT_EQ(Reg().UnLoadKey(kHkeyUsers, mount), kErrorSuccess);
  EXPECT_EQ(Reg().OpenKey(kHkeyUsers, mount, kKeyRead, key), kErrorFileNotFound);
  std::error_code ignored;
  std::filesystem::remove(std::filesystem::path(hive), ignored);
}

}  // namespace
}  // namespace kelvara::platform

#endif  // _WIN32
