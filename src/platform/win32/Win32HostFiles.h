// The program's own files on Windows. Every failure carries the system's
// reason and the file it concerns.
#pragma once

#include <atomic>

#include "platform/HostFilesApi.h"

namespace kelvara::platform::win32 {

class Win32HostFiles final : public HostFilesApi {
 public:
  bool FileExists(const std::wstring& path) override;
  bool FolderExists(const std::wstring& path) override;
  bool ReadFile(const std::wstring& path, std::vector<std::uint8_t>& bytes, HostFileError& error) override;
  bool WriteFileAtomic(const std::wstring& path, const std::vector<std::uint8_t>& bytes, HostFileError& error) override;
  bool AppendFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes, HostFileError& error) override;
  bool CreateFolders(const std::wstring& path, HostFileError& error) override;
  bool DeleteFile(const std::wstring& path, HostFileError& error) override;
  bool ForceDeleteFile(const std::wstring& path) override;
  bool ListFolder(const std::wstring& path, std::vector<HostFileInfo>& entries) override;
  bool GetFileInfo(const std::wstring& path, HostFileInfo& info) override;
  [[nodiscard]] wchar_t Separator() const override { return L'\\'; }
  std::wstring ProgramFile() override;
  // GetTempPathW without its trailing "\".
  std::wstring TempFolder() override;
  bool IsErrorStreamTerminal() override;

 private:
  std::atomic<unsigned> temporaryCounter_{0};
};

}  // namespace kelvara::platform::win32
