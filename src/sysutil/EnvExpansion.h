// Expansion of environment-variable references through the process
// environment, as registry data of type REG_EXPAND_SZ is meant to be read.
#pragma once

#include <string>

namespace kelvara {

// The number of characters the expansion may produce, terminating NUL
// included (MAX_PATH): longer results are not paths the program judges.
inline constexpr std::size_t kExpandBufferChars = 260;

// `text` with its "%NAME%" references expanded through the process
// environment (unknown names stay as written); `text` unchanged when the
// expansion fails or does not fit kExpandBufferChars.
std::wstring ExpandEnvStr(const std::wstring& text);

}  // namespace kelvara
