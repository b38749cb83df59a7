#include "platform/snapshot/FaultyHostFiles.h"

namespace kelvara::platform {
namespace {

bool IsSeparator(wchar_t c) { return c == L'/' || c == L'\\'; }

bool Refused(HostFileError& error, const wchar_t* action, const std::wstring& path, const std::wstring& reason) {
  error.failed = true;
  error.message = std::wstring(action) + L" \"" + path + L"\": " + reason + L".";
  return false;
}

}  // namespace

std::optional<std::wstring> FaultyHostFiles::RefuseWrite(const std::wstring& path, std::uint64_t size) {
  std::lock_guard lock(mutex_);
  for (const auto& [folder, reason] : failingFolders_) {
    if (path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                           IsSeparator(path[folder.size()]))) {
      return reason;
    }
  }
  if (diskLeft_) {
    if (size > *diskLeft_) return std::wstring(L"No space left on device");
    *diskLeft_ -= size;
  }
  return std::nullopt;
}

bool FaultyHostFiles::WriteFileAtomic(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                      HostFileError& error) {
  if (auto refusal = RefuseWrite(path, bytes.size())) return Refused(error, L"Cannot write", path, *refusal);
  return files_->WriteFileAtomic(path, bytes, error);
}

bool FaultyHostFiles::AppendFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                 HostFileError& error) {
  if (auto refusal = RefuseWrite(path, bytes.size())) return Refused(error, L"Cannot append to", path, *refusal);
  return files_->AppendFile(path, bytes, error);
}

bool FaultyHostFiles::CreateFolders(const std::wstring& path, HostFileError& error) {
  if (auto refusal = RefuseWrite(path, 0)) return Refused(error, L"Cannot create the folder", path, *refusal);
  return files_->CreateFolders(path, error);
}

bool FaultyHostFiles::DeleteFile(const std::wstring& path, HostFileError& error) {
  if (auto refusal = RefuseWrite(path, 0)) return Refused(error, L"Cannot delete", path, *refusal);
  return files_->DeleteFile(path, error);
}

bool FaultyHostFiles::ForceDeleteFile(const std::wstring& path) {
  if (RefuseWrite(path, 0)) return false;
  return files_->ForceDeleteFile(path);
}

void FaultyHostFiles::FailWritesUnder(const std::wstring& folder, const std::wstring& reason) {
  std::wstring key = folder;
  while (key.size() > 1 && IsSeparator(key.back())) key.pop_back();
  std::lock_guard lock(mutex_);
  failingFolders_[key] = reason;
}

void FaultyHostFiles::FillDiskAfter(std::uint64_t bytes) {
  std::lock_guard lock(mutex_);
  diskLeft_ = bytes;
}

void FaultyHostFiles::ClearFaults() {
  std::lock_guard lock(mutex_);
  failingFolders_.clear();
  diskLeft_.reset();
}

}  // namespace kelvara::platform
