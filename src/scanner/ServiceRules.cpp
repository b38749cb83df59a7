// Services whose program file is gone, and programs whose start is taken
// over by an Image File Execution Options debugger.
#include <string>
#include <vector>

#include "config/LangLookup.h"
#include "platform/Text.h"
#include "registry/RegFun.h"
#include "scanner/RegScanner.h"
#include "scanner/RuleMessages.h"
#include "sysutil/FileReferences.h"
#include "sysutil/PublicFuns.h"

namespace kelvara {
namespace {

using platform::kHkeyLocalMachine;

constexpr wchar_t kServices[] = L"SYSTEM\\CurrentControlSet\\services";

}  // namespace

void TRegScanner::ScanServices() {
  std::vector<std::wstring> services;
  GetRegSubKeys(kHkeyLocalMachine, kServices, services, true);
  const std::wstring shownPrefix = std::wstring(L"HKEY_LOCAL_MACHINE\\") + kServices + L"\\";
  std::wstring imagePath;
  for (const std::wstring& service : services) {
    if (Aborted()) return;
    ReportKey(shownPrefix + service, true);
    if (Trim(service).empty()) continue;
    const std::wstring key = std::wstring(kServices) + L"\\" + service;
    if (!ReadRegData(kHkeyLocalMachine, key, L"ImagePath", true, imagePath)) continue;
    // Shared service-host processes are never judged by their command line.
    if (ContainsText(imagePath, L"svchost")) continue;
    const std::wstring path = GetFileFromRegData(imagePath, true);
    if (!path.empty() && !PathExists(path)) {
      AddResult(kHkeyLocalMachine, key, L"ImagePath", imagePath, rfKey, CurType(), true,
                LangLookup(L"ErrorMessage", L"ServiceNotExists", L"Service program specified not exists."), L"");
    }
  }
}

void TRegScanner::ScanImageOptions(const std::wstring& key) {
  std::vector<std::wstring> programs;
  GetRegSubKeys(kHkeyLocalMachine, key, programs, true);
  const std::wstring shownPrefix = L"HKEY_LOCAL_MACHINE\\" + key + L"\\";
  std::wstring debugger;
  for (const std::wstring& program : programs) {
    if (Aborted()) return;
    ReportKey(shownPrefix + program, true);
    const std::wstring programKey = key + L"\\" + program;
    ReadRegData(kHkeyLocalMachine, programKey, L"debugger", true, debugger);
    if (debugger.empty()) continue;
    // Whatever the debugger is, it runs instead of the program.
    std::wstring message = FormatRuleMessage(LangLookup(L"ErrorMessage", L"Hijacking", L"%s has been hijacked by %s."),
                                             L"%s has been hijacked by %s.", {program, debugger});
    // The language-file check reads the default as one literal.
    // clang-format off
    message += LangLookup(L"ErrorMessage", L"Trojan", L"This is typical behavior of the Trojan. We strongly recommend that you immediately remove the entry and use anti-virus software to scan your computer.");
    // clang-format on
    AddResult(kHkeyLocalMachine, programKey, L"Debugger", debugger, rfKey, CurType(), true, message, L"");
  }
}

}  // namespace kelvara
