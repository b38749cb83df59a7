// The rules of the file-type, context-menu and applications categories:
// MIME types and file classes whose extension, icon or open command is
// gone, Explorer's per-user extension lists without any program, shell
// verbs and context-menu handlers whose program or server is missing, and
// the programs registered for "Open with".
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

constexpr wchar_t kContentTypes[] = L"MIME\\Database\\Content Type";
constexpr wchar_t kFileExts[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
constexpr wchar_t kApplications[] = L"Applications";

// The shell classes whose verbs and context-menu handlers are checked: all
// files, drives, folders, shortcuts, folder backgrounds, programs, the
// recycle bin and the computer.
constexpr std::array<const wchar_t*, 9> kShellClasses = {L"*",
                                                         L"Drive",
                                                         L"Directory",
                                                         L"Folder",
                                                         L"lnkfile",
                                                         L"Directory\\Background",
                                                         L"exefile",
                                                         L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}",
                                                         L"CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}"};

// The default value of a key and its number of values, read through one
// open; false when the key does not open.
bool ReadDefaultValue(HKey root, const std::wstring& key, std::wstring& data, int& valueCount) {
  TNefoRegistry reg(GetRegAccess(key, true, true));
  reg.SetRootKey(root);
  if (!reg.OpenKeyReadOnly(key)) return false;
  TRegKeyInfo info;
  reg.GetKeyInfo(info);
  valueCount = info.NumValues;
  data = reg.GetDataAsString(L"", false);
  return true;
}

// The open-with drive message, whose English text is too long for one
// formatted line; the lookup stays in the shape the language-file check
// reads.
std::wstring OpenWithDriveMessage(std::wstring_view path, std::wstring_view drive) {
  constexpr std::wstring_view kDefault =
      L"Open with application error, the specified application does not exist. But drive \"%s\" is %s, recommend "
      L"you ignore this error.";
  // clang-format off
  return FormatDriveMessage(LangLookup(L"ErrorMessage", L"OpenWithError1", L"Open with application error, the specified application does not exist. But drive \"%s\" is %s, recommend you ignore this error."),
                            kDefault, path, drive);
  // clang-format on
}

}  // namespace

void TRegScanner::InstallFileTypeRules() {
  TCategoryBlock fileTypes;
  fileTypes.estimate = [](TRegScanner& scanner) {
    std::int64_t count = scanner.IsAdmin() ? GetRegSubKeyCount(kHkeyClassesRoot, L"", false) : 0;
    count += GetRegSubKeyCount(platform::kHkeyCurrentUser, kFileExts, false);
    for (const TUserInfo& user : UserList()) {
      if (user.IsCurUser || !user.Checked) continue;
      count += GetRegSubKeyCount(platform::kHkeyUsers, user.StringSID + L"\\" + kFileExts, false);
    }
    return count;
  };
  fileTypes.rules = [](TRegScanner& scanner, const TProfileContext& profile) {
    if (profile.isCurrentUser && scanner.IsAdmin()) scanner.ScanFileTypes();
    scanner.ScanFileExts(profile);
  };
  fileTypes.coversOtherUsers = true;
  SetCategoryBlock(_FileType, std::move(fileTypes));

  TCategoryBlock contextMenu;
  contextMenu.estimate = [](TRegScanner&) {
    std::int64_t count = 0;
    for (const wchar_t* shellClass : kShellClasses) {
      count += GetRegSubKeyCount(kHkeyClassesRoot, std::wstring(shellClass) + L"\\Shell", false);
      count += GetRegSubKeyCount(kHkeyClassesRoot, std::wstring(shellClass) + L"\\shellex\\ContextMenuHandlers", false);
    }
    return count;
  };
  contextMenu.rules = [](TRegScanner& scanner, const TProfileContext&) {
    for (const wchar_t* shellClass : kShellClasses) scanner.ScanShellMenus(shellClass);
  };
  SetCategoryBlock(_ContextMenu, std::move(contextMenu));

  TCategoryBlock applications;
  applications.estimate = [](TRegScanner&) {
    return static_cast<std::int64_t>(GetRegSubKeyCount(kHkeyClassesRoot, kApplications, false));
  };
  applications.rules = [](TRegScanner& scanner, const TProfileContext&) {
    scanner.ScanOpenWithApps(kHkeyClassesRoot, kApplications, TProfileContext{});
  };
  SetCategoryBlock(_APP, std::move(applications));
}

void TRegScanner::ScanFileTypes() {
  ScanMimeTypes();
  ScanClassKeys();
}

