#include "platform/win32/Win32HostFiles.h"

#include <windows.h>
// The facility's DeleteFile is not the A/W macro of <windows.h>.
#undef DeleteFile

#include <algorithm>

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Handle.h"

namespace kelvara::platform::win32 {
namespace {

// Fills `error` from the calling thread's last error and returns false, so
// a failing step reads `return Fail(error, L"...", path);`.
bool Fail(HostFileError& error, const wchar_t* action, const std::wstring& path, DWORD code = ::GetLastError()) {
  error.failed = true;
  error.message = std::wstring(action) + L" \"" + path + L"\": " + SystemMessage(code);
  return false;
}

bool Succeed(HostFileError& error) {
  error = HostFileError{};
  return true;
}

std::int64_t UnixSeconds(const FILETIME& time) {
  // FILETIME counts 100 ns steps since 1601-01-01.
  constexpr std::int64_t kUnixEpoch = 116444736000000000LL;
  const auto ticks =
      static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  return (ticks - kUnixEpoch) / 10000000LL;
}

std::wstring StripTrailingSeparators(std::wstring path) {
  while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/') && path[path.size() - 2] != L':') {
    path.pop_back();
  }
  return path;
}

std::size_t LastSeparator(const std::wstring& path) { return path.find_last_of(L"\\/"); }

std::wstring FileNameOf(const std::wstring& path) {
  const std::wstring trimmed = StripTrailingSeparators(path);
  const std::size_t slash = LastSeparator(trimmed);
  return slash == std::wstring::npos ? trimmed : trimmed.substr(slash + 1);
}

bool WriteAll(HANDLE file, const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

HostFileInfo InfoFrom(const std::wstring& name, DWORD attributes, DWORD sizeHigh, DWORD sizeLow,
                      const FILETIME& written, const FILETIME& created) {
  HostFileInfo info;
  info.name = name;
  info.isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  info.size = (static_cast<std::uint64_t>(sizeHigh) << 32) | sizeLow;
  info.writeTimeUnix = UnixSeconds(written);
  info.creationTimeUnix = UnixSeconds(created);
  return info;
}

}  // namespace

bool Win32HostFiles::FileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32HostFiles::FolderExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32HostFiles::ReadFile(const std::wstring& path, std::vector<std::uint8_t>& bytes, HostFileError& error) {
  bytes.clear();
  KernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Fail(error, L"Cannot open", path);
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return Fail(error, L"Cannot read", path);
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) {
      bytes.clear();
      return Fail(error, L"Cannot read", path);
    }
    if (read == 0) break;  // the file shrank while being read
    done += read;
  }
  bytes.resize(done);
  return Succeed(error);
}

bool Win32HostFiles::WriteFileAtomic(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                     HostFileError& error) {
  // Beside the target, so the rename stays on one volume; the process id and
  // a counter keep concurrent writers apart.
  const std::wstring temporary =
      path + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++temporaryCounter_) + L".tmp";
  {
    KernelHandle file(
        ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Fail(error, L"Cannot create", temporary);
    if (!WriteAll(file.get(), bytes) || !::FlushFileBuffers(file.get())) {
      const DWORD code = ::GetLastError();
      file.reset();
      ::DeleteFileW(temporary.c_str());
      return Fail(error, L"Cannot write", temporary, code);
    }
  }
  if (!::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD code = ::GetLastError();
    ::DeleteFileW(temporary.c_str());
    return Fail(error, L"Cannot replace", path, code);
  }
  return Succeed(error);
}

bool Win32HostFiles::AppendFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                HostFileError& error) {
  KernelHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Fail(error, L"Cannot open", path);
  if (!WriteAll(file.get(), bytes) || !::FlushFileBuffers(file.get())) return Fail(error, L"Cannot write", path);
  return Succeed(error);
}

bool Win32HostFiles::CreateFolders(const std::wstring& path, HostFileError& error) {
  const std::wstring folder = StripTrailingSeparators(path);
  if (folder.empty() || FolderExists(folder)) return Succeed(error);
  const std::size_t slash = LastSeparator(folder);
  if (slash != std::wstring::npos && slash > 0) {
    const std::wstring parent = folder.substr(0, slash);
    // Stop at a drive ("C:") or at the leading separators of a UNC path.
    const bool atRoot = parent.back() == L':' || parent.find_first_not_of(L"\\/") == std::wstring::npos;
    if (!atRoot && !CreateFolders(parent, error)) return false;
  }
  if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
    const DWORD code = ::GetLastError();
    if (code != ERROR_ALREADY_EXISTS || !FolderExists(folder))
      return Fail(error, L"Cannot create folder", folder, code);
  }
  return Succeed(error);
}

bool Win32HostFiles::DeleteFile(const std::wstring& path, HostFileError& error) {
  if (!::DeleteFileW(path.c_str())) return Fail(error, L"Cannot delete", path);
  return Succeed(error);
}

bool Win32HostFiles::ForceDeleteFile(const std::wstring& path) {
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = ::GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return true;
  }
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return ::DeleteFileW(path.c_str()) != FALSE;
}

bool Win32HostFiles::ListFolder(const std::wstring& path, std::vector<HostFileInfo>& entries) {
  entries.clear();
  const std::wstring pattern = StripTrailingSeparators(path) + L"\\*";
  WIN32_FIND_DATAW found{};
  FindHandle search(::FindFirstFileW(pattern.c_str(), &found));
  if (!search) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back(InfoFrom(name, found.dwFileAttributes, found.nFileSizeHigh, found.nFileSizeLow,
                               found.ftLastWriteTime, found.ftCreationTime));
  } while (::FindNextFileW(search.get(), &found));
  return ::GetLastError() == ERROR_NO_MORE_FILES;
}

bool Win32HostFiles::GetFileInfo(const std::wstring& path, HostFileInfo& info) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  info = InfoFrom(FileNameOf(path), data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime,
                  data.ftCreationTime);
  return true;
}

std::wstring Win32HostFiles::ProgramFile() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    // Truncated: try again with room for longer paths (up to 32767).
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring Win32HostFiles::TempFolder() {
  wchar_t buffer[MAX_PATH + 2] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH + 1) return {};
  return StripTrailingSeparators(std::wstring(buffer, length));
}

bool Win32HostFiles::IsErrorStreamTerminal() {
  // Only a console has a console mode: a file or a pipe fails the query.
  DWORD mode = 0;
  const HANDLE stream = ::GetStdHandle(STD_ERROR_HANDLE);
  return stream != nullptr && stream != INVALID_HANDLE_VALUE && ::GetConsoleMode(stream, &mode) != 0;
}

}  // namespace kelvara::platform::win32
