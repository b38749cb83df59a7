#include "registry/RegPaths.h"

#include <array>

#include "platform/Text.h"
#include "registry/NefoRegistry.h"
#include "registry/RegFun.h"
#include "sysutil/WindowsVersions.h"

namespace kelvara {

using platform::HKey;

namespace {

struct RootName {
  HKey root;
  std::wstring_view longName;
  std::wstring_view shortName;  // empty: none
};

// In the order NameToRootKey tries them.
constexpr std::array<RootName, 5> kNamedRoots = {{
    {platform::kHkeyCurrentUser, L"HKEY_CURRENT_USER", L"HKCU"},
    {platform::kHkeyClassesRoot, L"HKEY_CLASSES_ROOT", L"HKCR"},
    {platform::kHkeyLocalMachine, L"HKEY_LOCAL_MACHINE", L"HKLM"},
    {platform::kHkeyUsers, L"HKEY_USERS", L"HKU"},
    {platform::kHkeyCurrentConfig, L"HKEY_CURRENT_CONFIG", L"HKCC"},
}};

bool IsWordChar(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_';
}

// "{" 8-4-4-4-12 "}" starting at `text[at]`.
bool GuidAt(std::wstring_view text, std::size_t at) {
  static constexpr std::wstring_view kShape = L"{########-####-####-####-############}";
  if (text.size() - at < kShape.size()) return false;
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    const wchar_t c = text[at + i];
    if (kShape[i] == L'#' ? !IsWordChar(c) : c != kShape[i]) return false;
  }
  return true;
}

}  // namespace

std::wstring RootKeyToName(HKey root) {
  for (const RootName& r : kNamedRoots) {
    if (r.root == root) return std::wstring(r.longName);
  }
  return {};
}

std::wstring RootKeyLongName(HKey root) {
  if (root == platform::kHkeyPerformanceData) return L"HKEY_PERFORMANCE_DATA";
  if (root == platform::kHkeyDynData) return L"HKEY_DYN_DATA";
  return RootKeyToName(root);
}

HKey NameToRootKey(std::wstring_view name) {
  const std::wstring upper = UpperCase(name);
  for (const RootName& r : kNamedRoots) {
    if (upper == r.longName || upper == r.shortName) return r.root;
  }
  return platform::kHkeyClassesRoot;
}

std::wstring IncludeKeyDelimiter(std::wstring_view key) {
  std::wstring out(key);
  if (!out.empty() && out.back() != L'\\') out.push_back(L'\\');
  return out;
}

std::wstring IncludeLeadingDelimiter(std::wstring_view path) {
  if (path.empty() || path.front() == L'\\') return std::wstring(path);
  return L"\\" + std::wstring(path);
}

std::wstring EscapeBackslashes(std::wstring_view text) { return ReplaceAll(text, L"\\", L"\\\\"); }

int CountSubStr(std::wstring_view sub, std::wstring_view text) {
  if (sub.empty()) return 0;
  int count = 0;
  for (std::size_t hit = text.find(sub); hit != std::wstring_view::npos; hit = text.find(sub, hit + 1)) ++count;
  return count;
}

int LastPosIndex(std::wstring_view sub, std::wstring_view text) {
  if (sub.empty()) return -1;
  const std::size_t hit = text.rfind(sub);
  if (hit == std::wstring_view::npos) return -1;
  return static_cast<int>(hit + sub.size() - 1);
}

bool IsGuidString(std::wstring_view text) {
  for (std::size_t at = text.find(L'{'); at != std::wstring_view::npos; at = text.find(L'{', at + 1)) {
    if (GuidAt(text, at)) return true;
  }
  return false;
}

int RegPathExists(const std::wstring& fullPath) {
  struct Prefix {
    std::wstring_view name;
    int code;
    HKey root;
  };
  static constexpr std::array<Prefix, 4> kPrefixes = {{
      {L"HKEY_LOCAL_MACHINE", 3, platform::kHkeyLocalMachine},
      {L"HKEY_CURRENT_USER", 2, platform::kHkeyCurrentUser},
      {L"HKEY_CLASSES_ROOT", 1, platform::kHkeyClassesRoot},
      {L"HKEY_USERS", 5, platform::kHkeyUsers},
  }};
  for (const Prefix& prefix : kPrefixes) {
    if (!StartsWithText(fullPath, prefix.name)) continue;
    std::wstring key = fullPath;
    const std::wstring withDelimiter = std::wstring(prefix.name) + L"\\";
    if (const std::size_t at = FindText(key, withDelimiter); at != std::wstring::npos) {
      key.erase(at, withDelimiter.size());
    }
    // Unlike GetRegAccess, every Wow6432Node path is read in the 32-bit
    // view on every 64-bit Windows.
    std::uint32_t mask = platform::kKeyRead;
    if (IsWin64()) mask |= ContainsText(key, L"wow6432node") ? platform::kKeyWow64_32Key : platform::kKeyWow64_64Key;
    TNefoRegistry reg(mask);
    reg.SetRootKey(prefix.root);
    return reg.OpenKey(key, false) ? prefix.code : 0;
  }
  return 0;
}

std::wstring GetRegComputerName() {
  std::wstring name;
  if (!ReadRegData(platform::kHkeyLocalMachine, L"SYSTEM\\ControlSet001\\Control\\ComputerName\\ComputerName",
                   L"ComputerName", true, name)) {
    return {};
  }
  if (name.find_first_of(L"/\\?*;,") != std::wstring::npos) return {};
  return name;
}

bool JumpToRegEdit(const std::wstring& /*fullPath*/, const std::wstring& /*valueName*/) { return false; }

}  // namespace kelvara
