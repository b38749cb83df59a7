// The steps of the round trip with the real registry editor, run by
// tests/scripts/regedit_roundtrip.sh with KELVARA_REGEDIT_DIR (the work
// folder as a path of the running build) and KELVARA_REGEDIT_STEP:
//   "export"  (Windows build) writes the tree into the registry, exports it
//             with our writer to <dir>/ours.reg, names its key in
//             <dir>/key.txt and removes it again;
//   "verify"  (Windows build) after "regedit /s ours.reg": the registry
//             holds the tree;
//   "compare" (any build) loads <dir>/wine.reg, the editor's export of
//             that key, and compares it with the tree.
// Without them the test skips.
#include <gtest/gtest.h>

#include <cstdlib>

#include "RegistryTestHost.h"
#include "RoundTripTree.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "registry/RegExport.h"
#include "registry/RegImport.h"

namespace kelvara {
namespace {

using test::RegistryTestHost;

std::wstring Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::wstring() : FromUtf8(value);
}

TEST(RegeditPeer, RoundTripStep) {
  const std::wstring step = Environment("KELVARA_REGEDIT_STEP");
  const std::wstring dir = Environment("KELVARA_REGEDIT_DIR");
  if (step.empty() || dir.empty()) GTEST_SKIP() << "run by tests/scripts/regedit_roundtrip.sh";
  RegistryTestHost host;
  platform::HostFilesApi& files = platform::HostFiles();
  const std::wstring folder = dir + files.Separator();
  platform::HostFileError fileError;
  const std::wstring tree = host.Path(L"Tree");

  if (step == L"export") {
    test::WriteRoundTripTree(host.Root(), tree);
    std::wstring error;
    ASSERT_TRUE(ExportRegKey(host.Root(), tree, nullptr, false, folder + L"ours.reg", &error)) << ToUtf8(error);
    const std::string key = ToUtf8(L"HKEY_CURRENT_USER\\" + tree);
    ASSERT_TRUE(files.WriteFileAtomic(folder + L"key.txt", {key.begin(), key.end()}, fileError))
        << ToUtf8(fileError.message);
    return;
  }
  std::vector<std::uint8_t> keyText;
  ASSERT_TRUE(files.ReadFile(folder + L"key.txt", keyText, fileError)) << ToUtf8(fileError.message);
  const std::wstring key = FromUtf8(std::string(keyText.begin(), keyText.end()));
  const std::wstring prefix = L"HKEY_CURRENT_USER\\";
  ASSERT_TRUE(StartsWithText(key, prefix)) << ToUtf8(key);
  if (step == L"verify") {
    // The editor imported our export into the registry.
    EXPECT_EQ(test::CompareRoundTripTree(host.Root(), key.substr(prefix.size()), test::RoundTripPeer::kWineImport),
              std::vector<std::string>{});
    return;
  }
  ASSERT_EQ(step, L"compare");
  std::wstring error;
  ASSERT_TRUE(ImportRegFile(folder + L"wine.reg", error)) << ToUtf8(error);
  EXPECT_EQ(test::CompareRoundTripTree(host.Root(), key.substr(prefix.size()), test::RoundTripPeer::kWineExport),
            std::vector<std::string>{});
}

}  // namespace
}  // namespace kelvara
