// What only the snapshot store can show: its link keys and views, the
// merged classes root, the refusal knobs, write faults, hive files and
// concurrent use.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/snapshot/SnapshotRegistry.h"

namespace kelvara::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

class SnapshotRegistryTest : public ::testing::Test {
 protected:
  SnapshotRegistryTest() : store_(std::make_shared<RegistryStore>(L"S-1-5-21-1-2-3-1001", true)), reg_(store_) {}

  void Put(HKey root, const std::wstring& path, const std::wstring& name, const std::wstring& text,
           std::uint32_t access = kKeyAllAccess) {
    HKey key = 0;
    ASSERT_EQ(reg_.CreateKey(root, path, access, key), 0) << path;
    UniqueKey closer(reg_, key);
    const Bytes bytes = ToUtf16LeBytes(text, true);
    ASSERT_EQ(reg_.SetValue(key, name, kRegSz, bytes.data(), static_cast<std::uint32_t>(bytes.size())), 0);
  }
  // The text of a value, or "<code>" when it cannot be read.
  std::wstring Get(HKey root, const std::wstring& path, const std::wstring& name, std::uint32_t access = kKeyRead) {
    HKey key = 0;
    if (const long code = reg_.OpenKey(root, path, access, key); code != 0) return L"<" + std::to_wstring(code) + L">";
    UniqueKey closer(reg_, key);
    std::uint32_t type = 0;
    std::uint32_t size = 4096;
    Bytes data;
    if (const long code = reg_.QueryValue(key, name, type, &data, size); code != 0) {
      return L"<" + std::to_wstring(code) + L">";
    }
    std::wstring text = FromUtf16LeBytes(data.data(), data.size());
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
  }
  long OpenCode(HKey root, const std::wstring& path, std::uint32_t access) {
    HKey key = 0;
    const long code = reg_.OpenKey(root, path, access, key);
    UniqueKey closer(reg_, key);
    return code;
  }
  std::vector<std::wstring> SubKeys(HKey root, const std::wstring& path) {
    HKey key = 0;
    std::vector<std::wstring> names;
    if (reg_.OpenKey(root, path, kKeyRead, key) != 0) return names;
    UniqueKey closer(reg_, key);
    std::wstring name;
    for (std::uint32_t i = 0; reg_.EnumKey(key, i, name) == 0; ++i) names.push_back(name);
    return names;
  }
  void SetDword(HKey root, const std::wstring& path, const std::wstring& name, std::uint32_t number) {
    HKey key = 0;
    ASSERT_EQ(reg_.CreateKey(root, path, kKeyAllAccess, key), 0);
    UniqueKey closer(reg_, key);
    ASSERT_EQ(reg_.SetValue(key, name, kRegDword, reinterpret_cast<const std::uint8_t*>(&number), 4), 0);
  }

  std::shared_ptr<RegistryStore> store_;
  SnapshotRegistry reg_;
};

// As in Windows' hives: sub-keys sorted by upper-cased name ("_" after
// every letter), values in the order they were first written.
TEST_F(SnapshotRegistryTest, EnumerationOrderIsWindows) {
  for (const wchar_t* name : {L"b", L"_x", L"Zeta", L"A", L"a1", L"[", L"\u00e9"}) {
    Put(kHkeyLocalMachine, std::wstring(L"SOFTWARE\\Order\\") + name, L"v", name);
  }
  EXPECT_EQ(SubKeys(kHkeyLocalMachine, L"SOFTWARE\\Order"),
            (std::vector<std::wstring>{L"A", L"a1", L"b", L"Zeta", L"[", L"_x", L"\u00e9"}));

  HKey key = 0;
  ASSERT_EQ(reg_.OpenKey(kHkeyLocalMachine, L"SOFTWARE\\Order", kKeyAllAccess, key), 0);
  UniqueKey closer(reg_, key);
  const std::uint8_t one = 1;
  for (const wchar_t* name : {L"zeta", L"Alpha", L"", L"mid"})
    ASSERT_EQ(reg_.SetValue(key, name, kRegBinary, &one, 1), 0);
  ASSERT_EQ(reg_.SetValue(key, L"ALPHA", kRegDword, &one, 1), 0);
  ASSERT_EQ(reg_.DeleteValue(key, L"zeta"), 0);
  std::vector<std::wstring> values;
  std::wstring name;
  for (std::uint32_t i = 0; reg_.EnumValue(key, i, name) == 0; ++i) values.push_back(name);
  EXPECT_EQ(values, (std::vector<std::wstring>{L"Alpha", L"", L"mid"}));
}