void TRegScanner::ScanMimeTypes() {
  std::vector<std::wstring> types;
  GetRegSubKeys(kHkeyClassesRoot, kContentTypes, types, true);
  for (const std::wstring& type : types) {
    if (Aborted()) return;
    const std::wstring key = std::wstring(kContentTypes) + L"\\" + type;
    ReportKey(L"HKEY_CLASSES_ROOT\\" + key, true);
    if (!RegValueExistsEx(kHkeyClassesRoot, key, L"Extension")) continue;
    std::wstring extension;
    ReadRegData(kHkeyClassesRoot, key, L"Extension", true, extension);
    if (!extension.empty() && RegKeyExistsEx(kHkeyClassesRoot, extension)) continue;
    constexpr std::wstring_view kDefault = L"MIME file extension registered incorrectly: %s";
    AddResult(
        kHkeyClassesRoot, key, L"Extension", extension, rfKey, fCurType, true,
        FormatRuleMessage(LangLookup(L"ErrorMessage", L"MimeExName", L"MIME file extension registered incorrectly: %s"),
                          kDefault, {extension}),
        L"");
  }
}

void TRegScanner::ScanClassKeys() {
  std::vector<std::wstring> names;
  GetRegSubKeys(kHkeyClassesRoot, L"", names, true);
  std::wstring data;
  int valueCount = 0;
  for (const std::wstring& name : names) {
    if (Aborted()) return;
    ReportKey(L"HKEY_CLASSES_ROOT\\" + name, true);
    if (IsEmptyRegKey(kHkeyClassesRoot, name)) {
      AddResult(kHkeyClassesRoot, name, L"", L"", rfKey, fCurType, true, EmptyKeyMessage(), L"");
    }
    if (name.starts_with(L'.')) CheckExtensionClass(name);
    if (Aborted()) return;
    const std::wstring iconKey = name + L"\\DefaultIcon";
    if (ReadDefaultValue(kHkeyClassesRoot, iconKey, data, valueCount)) {
      // The icon index after the comma is not part of the file name.
      const std::wstring path = GetFileFromRegData(data.substr(0, data.find(L',')), true);
      const std::wstring_view drive = path.empty() ? std::wstring_view() : RemovableDriveType(path);
      if (!drive.empty()) {
        AddResult(kHkeyClassesRoot, iconKey, L"", data, rfKey, fCurType, false, MissingFileOnDriveMessage(path, drive),
                  L"");
      } else if (!path.empty() && !PathExists(path)) {
        AddResult(kHkeyClassesRoot, iconKey, L"", data, rfKey, fCurType, true,
                  LangLookup(L"ErrorMessage", L"Invalidpathtoicon", L"Invalid path to icon."), L"");
      }
    }
    if (Aborted()) return;
    const std::wstring commandKey = name + L"\\shell\\open\\command";
    if (ReadDefaultValue(kHkeyClassesRoot, commandKey, data, valueCount)) {
      if (valueCount == 0) {
        AddResult(kHkeyClassesRoot, commandKey, L"", data, rfKey, fCurType, true,
                  LangLookup(L"ErrorMessage", L"Emptyshellcommand", L"Shell command is empty."), L"");
        continue;
      }
      const std::wstring path = GetFileFromRegData(data, true);
      if (path.empty()) continue;
      const std::wstring_view drive = RemovableDriveType(path);
      if (!drive.empty()) {
        AddResult(kHkeyClassesRoot, commandKey, L"", data, rfKey, fCurType, false,
                  MissingFileOnDriveMessage(path, drive), L"");
      } else if (!PathExists(path)) {
        AddResult(kHkeyClassesRoot, commandKey, L"", data, rfKey, fCurType, false,
                  LangLookup(L"ErrorMessage", L"Invalidshellcommand", L"Invalid shell command (File not exist)."), L"");
      }
    }
  }
}

void TRegScanner::CheckExtensionClass(const std::wstring& extension) {
  std::wstring className;
  ReadRegData(kHkeyClassesRoot, extension, L"", true, className);
  // An extension that names a missing class may still be opened through
  // the programs of its lists, or be meant never to open.
  if (className.empty() || RegKeyExistsEx(kHkeyClassesRoot, className) ||
      RegKeyExistsEx(kHkeyClassesRoot, extension + L"\\OpenWithList") ||
      RegKeyExistsEx(kHkeyClassesRoot, extension + L"\\OpenWithProgids") ||
      RegValueExistsEx(kHkeyClassesRoot, extension, L"NoOpen")) {
    return;
  }
  AddResult(kHkeyClassesRoot, extension, L"", className, rfKey, fCurType, false,
            LangLookup(L"ErrorMessage", L"noconnection", L"Without file connection information."), L"");
}

