// The rules of the ActiveX/COM category: empty class keys, values below the
// class keys that name missing files, and, in a deep scan, broken class,
// type-library and interface registrations. Also the recursive value scan
// the software and history rules reuse.
#include <algorithm>
#include <array>

#include "config/LangLookup.h"
#include "platform/Text.h"
#include "registry/NefoRegistry.h"
#include "registry/RegFun.h"
#include "registry/RegPaths.h"
#include "scanner/RegScanner.h"
#include "scanner/RuleMessages.h"
#include "sysutil/FileReferences.h"
#include "sysutil/PublicFuns.h"

namespace kelvara {

using platform::HKey;
using platform::kHkeyClassesRoot;

namespace {

constexpr std::array<const wchar_t*, 5> kServerSubKeys = {L"LocalServer", L"LocalServer32", L"InprocServer",
                                                          L"InprocServer32", L"DefaultIcon"};
constexpr std::array<const wchar_t*, 4> kInterfaceRefSubKeys = {L"ProxyStubClsid", L"ProxyStubClsid32", L"TypeLib",
                                                                L"BaseInterface"};

struct TNamedData {
  std::wstring name;
  std::wstring data;
};

// The sub-key names and the values (as text) of a key, read through one
// open of the key that is closed again before the caller reports anything.
bool ReadKeyContents(HKey root, const std::wstring& key, std::vector<std::wstring>& subKeys,
                     std::vector<TNamedData>& values) {
  TNefoRegistry reg(GetRegAccess(key, true, true));
  reg.SetRootKey(root);
  if (!reg.OpenKeyReadOnly(key)) return false;
  reg.GetKeyNames(subKeys);
  std::vector<std::wstring> names;
  reg.GetValueNames(names);
  values.reserve(names.size());
  for (std::wstring& name : names) {
    std::wstring data = reg.GetDataAsString(name, false);
    values.push_back({std::move(name), std::move(data)});
  }
  return true;
}

// A text that names an identifier without braces gets them, so that it can
// be looked up as a key name.
std::wstring WithBraces(const std::wstring& text) {
  if (text.find(L'{') != std::wstring::npos) return text;
  std::wstring trimmed = Trim(text);
  if (trimmed.empty()) return text;
  return L"{" + trimmed + L"}";
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Sorted upper-cased names for case-insensitive look-ups in long lists.
class TNameSet {
 public:
  explicit TNameSet(std::vector<std::wstring> names) : names_(std::move(names)) {
    for (std::wstring& name : names_) name = UpperCase(name);
    std::sort(names_.begin(), names_.end());
  }
  [[nodiscard]] bool Contains(const std::wstring& name) const {
    return std::binary_search(names_.begin(), names_.end(), UpperCase(name));
  }

 private:
  std::vector<std::wstring> names_;
};

}  // namespace

void TRegScanner::InstallComRules() {
  TCategoryBlock block;
  block.estimate = [](TRegScanner& scanner) {
    std::int64_t count = GetRegSubKeyCount(kHkeyClassesRoot, L"", false);
    if (scanner.ScanLevel() == slDeep) {
      count += GetRegSubKeyCount(kHkeyClassesRoot, L"CLSID", false);
      count += GetRegSubKeyCount(kHkeyClassesRoot, L"TypeLib", false);
      count += GetRegSubKeyCount(kHkeyClassesRoot, L"Interface", false);
    }
    for (const TUserInfo& user : UserList()) {
      if (user.IsCurUser || !user.Checked) continue;
      count += GetRegSubKeyCount(platform::kHkeyUsers, user.StringSID + L"\\Software\\Classes", false);
    }
    return count;
  };
  block.rules = [](TRegScanner& scanner, const TProfileContext& profile) {
    if (profile.isCurrentUser && scanner.ScanLevel() == slDeep) {
      scanner.ScanClsids();
      scanner.ScanTypeLibs();
      scanner.ScanInterfaces();
    }
    scanner.ScanClassesRoot(profile);
  };
  block.coversOtherUsers = true;
  SetCategoryBlock(_ACTIVEX, std::move(block));
}

bool TRegScanner::IsComIdMissing(const std::wstring& id) const {
  static constexpr std::array<const wchar_t*, 3> kNative = {L"CLSID\\", L"TypeLib\\", L"Interface\\"};
  static constexpr std::array<const wchar_t*, 3> kWow = {L"Wow6432Node\\Interface\\", L"Wow6432Node\\TypeLib\\",
                                                         L"Wow6432Node\\CLSID\\"};
  for (const wchar_t* folder : kNative) {
    if (RegKeyExistsEx(kHkeyClassesRoot, folder + id)) return false;
  }
  if (!fWin64) return true;
  for (const wchar_t* folder : kWow) {
    if (RegKeyExistsEx(kHkeyClassesRoot, folder + id)) return false;
  }
  return true;
}

void TRegScanner::ScanClassesRoot(const TProfileContext& profile) {
  // Another user's class registrations live in that user's
  // Software\Classes, not at the top of the user's hive.
  const HKey root = profile.isCurrentUser ? kHkeyClassesRoot : platform::kHkeyUsers;
  const std::wstring base = profile.isCurrentUser ? std::wstring() : profile.prefix + L"Software\\Classes";
  const std::wstring prefix = IncludeKeyDelimiter(base);
  const std::wstring rootName = RootKeyToName(root) + L"\\";
  std::vector<std::wstring> names;
  GetRegSubKeys(root, base, names, true);
  for (const std::wstring& name : names) {
    if (Aborted()) return;
    const std::wstring key = prefix + name;
    ReportKey(rootName + key, true);
    if (!SameText(name, L"typelib") && !SameText(name, L"clsid") && !SameText(name, L"interface")) {
      if (IsEmptyRegTree(root, key)) {
        AddResult(root, key, L"", L"", rfKey, fCurType, true, EmptyKeyMessage(), profile.userName);
      } else if (!SameText(name, L"WOW6432NODE")) {
        ScanValueReferences(root, key, profile);
      }
    }
    if (!Trim(name).empty()) CheckEmptyClsid(root, key + L"\\CLSID");
  }
}

void TRegScanner::CheckEmptyClsid(HKey root, const std::wstring& key) {
  // A key without values has an empty default value, which stays empty
  // after the braces test; so only a key with neither values nor sub-keys
  // is reported, and its statistics are all that must be read.
  TRegKeyInfo info;
  if (!GetRegKeyInfo(root, key, info) || info.NumValues != 0 || info.NumSubKeys != 0) return;
  AddResult(root, key, L"", L"", rfKey, fCurType, true, LangLookup(L"ErrorMessage", L"EmptyCLSID", L"Empty CLSID."),
            L"");
}

void TRegScanner::ScanValueReferences(HKey root, const std::wstring& key, const TProfileContext& profile) {
  std::vector<std::wstring> subKeys;
  std::vector<TNamedData> values;
  if (!ReadKeyContents(root, key, subKeys, values)) return;
  // The display text of each value, built in one buffer.
  std::wstring location = RootKeyToName(root) + L"\\" + key + L"\\";
  const std::size_t keyLength = location.size();
  for (const TNamedData& value : values) {
    if (Aborted()) return;
    location.resize(keyLength);
    ReportKey(location.append(value.name), false);
    const std::wstring path = GetFileFromRegData(value.data, profile.allowPercent);
    if (path.empty()) continue;
    const std::wstring_view drive = RemovableDriveType(path);
    if (!drive.empty()) {
      AddResult(root, key, value.name, value.data, rfValue, fCurType, false, MissingFileOnDriveMessage(path, drive),
                profile.userName);
    } else if (!PathExists(path)) {
      AddResult(root, key, value.name, value.data, rfValue, fCurType, true, MissingFileMessage(path), profile.userName);
    }
  }
  const std::size_t cut = key.rfind(L'\\');
  const std::wstring last =
      Trim(cut == std::wstring::npos ? std::wstring_view(key) : std::wstring_view(key).substr(cut + 1));
  for (const std::wstring& subKey : subKeys) {
    if (Aborted()) return;
    const std::wstring trimmed = Trim(subKey);
    if (trimmed.empty()) continue;
    const std::wstring child = key + L"\\" + subKey;
    if (!CanReport(root, child, L"")) continue;
    // A sub-key named like its parent is not entered.
    if (SameText(trimmed, last)) continue;
    ScanValueReferences(root, child, profile);
  }
}

void TRegScanner::ScanClsids() {
  std::vector<std::wstring> appIds;
  GetRegSubKeys(kHkeyClassesRoot, L"AppID", appIds, true);
  const TNameSet knownAppIds(std::move(appIds));
  std::vector<std::wstring> classIds;
  GetRegSubKeys(kHkeyClassesRoot, L"CLSID", classIds, true);
  std::vector<std::wstring> subKeys;
  std::vector<TNamedData> values;
  for (const std::wstring& classId : classIds) {
    if (Aborted()) return;
    const std::wstring key = L"CLSID\\" + classId;
    ReportKey(L"HKEY_CLASSES_ROOT\\" + key, true);
    subKeys.clear();
    values.clear();
    // One read of the class key tells which of the checked sub-keys exist;
    // every check below finds nothing in a sub-key that does not.
    if (!ReadKeyContents(kHkeyClassesRoot, key, subKeys, values)) continue;
    const auto hasSubKey = [&subKeys](const wchar_t* name) {
      return std::any_of(subKeys.begin(), subKeys.end(), [name](const std::wstring& s) { return SameText(s, name); });
    };
    const auto appId = std::find_if(values.begin(), values.end(),
                                    [](const TNamedData& value) { return SameText(value.name, L"AppID"); });
    if (appId != values.end() && !appId->data.empty() && !knownAppIds.Contains(appId->data)) {
      AddResult(kHkeyClassesRoot, key, L"AppID", appId->data, rfValue, _ACTIVEX, true,
                LangLookup(L"ErrorMessage", L"InvalidAppID", L"The App ID referenced does not exist."), L"");
    }
    if (hasSubKey(L"TypeLib") && IsEmptyRegTree(kHkeyClassesRoot, key + L"\\TypeLib")) {
      AddResult(kHkeyClassesRoot, key + L"\\TypeLib", L"", L"", rfKey, _ACTIVEX, true, EmptyKeyMessage(), L"");
    }
    if (hasSubKey(L"VersionIndependentProgID")) CheckEmptyProgId(key + L"\\VersionIndependentProgID");
    if (hasSubKey(L"ProgID")) CheckEmptyProgId(key + L"\\ProgID");
    for (const wchar_t* server : kServerSubKeys) {
      if (hasSubKey(server)) CheckDefaultFile(key + L"\\" + server, false);
    }
  }
}

void TRegScanner::CheckEmptyProgId(const std::wstring& key) {
  if (!IsEmptyRegTree(kHkeyClassesRoot, key)) return;
  AddResult(kHkeyClassesRoot, key, L"", L"", rfKey, _ACTIVEX, true,
            LangLookup(L"ErrorMessage", L"EmptyValue", L"Empty value"), L"");
}

void TRegScanner::CheckDefaultFile(const std::wstring& key, bool helpDirectory) {
  TRegKeyInfo info;
  std::wstring data;
  {
    TNefoRegistry reg(GetRegAccess(key, true, true));
    reg.SetRootKey(kHkeyClassesRoot);
    if (!reg.OpenKeyReadOnly(key)) return;
    reg.GetKeyInfo(info);
    data = reg.GetDataAsString(L"", false);
  }
  if (data.empty()) {
    if (IsEmptyRegTree(kHkeyClassesRoot, key)) {
      AddResult(kHkeyClassesRoot, key, L"", L"", rfKey, fCurType, true,
                helpDirectory ? LangLookup(L"ErrorMessage", L"EmptyHelpdirctory", L"Empty Help dirctory.")
                              : EmptyKeyMessage(),
                L"");
    }
    return;
  }
  const std::wstring path = GetFileFromRegData(data, true);
  if (path.empty()) return;
  // Only the default value goes when the key holds more than it.
  const TRegFixType removeType = (info.NumSubKeys > 0 || info.NumValues > 1) ? rfValue : rfKey;
  const std::wstring_view drive = RemovableDriveType(path);
  if (!drive.empty()) {
    AddResult(kHkeyClassesRoot, key, L"", path, removeType, fCurType, false, MissingFileOnDriveMessage(path, drive),
              L"");
  } else if (!PathExists(path)) {
    AddResult(kHkeyClassesRoot, key, L"", path, removeType, fCurType, true,
              helpDirectory ? MissingHelpFileMessage(path) : MissingFileMessage(path), L"");
  }
}

void TRegScanner::ScanTypeLibs() {
  std::vector<std::wstring> libraries;
  GetRegSubKeys(kHkeyClassesRoot, L"TypeLib", libraries, true);
  std::vector<std::wstring> versions;
  for (const std::wstring& library : libraries) {
    if (Aborted()) return;
    const std::wstring key = L"TypeLib\\" + library;
    ReportKey(L"HKEY_CLASSES_ROOT\\" + key, true);
    versions.clear();
    GetRegSubKeys(kHkeyClassesRoot, key, versions, true);
    for (const std::wstring& version : versions) {
      if (Aborted()) return;
      const std::wstring versionKey = key + L"\\" + version;
      CheckDefaultFile(versionKey + L"\\HELPDIR", true);
      // Version keys are numbers such as "1.0"; "FLAGS" and the like hold
      // no sources.
      if (!version.empty() && IsDigit(version.front()) && IsDigit(version.back())) ScanComSources(versionKey);
    }
  }
}

void TRegScanner::ScanComSources(const std::wstring& key) {
  std::vector<std::wstring> subKeys;
  std::vector<TNamedData> values;
  if (!ReadKeyContents(kHkeyClassesRoot, key, subKeys, values)) return;
  std::wstring location = L"HKEY_CLASSES_ROOT\\" + key + L"\\";
  const std::size_t keyLength = location.size();
  for (const TNamedData& value : values) {
    if (Aborted()) return;
    location.resize(keyLength);
    ReportKey(location.append(value.name), false);
    const std::wstring path = GetFileFromRegData(value.data, true);
    if (path.empty()) continue;
    const std::wstring_view drive = RemovableDriveType(path);
    if (!drive.empty()) {
      constexpr std::wstring_view kDefault =
          L"COM Source does not exist, but drive %s is %s. We recommend you ignore this error.";
      AddResult(kHkeyClassesRoot, key, value.name, value.data, rfKey, fCurType, false,
                FormatDriveMessage(
                    LangLookup(L"ErrorMessage", L"ComSourceNotExist1",
                               L"COM Source does not exist, but drive %s is %s. We recommend you ignore this error."),
                    kDefault, path, drive),
                L"");
    } else if (!PathExists(path)) {
      AddResult(kHkeyClassesRoot, key, value.name, value.data, rfKey, fCurType, true,
                LangLookup(L"ErrorMessage", L"ComSourceNotExist", L"COM Source does not exist.") + path, L"");
    }
  }
  for (const std::wstring& subKey : subKeys) {
    if (Aborted()) return;
    if (Trim(subKey).empty() || SameText(subKey, L"helpdir")) continue;
    ScanComSources(key + L"\\" + subKey);
  }
}

void TRegScanner::ScanInterfaces() {
  std::vector<std::wstring> interfaces;
  GetRegSubKeys(kHkeyClassesRoot, L"Interface", interfaces, true);
  for (const std::wstring& id : interfaces) {
    if (Aborted()) return;
    const std::wstring key = L"Interface\\" + id;
    ReportKey(L"HKEY_CLASSES_ROOT\\" + key, true);
    for (const wchar_t* reference : kInterfaceRefSubKeys) CheckInterfaceRef(key + L"\\" + reference);
  }
}

void TRegScanner::CheckInterfaceRef(const std::wstring& key) {
  std::wstring text;
  ReadRegData(kHkeyClassesRoot, key, L"", true, text);
  text = WithBraces(text);
  if (text.empty() || ContainsText(text, L"IUNKNOWN") || !IsComIdMissing(text)) return;
  AddResult(kHkeyClassesRoot, key, L"", text, rfValue, fCurType, true,
            LangLookup(L"ErrorMessage", L"ReferActivex", L"Refers to an invalid Activex/COM entry.") + text, L"");
}

}  // namespace kelvara
