#include "config/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>

#include "config/ColorText.h"

namespace kelvara {
namespace {

TEST(DateTime, EncodesDaysSinceTheEndOf1899) {
  struct Case {
    TDateParts parts;
    double days;
  };
  const Case cases[] = {
      {{1899, 12, 30, 0, 0, 0, 0}, 0.0},
      {{1900, 1, 1, 0, 0, 0, 0}, 2.0},
      {{2024, 3, 5, 14, 7, 9, 0}, 45356.58829861111},
      {{2000, 2, 29, 23, 59, 59, 0}, 36585.99998842592},
      // Before the epoch the time of day still counts forward.
      {{1899, 12, 29, 6, 0, 0, 0}, -1.25},
  };
  for (const Case& c : cases) {
    const auto value = EncodeDateTime(c.parts);
    ASSERT_TRUE(value.has_value()) << c.parts.year;
    EXPECT_NEAR(*value, c.days, 1e-9) << c.parts.year;
    const TDateParts back = DecodeDateTime(*value);
    EXPECT_EQ(back.year, c.parts.year);
    EXPECT_EQ(back.month, c.parts.month);
    EXPECT_EQ(back.day, c.parts.day);
    EXPECT_EQ(back.hour, c.parts.hour);
    EXPECT_EQ(back.minute, c.parts.minute);
    EXPECT_EQ(back.second, c.parts.second);
  }
  EXPECT_FALSE(EncodeDateTime({2023, 2, 29, 0, 0, 0, 0}).has_value());
  EXPECT_FALSE(EncodeDateTime({2024, 13, 1, 0, 0, 0, 0}).has_value());
  EXPECT_FALSE(EncodeDateTime({2024, 1, 1, 24, 0, 0, 0}).has_value());
}

TEST(DateTime, NowIsARecentLocalTime) {
  const TDateTime now = Now();
  EXPECT_GT(now, *EncodeDateTime({2024, 1, 1, 0, 0, 0, 0}));
  EXPECT_LT(now, *EncodeDateTime({2200, 1, 1, 0, 0, 0, 0}));
}

TEST(DateTime, FloatTextRoundTripsWithTheLocaleSeparator) {
  const double value = 45356.58829861111;
  for (const wchar_t decimal : {L'.', L','}) {
    const std::wstring text = FloatToText(value, decimal);
    EXPECT_NE(text.find(decimal), std::wstring::npos) << text;
    EXPECT_EQ(TextToFloat(text, decimal), value) << text;
  }
  EXPECT_EQ(FloatToText(0.0, L','), L"0");
  EXPECT_EQ(TextToFloat(L"45356.5", L','), 45356.5);  // files from other locales still read
  EXPECT_EQ(TextToFloat(L"45356,5", L'.'), 45356.5);
  EXPECT_EQ(TextToFloat(L"-1.25", L'.'), -1.25);
  EXPECT_EQ(TextToFloat(L"1e3", L'.'), 1000.0);
  for (const wchar_t* bad : {L"", L"1.234,5", L"12 5", L"abc", L"1.5x", L"--1", L"1e", L"inf"}) {
    EXPECT_FALSE(TextToFloat(bad, L',').has_value()) << bad;
  }
}

TEST(DateTime, DateTextIsWrittenInOneFixedFormAndReadInLocaleForms) {
  const TDateTime value = *EncodeDateTime({2024, 3, 5, 14, 7, 9, 0});
  EXPECT_EQ(FormatDateText(value), L"2024-03-05 14:07:09");
  struct Case {
    const wchar_t* text;
    TDateParts parts;
  };
  const Case cases[] = {
      {L"2024-03-05 14:07:09", {2024, 3, 5, 14, 7, 9, 0}},
      {L"2024/3/5 14:07:09", {2024, 3, 5, 14, 7, 9, 0}},
      {L"2024.03.05 14:07", {2024, 3, 5, 14, 7, 0, 0}},
      {L"5.3.2024 14:07:09", {2024, 3, 5, 14, 7, 9, 0}},
      {L"3/5/2024 2:07:09 PM", {2024, 3, 5, 14, 7, 9, 0}},
      {L"25/12/2023 00:00:01", {2023, 12, 25, 0, 0, 1, 0}},
      {L"05-03-2024 12:00:00 AM", {2024, 3, 5, 0, 0, 0, 0}},
      {L"2024-03-05", {2024, 3, 5, 0, 0, 0, 0}},
      {L"3/5/24", {2024, 3, 5, 0, 0, 0, 0}},
      {L" 2024-03-05T14:07:09.5 ", {2024, 3, 5, 14, 7, 9, 500}},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseDateText(c.text);
    ASSERT_TRUE(parsed.has_value()) << c.text;
    EXPECT_NEAR(*parsed, *EncodeDateTime(c.parts), 1e-9) << c.text;
  }
  for (const wchar_t* bad : {L"", L"45356.5", L"2024-02-30", L"2024-03-05 25:00", L"2024-03/05", L"yesterday",
                             L"2024-03-05 14:07:09 tomorrow", L"13:00 PM"}) {
    EXPECT_FALSE(ParseDateText(bad).has_value()) << bad;
  }
}

TEST(ColorText, NamesAndHexDigitsInBlueGreenRedOrder) {
  EXPECT_EQ(ColorToText(3680801), L"$00382A21");  // red 33, green 42, blue 56
  EXPECT_EQ(ColorToText(0x0000FF), L"clRed");
  EXPECT_EQ(ColorToText(0xFF00000F), L"clBtnFace");
  struct Case {
    const wchar_t* text;
    TColor color;
  };
  const Case cases[] = {{L"$00382A21", 3680801},    {L"$382a21", 3680801}, {L"CLRED", 0x0000FF},
                        {L"clBtnFace", 0xFF00000F}, {L"9863960", 9863960}, {L"-16777201", 0xFF00000F}};
  for (const Case& c : cases) EXPECT_EQ(TextToColor(c.text), c.color) << c.text;
  for (const wchar_t* bad : {L"", L"$", L"$1234567890", L"clNoSuchColour", L"12ab", L"$-1"}) {
    EXPECT_FALSE(TextToColor(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace kelvara
