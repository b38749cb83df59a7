// A whole examined machine for tests: a snapshot registry filled from a
// .reg text, a drive C: backed by a temporary host folder holding the
// files that exist, the system facts of a 64-bit Windows 10, and a
// recording owner that keeps every engine notification and finding.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/snapshot/SnapshotPlatform.h"
#include "scanner/RegScanner.h"
#include "scanner/uDefines.h"

namespace kelvara::test {

class ScanFixture {
 public:
  // Installs the snapshot platform (administrator, 64-bit) and reads the
  // system facts from it; `configure` may adjust the settings first.
  explicit ScanFixture(const std::function<void(platform::SnapshotSettings&)>& configure = {});
  ScanFixture(const ScanFixture&) = delete;
  ScanFixture& operator=(const ScanFixture&) = delete;
  ~ScanFixture();

  // Applies a .reg text ("Windows Registry Editor Version 5.00" and the
  // sections); a malformed text fails the test.
  void LoadReg(const std::wstring& regText);
  // Creates a file (with parent folders) on drive C:, given as a Windows
  // path such as L"C:\\Windows\\notepad.exe".
  void AddFile(const std::wstring& windowsPath);
  void AddFolder(const std::wstring& windowsPath);
  // The host path of a Windows path on drive C:.
  [[nodiscard]] std::filesystem::path HostPath(const std::wstring& windowsPath) const;
  // A host folder for the program's own files (data folder, backups).
  [[nodiscard]] std::filesystem::path DataFolder() const { return root_ / "data"; }

  [[nodiscard]] platform::SnapshotFacilities& Facilities() { return facilities_; }
  [[nodiscard]] platform::RegistryStore& Store() { return *facilities_.store; }

 private:
  std::filesystem::path root_;
  platform::SnapshotFacilities facilities_;
};

// The owner of an engine in tests: records every notification and copies
// each finding the moment it is sent, as the windows do.
class RecordingTarget : public TMessageTarget {
 public:
  struct Message {
    std::uint32_t message;
    std::uintptr_t code;
    std::intptr_t lParam;
  };

  explicit RecordingTarget(const TRegScanner* scanner = nullptr) : scanner_(scanner) {}
  void Watch(const TRegScanner* scanner) { scanner_ = scanner; }
  std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

  std::vector<Message> messages;
  std::vector<TResultData> findings;

 private:
  const TRegScanner* scanner_;
};

// Runs the given categories unthreaded at `level` and returns the findings
// in report order.
std::vector<TResultData> RunScan(const std::vector<TScanType>& categories, TScanLevel level = slNormal,
                                 bool isAdmin = true, const std::vector<std::wstring>& exclusions = {});

// "HKEY_LOCAL_MACHINE\key" or "HKEY_LOCAL_MACHINE\key\value" of a finding,
// for compact expectations.
std::wstring Location(const TResultData& finding);

}  // namespace kelvara::test
