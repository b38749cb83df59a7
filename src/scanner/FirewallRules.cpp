// Firewall exceptions for programs that no longer exist: the authorised
// application lists name the program in the value name, the rules of the
// newer firewall in the "App=" field of the rule text.
#include <string>
#include <string_view>

#include "platform/Text.h"
#include "scanner/KeyValueReader.h"
#include "scanner/RegScanner.h"
#include "scanner/RuleMessages.h"
#include "sysutil/FileReferences.h"
#include "sysutil/PublicFuns.h"

namespace kelvara {
namespace {

constexpr std::wstring_view kAppField = L"app=";

// The program of a rule text such as "v2.10|Action=Allow|App=C:\x.exe|":
// the lower-cased text after "app=" of the first field that begins with
// it. Empty when there is none or it is the system itself.
std::wstring RuleProgram(const std::wstring& rule) {
  const std::wstring text = LowerCase(rule);
  const std::wstring_view all(text);
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = all.find(L'|', start);
    const std::wstring_view field = all.substr(start, end == std::wstring_view::npos ? end : end - start);
    if (field.starts_with(kAppField)) {
      const std::wstring_view program = field.substr(kAppField.size());
      if (program.empty() || program == L"system") return {};
      return GetFileFromRegData(std::wstring(program), true);
    }
    if (end == std::wstring_view::npos) return {};
    start = end + 1;
  }
}

}  // namespace

void TRegScanner::ScanFirewallList(const std::wstring& key) {
  using platform::kHkeyLocalMachine;
  TKeyValueReader values(kHkeyLocalMachine, key);
  const std::wstring shown = L"HKEY_LOCAL_MACHINE\\" + key;
  const bool ruleTexts = EndsWithText(key, L"firewallrules");
  std::wstring data;
  for (const std::wstring& name : values.Names()) {
    if (Aborted()) return;
    ReportKey(shown, true);
    values.ReadText(name, data);
    const std::wstring path = ruleTexts ? RuleProgram(data) : GetFileFromRegData(name, true);
    if (path.empty() || PathExists(path)) continue;
    const std::wstring_view driveType = RemovableDriveType(path);
    if (driveType.empty()) {
      AddResult(kHkeyLocalMachine, key, name, data, rfValue, CurType(), true, MissingFileMessage(L" " + path), L"");
    } else {
      AddResult(kHkeyLocalMachine, key, name, data, rfValue, CurType(), false,
                MissingFileOnDriveMessage(path, driveType), L"");
    }
  }
}

}  // namespace kelvara