TEST_F(SnapshotRegistryTest, LinkKeysReachTheKeysTheyStandFor) {
  struct Case {
    HKey writeRoot;
    const wchar_t* writePath;
    HKey readRoot;
    const wchar_t* readPath;
    std::uint32_t readView;
  };
  const Case cases[] = {
      {kHkeyCurrentUser, L"Software\\A", kHkeyUsers, L"S-1-5-21-1-2-3-1001\\Software\\A", 0},
      {kHkeyCurrentConfig, L"Display", kHkeyLocalMachine, L"SYSTEM\\ControlSet001\\Hardware Profiles\\Current\\Display",
       0},
      {kHkeyLocalMachine, L"SYSTEM\\CurrentControlSet\\Services\\S", kHkeyLocalMachine,
       L"SYSTEM\\ControlSet001\\Services\\S", 0},
      {kHkeyUsers, L"S-1-5-21-1-2-3-1001_Classes\\.u", kHkeyUsers, L"S-1-5-21-1-2-3-1001\\Software\\Classes\\.u", 0},
      {kHkeyLocalMachine, L"SOFTWARE\\Wow6432Node\\Classes\\CLSID\\{1}", kHkeyClassesRoot, L"CLSID\\{1}",
       kKeyWow64_32Key},
      {kHkeyLocalMachine, L"SOFTWARE\\Classes\\Wow6432Node\\CLSID\\{2}", kHkeyLocalMachine,
       L"SOFTWARE\\Classes\\CLSID\\{2}", kKeyWow64_32Key},
      {kHkeyLocalMachine, L"SOFTWARE\\Wow6432Node\\Vendor", kHkeyLocalMachine, L"SOFTWARE\\Vendor", kKeyWow64_32Key},
      {kHkeyCurrentUser, L"Software\\Classes\\Wow6432Node\\CLSID\\{3}", kHkeyCurrentUser,
       L"Software\\Classes\\CLSID\\{3}", kKeyWow64_32Key},
  };
  for (const Case& c : cases) {
    Put(c.writeRoot, c.writePath, L"v", c.writePath);
    EXPECT_EQ(Get(c.readRoot, c.readPath, L"v", kKeyRead | c.readView), c.writePath) << c.readPath;
  }
  // Outside SOFTWARE and the classes, the 32-bit view changes nothing;
  // the user's Software key is shared by both views.
  Put(kHkeyCurrentUser, L"Software\\Shared", L"v", L"shared");
  EXPECT_EQ(Get(kHkeyCurrentUser, L"Software\\Shared", L"v", kKeyRead | kKeyWow64_32Key), L"shared");
  // The links are not listed as keys of their own.
  EXPECT_EQ(SubKeys(kHkeyLocalMachine, L"SYSTEM"), std::vector<std::wstring>{L"ControlSet001"});
}

TEST_F(SnapshotRegistryTest, CurrentControlSetFollowsSelectCurrent) {
  Put(kHkeyLocalMachine, L"SYSTEM\\ControlSet002\\Control", L"v", L"two");
  SetDword(kHkeyLocalMachine, L"SYSTEM\\Select", L"Current", 2);
  EXPECT_EQ(Get(kHkeyLocalMachine, L"SYSTEM\\CurrentControlSet\\Control", L"v"), L"two");
  HKey handle = 0;
  ASSERT_EQ(reg_.OpenKey(kHkeyLocalMachine, L"SYSTEM\\CurrentControlSet", kKeyRead, handle), 0);
  UniqueKey key(reg_, handle);
  EXPECT_EQ(Get(key.get(), L"Control", L"v"), L"two");
}

TEST_F(SnapshotRegistryTest, ThirtyTwoBitSystemsHaveOneView) {
  auto store = std::make_shared<RegistryStore>(L"S-1-5-21-9", false);
  SnapshotRegistry reg(store);
  HKey key = 0;
  ASSERT_EQ(reg.CreateKey(kHkeyLocalMachine, L"SOFTWARE\\Vendor", kKeyAllAccess, key), 0);
  reg.CloseKey(key);
  ASSERT_EQ(reg.OpenKey(kHkeyLocalMachine, L"SOFTWARE\\Vendor", kKeyRead | kKeyWow64_32Key, key), 0);
  reg.CloseKey(key);
}

