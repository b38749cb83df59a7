#include "support/ScanFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>

#include "config/LangLookup.h"
#include "platform/Text.h"
#include "registry/RegImport.h"
#include "registry/RegPaths.h"
#include "scanner/UserProfiles.h"
#include "sysutil/AdminFlag.h"
#include "sysutil/SystemStartup.h"

namespace kelvara::test {
namespace {

std::filesystem::path NewTempRoot() {
  static std::atomic<int> counter{0};
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto candidate = base / ("kelvara-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    if (std::filesystem::create_directories(candidate)) return candidate;
  }
}

}  // namespace

ScanFixture::ScanFixture(const std::function<void(platform::SnapshotSettings&)>& configure) : root_(NewTempRoot()) {
  std::filesystem::create_directories(root_ / "C");
  std::filesystem::create_directories(DataFolder());
  platform::SnapshotSettings settings;
  settings.drives[L'C'] = platform::DriveMapping{(root_ / "C").wstring(), platform::kDriveFixed};
  if (configure) configure(settings);
  facilities_ = platform::MakeSnapshotFacilities(std::move(settings));
  platform::Install(facilities_.Platform());
  InitSystemUtilities();
  SetIsAdmin(facilities_.security->IsAdministratorsMember());
  ResetLanguages();
  LoadUserList();
}

ScanFixture::~ScanFixture() {
  FreeUserList();
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void ScanFixture::LoadReg(const std::wstring& regText) {
  const auto bytes = ToUtf16LeBytes(regText, false);
  std::wstring error;
  ASSERT_TRUE(ImportRegData(bytes, L"fixture.reg", error)) << ToUtf8(error);
}

std::filesystem::path ScanFixture::HostPath(const std::wstring& windowsPath) const {
  std::wstring rest = windowsPath.size() > 3 ? windowsPath.substr(3) : std::wstring();
  std::filesystem::path host = root_ / "C";
  std::size_t start = 0;
  while (start <= rest.size()) {
    const std::size_t end = rest.find(L'\\', start);
    const std::wstring part = rest.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    if (!part.empty()) host /= part;
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return host;
}

void ScanFixture::AddFile(const std::wstring& windowsPath) {
  const auto host = HostPath(windowsPath);
  std::filesystem::create_directories(host.parent_path());
  std::ofstream(host) << "x";
  facilities_.files->BeginScan();
}

void ScanFixture::AddFolder(const std::wstring& windowsPath) {
  std::filesystem::create_directories(HostPath(windowsPath));
  facilities_.files->BeginScan();
}

std::intptr_t RecordingTarget::Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  messages.push_back({message, wParam, lParam});
  if (message == WM_REGSCAN && wParam == SCAN_FOUND && scanner_ != nullptr) findings.push_back(scanner_->CurData());
  return 0;
}

std::vector<TResultData> RunScan(const std::vector<TScanType>& categories, TScanLevel level, bool isAdmin,
                                 const std::vector<std::wstring>& exclusions) {
  TRegScanner scanner;
  RecordingTarget target(&scanner);
  scanner.SetParWin(&target);
  scanner.SetIsAdmin(isAdmin);
  scanner.SetScanLevel(level);
  scanner.SetExcluded(exclusions);
  for (const TScanType c : categories) scanner.AddScanType(c);
  scanner.Execute();
  return target.findings;
}

std::wstring Location(const TResultData& finding) {
  std::wstring text = RootKeyToName(finding.RegData.root) + L"\\" + finding.RegData.key;
  if (!finding.RegData.value.empty()) text += L"\\" + finding.RegData.value;
  return text;
}

}  // namespace kelvara::test
