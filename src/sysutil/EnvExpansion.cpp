#include "sysutil/EnvExpansion.h"

#include "platform/Platform.h"

namespace kelvara {

std::wstring ExpandEnvStr(const std::wstring& text) {
  // Without a "%" there is nothing to expand, and the system would hand the
  // text back unchanged (or refuse it for length, which also leaves it).
  if (text.find(L'%') == std::wstring::npos) return text;
  return platform::System().ExpandEnvironment(text, kExpandBufferChars).value_or(text);
}

}  // namespace kelvara