TEST_F(SnapshotRegistryTest, ClassesRootMergesTheUsersClassesOverTheMachines) {
  Put(kHkeyLocalMachine, L"SOFTWARE\\Classes\\.a", L"", L"machine a");
  Put(kHkeyLocalMachine, L"SOFTWARE\\Classes\\.b", L"", L"machine b");
  Put(kHkeyLocalMachine, L"SOFTWARE\\Classes\\.a\\OpenWithList\\m", L"", L"m");
  Put(kHkeyCurrentUser, L"Software\\Classes\\.a", L"", L"user a");
  Put(kHkeyCurrentUser, L"Software\\Classes\\.c", L"", L"user c");
  Put(kHkeyCurrentUser, L"Software\\Classes\\.a\\OpenWithList\\u", L"", L"u");

  EXPECT_EQ(SubKeys(kHkeyClassesRoot, L""), (std::vector<std::wstring>{L".a", L".b", L".c"}));
  EXPECT_EQ(SubKeys(kHkeyClassesRoot, L".a\\OpenWithList"), (std::vector<std::wstring>{L"m", L"u"}));
  EXPECT_EQ(Get(kHkeyClassesRoot, L".a", L""), L"user a");
  EXPECT_EQ(Get(kHkeyClassesRoot, L".b", L""), L"machine b");
  RegKeyStats stats;
  ASSERT_EQ(reg_.QueryInfoKey(kHkeyClassesRoot, stats), 0);
  EXPECT_EQ(stats.subKeys, 3u);

  // Writes go to the user's key where it exists, else to the machine's;
  // new keys directly below the root go to the machine's classes.
  Put(kHkeyClassesRoot, L".a", L"w", L"to user");
  Put(kHkeyClassesRoot, L".b", L"w", L"to machine");
  Put(kHkeyClassesRoot, L".a\\shell", L"w", L"user shell");
  Put(kHkeyClassesRoot, L".new", L"w", L"new");
  EXPECT_EQ(Get(kHkeyCurrentUser, L"Software\\Classes\\.a", L"w"), L"to user");
  EXPECT_EQ(Get(kHkeyLocalMachine, L"SOFTWARE\\Classes\\.b", L"w"), L"to machine");
  EXPECT_EQ(Get(kHkeyCurrentUser, L"Software\\Classes\\.a\\shell", L"w"), L"user shell");
  EXPECT_EQ(Get(kHkeyLocalMachine, L"SOFTWARE\\Classes\\.new", L"w"), L"new");

  EXPECT_EQ(reg_.DeleteKey(kHkeyClassesRoot, L".c", 0), 0);
  EXPECT_EQ(OpenCode(kHkeyCurrentUser, L"Software\\Classes\\.c", kKeyRead), kErrorFileNotFound);
}

TEST_F(SnapshotRegistryTest, ReadsRefusedMakesEveryOpenOfThatKeyFail) {
  Put(kHkeyLocalMachine, L"SOFTWARE\\Locked\\Child", L"v", L"child");
  ASSERT_EQ(store_->SetReadsRefused(kHkeyLocalMachine, L"SOFTWARE\\Locked", true), 0);
  EXPECT_EQ(OpenCode(kHkeyLocalMachine, L"SOFTWARE\\Locked", kKeyQueryValue), kErrorAccessDenied);
  EXPECT_EQ(OpenCode(kHkeyLocalMachine, L"SOFTWARE\\Locked", 0), kErrorAccessDenied);
  // Its sub-keys keep their own rights.
  EXPECT_EQ(Get(kHkeyLocalMachine, L"SOFTWARE\\Locked\\Child", L"v"), L"child");
  EXPECT_EQ(store_->SetReadsRefused(kHkeyLocalMachine, L"SOFTWARE\\Missing", true), kErrorFileNotFound);
  ASSERT_EQ(store_->SetReadsRefused(kHkeyLocalMachine, L"SOFTWARE\\Locked", false), 0);
  EXPECT_EQ(OpenCode(kHkeyLocalMachine, L"SOFTWARE\\Locked", kKeyRead), 0);
}

