// GetFileFromRegData and PathExists against the real file facility of the
// target: the win32 backend on a temporary folder under Windows (or Wine),
// the snapshot drive map with C: on a temporary host folder elsewhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/Text.h"
#include "sysutil/FileReferences.h"
#include "sysutil/PublicFuns.h"
#include "sysutil/SystemStartup.h"

#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#else
#include "platform/snapshot/SnapshotPlatform.h"
#endif

namespace kelvara {
namespace {

// A host path part from a wide name: UTF-8 where host paths are bytes.
std::filesystem::path HostPart(const std::wstring& name) {
#ifdef _WIN32
  return std::filesystem::path(name);
#else
  return std::filesystem::path(ToUtf8(name));
#endif
}

class FileReferencesOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = std::filesystem::temp_directory_path() / ("kelvara-file-refs-" + std::to_string(std::random_device()()));
    std::filesystem::remove_all(host_);
    for (const wchar_t* file : {L"App\\app.exe", L"Tool\\backup.cmd", L"\u00c9t\u00e9\\\u0444\u0430\u0439\u043b.dll"}) {
      std::filesystem::path path = host_;
      for (std::wstring rest = file; !rest.empty();) {
        const std::size_t cut = rest.find(L'\\');
        path /= HostPart(rest.substr(0, cut));
        rest = cut == std::wstring::npos ? std::wstring() : rest.substr(cut + 1);
      }
      std::filesystem::create_directories(path.parent_path());
      std::ofstream(path).put('x');
    }
#ifdef _WIN32
    platform::Install(platform::MakeWin32Platform());
    root_ = host_.wstring();
#else
    platform::SnapshotSettings settings;
    settings.drives[L'C'] = {FromUtf8(host_.string()), platform::kDriveFixed};
    platform::Install(platform::MakeSnapshotPlatform(settings));
    root_ = L"C:";
#endif
    InitSystemUtilities();
  }

  void TearDown() override { std::filesystem::remove_all(host_); }

  std::filesystem::path host_;
  std::wstring root_;  // the folder's Windows path, without trailing "\"
};

TEST_F(FileReferencesOnDisk, FindsAndChecksFilesOnTheRealFileFacility) {
  const std::wstring app = root_ + L"\\App\\app.exe";
  EXPECT_EQ(GetFileFromRegData(L"\"" + app + L"\" /s", true), app);
  EXPECT_TRUE(PathExists(app));
  EXPECT_TRUE(PathExists(root_ + L"\\app"));
  EXPECT_TRUE(PathExists(root_ + L"\\TOOL\\Backup")) << "any case, and the .cmd extension tried";
  EXPECT_FALSE(PathExists(root_ + L"\\Tool\\backup.txt"));

  const std::wstring missing = root_ + L"\\Gone\\gone.exe";
  EXPECT_EQ(GetFileFromRegData(missing + L" -uninstall", true), missing);
  EXPECT_FALSE(PathExists(missing));

  const std::wstring library = root_ + L"\\\u00c9t\u00e9\\\u0444\u0430\u0439\u043b.dll";
  EXPECT_EQ(GetFileFromRegData(library + L",-101", true), library);
  EXPECT_TRUE(PathExists(library));
}

}  // namespace
}  // namespace kelvara
