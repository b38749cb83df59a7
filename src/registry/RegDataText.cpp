#include "registry/RegDataText.h"

namespace kelvara {
namespace {

constexpr wchar_t kUpperHex[] = L"0123456789ABCDEF";
constexpr wchar_t kLowerHex[] = L"0123456789abcdef";

void AppendHex(std::wstring& out, std::uint64_t value, int minDigits, const wchar_t* digits) {
  wchar_t buffer[16];
  int n = 0;
  do {
    buffer[n++] = digits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  while (n < minDigits) buffer[n++] = L'0';
  while (n > 0) out.push_back(buffer[--n]);
}

}  // namespace

std::wstring HexBytes(std::span<const std::uint8_t> data) {
  std::wstring out;
  if (data.empty()) return out;
  out.reserve(data.size() * 3);
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i != 0) out.push_back(L',');
    out.push_back(kUpperHex[data[i] >> 4]);
    out.push_back(kUpperHex[data[i] & 0xF]);
  }
  return out;
}

std::wstring HexForm(std::uint32_t type, std::span<const std::uint8_t> data) {
  std::wstring out = L"hex(";
  AppendHex(out, type, 1, kLowerHex);
  out += L"):";
  out += HexBytes(data);
  return out;
}

std::wstring DwordForm(std::uint32_t value) {
  std::wstring out = L"dword:";
  AppendHex(out, value, 8, kUpperHex);
  return out;
}

}  // namespace kelvara