void TRegScanner::ScanFileExts(const TProfileContext& profile) {
  const std::wstring key = profile.prefix + kFileExts;
  const std::wstring location = RootKeyToName(profile.root) + L"\\" + key + L"\\";
  std::vector<std::wstring> extensions;
  GetRegSubKeys(profile.root, key, extensions, true);
  for (const std::wstring& extension : extensions) {
    if (Aborted()) return;
    ReportKey(location + extension, true);
    // No value anywhere below: no program is associated. (An empty tree
    // has none either; a key that cannot be read counts as a value.)
    const std::wstring subKey = key + L"\\" + extension;
    if (GetRegTreeValueCount(profile.root, subKey) != 0) continue;
    AddResult(profile.root, subKey, L"", L"", rfKey, fCurType, true,
              LangLookup(L"ErrorMessage", L"invalidOpenWith", L"No any application associated with this type."),
              profile.userName);
  }
}

void TRegScanner::ScanShellMenus(const std::wstring& className) {
  const std::wstring shellKey = className + L"\\Shell";
  std::vector<std::wstring> verbs;
  GetRegSubKeys(kHkeyClassesRoot, shellKey, verbs, true);
  std::wstring data;
  for (const std::wstring& verb : verbs) {
    if (Aborted()) return;
    const std::wstring verbKey = shellKey + L"\\" + verb;
    ReportKey(L"HKEY_CLASSES_ROOT\\" + verbKey, true);
    if (!ReadRegData(kHkeyClassesRoot, verbKey + L"\\command", L"", true, data)) continue;
    ReportMissingMenuFile(verbKey, data);
  }

  const std::wstring handlersKey = className + L"\\shellex\\ContextMenuHandlers";
  std::vector<std::wstring> handlers;
  GetRegSubKeys(kHkeyClassesRoot, handlersKey, handlers, true);
  for (const std::wstring& handler : handlers) {
    if (Aborted()) return;
    const std::wstring handlerKey = handlersKey + L"\\" + handler;
    ReportKey(L"HKEY_CLASSES_ROOT\\" + handlerKey, true);
    std::wstring classId = handler;
    if (!IsGuidString(classId)) {
      ReadRegData(kHkeyClassesRoot, handlerKey, L"", true, classId);
      if (classId.empty() || !IsGuidString(classId)) continue;
    }
    // A handler whose class has no in-process server in either view is
    // not judged: nothing names a file to test.
    const std::wstring serverKey = L"CLSID\\" + classId + L"\\InProcServer32";
    if (RegKeyExistsEx(kHkeyClassesRoot, serverKey)) {
      ReadRegData(kHkeyClassesRoot, serverKey, L"", true, data);
    } else if (fWin64 && RegKeyExistsEx(kHkeyClassesRoot, L"Wow6432Node\\" + serverKey)) {
      ReadRegData(kHkeyClassesRoot, L"Wow6432Node\\" + serverKey, L"", true, data);
    } else {
      continue;
    }
    if (!data.empty()) ReportMissingMenuFile(handlerKey, data);
  }
}

void TRegScanner::ReportMissingMenuFile(const std::wstring& key, const std::wstring& data) {
  const std::wstring path = GetFileFromRegData(data, true);
  if (path.empty()) return;
  const std::wstring_view drive = RemovableDriveType(path);
  if (!drive.empty()) {
    AddResult(kHkeyClassesRoot, key, L"", data, rfKey, fCurType, false, MissingFileOnDriveMessage(path, drive), L"");
  } else if (!PathExists(path)) {
    AddResult(kHkeyClassesRoot, key, L"", data, rfKey, fCurType, true, MissingFileMessage(L""), L"");
  }
}

void TRegScanner::ScanOpenWithApps(HKey root, const std::wstring& key, const TProfileContext& profile) {
  std::vector<std::wstring> subKeys;
  std::vector<std::wstring> values;
  GetRegSubKeys(root, key, subKeys, true);
  GetRegValues(root, key, values, true);
  std::wstring data;
  for (const std::wstring& value : values) {
    if (Aborted()) return;
    ReadRegData(root, key, value, true, data);
    const std::wstring path = GetFileFromRegData(data, profile.allowPercent);
    if (path.empty() || PathExists(path)) continue;
    const std::wstring_view drive = RemovableDriveType(path);
    if (drive.empty()) {
      AddResult(root, key, value, data, rfKey, fCurType, true,
                LangLookup(L"ErrorMessage", L"OpenWithError",
                           L"Open with application error, the specified application does not exist."),
                profile.userName);
    } else {
      AddResult(root, key, value, data, rfKey, fCurType, false, OpenWithDriveMessage(path, drive), profile.userName);
    }
  }
  const bool topLevel = key == kApplications;
  for (const std::wstring& subKey : subKeys) {
    if (Aborted()) return;
    const std::wstring child = key + L"\\" + subKey;
    if (topLevel && IsEmptyRegTree(root, child)) {
      AddResult(root, child, L"", L"", rfKey, fCurType, true, EmptyKeyMessage(), profile.userName);
    }
    if (!Trim(subKey).empty()) ScanOpenWithApps(root, child, profile);
  }
}

}  // namespace kelvara
