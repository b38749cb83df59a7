// The regular expressions by which registry data is judged to name a file.
// They are compiled once per process and are safe to use from several
// threads at once. All are searched (not anchored unless written so) and
// case-sensitive.
#pragma once

#include <regex>
#include <string_view>

namespace kelvara {

struct TFileRefPatterns {
  // A whole text that is one drive path: "^[A-Za-z]:\\[^/:\*\?<>\|"']+$".
  std::wregex PlainPath;
  // Characters no path holds: slash, asterisk, question mark, double
  // quote, angle brackets, vertical bar, percent, caret, comma, semicolon.
  std::wregex BadPathChars;
  // The same plus hyphen, backslash and blank: none belongs in an extension.
  std::wregex BadExtensionChars;
  // Characters no path may keep at all: slash, asterisk, question mark,
  // double quote, angle brackets, vertical bar.
  std::wregex BadFinalChars;
  // A drive path starts somewhere in the text.
  std::wregex DriveStart;
  // A drive path with a three-letter extension ending the text (group 1).
  std::wregex ThreeLetterExtension;
  // A drive path with an extension of any length, followed by at most one
  // separator (group 1).
  std::wregex AnyExtension;
};

const TFileRefPatterns& FileRefPatterns();

// The pattern is found somewhere in `text`.
bool PatternFound(std::wstring_view text, const std::wregex& pattern);
// The pattern is found in `text`; `group1` is then its first group.
bool PatternFound(std::wstring_view text, const std::wregex& pattern, std::wstring_view& group1);

}  // namespace kelvara
