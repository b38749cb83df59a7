#include "config/LanguageSettings.h"

#include <array>

#include "config/LangLookup.h"
#include "platform/Text.h"

namespace kelvara {
namespace {

struct NamedCharset {
  const wchar_t* name;
  int value;
};

constexpr std::array<NamedCharset, 20> kCharsets{{
    {L"ANSI_CHARSET", 0},          {L"DEFAULT_CHARSET", 1},    {L"SYMBOL_CHARSET", 2},
    {L"MAC_CHARSET", 77},          {L"SHIFTJIS_CHARSET", 128}, {L"HANGEUL_CHARSET", 129},
    {L"HANGUL_CHARSET", 129},      {L"JOHAB_CHARSET", 130},    {L"GB2312_CHARSET", 134},
    {L"CHINESEBIG5_CHARSET", 136}, {L"GREEK_CHARSET", 161},    {L"TURKISH_CHARSET", 162},
    {L"VIETNAMESE_CHARSET", 163},  {L"HEBREW_CHARSET", 177},   {L"ARABIC_CHARSET", 178},
    {L"BALTIC_CHARSET", 186},      {L"RUSSIAN_CHARSET", 204},  {L"THAI_CHARSET", 222},
    {L"EASTEUROPE_CHARSET", 238},  {L"OEM_CHARSET", 255},
}};

// A positive decimal number of at most four digits.
int SmallNumber(std::wstring_view text, int fallback) {
  if (text.empty() || text.size() > 4) return fallback;
  int value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return fallback;
    value = value * 10 + (c - L'0');
  }
  return value;
}

}  // namespace

int CharsetFromName(std::wstring_view name) {
  const std::wstring trimmed = Trim(name);
  for (const NamedCharset& charset : kCharsets) {
    if (SameText(trimmed, charset.name)) return charset.value;
  }
  const int number = SmallNumber(trimmed, -1);
  return number >= 0 && number <= 255 ? number : kDefaultCharset;
}

TLanguageFont CurrentLanguageFont() {
  TLanguageFont font;
  if (!HasCurrentLanguage()) return font;
  const std::wstring name = Trim(CurrentLanguageText(L"Translation", L"DefaultFont"));
  if (!name.empty()) font.name = name;
  const int size = SmallNumber(Trim(CurrentLanguageText(L"Translation", L"DefaultFontSize")), 0);
  if (size > 0) font.size = size;
  const std::wstring charset = CurrentLanguageText(L"Translation", L"DefaultCharSet");
  font.charset = Trim(charset).empty() ? kAnsiCharset : CharsetFromName(charset);
  return font;
}

bool CurrentReadHabit() {
  return !SameText(Trim(LangLookup(L"Translation", L"ReadHabit", L"Left-to-right")), L"right-to-left");
}

}  // namespace kelvara
