#include "config/ExclusionFile.h"

#include <algorithm>
#include <unordered_set>

#include "platform/Platform.h"
#include "platform/Text.h"

namespace kelvara {
namespace {

constexpr std::wstring_view kPlaceholderPrefix = L"#KelvaraPattern";

bool NeedsPercent(wchar_t c) { return c <= 0x20 || c == L'%' || c == L'"' || c == L'\'' || c == 0x7F; }

std::wstring PercentEncode(std::wstring_view pattern) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out;
  out.reserve(pattern.size());
  for (const wchar_t c : pattern) {
    if (NeedsPercent(c)) {
      out += L'%';
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

std::wstring PercentDecode(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<wchar_t>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool HasControlCharacter(std::wstring_view text) {
  return std::ranges::any_of(text, [](wchar_t c) { return c < 0x20 || c == 0x7F; });
}

// The pattern reads back unchanged as a key of its own.
bool FitsAsKey(const std::wstring& pattern) {
  return pattern.find(L'=') == std::wstring::npos && pattern.front() != L';' && pattern.front() != L'[' &&
         Trim(pattern) == pattern && !HasControlCharacter(pattern) && !StartsWithText(pattern, kPlaceholderPrefix);
}

}  // namespace

std::vector<TIniEntry> EncodeExclusions(const std::vector<std::wstring>& patterns) {
  std::vector<TIniEntry> entries;
  entries.reserve(patterns.size());
  std::unordered_set<std::wstring, detail::TextHash, detail::TextEqual> plainKeys;
  int placeholders = 0;
  for (const std::wstring& pattern : patterns) {
    if (pattern.empty()) continue;
    if (FitsAsKey(pattern) && plainKeys.insert(pattern).second) {
      entries.push_back({pattern, {}});
    } else {
      entries.push_back({std::wstring(kPlaceholderPrefix) + std::to_wstring(++placeholders), PercentEncode(pattern)});
    }
  }
  return entries;
}

std::vector<std::wstring> DecodeExclusions(const std::vector<TIniEntry>& entries) {
  std::vector<std::wstring> patterns;
  patterns.reserve(entries.size());
  for (const TIniEntry& entry : entries) {
    if (!entry.value.empty() && StartsWithText(entry.key, kPlaceholderPrefix)) {
      patterns.push_back(PercentDecode(entry.value));
    } else if (!entry.key.empty()) {
      patterns.push_back(entry.key);
    }
  }
  return patterns;
}

void ReadExclusionFile(TConfig& config) {
  const std::wstring fileName = config.DataPath + kExclusionFileName;
  if (!platform::HostFiles().FileExists(fileName)) return;
  const TMemIniFile file = TMemIniFile::Load(fileName);
  config.ExList = DecodeExclusions(file.ReadSectionValues(kExclusionSection));
}

bool WriteExclusionFile(const TConfig& config, platform::HostFileError& error) {
  const std::wstring fileName = config.DataPath + kExclusionFileName;
  const TMemIniFile previous = TMemIniFile::Load(fileName);
  if (!previous.LoadError().empty()) {
    error.failed = true;
    error.message = fileName + L" was not replaced, as it could not be read (" + previous.LoadError() +
                    L"); replacing it would lose its exclusions.";
    return false;
  }
  TMemIniFile file(fileName, previous.Encoding());
  for (const TIniEntry& entry : EncodeExclusions(config.ExList)) {
    file.WriteString(kExclusionSection, entry.key, entry.value);
  }
  return file.UpdateFile(error);
}

}  // namespace kelvara
