// The program's own files: configuration, exclusion list, language files,
// backups and the error log. Paths are native paths of the machine the
// program runs on (Windows paths on Windows, host paths on Linux).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvara::platform {

struct HostFileInfo {
  std::wstring name;  // file name without folder
  bool isFolder = false;
  std::uint64_t size = 0;
  std::int64_t writeTimeUnix = 0;     // seconds since 1970, UTC
  std::int64_t creationTimeUnix = 0;  // seconds since 1970, UTC
};

// A failure of one of the operations below: what was attempted and the
// system's reason, ready to be shown with the file name.
struct HostFileError {
  bool failed = false;
  std::wstring message;
};

class HostFilesApi {
 public:
  virtual ~HostFilesApi() = default;

  virtual bool FileExists(const std::wstring& path) = 0;
  virtual bool FolderExists(const std::wstring& path) = 0;
  // Reads the whole file; false when it cannot be opened or read.
  virtual bool ReadFile(const std::wstring& path, std::vector<std::uint8_t>& bytes, HostFileError& error) = 0;
  // Writes to a temporary file beside `path`, flushes it to the disk and
  // renames it over `path`: the old file stays intact on any failure.
  virtual bool WriteFileAtomic(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                               HostFileError& error) = 0;
  // Appends and flushes; creates the file when missing.
  virtual bool AppendFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes, HostFileError& error) = 0;
  virtual bool CreateFolders(const std::wstring& path, HostFileError& error) = 0;
  virtual bool DeleteFile(const std::wstring& path, HostFileError& error) = 0;
  // Clears read-only attributes before deleting.
  virtual bool ForceDeleteFile(const std::wstring& path) = 0;
  virtual bool ListFolder(const std::wstring& path, std::vector<HostFileInfo>& entries) = 0;
  virtual bool GetFileInfo(const std::wstring& path, HostFileInfo& info) = 0;
  // The folder separator of host paths: "\" on Windows, "/" elsewhere.
  [[nodiscard]] virtual wchar_t Separator() const = 0;
  // The full path of the running program file.
  virtual std::wstring ProgramFile() = 0;
  // A folder for temporary files.
  virtual std::wstring TempFolder() = 0;
  // Whether the standard error stream is a terminal (a console), where
  // progress lines that rewrite themselves can be shown.
  virtual bool IsErrorStreamTerminal() = 0;
};

}  // namespace kelvara::platform
