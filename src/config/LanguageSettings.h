// What the current language file asks of the windows besides texts: the
// font of every window and the reading direction.
#pragma once

#include <string>
#include <string_view>

namespace kelvara {

// Windows font character-set identifiers.
inline constexpr int kAnsiCharset = 0;
inline constexpr int kDefaultCharset = 1;  // the system's default font character set

struct TLanguageFont {
  std::wstring name = L"Tahoma";
  int size = 8;  // points
  int charset = kDefaultCharset;
};

// [Translation] DefaultFont, DefaultFontSize and DefaultCharSet of the
// current language. Without a current language: Tahoma, 8 points and the
// system's default character set. A missing or empty key gives Tahoma,
// 8 points, ANSI_CHARSET; a character-set name that is no known identifier
// gives the system's default character set.
TLanguageFont CurrentLanguageFont();
// A Windows character-set name ("ANSI_CHARSET", "GB2312_CHARSET", ...,
// case-insensitive) or its decimal number; kDefaultCharset when unknown.
int CharsetFromName(std::wstring_view name);
// False when the language declares right-to-left reading ([Translation]
// ReadHabit "right-to-left", trimmed, any case), true otherwise.
bool CurrentReadHabit();

}  // namespace kelvara
