// The program's own files on Linux (POSIX). Atomic writes go to a
// temporary file in the same folder, are flushed to the disk, renamed over
// the target and the folder flushed, so the old file survives any failure.
//
// Test knobs: writes below a folder can be made to fail with a given
// reason, and the disk can be made to fill after a number of bytes (a
// write that would pass the limit fails and writes nothing).
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/HostFilesApi.h"

namespace kelvara::platform {

class PosixHostFiles final : public HostFilesApi {
 public:
  bool FileExists(const std::wstring& path) override;
  bool FolderExists(const std::wstring& path) override;
  bool ReadFile(const std::wstring& path, std::vector<std::uint8_t>& bytes, HostFileError& error) override;
  bool WriteFileAtomic(const std::wstring& path, const std::vector<std::uint8_t>& bytes, HostFileError& error) override;
  bool AppendFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes, HostFileError& error) override;
  bool CreateFolders(const std::wstring& path, HostFileError& error) override;
  bool DeleteFile(const std::wstring& path, HostFileError& error) override;
  // Makes the file writable and deletes it; true when it is gone.
  bool ForceDeleteFile(const std::wstring& path) override;
  bool ListFolder(const std::wstring& path, std::vector<HostFileInfo>& entries) override;
  bool GetFileInfo(const std::wstring& path, HostFileInfo& info) override;
  [[nodiscard]] wchar_t Separator() const override { return L'/'; }
  std::wstring ProgramFile() override;
  std::wstring TempFolder() override;

  // Every write, folder creation or deletion at or below `folder` fails
  // with `reason` (the message names the operation, the file and it).
  void FailWritesUnder(const std::wstring& folder, const std::wstring& reason);
  // The disk fills after `bytes` more bytes have been written.
  void FillDiskAfter(std::uint64_t bytes);
  void ClearFaults();

 private:
  // The refusal for a write of `size` bytes at `path`, charged against
  // the disk limit when allowed.
  std::optional<std::wstring> RefuseWrite(const std::string& path, std::uint64_t size);

  std::atomic<std::uint32_t> tempCounter_{0};
  std::mutex mutex_;
  std::map<std::string, std::wstring> failingFolders_;
  std::optional<std::uint64_t> diskLeft_;
};

}  // namespace kelvara::platform
