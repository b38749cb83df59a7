#include "sysutil/FileReferences.h"

#include <algorithm>

#include "platform/Text.h"
#include "sysutil/DriveTypes.h"
#include "sysutil/EnvExpansion.h"
#include "sysutil/FileRefPatterns.h"
#include "sysutil/PathText.h"
#include "sysutil/PublicFuns.h"
#include "sysutil/SystemFolders.h"
#include "sysutil/WindowsVersions.h"

namespace kelvara {
namespace {

// Shorter data (after quotes, lists and indexes are cut) names no file.
constexpr std::size_t kMinDataChars = 4;

constexpr std::wstring_view kNativePrefix = L"\\??\\";
constexpr std::wstring_view kRundll32 = L"rundll32.exe";
constexpr std::wstring_view kRundll = L"rundll.exe";

bool IsBlank(wchar_t c) { return static_cast<std::uint32_t>(c) <= 0x20; }

std::wstring_view TrimView(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Drops the leading `quote` and, when it closes later, everything from the
// closing one on.
std::wstring_view Unquote(std::wstring_view text, wchar_t quote) {
  if (text.empty() || text.front() != quote) return text;
  text.remove_prefix(1);
  const std::size_t close = text.find(quote);
  return close == std::wstring_view::npos ? text : text.substr(0, close);
}

// The text before the first `c`.
std::wstring_view CutAt(std::wstring_view text, wchar_t c) { return text.substr(0, text.find(c)); }

// Replaces the folder tokens the program resolves itself; false when the
// data is one it does not judge.
bool ReplaceFolderTokens(std::wstring_view text, std::wstring& out) {
  if (text.find(L'%') == std::wstring_view::npos) {
    out.assign(text);
    return true;
  }
  const TFolderValues& folders = FolderValues();
  if (ContainsText(text, L"%programfiles%")) {
    const std::wstring& programFiles = IsWin64() ? folders.NativeProgramFiles : folders.ProgramFiles;
    out = ReplaceAllText(text, L"%ProgramFiles%", ExcludeTrailingBackslash(programFiles));
    return true;
  }
  // No one folder is settled for this token: such data is not judged.
  if (ContainsText(text, L"%programfiles(x86)%")) return false;
  if (ContainsText(text, L"%systemroot%")) {
    out = ReplaceAllText(text, L"%SystemRoot%", ExcludeTrailingBackslash(folders.Windows));
    return true;
  }
  if (ContainsText(text, L"%commonprogramfiles%")) {
    // On 64-bit Windows it may stand for either common-files folder.
    if (IsWin64()) return false;
    out = ReplaceAllText(text, L"%CommonProgramFiles%", ExcludeTrailingBackslash(folders.CommonProgramFiles));
    return true;
  }
  out.assign(text);
  return true;
}

// The program named after `name` in a command line such as
// "rundll32.exe x.dll,Entry" takes the command line's place.
void TakeTextAfter(std::wstring& s, std::wstring_view name) {
  const std::size_t pos = FindText(s, name);
  if (pos != std::wstring::npos) s = std::wstring(StripQuotes(std::wstring_view(s).substr(pos + name.size())));
}

// Cuts the arguments after the first "<program>.exe " or ".dll ".
void CutAfterProgram(std::wstring& s, std::wstring_view extensionAndBlank) {
  const std::size_t pos = FindText(s, extensionAndBlank);
  if (pos != std::wstring::npos) s.resize(pos + extensionAndBlank.size() - 1);
}

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The existence test within one call: the steps often ask about the same
// text again after a cut that changed nothing, and the answer cannot have
// changed in between.
class TExistenceMemo {
 public:
  bool Exists(const std::wstring& path) {
    if (path == lastMissing_) return false;
    if (PathExists(path)) return true;
    lastMissing_ = path;
    return false;
  }

 private:
  std::wstring lastMissing_;
};

std::wstring_view ExtractPathCandidate(std::wstring_view text, bool& wholeThreeLetterMatch) {
  std::wstring_view result;
  std::wstring_view found;
  bool retry = true;
  wholeThreeLetterMatch = false;
  if (PatternFound(text, TFileRefPattern::ThreeLetterExtension, found)) {
    retry = false;
    const std::wstring_view extension = TrimView(ExtractFileExt(text));
    if (!SameText(extension, L".dll") && !SameText(extension, L".exe")) {
      retry = ContainsText(text, L".dll") || ContainsText(text, L".exe");
    }
    if (HasNoMatch(found, TFileRefPattern::BadPathChars)) {
      result = found;
    } else {
      retry = true;
    }
  }
  if (retry) {
    const std::wstring_view extension = TrimView(ExtractFileExt(text));
    const std::wstring_view trimmed = TrimView(text);
    if (extension.size() == 4 && HasNoMatch(extension, TFileRefPattern::BadExtensionChars) &&
        HasNoMatch(trimmed, TFileRefPattern::BadPathChars) &&
        !(ContainsText(text, L".exe") && ContainsText(text, L".dll"))) {
      return trimmed;
    }
    if (PatternFound(text, TFileRefPattern::AnyExtension, found)) return found;
  }
  wholeThreeLetterMatch = !result.empty();
  return result;
}

std::wstring ResolveDataPath(std::wstring_view text, TExistenceMemo& memo) {
  std::wstring s;
  if (!ReplaceFolderTokens(text, s)) return {};
  if (s.find(L'%') != std::wstring::npos) s = ExpandEnvStr(s);
  if (s.find(L":\\") != 1) return {};
  TakeTextAfter(s, kRundll32);
  TakeTextAfter(s, kRundll);
  CutAfterProgram(s, L".exe ");
  CutAfterProgram(s, L".dll ");
  if (memo.Exists(s)) return s;
  const std::size_t option = s.find(L" -");
  if (option != std::wstring::npos) s.resize(option);
  const std::size_t slash = s.find(L'/');
  if (slash != std::wstring::npos) s.resize(slash + 1);
  if (ContainsText(s, L".exe\\") || ContainsText(s, L".dll\\")) return {};

  bool fixedPoint = false;
  std::wstring_view candidate = ExtractPathCandidate(s, fixedPoint);
  if (candidate.empty()) return HasNoInvalidChars(s) && StartsWithDrivePath(s) ? s : std::wstring();
  // The data names an existing file, but not in the form the existence
  // test above saw; it is not judged (no entry is reported on account of
  // it, and callers that build further paths from it build none).
  if (memo.Exists(std::wstring(candidate))) return {};
  // Narrow the candidate until it is its own candidate. One taken whole
  // from the three-letter match already is: it matches that pattern from
  // its first character to its end, holds no bad path character, and its
  // extension is a dot and three word characters.
  while (!fixedPoint) {
    const std::wstring_view narrower = ExtractPathCandidate(candidate, fixedPoint);
    fixedPoint = fixedPoint || narrower == candidate;
    candidate = narrower;
  }
  return HasNoInvalidChars(candidate) ? std::wstring(candidate) : std::wstring();
}

}  // namespace

std::wstring_view StripQuotes(std::wstring_view text) {
  std::wstring_view s = TrimView(text);
  if (s.empty()) return s;
  s = Unquote(Unquote(s, L'\''), L'"');
  const auto singles = std::count(s.begin(), s.end(), L'\'');
  if (singles > 2) return {};
  if (singles + std::count(s.begin(), s.end(), L'"') > 2) return {};
  return TrimView(s);
}

std::wstring_view TrimChar(std::wstring_view text, wchar_t c) {
  if (TrimView(text).empty()) return text;
  if (text.front() == c) text.remove_prefix(1);
  if (!text.empty() && text.back() == c) text.remove_suffix(1);
  return text;
}

bool HasNoMatch(std::wstring_view text, TFileRefPattern pattern) {
  return !TrimView(text).empty() && !PatternFound(text, pattern);
}

bool HasNoInvalidChars(std::wstring_view text) { return HasNoMatch(text, TFileRefPattern::BadPathChars); }

bool StartsWithDrivePath(std::wstring_view text) {
  return !TrimView(text).empty() && PatternFound(text, TFileRefPattern::DriveStart);
}

std::wstring_view ExtractPathCandidate(std::wstring_view text) {
  bool wholeThreeLetterMatch = false;
  return ExtractPathCandidate(text, wholeThreeLetterMatch);
}

std::wstring ResolveDataPath(std::wstring_view text) {
  TExistenceMemo memo;
  return ResolveDataPath(text, memo);
}

std::wstring GetFileFromRegData(const std::wstring& data, bool allowPercent) {
  if (data.size() < kMinDataChars || data.size() > kMaxJudgedDataChars) return {};
  // Service-host command lines name a service group, not a file.
  if (ContainsText(data, L"\\svchost") && !ContainsText(data, L".exe")) return {};
  std::wstring_view s = StripQuotes(data);
  TExistenceMemo memo;
  // The existence test first: the pattern then only confirms paths that
  // exist, which most do.
  if (PatternMayMatch(s, TFileRefPattern::PlainPath)) {
    std::wstring path(s);
    if (memo.Exists(path) && PatternFound(s, TFileRefPattern::PlainPath)) return path;
  }
  // A ";"-list names its first entry; a "," starts an icon index or a
  // resource identifier.
  s = CutAt(TrimChar(s, L';'), L';');
  if (s.size() < kMinDataChars) return {};
  s = CutAt(TrimChar(s, L','), L',');
  if (s.size() < kMinDataChars) return {};
  if (s.find(L'\r') != std::wstring_view::npos) return {};
  if (!allowPercent && s.find(L'%') != std::wstring_view::npos) return {};
  if (s.starts_with(kNativePrefix)) s.remove_prefix(kNativePrefix.size());

  std::wstring path = ResolveDataPath(s, memo);
  if (path.empty()) return {};
  // Network and substituted drives X:, Y: and Z: are never judged.
  if (std::wstring_view(L"xyzXYZ").find(path.front()) != std::wstring_view::npos) return {};
  if (GetPathDriveTypeName(std::wstring_view(path).substr(0, 3)) == kDriveUnknownName) return {};
  // "...\1": a numbered entry rather than a file.
  if (path.size() >= 2 && path[path.size() - 2] == L'\\' && IsAsciiDigit(path.back())) return {};
  const std::wstring_view extension = ExtractFileExt(path);
  if ((extension.empty() || HasNoMatch(extension, TFileRefPattern::BadExtensionChars)) &&
      HasNoMatch(path, TFileRefPattern::BadFinalChars)) {
    return path;
  }
  return {};
}

}  // namespace kelvara
