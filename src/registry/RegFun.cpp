#include "registry/RegFun.h"

#include "platform/Text.h"
#include "registry/RegPaths.h"
#include "registry/RegistryException.h"
#include "sysutil/WindowsVersions.h"

namespace kelvara {

using platform::HKey;

namespace {

constexpr wchar_t kPoliciesSystem[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr wchar_t kDisableRegistryTools[] = L"DisableRegistryTools";

// A registry object on `root` with the mask GetRegAccess gives for `key`.
class OneShot {
 public:
  OneShot(HKey root, const std::wstring& key, bool readOnly, bool useView = true)
      : reg_(GetRegAccess(key, readOnly, useView)) {
    reg_.SetRootKey(root);
  }
  TNefoRegistry* operator->() noexcept { return &reg_; }

 private:
  TNefoRegistry reg_;
};

}  // namespace

std::uint32_t GetRegAccess(const std::wstring& key, bool readOnly, bool useView) {
  const std::uint32_t mask = readOnly ? platform::kKeyRead : platform::kKeyAllAccess;
  if (!useView || !IsWin64()) return mask;
  if (ContainsText(key, L"wow6432node") && IsLegacyWow64()) return mask | platform::kKeyWow64_32Key;
  return mask | platform::kKeyWow64_64Key;
}

bool RegKeyExists(HKey root, const std::wstring& key) {
  OneShot reg(root, key, false);
  return reg->OpenKey(key, false);
}

bool RegValueExists(HKey root, const std::wstring& key, const std::wstring& name) {
  OneShot reg(root, key, false);
  return reg->OpenKey(key, false) && reg->ValueExists(name);
}

bool RegKeyExistsEx(HKey root, const std::wstring& key, bool useView) {
  OneShot reg(root, key, true, useView);
  return reg->OpenKeyReadOnly(key) || reg->LastError() == platform::kErrorAccessDenied;
}

bool RegValueExistsEx(HKey root, const std::wstring& key, const std::wstring& name, bool useView) {
  OneShot reg(root, key, true, useView);
  if (!reg->OpenKeyReadOnly(key)) return false;
  return reg->ValueExists(name) || reg->LastError() == platform::kErrorAccessDenied;
}

bool GetRegKeyInfo(HKey root, const std::wstring& key, TRegKeyInfo& info) {
  OneShot reg(root, key, true);
  if (!reg->OpenKeyReadOnly(key)) return false;
  reg->GetKeyInfo(info);
  return true;
}

bool GetRegSubKeys(HKey root, const std::wstring& key, std::vector<std::wstring>& list, bool readOnly) {
  OneShot reg(root, key, readOnly);
  if (!reg->OpenKey(key, false)) return false;
  reg->GetKeyNames(list);
  return true;
}

bool GetRegValues(HKey root, const std::wstring& key, std::vector<std::wstring>& list, bool readOnly) {
  OneShot reg(root, key, readOnly);
  if (!reg->OpenKeyReadOnly(key)) return false;
  reg->GetValueNames(list);
  return true;
}

bool ReadRegData(HKey root, const std::wstring& key, const std::wstring& name, bool useView, std::wstring& text) {
  text.clear();
  OneShot reg(root, key, true, useView);
  if (!reg->OpenKeyReadOnly(key)) return false;
  text = reg->GetDataAsString(name, false);
  return true;
}

void GetRegData(HKey root, const std::wstring& key, const std::wstring& name, std::wstring& text, bool useView) {
  text.clear();
  ReadRegData(root, key, name, useView, text);
}

int ReadRegInteger(HKey root, const std::wstring& key, const std::wstring& name, bool useView, int defaultValue) {
  OneShot reg(root, key, true, useView);
  int value = 0;
  if (reg->OpenKeyReadOnly(key) && reg->ReadInteger(name, value)) return value;
  return defaultValue;
}

bool DeleteRegValue(HKey root, const std::wstring& key, const std::wstring& name) {
  OneShot reg(root, key, false);
  return reg->OpenKey(key, false) && reg->DeleteValue(name);
}

int GetRegSubKeyCount(HKey root, const std::wstring& key, bool recursive) {
  std::vector<std::wstring> names;
  TRegKeyInfo info;
  {
    OneShot reg(root, key, false);
    if (!reg->OpenKey(key, false)) return 0;
    reg->GetKeyInfo(info);
    if (recursive) reg->GetKeyNames(names);
  }
  int count = info.NumSubKeys;
  for (const std::wstring& name : names) {
    if (!name.empty()) count += GetRegSubKeyCount(root, IncludeKeyDelimiter(key) + name, true);
  }
  return count;
}

int CountRegSubKeys(HKey root, const std::wstring& key) {
  OneShot reg(root, key, true);
  TRegKeyInfo info;
  if (!reg->OpenKey(key, false)) return 0;
  reg->GetKeyInfo(info);
  return info.NumSubKeys;
}

int GetRegValueCount(HKey root, const std::wstring& key) {
  OneShot reg(root, key, false);
  TRegKeyInfo info;
  if (!reg->OpenKey(key, false)) return 0;
  reg->GetKeyInfo(info);
  return info.NumValues;
}

int GetRegTreeValueCount(HKey root, const std::wstring& key) {
  std::vector<std::wstring> names;
  TRegKeyInfo info;
  {
    OneShot reg(root, key, true);
    if (!reg->OpenKey(key, false)) return 1;
    reg->GetKeyInfo(info);
    reg->GetKeyNames(names);
  }
  int count = info.NumValues;
  for (const std::wstring& name : names) count += GetRegTreeValueCount(root, IncludeKeyDelimiter(key) + name);
  return count;
}

bool IsEmptyRegTree(HKey root, const std::wstring& key) {
  TRegKeyInfo info;
  if (!GetRegKeyInfo(root, key, info) || info.NumValues != 0) return false;
  std::vector<std::wstring> names;
  if (!GetRegSubKeys(root, key, names, false)) return false;
  for (const std::wstring& name : names) {
    if (!IsEmptyRegTree(root, IncludeKeyDelimiter(key) + name)) return false;
  }
  return true;
}

bool IsEmptyRegKey(HKey root, const std::wstring& key) {
  TRegKeyInfo info;
  if (!GetRegKeyInfo(root, key, info)) return false;
  bool blankDefault = false;
  std::vector<std::wstring> values;
  if (info.NumValues == 1 && GetRegValues(root, key, values, true)) {
    bool onlyDefault = true;
    for (const std::wstring& name : values) onlyDefault = onlyDefault && name.empty();
    std::wstring text;
    blankDefault = onlyDefault && ReadRegData(root, key, L"", true, text) && Trim(text).empty();
  }
  if (info.NumValues != 0 && !blankDefault) return false;
  std::vector<std::wstring> names;
  GetRegSubKeys(root, key, names, false);
  for (const std::wstring& name : names) {
    if (!IsEmptyRegTree(root, IncludeKeyDelimiter(key) + name)) return false;
  }
  return true;
}

bool IsRegistryToolsDisabled() {
  try {
    OneShot reg(platform::kHkeyCurrentUser, kPoliciesSystem, false);
    return reg->OpenKey(kPoliciesSystem, false) && reg->ReadBool(kDisableRegistryTools);
  } catch (...) {
    return false;
  }
}

bool EnableRegistryTools() {
  OneShot reg(platform::kHkeyCurrentUser, kPoliciesSystem, false);
  return reg->OpenKey(kPoliciesSystem, false) && reg->DeleteValue(kDisableRegistryTools);
}

}  // namespace kelvara