TEST_F(SnapshotRegistryTest, WritesRefusedAllowsOnlyReading) {
  Put(kHkeyCurrentUser, L"Software\\RO\\Child", L"v", L"x");
  Put(kHkeyCurrentUser, L"Software\\RO", L"v", L"x");
  HKey writable = 0;
  ASSERT_EQ(reg_.OpenKey(kHkeyCurrentUser, L"Software\\RO", kKeyAllAccess, writable), 0);
  UniqueKey early(reg_, writable);
  ASSERT_EQ(store_->SetWritesRefused(kHkeyCurrentUser, L"Software\\RO", true), 0);

  EXPECT_EQ(OpenCode(kHkeyCurrentUser, L"Software\\RO", kKeyRead), 0);
  EXPECT_EQ(OpenCode(kHkeyCurrentUser, L"Software\\RO", kKeyRead | kKeyWow64_64Key), 0);
  for (std::uint32_t access : {kKeyAllAccess, kKeySetValue, kKeyCreateSubKey, 0x00010000u, 0x40000000u}) {
    EXPECT_EQ(OpenCode(kHkeyCurrentUser, L"Software\\RO", access), kErrorAccessDenied) << std::hex << access;
  }
  // MAXIMUM_ALLOWED gets what is allowed.
  HKey maximum = 0;
  ASSERT_EQ(reg_.OpenKey(kHkeyCurrentUser, L"Software\\RO", 0x02000000u, maximum), 0);
  UniqueKey maxKey(reg_, maximum);
  const std::uint8_t one = 1;
  EXPECT_EQ(reg_.SetValue(maximum, L"v", kRegBinary, &one, 1), kErrorAccessDenied);

  // A handle opened before the knob was set is refused as well.
  EXPECT_EQ(reg_.SetValue(early.get(), L"v", kRegBinary, &one, 1), kErrorAccessDenied);
  EXPECT_EQ(reg_.DeleteValue(early.get(), L"v"), kErrorAccessDenied);
  HKey created = 0;
  EXPECT_EQ(reg_.CreateKey(kHkeyCurrentUser, L"Software\\RO\\New", kKeyAllAccess, created), kErrorAccessDenied);
  // An existing sub-key opens and stays writable.
  ASSERT_EQ(reg_.CreateKey(kHkeyCurrentUser, L"Software\\RO\\Child", kKeyAllAccess, created), 0);
  reg_.CloseKey(created);
  Put(kHkeyCurrentUser, L"Software\\RO\\Child", L"w", L"ok");
  EXPECT_EQ(reg_.DeleteKey(kHkeyCurrentUser, L"Software\\RO\\Child", 0), 0);
  EXPECT_EQ(reg_.DeleteKey(kHkeyCurrentUser, L"Software\\RO", 0), kErrorAccessDenied);
}

TEST_F(SnapshotRegistryTest, WriteFaultStrikesAfterTheGivenNumberOfWrites) {
  Put(kHkeyCurrentUser, L"Software\\F", L"keep", L"kept");
  store_->FailWritesAfter(2, kErrorDiskFull);
  HKey key = 0;
  ASSERT_EQ(reg_.OpenKey(kHkeyCurrentUser, L"Software\\F", kKeyAllAccess, key), 0);
  UniqueKey closer(reg_, key);
  const std::uint8_t one = 1;
  EXPECT_EQ(reg_.SetValue(key, L"first", kRegBinary, &one, 1), 0);
  HKey child = 0;
  EXPECT_EQ(reg_.CreateKey(key, L"Second", kKeyAllAccess, child), 0);
  reg_.CloseKey(child);
  // Every further write fails; opening an existing key and reading do not.
  EXPECT_EQ(reg_.SetValue(key, L"third", kRegBinary, &one, 1), kErrorDiskFull);
  EXPECT_EQ(reg_.CreateKey(key, L"Third", kKeyAllAccess, child), kErrorDiskFull);
  EXPECT_EQ(reg_.DeleteValue(key, L"keep"), kErrorDiskFull);
  EXPECT_EQ(reg_.DeleteKey(key, L"Second", 0), kErrorDiskFull);
  ASSERT_EQ(reg_.CreateKey(key, L"Second", kKeyAllAccess, child), 0);
  reg_.CloseKey(child);
  EXPECT_EQ(Get(kHkeyCurrentUser, L"Software\\F", L"keep"), L"kept");
  EXPECT_EQ(Get(kHkeyCurrentUser, L"Software\\F", L"third"), L"<2>");
  store_->ClearWriteFault();
  EXPECT_EQ(reg_.DeleteKey(key, L"Second", 0), 0);
}

