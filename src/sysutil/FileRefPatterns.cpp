#include "sysutil/FileRefPatterns.h"

#include <array>
#include <regex>

namespace kelvara {
namespace {

// The standard traits for wchar_t without the per-character work these
// patterns never need. For every character tested against a bracket
// expression the standard traits compute a collation key for equivalence
// classes and ask the locale about an empty class set; the patterns here
// have no equivalence classes, so the key is empty, and an empty class set
// holds no character. Class tests such as \w are the standard ones.
class TFileRefRegexTraits : public std::regex_traits<wchar_t> {
 public:
  template <typename It>
  string_type transform_primary(It, It) const {
    return {};
  }

  [[nodiscard]] bool isctype(wchar_t c, char_class_type mask) const {
    return mask != char_class_type() && std::regex_traits<wchar_t>::isctype(c, mask);
  }
};

using TFileRefRegex = std::basic_regex<wchar_t, TFileRefRegexTraits>;

constexpr std::size_t kPatternCount = 7;

const std::array<TFileRefRegex, kPatternCount>& Compiled() {
  constexpr auto flags = std::regex_constants::ECMAScript | std::regex_constants::optimize;
  // In the order of TFileRefPattern.
  static const std::array<TFileRefRegex, kPatternCount> patterns = {
      TFileRefRegex(LR"re(^[A-Za-z]:\\[^/:\*\?<>\|"']+$)re", flags),
      TFileRefRegex(LR"re([\/\*\?""<>\|\%\^\,\;])re", flags),
      TFileRefRegex(LR"re([\/\*\?""<>\|\-\%\^\;\,\\\ ])re", flags),
      TFileRefRegex(LR"re([\/\*\?""<>\|])re", flags),
      TFileRefRegex(LR"re([A-Za-z]:\\[^/:\*\?<>\|])re", flags),
      TFileRefRegex(LR"re(([A-Za-z]:\\[^/:\*\?<>\|]+\.\w{3})$)re", flags),
      TFileRefRegex(LR"re(([A-Za-z]:\\[^/:\*\?<>\|]+\.\w*)[ |\/\,\;\\]?)re", flags),
  };
  return patterns;
}

// The characters of the single-class patterns and of the path classes.
constexpr std::wstring_view kBadPathChars = L"/*?\"<>|%^,;";
constexpr std::wstring_view kBadExtensionChars = L"/*?\"<>|-%^;,\\ ";
constexpr std::wstring_view kBadFinalChars = L"/*?\"<>|";
constexpr std::wstring_view kNotInPlainPath = L"/:*?<>|\"'";

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool Holds(std::wstring_view text, std::wstring_view chars) {
  return text.find_first_of(chars) != std::wstring_view::npos;
}

const TFileRefRegex& Regex(TFileRefPattern pattern) { return Compiled()[static_cast<std::size_t>(pattern)]; }

}  // namespace

bool PatternMayMatch(std::wstring_view text, TFileRefPattern pattern) {
  const std::size_t root = text.find(L":\\");
  switch (pattern) {
    case TFileRefPattern::PlainPath:
      return text.size() >= 4 && IsAsciiLetter(text[0]) && root == 1 &&
             text.find_first_of(kNotInPlainPath, 3) == std::wstring_view::npos;
    case TFileRefPattern::BadPathChars:
      return Holds(text, kBadPathChars);
    case TFileRefPattern::BadExtensionChars:
      return Holds(text, kBadExtensionChars);
    case TFileRefPattern::BadFinalChars:
      return Holds(text, kBadFinalChars);
    case TFileRefPattern::DriveStart:
      return root != std::wstring_view::npos && root + 2 < text.size();
    case TFileRefPattern::ThreeLetterExtension:
      return root != std::wstring_view::npos && text.size() >= root + 7 && text[text.size() - 4] == L'.';
    case TFileRefPattern::AnyExtension:
      return root != std::wstring_view::npos && text.find(L'.', root + 3) != std::wstring_view::npos;
  }
  return true;
}

bool PatternFound(std::wstring_view text, TFileRefPattern pattern) {
  if (!PatternMayMatch(text, pattern)) return false;
  return std::regex_search(text.data(), text.data() + text.size(), Regex(pattern));
}

bool PatternFound(std::wstring_view text, TFileRefPattern pattern, std::wstring_view& group1) {
  if (!PatternMayMatch(text, pattern)) return false;
  std::match_results<const wchar_t*> match;
  if (!std::regex_search(text.data(), text.data() + text.size(), match, Regex(pattern))) return false;
  group1 = std::wstring_view(match[1].first, static_cast<std::size_t>(match[1].length()));
  return true;
}

}  // namespace kelvara
