#include "scanner/ScanCategories.h"

#include "config/LangLookup.h"
#include "platform/Text.h"

namespace kelvara {
namespace {

constexpr TScanCategoryInfo kCategories[kScanTypeCount] = {
    {_ACTIVEX, L"Activex", TAdminNeed::Whole},
    {_SoftWare, L"SoftwareSection", TAdminNeed::MachinePart},
    {_AppPath, L"ApplicationPaths", TAdminNeed::MachinePart},
    {_FileType, L"FileTypes", TAdminNeed::MachinePart},
    {_HelpFiles, L"HelpFiles", TAdminNeed::Whole},
    {_FWALL, L"Firewall", TAdminNeed::Whole},
    {_Fonts, L"Fonts", TAdminNeed::Whole},
    {_DLL, L"SharedDLL", TAdminNeed::Whole},
    {_MRU, L"MRULists", TAdminNeed::None},
    {_Uninstall, L"UninstallSection", TAdminNeed::MachinePart},
    {_StartMenu, L"StartMenu", TAdminNeed::None},
    {_Startup, L"StartupProgram", TAdminNeed::MachinePart},
    {_Sound, L"SoundandAppEvents", TAdminNeed::MachinePart},
    {_IEUrl, L"IEUrlHistory", TAdminNeed::None},
    {_IFEO, L"IFEO", TAdminNeed::Whole},
    {_EMPTY, L"EmptyKey", TAdminNeed::Whole},
    {_APP, L"App", TAdminNeed::Whole},
    {_Services, L"Services", TAdminNeed::Whole},
    {_MUICache, L"MUICache", TAdminNeed::None},
    {_ContextMenu, L"ContextMenu", TAdminNeed::Whole},
};

}  // namespace

const TScanCategoryInfo* ScanCategoryInfo(TScanType type) {
  const int index = static_cast<int>(type);
  if (index < 0 || index >= kScanTypeCount) return nullptr;
  return &kCategories[index];
}

std::wstring GetScanTypeName(TScanType type) {
  switch (type) {
    case _ACTIVEX:
      return LangLookup(L"Type", L"Activex", L"ActiveX/COM");
    case _SoftWare:
      return LangLookup(L"Type", L"SoftwareSection", L"Software Section");
    case _AppPath:
      return LangLookup(L"Type", L"ApplicationPaths", L"Application Paths");
    case _FileType:
      return LangLookup(L"Type", L"FileTypes", L"File Types");
    case _HelpFiles:
      return LangLookup(L"Type", L"HelpFiles", L"Help Files");
    case _FWALL:
      return LangLookup(L"Type", L"FireWall", L"Firewall Settings");
    case _Fonts:
      return LangLookup(L"Type", L"Fonts", L"Fonts");
    case _DLL:
      return LangLookup(L"Type", L"SharedDLL", L"Shared DLL");
    case _MRU:
      return LangLookup(L"Type", L"MRULists", L"User MRU Lists");
    case _Uninstall:
      return LangLookup(L"Type", L"UninstallSection", L"Uninstall Section");
    case _StartMenu:
      return LangLookup(L"Type", L"StartMenu", L"Start Menu");
    case _Startup:
      return LangLookup(L"Type", L"StartupProgram", L"Startup Program");
    case _Sound:
      return LangLookup(L"Type", L"SoundandAppEvents", L"Sound and AppEvents");
    case _IEUrl:
      return LangLookup(L"Type", L"IEUrlHistory", L"IE Url History");
    case _IFEO:
      return LangLookup(L"Type", L"IFEO", L"Image File Execution Options");
    case _EMPTY:
      return LangLookup(L"Type", L"EmptyKey", L"Empty Key");
    case _APP:
      return LangLookup(L"Type", L"App", L"Applications");
    case _Services:
      return LangLookup(L"Type", L"Services", L"Windows Services");
    case _MUICache:
      return LangLookup(L"Type", L"MUICache", L"MUI Cache");
    case _ContextMenu:
      return LangLookup(L"Type", L"ContextMenu", L"Context Menu");
    case _None:
      break;
  }
  return {};
}

TScanType ScanTypeFromKey(const std::wstring& key) {
  for (const auto& c : kCategories) {
    if (SameText(key, c.typeKey)) return c.type;
  }
  return _None;
}

}  // namespace kelvara
