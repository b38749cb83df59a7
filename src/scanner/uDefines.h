// The types the scanner, the cleaner, the configuration and the windows
// share, and the message numbers the engines send to their owner.
#pragma once

#include <cstdint>
#include <string>

#include "platform/RegistryApi.h"

// mingw's runtime headers define an empty _DLL, which would erase the
// shared-DLL category below; nothing after them reads it.
#ifdef _DLL
#undef _DLL
#endif

namespace kelvara {

// Scan categories in their fixed order; the ordinal is stored in
// configuration and used as an index everywhere.
enum TScanType : int {
  _ACTIVEX = 0,
  _SoftWare,
  _AppPath,
  _FileType,
  _HelpFiles,
  _FWALL,
  _Fonts,
  _DLL,
  _MRU,
  _Uninstall,
  _StartMenu,
  _Startup,
  _Sound,
  _IEUrl,
  _IFEO,
  _EMPTY,
  _APP,
  _Services,
  _MUICache,
  _ContextMenu,
  _None
};
inline constexpr int kScanTypeCount = 20;  // _ACTIVEX .. _ContextMenu

enum TScanLevel : int { slNormal = 0, slSafe, slDeep };

enum TJobStatus : int { SBusy = 0, SPause, SStop, SAborted };

enum TRegFixType : int { rfValue = 0, rfKey, rfNode };

enum TDelAction : int { daBack = 0, daClean };

struct TRegData {
  platform::HKey root = platform::kHkeyLocalMachine;
  std::wstring key;    // below the root, no leading backslash
  std::wstring value;  // empty: the key itself or its default value
  std::wstring Data;   // the data that made it a finding
  TRegFixType RemoveType = rfValue;
};

struct TResultData {
  TRegData RegData;
  bool SafeToFix = false;
  TScanType ScanSection = _None;
  std::wstring TranSection;
  std::wstring ErrorMsg;
  std::wstring User;
  bool Checked = false;
};

struct TCleanKeyInfo {
  int TotalKeys = 0;
  int SafeKeys = 0;
  int UnSafeKeys = 0;
  int FailRemove = 0;
};

struct TUserInfo {
  bool IsCurUser = false;
  std::wstring UserName;
  std::wstring StringSID;
  std::wstring HomeDir;
  bool Checked = false;
};

// One category row of the cleaner page and of the automatic mode.
struct TEntry {
  std::wstring Caption;
  std::wstring ReportStr;
  std::wstring Summary;
  std::wstring Section;  // the category's key of the [Type] section
  TScanType ScanID = _None;
  bool Scanned = false;
  int image = 0;
  bool Recommended = false;
  bool Checked = false;
  int StateImg = 0;
  int EntryCount = 0;
};

// Engine notifications: message number and the code in wParam.
inline constexpr std::uint32_t WM_USER_BASE = 0x0400;
inline constexpr std::uint32_t WM_REGSCAN = WM_USER_BASE + 1000;   // 2024
inline constexpr std::uint32_t WM_REGCLEAN = WM_USER_BASE + 1001;  // 2025
inline constexpr std::uintptr_t SCAN_KEY = 1025;
inline constexpr std::uintptr_t SCAN_CATEGORY = 1026;
inline constexpr std::uintptr_t SCAN_STARTED = 1027;
inline constexpr std::uintptr_t SCAN_FINISHED = 1028;
inline constexpr std::uintptr_t SCAN_FOUND = 1029;
inline constexpr std::uintptr_t CLEAN_STARTED = 1025;
inline constexpr std::uintptr_t CLEAN_FINISHED = 1026;
inline constexpr std::uintptr_t CLEAN_ACTION = 1027;

// The owner "window" of an engine. The Win32 windows implement it with
// SendMessageW to their HWND, which hands the notification to the window
// thread and waits for it; the command line and the tests implement it
// directly. A handler must never wait for the engine that is sending.
class TMessageTarget {
 public:
  virtual ~TMessageTarget() = default;
  virtual std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

}  // namespace kelvara
