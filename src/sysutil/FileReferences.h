// Turning registry data into the path of the file or folder it names.
//
// Registry data rarely holds a clean path: it holds command lines with
// switches, quoted paths, rundll32 invocations, icon references with an
// index after a comma, ";"-lists, environment variables and native "\??\"
// prefixes. GetFileFromRegData returns the path worth checking, or the
// empty text when the data is no file reference or one the program does
// not judge; the scanner reports an entry when PathExists of a non-empty
// result is false. Every doubtful case gives the empty text, so nothing is
// reported that might still be in use.
#pragma once

#include <string>
#include <string_view>

#include "sysutil/FileRefPatterns.h"

namespace kelvara {

// Longer data is not judged. The pattern matcher's recursion grows with
// the text, and no file reference worth judging is this long.
inline constexpr std::size_t kMaxJudgedDataChars = 1024;

// The path named by `data`, or empty. `allowPercent` is true for the
// running user's data; data of other user profiles with "%" in it is not
// judged, since its variables would expand to the running user's folders.
std::wstring GetFileFromRegData(const std::wstring& data, bool allowPercent);

// The helpers below return parts of their argument (views into it).

// The text trimmed, with a leading single-quoted and then a leading
// double-quoted part taken out of its quotes (what follows the closing
// quote is dropped); empty when more than two quote characters remain.
std::wstring_view StripQuotes(std::wstring_view text);
// `text` without one leading and one trailing `c`; blank text unchanged.
std::wstring_view TrimChar(std::wstring_view text, wchar_t c);
// The trimmed text is not empty and `pattern` is not found in `text`.
bool HasNoMatch(std::wstring_view text, TFileRefPattern pattern);
// HasNoMatch with the bad-path-characters pattern.
bool HasNoInvalidChars(std::wstring_view text);
// The trimmed text is not empty and a drive path starts somewhere in it.
bool StartsWithDrivePath(std::wstring_view text);
// The first path in `text` that ends in an extension; empty when none.
std::wstring_view ExtractPathCandidate(std::wstring_view text);
// Folder tokens and environment variables expanded, the program taken out
// of rundll32 command lines, switches and arguments cut; empty when the
// result is no drive path or not one the program judges.
std::wstring ResolveDataPath(std::wstring_view text);

}  // namespace kelvara