TEST_F(SnapshotRegistryTest, HivesLoadUnderUsersAndKeepTheirContentWhenUnloaded) {
  const std::wstring file = L"C:\\Users\\bob\\NTUSER.DAT";
  ASSERT_EQ(store_->RegisterHiveFile(file), 0);
  const std::wstring bob = L"S-1-5-21-1-2-3-1002";
  EXPECT_EQ(reg_.LoadKey(kHkeyUsers, bob, L"C:\\Users\\bob\\missing.dat"), kErrorFileNotFound);
  ASSERT_EQ(reg_.LoadKey(kHkeyUsers, bob, L"c:\\users\\BOB\\ntuser.dat"), 0);
  EXPECT_EQ(reg_.LoadKey(kHkeyUsers, L"Other", file), kErrorSharingViolation);
  Put(kHkeyUsers, bob + L"\\Software\\App", L"v", L"bob's");

  HKey open = 0;
  ASSERT_EQ(reg_.OpenKey(kHkeyUsers, bob + L"\\Software", kKeyRead, open), 0);
  EXPECT_EQ(reg_.UnLoadKey(kHkeyUsers, bob), kErrorAccessDenied);
  reg_.CloseKey(open);
  EXPECT_EQ(reg_.DeleteKey(kHkeyUsers, bob, 0), kErrorAccessDenied);
  ASSERT_EQ(reg_.UnLoadKey(kHkeyUsers, bob), 0);
  EXPECT_EQ(OpenCode(kHkeyUsers, bob, kKeyRead), kErrorFileNotFound);
  EXPECT_EQ(reg_.UnLoadKey(kHkeyUsers, bob), kErrorFileNotFound);

  ASSERT_EQ(reg_.LoadKey(kHkeyUsers, bob, file), 0);
  EXPECT_EQ(Get(kHkeyUsers, bob + L"\\Software\\App", L"v"), L"bob's");
  // An ordinary key is no hive, and a present key cannot be loaded over.
  Put(kHkeyUsers, L"Plain", L"v", L"x");
  EXPECT_EQ(reg_.UnLoadKey(kHkeyUsers, L"Plain"), kErrorInvalidParameter);
  ASSERT_EQ(store_->RegisterHiveFile(L"other.dat"), 0);
  EXPECT_EQ(reg_.LoadKey(kHkeyUsers, L"Plain", L"other.dat"), kErrorAlreadyExists);
  EXPECT_EQ(reg_.LoadKey(kHkeyCurrentUser, L"X", L"other.dat"), kErrorInvalidParameter);
  EXPECT_EQ(reg_.LoadKey(kHkeyUsers, L"A\\B", L"other.dat"), kErrorInvalidParameter);
}

TEST_F(SnapshotRegistryTest, ATreeTakenFromAnotherStoreBecomesAHive) {
  auto source = std::make_shared<RegistryStore>();
  SnapshotRegistry sourceReg(source);
  HKey key = 0;
  ASSERT_EQ(sourceReg.CreateKey(kHkeyUsers, L"Template\\Software\\Tool", kKeyAllAccess, key), 0);
  sourceReg.CloseKey(key);
  std::unique_ptr<KeyNode> tree;
  ASSERT_EQ(source->DetachTree(kHkeyUsers, L"Template", tree), 0);
  EXPECT_EQ(sourceReg.OpenKey(kHkeyUsers, L"Template", kKeyRead, key), kErrorFileNotFound);

  ASSERT_EQ(store_->RegisterHiveFile(L"D:\\hive.dat", std::move(tree)), 0);
  ASSERT_EQ(reg_.LoadKey(kHkeyUsers, L"S-1-5-21-7", L"D:\\hive.dat"), 0);
  EXPECT_EQ(SubKeys(kHkeyUsers, L"S-1-5-21-7\\Software"), std::vector<std::wstring>{L"Tool"});
}

