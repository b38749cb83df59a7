// Keys of TNefoRegistry: root, current key, opening, existence, deletion,
// key statistics, name lists and the hive operations.
#include "registry/NefoRegistry.h"

#include "platform/Platform.h"
#include "registry/RegPaths.h"
#include "registry/RegistryException.h"

namespace kelvara {

using platform::HKey;
using platform::UniqueKey;

namespace {

platform::RegistryApi& Api() { return platform::Registry(); }

}  // namespace

TNefoRegistry::TNefoRegistry() = default;

TNefoRegistry::TNefoRegistry(std::uint32_t access) : FAccess(access) {}

TNefoRegistry::~TNefoRegistry() {
  CloseKey();
  CloseConnectedRoot();
}

std::wstring TNefoRegistry::LastErrorMsg() const {
  if (FLastError == 0) return {};
  return Api().ErrorMessage(FLastError);
}

void TNefoRegistry::CloseConnectedRoot() {
  if (FCloseRootKey) {
    Api().CloseKey(FRootKey);
    FCloseRootKey = false;
  }
}

void TNefoRegistry::SetRootKey(HKey root) {
  if (root == FRootKey) return;
  CloseConnectedRoot();
  FRootKey = root;
  CloseKey();
}

std::wstring TNefoRegistry::RootKeyName() const { return RootKeyLongName(FRootKey); }

void TNefoRegistry::CloseKey() {
  if (FCurrentKey == 0) return;
  if (!FLazyWrite) Api().FlushKey(FCurrentKey);
  if (!UniqueKey::IsPredefined(FCurrentKey)) Api().CloseKey(FCurrentKey);
  FCurrentKey = 0;
  FCurrentPath.clear();
}

TNefoRegistry::KeyArg TNefoRegistry::SplitKeyArg(const std::wstring& key) {
  if (!key.empty() && key.front() == L'\\') return {key.substr(1), false};
  return {key, true};
}

HKey TNefoRegistry::BaseKey(bool relative) const noexcept {
  return (FCurrentKey == 0 || !relative) ? FRootKey : FCurrentKey;
}

void TNefoRegistry::ChangeKey(HKey key, const KeyArg& arg) {
  std::wstring path = (FCurrentKey != 0 && arg.relative) ? FCurrentPath + L"\\" + arg.subKey : arg.subKey;
  CloseKey();
  FCurrentKey = key;
  FCurrentPath = std::move(path);
}

UniqueKey TNefoRegistry::OpenTemp(HKey base, const std::wstring& subKey, std::uint32_t mask) {
  HKey opened = 0;
  FLastError = Api().OpenKey(base, subKey, mask, opened);
  return UniqueKey(Api(), FLastError == 0 ? opened : 0);
}

bool TNefoRegistry::CreateKey(const std::wstring& key) {
  const KeyArg arg = SplitKeyArg(key);
  HKey created = 0;
  FLastError = Api().CreateKey(BaseKey(arg.relative), arg.subKey, ViewBits() | platform::kKeyAllAccess, created);
  if (FLastError != 0) throw ERegistryException(L"Failed to create key " + key);
  UniqueKey(Api(), created).reset();
  return true;
}

bool TNefoRegistry::OpenWithMask(const KeyArg& arg, std::uint32_t mask) {
  HKey opened = 0;
  FLastError = Api().OpenKey(BaseKey(arg.relative), arg.subKey, mask, opened);
  if (FLastError != 0) return false;
  ChangeKey(opened, arg);
  return true;
}

bool TNefoRegistry::OpenKey(const std::wstring& key, bool canCreate) {
  const KeyArg arg = SplitKeyArg(key);
  if (!canCreate || arg.subKey.empty()) return OpenWithMask(arg, FAccess);
  HKey opened = 0;
  FLastError = Api().CreateKey(BaseKey(arg.relative), arg.subKey, FAccess, opened);
  if (FLastError != 0) return false;
  ChangeKey(opened, arg);
  return true;
}

bool TNefoRegistry::OpenKeyReadOnly(const std::wstring& key) {
  const KeyArg arg = SplitKeyArg(key);
  for (const std::uint32_t rights : {platform::kKeyRead, platform::kKeyReadNoNotify, platform::kKeyQueryValue}) {
    const std::uint32_t mask = ViewBits() | rights;
    if (OpenWithMask(arg, mask)) {
      FAccess = mask;
      return true;
    }
  }
  return false;
}

bool TNefoRegistry::KeyExists(const std::wstring& key) {
  const KeyArg arg = SplitKeyArg(key);
  return static_cast<bool>(OpenTemp(BaseKey(arg.relative), arg.subKey, ViewBits() | platform::kKeyReadNoNotify));
}

bool TNefoRegistry::DeleteTree(HKey base, const std::wstring& subKey) {
  if (UniqueKey doomed = OpenTemp(base, subKey, FAccess)) {
    platform::RegKeyStats stats;
    if (Api().QueryInfoKey(doomed.get(), stats) == 0) {
      // From the last index down, so the indexes of the rest stay valid.
      for (std::uint32_t i = stats.subKeys; i-- > 0;) {
        std::wstring name;
        if (Api().EnumKey(doomed.get(), i, name) == 0) DeleteTree(doomed.get(), name);
      }
    }
  }
  FLastError = Api().DeleteKey(base, subKey, ViewBits());
  return FLastError == 0;
}

bool TNefoRegistry::DeleteKey(const std::wstring& key) {
  const KeyArg arg = SplitKeyArg(key);
  return DeleteTree(BaseKey(arg.relative), arg.subKey);
}

bool TNefoRegistry::DeleteValue(const std::wstring& name) {
  if (FCurrentKey == 0) {
    FLastError = platform::kErrorInvalidHandle;
    return false;
  }
  FLastError = Api().DeleteValue(FCurrentKey, name);
  return FLastError == 0;
}

bool TNefoRegistry::GetKeyInfo(TRegKeyInfo& info) {
  info = TRegKeyInfo{};
  if (FCurrentKey == 0) {
    FLastError = platform::kErrorInvalidHandle;
    return false;
  }
  platform::RegKeyStats stats;
  FLastError = Api().QueryInfoKey(FCurrentKey, stats);
  if (FLastError != 0) return false;
  info.NumSubKeys = static_cast<int>(stats.subKeys);
  info.MaxSubKeyLen = static_cast<int>(stats.maxSubKeyLen);
  info.NumValues = static_cast<int>(stats.values);
  info.MaxValueLen = static_cast<int>(stats.maxValueNameLen);
  info.MaxDataLen = static_cast<int>(stats.maxValueLen);
  info.FileTime = stats.lastWriteTime;
  // A double-byte system locale counts name lengths in bytes.
  if (platform::System().IsDoubleByteLocale()) {
    info.MaxSubKeyLen *= 2;
    info.MaxValueLen *= 2;
  }
  return true;
}

bool TNefoRegistry::HasSubKeys() {
  TRegKeyInfo info;
  return GetKeyInfo(info) && info.NumSubKeys > 0;
}

void TNefoRegistry::GetKeyNames(std::vector<std::wstring>& list) {
  list.clear();
  TRegKeyInfo info;
  if (!GetKeyInfo(info)) return;
  list.reserve(static_cast<std::size_t>(info.NumSubKeys));
  std::wstring name;
  for (int i = 0; i < info.NumSubKeys; ++i) {
    FLastError = Api().EnumKey(FCurrentKey, static_cast<std::uint32_t>(i), name);
    if (FLastError == 0) list.push_back(name);
  }
}

void TNefoRegistry::GetValueNames(std::vector<std::wstring>& list) {
  list.clear();
  TRegKeyInfo info;
  if (!GetKeyInfo(info)) return;
  list.reserve(static_cast<std::size_t>(info.NumValues));
  std::wstring name;
  for (int i = 0; i < info.NumValues; ++i) {
    FLastError = Api().EnumValue(FCurrentKey, static_cast<std::uint32_t>(i), name);
    if (FLastError == 0) list.push_back(name);
  }
}

bool TNefoRegistry::LoadKey(const std::wstring& key, const std::wstring& fileName) {
  FLastError = Api().LoadKey(FRootKey, SplitKeyArg(key).subKey, fileName);
  return FLastError == 0;
}

bool TNefoRegistry::UnLoadKey(const std::wstring& key) {
  FLastError = Api().UnLoadKey(FRootKey, SplitKeyArg(key).subKey);
  return FLastError == 0;
}

bool TNefoRegistry::SaveKey(const std::wstring& key, const std::wstring& fileName) {
  const KeyArg arg = SplitKeyArg(key);
  const UniqueKey opened = OpenTemp(BaseKey(arg.relative), arg.subKey, FAccess);
  if (!opened) return false;
  FLastError = Api().SaveKey(opened.get(), fileName);
  return FLastError == 0;
}

bool TNefoRegistry::RestoreKey(const std::wstring& key, const std::wstring& fileName) {
  const KeyArg arg = SplitKeyArg(key);
  const UniqueKey opened = OpenTemp(BaseKey(arg.relative), arg.subKey, FAccess);
  if (!opened) return false;
  FLastError = Api().RestoreKey(opened.get(), fileName);
  return FLastError == 0;
}

bool TNefoRegistry::ReplaceKey(const std::wstring& key, const std::wstring& fileName,
                               const std::wstring& backUpFileName) {
  const KeyArg arg = SplitKeyArg(key);
  FLastError = Api().ReplaceKey(BaseKey(arg.relative), arg.subKey, fileName, backUpFileName);
  return FLastError == 0;
}

bool TNefoRegistry::RegistryConnect(const std::wstring& uncName) {
  HKey connected = 0;
  FLastError = Api().ConnectRegistry(uncName, FRootKey, connected);
  if (FLastError != 0) return false;
  SetRootKey(connected);
  FCloseRootKey = true;
  return true;
}

}  // namespace kelvara
