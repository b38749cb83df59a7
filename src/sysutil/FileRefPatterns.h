// The regular expressions by which registry data is judged to name a file.
// They are std::wregex objects compiled once per process and safe to use
// from several threads at once; all are searched (not anchored unless
// written so) and case-sensitive.
//
// The pattern matcher costs about a microsecond per ten characters, and
// most texts cannot match at all (no drive root, no dot, no bad
// character), so every search first asks a cheap test that only rules out
// texts the pattern cannot match; the pattern decides the rest.
#pragma once

#include <string_view>

namespace kelvara {

enum class TFileRefPattern {
  // A whole text that is one drive path: ^[A-Za-z]:\\[^/:\*\?<>\|"']+$
  PlainPath,
  // Characters no path holds: slash, asterisk, question mark, double
  // quote, angle brackets, vertical bar, percent, caret, comma, semicolon:
  // [\/\*\?""<>\|\%\^\,\;]
  BadPathChars,
  // The same plus hyphen, backslash and blank, none of which belongs in an
  // extension: [\/\*\?""<>\|\-\%\^\;\,\\\ ]
  BadExtensionChars,
  // Characters no path may keep at all: slash, asterisk, question mark,
  // double quote, angle brackets, vertical bar: [\/\*\?""<>\|]
  BadFinalChars,
  // A drive path starts somewhere in the text: [A-Za-z]:\\[^/:\*\?<>\|]
  DriveStart,
  // A drive path with a three-letter extension ending the text, as group 1:
  // ([A-Za-z]:\\[^/:\*\?<>\|]+\.\w{3})$
  ThreeLetterExtension,
  // A drive path with an extension of any length followed by at most one
  // separator, as group 1: ([A-Za-z]:\\[^/:\*\?<>\|]+\.\w*)[ |\/\,\;\\]?
  AnyExtension,
};

// False when `pattern` cannot be found in `text`; cheap. True says only
// that the pattern may be found.
bool PatternMayMatch(std::wstring_view text, TFileRefPattern pattern);
// The pattern is found somewhere in `text`.
bool PatternFound(std::wstring_view text, TFileRefPattern pattern);
// The pattern is found in `text`; `group1` is then its first group (a part
// of `text`).
bool PatternFound(std::wstring_view text, TFileRefPattern pattern, std::wstring_view& group1);

}  // namespace kelvara
