// The program's own files with the failures tests need: writes below a
// folder refused with a given reason, or the disk filling after a number
// of bytes (a write that would pass the limit fails and writes nothing).
// Wraps the host's real files, so the same knobs work on Linux and
// Windows.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/HostFilesApi.h"

namespace kelvara::platform {

class FaultyHostFiles final : public HostFilesApi {
 public:
  explicit FaultyHostFiles(std::shared_ptr<HostFilesApi> files) : files_(std::move(files)) {}

  bool FileExists(const std::wstring& path) override { return files_->FileExists(path); }
  bool FolderExists(const std::wstring& path) override { return files_->FolderExists(path); }
  bool ReadFile(const std::wstring& path, std::vector<std::uint8_t>& bytes, HostFileError& error) override {
    return files_->ReadFile(path, bytes, error);
  }
  bool WriteFileAtomic(const std::wstring& path, const std::vector<std::uint8_t>& bytes, HostFileError& error) override;
  bool AppendFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes, HostFileError& error) override;
  bool CreateFolders(const std::wstring& path, HostFileError& error) override;
  bool DeleteFile(const std::wstring& path, HostFileError& error) override;
  bool ForceDeleteFile(const std::wstring& path) override;
  bool ListFolder(const std::wstring& path, std::vector<HostFileInfo>& entries) override {
    return files_->ListFolder(path, entries);
  }
  bool GetFileInfo(const std::wstring& path, HostFileInfo& info) override { return files_->GetFileInfo(path, info); }
  [[nodiscard]] wchar_t Separator() const override { return files_->Separator(); }
  std::wstring ProgramFile() override { return files_->ProgramFile(); }
  std::wstring TempFolder() override { return files_->TempFolder(); }
  bool IsErrorStreamTerminal() override { return files_->IsErrorStreamTerminal(); }

  // Every write, folder creation or deletion at or below `folder` fails
  // with `reason` (the message names the operation, the file and it).
  void FailWritesUnder(const std::wstring& folder, const std::wstring& reason);
  // The disk fills after `bytes` more bytes have been written.
  void FillDiskAfter(std::uint64_t bytes);
  void ClearFaults();

 private:
  // The refusal of a write of `size` bytes at `path`, charged against the
  // disk limit when allowed.
  std::optional<std::wstring> RefuseWrite(const std::wstring& path, std::uint64_t size);

  std::shared_ptr<HostFilesApi> files_;
  std::mutex mutex_;
  std::map<std::wstring, std::wstring> failingFolders_;
  std::optional<std::uint64_t> diskLeft_;
};

}  // namespace kelvara::platform
