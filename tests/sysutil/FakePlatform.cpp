#include "FakePlatform.h"

#include "sysutil/SystemStartup.h"

namespace kelvara::test {

std::wstring FakeSystem::SpecialFolder(int csidl) {
  const auto it = folders.find(csidl);
  return it == folders.end() ? std::wstring() : it->second;
}

std::optional<std::wstring> FakeSystem::GetEnv(const std::wstring& name) {
  const auto it = environment.find(name);
  if (it == environment.end()) return std::nullopt;
  return it->second;
}

std::optional<std::wstring> FakeSystem::ExpandEnvironment(const std::wstring& text, std::size_t bufferChars) {
  std::wstring out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = text.find(L'%', pos);
    const std::size_t close = open == std::wstring::npos ? open : text.find(L'%', open + 1);
    if (close == std::wstring::npos) break;
    out.append(text, pos, open - pos);
    const auto value = GetEnv(text.substr(open + 1, close - open - 1));
    if (value) {
      out.append(*value);
      pos = close + 1;
    } else {
      out.push_back(L'%');
      pos = open + 1;
    }
  }
  out.append(text, pos);
  if (out.size() + 1 > bufferChars) return std::nullopt;
  return out;
}

bool FakeFiles::PathExists(const std::wstring& path) {
  asked.push_back(path);
  if (existing.count(path) != 0) return true;
  return (!redirecting || switchedOff > 0) && hiddenByRedirection.count(path) != 0;
}

unsigned FakeFiles::DriveType(const std::wstring& root) {
  const auto it = driveTypes.find(UpperChar(root.empty() ? L'?' : root[0]));
  return it == driveTypes.end() ? platform::kDriveNoRootDir : it->second;
}

bool FakeFiles::DisableRedirection(void*& oldState) {
  oldState = nullptr;
  if (!redirecting) return false;
  ++switchedOff;
  oldState = this;
  return true;
}

void FakeFiles::RevertRedirection(void* oldState) {
  if (oldState == this) --switchedOff;
  ++reverts;
}

bool FakeSecurity::EnablePrivilege(const std::wstring& name, bool enable) {
  enabled.push_back(name + (enable ? L"+" : L"-"));
  return heldPrivileges.count(name) != 0;
}

long FakeProcess::ShellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                               const std::wstring&, int) {
  shellCalls.push_back({verb, file, parameters});
  return failingShellFiles.count(file) != 0 ? 2 : shellResult;
}

bool FakeProcess::RunElevated(const std::wstring& parameters) {
  elevatedRuns.push_back(parameters);
  return true;
}

bool FakeProcess::CreateShortcut(const platform::ShortcutDetails& shortcut, const std::wstring& linkPath) {
  shortcuts.emplace_back(shortcut, linkPath);
  return true;
}

bool FakeProcess::RestartWindows() {
  ++restarts;
  return true;
}

void FakeRegistry::SetString(bool view64, const std::wstring& key, const std::wstring& name,
                             const std::wstring& value) {
  keys_[view64 ? 1 : 0][key][name] = value;
}

long FakeRegistry::OpenKey(platform::HKey parent, const std::wstring& subKey, std::uint32_t access,
                           platform::HKey& result) {
  openMasks.push_back(access);
  if (parent != platform::kHkeyLocalMachine) return platform::kErrorFileNotFound;
  const auto& view = keys_[(access & platform::kKeyWow64_64Key) != 0 ? 1 : 0];
  const auto it = view.find(subKey);
  if (it == view.end()) return platform::kErrorFileNotFound;
  result = next_++;
  open_[result] = &it->second;
  return platform::kErrorSuccess;
}

long FakeRegistry::CloseKey(platform::HKey key) { return open_.erase(key) != 0 ? 0 : platform::kErrorInvalidHandle; }

long FakeRegistry::QueryValue(platform::HKey key, const std::wstring& name, std::uint32_t& type,
                              std::vector<std::uint8_t>* data, std::uint32_t& size) {
  const auto handle = open_.find(key);
  if (handle == open_.end()) return platform::kErrorInvalidHandle;
  const auto value = handle->second->find(name);
  if (value == handle->second->end()) return platform::kErrorFileNotFound;
  const std::vector<std::uint8_t> bytes = ToUtf16LeBytes(value->second, true);
  type = platform::kRegSz;
  if (data != nullptr) {
    if (size < bytes.size()) return platform::kErrorMoreData;
    *data = bytes;
  }
  size = static_cast<std::uint32_t>(bytes.size());
  return platform::kErrorSuccess;
}

bool FakeHostFiles::ForceDeleteFile(const std::wstring& path) {
  forceDeleted.push_back(path);
  if (deleteSucceeds) files.erase(path);
  return deleteSucceeds;
}

void FakePlatform::Install() const {
  platform::Install(platform::Platform{registry, files, hostFiles, system, security, process});
  InitSystemUtilities();
}

}  // namespace kelvara::test
