#include "platform/Text.h"

#include <gtest/gtest.h>

#include "platform/Encoding.h"

namespace kelvara {
namespace {

TEST(Text, CaseInsensitiveComparisonCoversLatinGreekCyrillic) {
  EXPECT_TRUE(SameText(L"Software\\Classes", L"SOFTWARE\\classes"));
  EXPECT_TRUE(SameText(L"\u00e4\u00f6\u00fc\u00ff", L"\u00c4\u00d6\u00dc\u0178"));
  EXPECT_TRUE(SameText(L"\u0444\u0430\u0439\u043b", L"\u0424\u0410\u0419\u041b"));
  EXPECT_FALSE(SameText(L"abc", L"abd"));
  EXPECT_LT(CompareText(L"abc", L"ABD"), 0);
  EXPECT_EQ(CompareText(L"Wow6432Node", L"WOW6432NODE"), 0);
  EXPECT_EQ(FindText(L"C:\\Windows\\SVCHOST.exe", L"\\svchost"), 10u);
  EXPECT_EQ(ReplaceAllText(L"%SystemRoot%\\a;%SYSTEMROOT%", L"%systemroot%", L"C:\\W"), L"C:\\W\\a;C:\\W");
  EXPECT_EQ(Trim(L" \t x y \r\n"), L"x y");
}

TEST(Text, Utf16RoundTripKeepsEmbeddedNulsAndUnpairedSurrogates) {
  const std::u16string units = {u'a', 0, 0xD800, u'b', 0xDC00, 0xD83D, 0xDE00};
  EXPECT_EQ(ToUtf16(FromUtf16(units)), units);
  const auto bytes = ToUtf16LeBytes(FromUtf16(units), true);
  ASSERT_EQ(bytes.size(), (units.size() + 1) * 2);
  EXPECT_EQ(ToUtf16(FromUtf16LeBytes(bytes.data(), bytes.size() - 2)), units);
  EXPECT_EQ(ToUtf16(FromUtf8(ToUtf8(FromUtf16(units)))), units);
}

TEST(Text, AnsiIsWindows1252) {
  const std::string ansi = "\x80\xe9\x9f";
  EXPECT_EQ(FromAnsi(ansi), L"\u20ac\u00e9\u0178");
  EXPECT_EQ(ToAnsi(FromAnsi(ansi)), ansi);
  EXPECT_EQ(ToAnsi(L"\u4e2d"), "?");
}

TEST(Encoding, BomSelectsEncodingAndIsWrittenBack) {
  struct Case {
    std::vector<std::uint8_t> bytes;
    TextEncoding expected;
  };
  const Case cases[] = {
      {{0xEF, 0xBB, 0xBF, 'h', 0xC3, 0xA9}, TextEncoding::Utf8Bom},
      {{0xFF, 0xFE, 'h', 0, 0xE9, 0}, TextEncoding::Utf16LeBom},
      {{0xFE, 0xFF, 0, 'h', 0, 0xE9}, TextEncoding::Utf16BeBom},
      {{'h', 0xE9}, TextEncoding::Ansi},
  };
  for (const auto& c : cases) {
    const DecodedText decoded = DecodeText(c.bytes);
    EXPECT_EQ(decoded.encoding, c.expected);
    EXPECT_EQ(decoded.text, L"h\u00e9");
    EXPECT_EQ(EncodeText(decoded.text, decoded.encoding), c.bytes);
  }
  EXPECT_EQ(DecodeText({'h', 0, 'i', 0}, TextEncoding::Utf16Le).text, L"hi");
  EXPECT_EQ(DecodeText({0xFF, 0xFE, 'h'}).text, L"");
}

}  // namespace
}  // namespace kelvara