TEST_F(SnapshotRegistryTest, BadArgumentsAndUnsupportedCallsGiveTheirCodes) {
  HKey key = 0;
  EXPECT_EQ(reg_.OpenKey(kHkeyLocalMachine, L"\\SOFTWARE", kKeyRead, key), kErrorBadPathname);
  EXPECT_EQ(reg_.OpenKey(kHkeyLocalMachine, L"", kKeyRead | kKeyWow64Res, key), kErrorInvalidParameter);
  EXPECT_EQ(reg_.OpenKey(0x1234, L"x", kKeyRead, key), kErrorInvalidHandle);
  EXPECT_EQ(reg_.OpenKey(kHkeyPerformanceData, L"", kKeyRead, key), kErrorInvalidHandle);
  EXPECT_EQ(reg_.CloseKey(0x1234), kErrorInvalidHandle);
  EXPECT_EQ(reg_.CloseKey(kHkeyLocalMachine), 0);
  EXPECT_EQ(reg_.DeleteKey(kHkeyLocalMachine, L"", 0), kErrorAccessDenied);
  EXPECT_EQ(reg_.SetValue(kHkeyLocalMachine, L"v", kRegBinary, nullptr, 4), kErrorInvalidParameter);
  EXPECT_EQ(reg_.SaveKey(kHkeyLocalMachine, L"x.hiv"), kErrorNotSupported);
  EXPECT_EQ(reg_.RestoreKey(kHkeyLocalMachine, L"x.hiv"), kErrorNotSupported);
  EXPECT_EQ(reg_.ReplaceKey(kHkeyLocalMachine, L"SOFTWARE", L"n", L"o"), kErrorNotSupported);
  EXPECT_EQ(reg_.ConnectRegistry(L"\\\\pc", kHkeyLocalMachine, key), kErrorNotSupported);
  EXPECT_EQ(key, 0u);
}

TEST_F(SnapshotRegistryTest, ErrorMessagesAreWindowsTexts) {
  EXPECT_EQ(reg_.ErrorMessage(0), L"");
  EXPECT_EQ(reg_.ErrorMessage(2), L"The system cannot find the file specified.");
  EXPECT_EQ(reg_.ErrorMessage(5), L"Access is denied.");
  EXPECT_EQ(reg_.ErrorMessage(112), L"There is not enough space on the disk.");
  EXPECT_EQ(reg_.ErrorMessage(259), L"No more data is available.");
  EXPECT_EQ(reg_.ErrorMessage(99999), L"Error 99999.");
}

// Readers enumerate and read while a writer creates and deletes keys and
// another thread holds handles to keys that get deleted under it.
TEST_F(SnapshotRegistryTest, ConcurrentReadersAndWritersStayConsistent) {
  Put(kHkeyLocalMachine, L"SOFTWARE\\Busy", L"v", L"x");
  std::atomic<bool> stop{false};
  std::atomic<int> failures{0};
  auto reader = [&] {
    while (!stop) {
      for (const std::wstring& name : SubKeys(kHkeyLocalMachine, L"SOFTWARE\\Busy")) {
        // A key may go between listing, opening and reading it.
        const std::wstring value = Get(kHkeyLocalMachine, L"SOFTWARE\\Busy\\" + name, L"v");
        if (value != name && value != L"<2>" && value != L"<1018>") {
          ADD_FAILURE() << ToUtf8(value);
          ++failures;
        }
      }
    }
  };
  auto holder = [&] {
    while (!stop) {
      HKey key = 0;
      if (reg_.OpenKey(kHkeyLocalMachine, L"SOFTWARE\\Busy\\K1", kKeyRead, key) != 0) continue;
      std::uint32_t type = 0;
      std::uint32_t size = 0;
      // The writer creates a key before it sets its value and may delete
      // it while the handle is open.
      const long code = reg_.QueryValue(key, L"v", type, nullptr, size);
      if (code != 0 && code != kErrorFileNotFound && code != kErrorKeyDeleted) ++failures;
      reg_.CloseKey(key);
    }
  };
  std::thread r1(reader);
  std::thread r2(holder);
  for (int round = 0; round < 300; ++round) {
    const std::wstring name = L"K" + std::to_wstring(round % 3);
    Put(kHkeyLocalMachine, L"SOFTWARE\\Busy\\" + name, L"v", name);
    reg_.DeleteKey(kHkeyLocalMachine, L"SOFTWARE\\Busy\\" + name, 0);
  }
  stop = true;
  r1.join();
  r2.join();
  EXPECT_EQ(failures, 0);
  EXPECT_TRUE(SubKeys(kHkeyLocalMachine, L"SOFTWARE\\Busy").empty());
}

}  // namespace
}  // namespace kelvara::platform

#endif  // _WIN32
