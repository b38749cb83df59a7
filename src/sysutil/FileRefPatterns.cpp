#include "sysutil/FileRefPatterns.h"

namespace kelvara {
namespace {

TFileRefPatterns Compile() {
  constexpr auto flags = std::regex_constants::ECMAScript | std::regex_constants::optimize;
  return TFileRefPatterns{
      std::wregex(LR"re(^[A-Za-z]:\\[^/:\*\?<>\|"']+$)re", flags),
      std::wregex(LR"re([\/\*\?""<>\|\%\^\,\;])re", flags),
      std::wregex(LR"re([\/\*\?""<>\|\-\%\^\;\,\\\ ])re", flags),
      std::wregex(LR"re([\/\*\?""<>\|])re", flags),
      std::wregex(LR"re([A-Za-z]:\\[^/:\*\?<>\|])re", flags),
      std::wregex(LR"re(([A-Za-z]:\\[^/:\*\?<>\|]+\.\w{3})$)re", flags),
      std::wregex(LR"re(([A-Za-z]:\\[^/:\*\?<>\|]+\.\w*)[ |\/\,\;\\]?)re", flags),
  };
}

}  // namespace

const TFileRefPatterns& FileRefPatterns() {
  static const TFileRefPatterns patterns = Compile();
  return patterns;
}

bool PatternFound(std::wstring_view text, const std::wregex& pattern) {
  return std::regex_search(text.data(), text.data() + text.size(), pattern);
}

bool PatternFound(std::wstring_view text, const std::wregex& pattern, std::wstring_view& group1) {
  std::wcmatch match;
  if (!std::regex_search(text.data(), text.data() + text.size(), match, pattern)) return false;
  group1 = std::wstring_view(match[1].first, static_cast<std::size_t>(match[1].length()));
  return true;
}

}  // namespace kelvara
