#include "config/ColorText.h"

#include <array>
#include <charconv>
#include <string>

#include "platform/Text.h"

namespace kelvara {
namespace {

struct NamedColor {
  TColor value;
  const wchar_t* name;
};

// The colour names of the Windows class library the files were first
// written with; a value is written by its first name here.
constexpr std::array<NamedColor, 52> kNamedColors{{
    {0x000000, L"clBlack"},
    {0x000080, L"clMaroon"},
    {0x008000, L"clGreen"},
    {0x008080, L"clOlive"},
    {0x800000, L"clNavy"},
    {0x800080, L"clPurple"},
    {0x808000, L"clTeal"},
    {0x808080, L"clGray"},
    {0xC0C0C0, L"clSilver"},
    {0x0000FF, L"clRed"},
    {0x00FF00, L"clLime"},
    {0x00FFFF, L"clYellow"},
    {0xFF0000, L"clBlue"},
    {0xFF00FF, L"clFuchsia"},
    {0xFFFF00, L"clAqua"},
    {0xFFFFFF, L"clWhite"},
    {0xC0DCC0, L"clMoneyGreen"},
    {0xF0CAA6, L"clSkyBlue"},
    {0xF0FBFF, L"clCream"},
    {0xA4A0A0, L"clMedGray"},
    {0x1FFFFFFF, L"clNone"},
    {0x20000000, L"clDefault"},
    {0xFF000000, L"clScrollBar"},
    {0xFF000001, L"clBackground"},
    {0xFF000002, L"clActiveCaption"},
    {0xFF000003, L"clInactiveCaption"},
    {0xFF000004, L"clMenu"},
    {0xFF000005, L"clWindow"},
    {0xFF000006, L"clWindowFrame"},
    {0xFF000007, L"clMenuText"},
    {0xFF000008, L"clWindowText"},
    {0xFF000009, L"clCaptionText"},
    {0xFF00000A, L"clActiveBorder"},
    {0xFF00000B, L"clInactiveBorder"},
    {0xFF00000C, L"clAppWorkSpace"},
    {0xFF00000D, L"clHighlight"},
    {0xFF00000E, L"clHighlightText"},
    {0xFF00000F, L"clBtnFace"},
    {0xFF000010, L"clBtnShadow"},
    {0xFF000011, L"clGrayText"},
    {0xFF000012, L"clBtnText"},
    {0xFF000013, L"clInactiveCaptionText"},
    {0xFF000014, L"clBtnHighlight"},
    {0xFF000015, L"cl3DDkShadow"},
    {0xFF000016, L"cl3DLight"},
    {0xFF000017, L"clInfoText"},
    {0xFF000018, L"clInfoBk"},
    {0xFF00001A, L"clHotLight"},
    {0xFF00001B, L"clGradientActiveCaption"},
    {0xFF00001C, L"clGradientInactiveCaption"},
    {0xFF00001D, L"clMenuHighlight"},
    {0xFF00001E, L"clMenuBar"},
}};

}  // namespace

std::wstring ColorToText(TColor color) {
  for (const NamedColor& named : kNamedColors) {
    if (named.value == color) return named.name;
  }
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring text = L"$00000000";
  for (int i = 8; i >= 1; --i) {
    text[static_cast<std::size_t>(i)] = kHex[color & 0xF];
    color >>= 4;
  }
  return text;
}

std::optional<TColor> TextToColor(std::wstring_view text) {
  for (const NamedColor& named : kNamedColors) {
    if (SameText(text, named.name)) return named.value;
  }
  int base = 10;
  if (!text.empty() && text[0] == L'$') {
    base = 16;
    text.remove_prefix(1);
    if (text.size() > 8) return std::nullopt;
  }
  bool negative = false;
  if (base == 10 && !text.empty() && text[0] == L'-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::string narrow;
  for (const wchar_t c : text) {
    if (c > 0x7F) return std::nullopt;
    narrow.push_back(static_cast<char>(c));
  }
  unsigned long long value = 0;
  const char* end = narrow.data() + narrow.size();
  const auto result = std::from_chars(narrow.data(), end, value, base);
  if (result.ec != std::errc() || result.ptr != end || value > 0xFFFFFFFFull) return std::nullopt;
  // A negative decimal is how a system colour reads as a signed number.
  if (negative) {
    if (value > 0x80000000ull) return std::nullopt;
    return static_cast<TColor>(0x100000000ull - value);
  }
  return static_cast<TColor>(value);
}

}  // namespace kelvara
