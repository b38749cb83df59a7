#include "sysutil/FileRefPatterns.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

namespace kelvara {
namespace {

// The patterns as plain std::wregex, the reference the quick rejections
// and the pattern traits must agree with.
struct Reference {
  TFileRefPattern pattern;
  std::wregex regex;
};

std::vector<Reference> References() {
  return {
      {TFileRefPattern::PlainPath, std::wregex(LR"re(^[A-Za-z]:\\[^/:\*\?<>\|"']+$)re")},
      {TFileRefPattern::BadPathChars, std::wregex(LR"re([\/\*\?""<>\|\%\^\,\;])re")},
      {TFileRefPattern::BadExtensionChars, std::wregex(LR"re([\/\*\?""<>\|\-\%\^\;\,\\\ ])re")},
      {TFileRefPattern::BadFinalChars, std::wregex(LR"re([\/\*\?""<>\|])re")},
      {TFileRefPattern::DriveStart, std::wregex(LR"re([A-Za-z]:\\[^/:\*\?<>\|])re")},
      {TFileRefPattern::ThreeLetterExtension, std::wregex(LR"re(([A-Za-z]:\\[^/:\*\?<>\|]+\.\w{3})$)re")},
      {TFileRefPattern::AnyExtension, std::wregex(LR"re(([A-Za-z]:\\[^/:\*\?<>\|]+\.\w*)[ |\/\,\;\\]?)re")},
  };
}

void ExpectAgreement(const std::vector<Reference>& references, const std::wstring& text) {
  for (const Reference& ref : references) {
    std::wsmatch expected;
    const bool found = std::regex_search(text, expected, ref.regex);
    std::wstring_view group;
    ASSERT_EQ(PatternFound(text, ref.pattern, group), found)
        << "pattern " << static_cast<int>(ref.pattern) << " on \"" << text << "\"";
    if (found && expected.size() > 1) {
      ASSERT_EQ(std::wstring(group), expected[1].str()) << "pattern " << static_cast<int>(ref.pattern);
    }
  }
}

TEST(FileRefPatterns, MatchExactlyAsThePlainPatterns) {
  const std::vector<Reference> references = References();
  for (const wchar_t* text :
       {L"C:\\Windows\\notepad.exe", L"C:\\a", L"C:\\", L"c:\\x y\\z.dll /s", L"C:\\a:b", L"1:\\a.txt",
        L"C:\\app\\run.cmd C:\\doc\\x.txt", L"C:\\a.b\\c", L"C:\\a.ex_", L"x C:\\dir\\file.exe,1", L"C:\\a'b.txt",
        L"C:\\a\"b.txt", L"C:\\t\u00e9st\\\u00e9t\u00e9.\u00e9x\u00e9", L"\\??\\C:\\x.sys", L"C:\\a.txt\n",
        L"%SystemRoot%\\x.dll", L""}) {
    ExpectAgreement(references, text);
  }
  // Generated texts over the characters the patterns care about.
  const std::wstring alphabet = L"Cz:\\\\..  /\"'-%,;|*1_\u00e9";
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> length(0, 14);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  for (int i = 0; i < 5000; ++i) {
    std::wstring text;
    for (std::size_t n = length(random); n > 0; --n) text.push_back(alphabet[pick(random)]);
    ExpectAgreement(references, text);
  }
}

}  // namespace
}  // namespace kelvara
