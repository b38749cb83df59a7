#include "sysutil/TextFormat.h"

#include <gtest/gtest.h>

#include "FakePlatform.h"

namespace kelvara {
namespace {

TEST(FormatFileSize, PicksTheUnitAndRoundsToOneDecimal) {
  const struct {
    std::int64_t bytes;
    const wchar_t* expected;
  } cases[] = {
      {0, L"0 Bytes"},
      {1023, L"1,023 Bytes"},
      {-5000, L"-5,000 Bytes"},
      {1024, L"1.0 KB"},
      {1536, L"1.5 KB"},
      {1048575, L"1,024.0 KB"},
      {1048576, L"1.0 MB"},
      {1073741823, L"1,024.0 MB"},
      {1073741824, L"1.0 GB"},
      {2469606195, L"2.3 GB"},
      {1099511627775, L"1,024.0 GB"},
      {1099511627776, L"1.0 TB"},
      {1649267441664, L"1.5 TB"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFileSize(c.bytes, L',', L'.'), c.expected) << c.bytes;
}

TEST(FormatFileSize, UsesTheLocaleCharacters) {
  test::FakePlatform fakes;
  fakes.system->decimal = L',';
  fakes.system->thousand = L'.';
  fakes.Install();
  EXPECT_EQ(FormatFileSize(1023), L"1.023 Bytes");
  EXPECT_EQ(FormatFileSize(1536), L"1,5 KB");
}

TEST(FormatDateTimeStamp, WritesEveryPartWithoutLeadingZeros) {
  const TDateTimeParts time{2019, 3, 5, 14, 7, 9, 123};
  EXPECT_EQ(FormatDateTimeStamp(L"-", L"-", time), L"2019-3-5 14-7-9-123");
  EXPECT_EQ(FormatDateTimeStamp(L"/", L":", TDateTimeParts{2024, 12, 31, 0, 0, 0, 5}), L"2024/12/31 0:0:0:5");
}

TEST(MatchesWildcard, MatchesTheWholeTextCaseSensitively) {
  const struct {
    const wchar_t* text;
    const wchar_t* mask;
    bool expected;
  } cases[] = {
      {L"abc", L"a*", true},
      {L"abc", L"A*", false},
      {L"abc", L"a?c", true},
      {L"abc", L"ab", false},
      {L"abc", L"abc", true},
      {L"abc", L"abcd", false},
      {L"abc", L"*c", true},
      {L"abc", L"*b*", true},
      {L"abc", L"a*b*c", true},
      {L"", L"*", true},
      {L"", L"", true},
      {L"", L"**", false},  // only a lone "*" matches an exhausted text
      {L"a", L"a**", false},
      {L"ab", L"a**", true},
      {L"", L"?", false},
      {L"HKEY_CURRENT_USER\\Software\\App", L"HKEY_CURRENT_USER\\Software\\*", true},
      {L"HKEY_CURRENT_USER\\Software", L"HKEY_CURRENT_USER\\Software\\*", false},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchesWildcard(c.text, c.mask), c.expected) << c.text << L" ~ " << c.mask;
}

TEST(MatchesWildcard, ManyStarsOnALongTextStayFast) {
  // A back-tracking matcher needs exponential time for this mask.
  const std::wstring text(2000, L'a');
  const std::wstring mask = std::wstring(40, L'*').append(L"b");
  EXPECT_FALSE(MatchesWildcard(text, mask));
  EXPECT_TRUE(MatchesWildcard(text + L"b", L"*a*a*a*a*a*a*a*a*a*a*b"));
}

TEST(LastPosFromEnd, GivesTheEndOfTheLastOccurrence) {
  EXPECT_EQ(LastPosFromEnd(L"\\", L"C:\\a\\bc"), 4u);
  EXPECT_EQ(LastPosFromEnd(L"ab", L"abxab"), 4u);
  EXPECT_EQ(LastPosFromEnd(L"zz", L"abc"), 3u);
  EXPECT_EQ(LastPosFromEnd(L"", L"abc"), 3u);
}

}  // namespace
}  // namespace kelvara
