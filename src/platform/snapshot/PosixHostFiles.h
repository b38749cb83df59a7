// The program's own files on Linux (POSIX). Atomic writes go to a
// temporary file in the same folder, are flushed to the disk, renamed over
// the target and the folder flushed, so the old file survives any failure.
// The failure knobs of tests wrap it (FaultyHostFiles).
#pragma once

#include <atomic>
#include <cstdint>
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
  bool IsErrorStreamTerminal() override;

 private:
  // Numbers the temporary files of atomic writes.
  std::atomic<std::uint32_t> tempCounter_{0};
};

}  // namespace kelvara::platform
