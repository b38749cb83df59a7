#include "platform/snapshot/PosixHostFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <system_error>

#include "platform/Text.h"

namespace kelvara::platform {
namespace {

// Closes a file descriptor once.
class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) noexcept : fd_(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Close(); }
  void Reset(int fd) noexcept {
    Close();
    fd_ = fd;
  }
  [[nodiscard]] int get() const noexcept { return fd_; }
  [[nodiscard]] bool valid() const noexcept { return fd_ >= 0; }
  // The result of close(); the descriptor is gone either way.
  int Close() noexcept {
    const int result = fd_ >= 0 ? close(fd_) : 0;
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

struct DirCloser {
  void operator()(DIR* dir) const noexcept { closedir(dir); }
};

std::wstring Reason(int code) { return FromUtf8(std::error_code(code, std::generic_category()).message()); }

bool Fail(HostFileError& error, const wchar_t* action, const std::string& path, const std::wstring& reason) {
  error.failed = true;
  error.message = std::wstring(action) + L" \"" + FromUtf8(path) + L"\": " + reason + L".";
  return false;
}

bool FailErrno(HostFileError& error, const wchar_t* action, const std::string& path) {
  return Fail(error, action, path, Reason(errno));
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Flushes a folder's entries (a rename in it) to the disk.
bool SyncFolder(const std::string& folder) {
  UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd.valid() && fsync(fd.get()) == 0;
}

bool StatPath(const std::string& path, struct stat& info) { return stat(path.c_str(), &info) == 0; }

void FillInfo(const std::string& path, const std::string& name, HostFileInfo& info) {
  struct statx extended {};
  info = HostFileInfo{};
  info.name = FromUtf8(name);
  if (statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &extended) != 0) return;
  info.isFolder = S_ISDIR(extended.stx_mode);
  info.size = info.isFolder ? 0 : extended.stx_size;
  info.writeTimeUnix = extended.stx_mtime.tv_sec;
  info.creationTimeUnix =
      (extended.stx_mask & STATX_BTIME) != 0 ? extended.stx_btime.tv_sec : extended.stx_mtime.tv_sec;
}

}  // namespace

bool PosixHostFiles::FileExists(const std::wstring& path) {
  struct stat info {};
  return StatPath(ToUtf8(path), info) && !S_ISDIR(info.st_mode);
}

bool PosixHostFiles::FolderExists(const std::wstring& path) {
  struct stat info {};
  return StatPath(ToUtf8(path), info) && S_ISDIR(info.st_mode);
}

bool PosixHostFiles::ReadFile(const std::wstring& path, std::vector<std::uint8_t>& bytes, HostFileError& error) {
  const std::string host = ToUtf8(path);
  bytes.clear();
  UniqueFd fd(open(host.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return FailErrno(error, L"Cannot open", host);
  struct stat info {};
  if (fstat(fd.get(), &info) != 0) return FailErrno(error, L"Cannot read", host);
  if (S_ISDIR(info.st_mode)) return Fail(error, L"Cannot read", host, Reason(EISDIR));
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  std::uint8_t buffer[65536];
  for (;;) {
    const ssize_t got = read(fd.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      bytes.clear();
      return FailErrno(error, L"Cannot read", host);
    }
    if (got == 0) break;
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  return true;
}

bool PosixHostFiles::WriteFileAtomic(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                     HostFileError& error) {
  const std::string host = ToUtf8(path);
  const std::string folder = FolderOf(host);
  std::string temp;
  UniqueFd fd;
  for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
    temp = folder + "/." + NameOf(host) + ".tmp" + std::to_string(getpid()) + "-" +
           std::to_string(tempCounter_.fetch_add(1));
    fd.Reset(open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd.valid() && errno != EEXIST) break;
  }
  if (!fd.valid()) return FailErrno(error, L"Cannot create a temporary file for", host);
  // The replacement keeps the permissions of the file it replaces.
  if (struct stat old{}; StatPath(host, old)) fchmod(fd.get(), old.st_mode & 07777);
  const bool written = WriteAll(fd.get(), bytes.data(), bytes.size()) && fsync(fd.get()) == 0 && fd.Close() == 0;
  if (!written || rename(temp.c_str(), host.c_str()) != 0) {
    const int code = errno;
    unlink(temp.c_str());
    return Fail(error, L"Cannot write", host, Reason(code));
  }
  if (!SyncFolder(folder)) return FailErrno(error, L"Cannot flush the folder of", host);
  return true;
}

bool PosixHostFiles::AppendFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                HostFileError& error) {
  const std::string host = ToUtf8(path);
  UniqueFd fd(open(host.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
  if (!fd.valid()) return FailErrno(error, L"Cannot open", host);
  if (!WriteAll(fd.get(), bytes.data(), bytes.size()) || fsync(fd.get()) != 0 || fd.Close() != 0) {
    return FailErrno(error, L"Cannot append to", host);
  }
  return true;
}

bool PosixHostFiles::CreateFolders(const std::wstring& path, HostFileError& error) {
  const std::string host = ToUtf8(path);
  for (std::size_t end = host.find('/', 1);; end = host.find('/', end + 1)) {
    const std::string prefix = host.substr(0, end);
    if (!prefix.empty() && mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) {
      return FailErrno(error, L"Cannot create the folder", prefix);
    }
    if (end == std::string::npos) break;
  }
  if (!FolderExists(path)) return Fail(error, L"Cannot create the folder", host, Reason(ENOTDIR));
  return true;
}

bool PosixHostFiles::DeleteFile(const std::wstring& path, HostFileError& error) {
  const std::string host = ToUtf8(path);
  if (unlink(host.c_str()) != 0) return FailErrno(error, L"Cannot delete", host);
  return true;
}

bool PosixHostFiles::ForceDeleteFile(const std::wstring& path) {
  const std::string host = ToUtf8(path);
  struct stat info {};
  if (!StatPath(host, info)) return errno == ENOENT;
  chmod(host.c_str(), (info.st_mode & 07777) | S_IWUSR);
  return unlink(host.c_str()) == 0 || errno == ENOENT;
}

bool PosixHostFiles::ListFolder(const std::wstring& path, std::vector<HostFileInfo>& entries) {
  const std::string host = ToUtf8(path);
  entries.clear();
  std::unique_ptr<DIR, DirCloser> dir(opendir(host.c_str()));
  if (!dir) return false;
  while (const dirent* item = readdir(dir.get())) {
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    HostFileInfo info;
    FillInfo(host + "/" + name, name, info);
    entries.push_back(std::move(info));
  }
  return true;
}

bool PosixHostFiles::GetFileInfo(const std::wstring& path, HostFileInfo& info) {
  const std::string host = ToUtf8(path);
  struct stat plain {};
  if (!StatPath(host, plain)) return false;
  FillInfo(host, NameOf(host), info);
  return true;
}

std::wstring PosixHostFiles::ProgramFile() {
  std::string buffer(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0) return {};
  buffer.resize(static_cast<std::size_t>(length));
  return FromUtf8(buffer);
}

std::wstring PosixHostFiles::TempFolder() {
  const char* folder = std::getenv("TMPDIR");
  return FromUtf8(folder != nullptr && *folder != '\0' ? folder : "/tmp");
}

bool PosixHostFiles::IsErrorStreamTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace kelvara::platform
