// Sound events whose sound file is gone. The event tree is walked down to
// the keys without sub-keys, whose default value names the sound.
#include <string>
#include <vector>

#include "config/LangLookup.h"
#include "registry/RegFun.h"
#include "registry/RegPaths.h"
#include "scanner/RegScanner.h"
#include "sysutil/FileReferences.h"
#include "sysutil/PublicFuns.h"

namespace kelvara {

void TRegScanner::ScanSoundEvents(platform::HKey root, const std::wstring& key) {
  const std::wstring parent = IncludeKeyDelimiter(key);
  std::vector<std::wstring> events;
  GetRegSubKeys(root, key, events, true);
  const std::wstring shownPrefix = RootKeyToName(root) + L"\\" + parent;
  std::wstring sound;
  for (const std::wstring& event : events) {
    if (Aborted()) return;
    ReportKey(shownPrefix + event, true);
    const std::wstring eventKey = parent + event;
    if (!event.empty() && CountRegSubKeys(root, eventKey) > 0) {
      ScanSoundEvents(root, eventKey);
      continue;
    }
    if (!ReadRegData(root, eventKey, L"", true, sound)) continue;
    const std::wstring path = GetFileFromRegData(sound, true);
    if (!path.empty() && !PathExists(path)) {
      AddResult(root, eventKey, L"", sound, rfValue, CurType(), true,
                LangLookup(L"ErrorMessage", L"SoundFilenotexist", L"Sound File does not exist."), L"");
    }
  }
}

}  // namespace kelvara
