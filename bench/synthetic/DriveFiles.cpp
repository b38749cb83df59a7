#include "synthetic/DriveFiles.h"

#include <filesystem>
#include <fstream>

#include "platform/Text.h"

namespace kelvara::bench {
namespace {

// The host path of "C:\a\b" below the drive folder.
std::filesystem::path HostPath(const std::string& driveFolder, const std::wstring& path) {
  std::filesystem::path host(driveFolder);
  std::size_t start = 3;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find(L'\\', start), path.size());
    if (end > start) host /= ToUtf8(std::wstring_view(path).substr(start, end - start));
    start = end + 1;
  }
  return host;
}

std::wstring ParentOf(const std::wstring& path) {
  const std::size_t cut = path.rfind(L'\\');
  return cut == std::wstring::npos || cut < 3 ? std::wstring() : path.substr(0, cut);
}

}  // namespace

const std::wstring& DriveFiles::Present(const std::wstring& path) {
  if (files_.insert(LowerCase(path)).second) {
    spelled_.insert(path);
    for (std::wstring parent = ParentOf(path); !parent.empty(); parent = ParentOf(parent)) {
      if (!folders_.insert(LowerCase(parent)).second) break;
    }
  }
  return path;
}

void DriveFiles::Folder(const std::wstring& path) {
  for (std::wstring folder = path; !folder.empty(); folder = ParentOf(folder)) {
    if (!folders_.insert(LowerCase(folder)).second) break;
    spelled_.insert(folder + L"\\");
  }
}

const std::wstring& DriveFiles::Missing(const std::wstring& path) {
  std::wstring lower = LowerCase(path);
  while (!lower.empty() && lower.back() == L'\\') lower.pop_back();
  missing_.insert(std::move(lower));
  return path;
}

bool DriveFiles::Create(const std::string& driveFolder, std::wstring& error) const {
  for (const std::wstring& path : missing_) {
    if (files_.count(path) != 0 || folders_.count(path) != 0) {
      error = L"the drive holds a path that a planted entry names as missing: " + path;
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::create_directories(driveFolder, ec);
  for (const std::wstring& path : spelled_) {
    const bool folder = !path.empty() && path.back() == L'\\';
    const std::filesystem::path host = HostPath(driveFolder, folder ? path.substr(0, path.size() - 1) : path);
    if (folder) {
      std::filesystem::create_directories(host, ec);
    } else {
      std::filesystem::create_directories(host.parent_path(), ec);
      std::ofstream(host, std::ios::binary).flush();
    }
    if (ec || (!folder && !std::filesystem::exists(host))) {
      error = L"cannot create " + FromUtf8(host.string());
      return false;
    }
  }
  return true;
}

}  // namespace kelvara::bench
