#include "repair/EntryRemoval.h"

#include <string>

#include "registry/NefoRegistry.h"
#include "registry/RegFun.h"

namespace kelvara {
namespace {

using platform::HKey;

bool RemoveKey(HKey root, std::wstring key) {
  if (!key.empty() && key.back() == L'\\') key.pop_back();
  if (key.empty()) return false;
  std::wstring parent;
  std::wstring name = key;
  const std::size_t slash = key.rfind(L'\\');
  if (slash != std::wstring::npos && slash > 1 && slash + 1 < key.size()) {
    parent = key.substr(0, slash);
    name = key.substr(slash + 1);
  }
  bool deleted = false;
  {
    TNefoRegistry reg(GetRegAccess(key, false, true));
    reg.SetRootKey(root);
    deleted = (parent.empty() || reg.OpenKey(parent, false)) && reg.DeleteKey(name);
  }
  return deleted || !RegKeyExistsEx(root, key);
}

// RegValueExistsEx takes a key that refuses opening for one without the
// value; here such a key keeps its value.
bool ValueGone(HKey root, const std::wstring& key, const std::wstring& name) {
  if (RegValueExistsEx(root, key, name)) return false;
  TNefoRegistry reg(GetRegAccess(key, true, true));
  reg.SetRootKey(root);
  return reg.OpenKeyReadOnly(key) || reg.LastError() != platform::kErrorAccessDenied;
}

bool RemoveValue(HKey root, const std::wstring& key, const std::wstring& name) {
  if (key.empty() || key == L"\\") return false;
  bool deleted = false;
  {
    TNefoRegistry reg(GetRegAccess(key, false, true));
    reg.SetRootKey(root);
    deleted = reg.OpenKey(key, false) && reg.DeleteValue(name);
  }
  return deleted || ValueGone(root, key, name);
}

}  // namespace

bool RemoveRegEntry(const TRegData& location) {
  switch (location.RemoveType) {
    case rfKey:
      return RemoveKey(location.root, location.key);
    case rfValue:
      return RemoveValue(location.root, location.key, location.value);
    case rfNode:
      return true;
  }
  return false;
}

}  // namespace kelvara
