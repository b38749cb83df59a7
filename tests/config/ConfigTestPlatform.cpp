#include "ConfigTestPlatform.h"

#include "config/ConfigObject.h"
#include "config/LangLookup.h"

#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#else
#include "platform/snapshot/SnapshotPlatform.h"
#endif

namespace kelvara::test {
namespace {

std::wstring WithoutTrailingSeparator(const std::wstring& path) {
  std::wstring result = path;
  while (!result.empty() && result.back() == L'\\') result.pop_back();
  return result;
}

std::wstring ParentOf(const std::wstring& path) {
  const std::size_t cut = WithoutTrailingSeparator(path).rfind(L'\\');
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

platform::HostFileError Failure(const std::wstring& what) { return {true, what}; }

}  // namespace

void MemoryHostFiles::PutText(const std::wstring& path, const std::string& bytes) {
  folders.insert(ParentOf(path));
  files[path] = std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::string MemoryHostFiles::Bytes(const std::wstring& path) const {
  const auto it = files.find(path);
  return it == files.end() ? std::string() : std::string(it->second.begin(), it->second.end());
}

bool MemoryHostFiles::FolderExists(const std::wstring& path) {
  return folders.count(WithoutTrailingSeparator(path)) != 0;
}

bool MemoryHostFiles::ReadFile(const std::wstring& path, std::vector<std::uint8_t>& bytes,
                               platform::HostFileError& error) {
  const auto it = files.find(path);
  if (it == files.end() || unreadable.count(path) != 0) {
    error = Failure(L"Cannot read " + path + L": access is denied.");
    return false;
  }
  bytes = it->second;
  return true;
}

bool MemoryHostFiles::WriteFileAtomic(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                      platform::HostFileError& error) {
  if (failWrites) {
    error = Failure(L"Cannot write " + path + L": there is not enough space on the disk.");
    return false;
  }
  if (!FolderExists(ParentOf(path))) {
    error = Failure(L"Cannot write " + path + L": the folder does not exist.");
    return false;
  }
  files[path] = bytes;
  return true;
}

bool MemoryHostFiles::AppendFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes,
                                 platform::HostFileError& error) {
  if (failWrites || !FolderExists(ParentOf(path))) {
    error = Failure(L"Cannot append to " + path);
    return false;
  }
  auto& content = files[path];
  content.insert(content.end(), bytes.begin(), bytes.end());
  return true;
}

bool MemoryHostFiles::CreateFolders(const std::wstring& path, platform::HostFileError& error) {
  std::vector<std::wstring> chain;
  for (std::wstring folder = WithoutTrailingSeparator(path); !folder.empty(); folder = ParentOf(folder)) {
    if (uncreatable.count(folder) != 0) {
      error = Failure(L"Cannot create " + folder + L": access is denied.");
      return false;
    }
    chain.push_back(folder);
  }
  folders.insert(chain.begin(), chain.end());
  return true;
}

bool MemoryHostFiles::DeleteFile(const std::wstring& path, platform::HostFileError& error) {
  ++deletes;
  if (files.erase(path) == 0) {
    error = Failure(L"Cannot delete " + path);
    return false;
  }
  return true;
}

bool MemoryHostFiles::ForceDeleteFile(const std::wstring& path) {
  ++deletes;
  files.erase(path);
  return true;
}

bool MemoryHostFiles::ListFolder(const std::wstring& path, std::vector<platform::HostFileInfo>& entries) {
  const std::wstring folder = WithoutTrailingSeparator(path);
  if (folders.count(folder) == 0) return false;
  entries.clear();
  for (const auto& [name, content] : files) {
    if (SameText(ParentOf(name), folder)) {
      entries.push_back({name.substr(folder.size() + 1), false, content.size(), 0, 0});
    }
  }
  for (const std::wstring& sub : folders) {
    if (SameText(ParentOf(sub), folder)) entries.push_back({sub.substr(folder.size() + 1), true, 0, 0, 0});
  }
  return true;
}

bool MemoryHostFiles::GetFileInfo(const std::wstring& path, platform::HostFileInfo& info) {
  const auto it = files.find(path);
  if (it == files.end()) return false;
  info = {path.substr(ParentOf(path).size() + 1), false, it->second.size(), 0, 0};
  return true;
}

platform::Platform BackendPlatform() {
#ifdef _WIN32
  return platform::MakeWin32Platform();
#else
  return platform::MakeSnapshotPlatform({});
#endif
}

ConfigTestPlatform::ConfigTestPlatform(std::shared_ptr<platform::RegistryApi> registry) {
  platform::Platform p = BackendPlatform();
  if (registry) p.registry = std::move(registry);
  system = std::make_shared<LocaleSystem>(p.system);
  p.system = system;
  p.hostFiles = files;
  platform::Install(std::move(p));
  files->folders.insert({L"C:\\Program Files\\Kelvara", L"C:\\Users\\User\\AppData\\Roaming"});
  ResetConfigObject();
  ResetLanguages();
}

ConfigTestPlatform::~ConfigTestPlatform() {
  ResetConfigObject();
  ResetLanguages();
}

std::string Utf16File(const std::wstring& text) {
  const std::vector<std::uint8_t> bytes = ToUtf16LeBytes(text, false);
  return std::string("\xFF\xFE") + std::string(bytes.begin(), bytes.end());
}

}  // namespace kelvara::test
