#include "config/MemIniFile.h"

#include <charconv>
#include <limits>
#include <utility>

#include "platform/Platform.h"
#include "platform/Text.h"

namespace kelvara {

namespace detail {

std::size_t TextHash::operator()(std::wstring_view text) const noexcept {
  // FNV-1a over the upper-cased code units; ASCII, nearly every key, is
  // upper-cased in line.
  std::uint64_t hash = 14695981039346656037ull;
  for (const wchar_t c : text) {
    const wchar_t upper = c < 0x80 ? (c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c) : UpperChar(c);
    hash ^= static_cast<std::uint64_t>(upper);
    hash *= 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

bool TextEqual::operator()(std::wstring_view a, std::wstring_view b) const noexcept { return SameText(a, b); }

}  // namespace detail

namespace {

// Trim without a copy: drops blanks and control characters at both ends.
std::wstring_view TrimmedView(std::wstring_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<std::uint32_t>(text[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<std::uint32_t>(text[end - 1]) <= 0x20) --end;
  return text.substr(begin, end - begin);
}

std::wstring WithoutLineBreaks(std::wstring_view text) {
  std::wstring result(text);
  for (wchar_t& c : result) {
    if (c == L'\r' || c == L'\n') c = L' ';
  }
  return result;
}

std::optional<int> ParseInteger(std::wstring_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == L'-' || text[0] == L'+')) {
    negative = text[0] == L'-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text[0] == L'$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 1 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 24) return std::nullopt;
  std::string narrow;
  for (const wchar_t c : text) {
    if (c > 0x7F || c == L'-' || c == L'+') return std::nullopt;
    narrow.push_back(static_cast<char>(c));
  }
  long long value = 0;
  const char* end = narrow.data() + narrow.size();
  const auto result = std::from_chars(narrow.data(), end, value, base);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  if (negative) value = -value;
  if (base == 16 && value > std::numeric_limits<int>::max() && value <= 0xFFFFFFFFll) {
    // "$FFFFFFFF" is how a negative 32-bit number is written in hexadecimal.
    value -= 0x100000000ll;
  }
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(value);
}

bool Representable(const std::wstring& text, TextEncoding encoding) {
  if (encoding != TextEncoding::Ansi) return true;
  const std::string ansi = ToAnsi(text);
  return FromAnsi(ansi) == text;
}

}  // namespace

TMemIniFile::TMemIniFile(std::wstring fileName, TextEncoding encoding)
    : fileName_(std::move(fileName)), encoding_(encoding) {}

TMemIniFile TMemIniFile::Load(const std::wstring& fileName, TextEncoding defaultEncoding) {
  TMemIniFile ini(fileName, defaultEncoding == TextEncoding::Utf16Le ? TextEncoding::Utf16LeBom : defaultEncoding);
  auto& files = platform::HostFiles();
  if (!files.FileExists(fileName)) return ini;
  std::vector<std::uint8_t> bytes;
  platform::HostFileError error;
  if (!files.ReadFile(fileName, bytes, error)) {
    ini.loadError_ = error.message.empty() ? L"cannot read " + fileName : error.message;
    return ini;
  }
  DecodedText decoded = DecodeText(bytes, defaultEncoding);
  bytes = {};
  ini.encoding_ = decoded.encoding;
  ini.SetText(decoded.text);
  return ini;
}

void TMemIniFile::SetText(std::wstring_view text) {
  Clear();
  Section* current = nullptr;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", pos);
    if (end == std::wstring_view::npos) end = text.size();
    const std::wstring_view line = TrimmedView(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == L'\r') ++pos;
    if (pos < text.size() && text[pos] == L'\n') ++pos;

    if (line.empty() || line[0] == L';') continue;
    if (line.front() == L'[' && line.back() == L']' && line.size() >= 2) {
      current = &AddSection(TrimmedView(line.substr(1, line.size() - 2)));
      continue;
    }
    if (current == nullptr) continue;
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos) {
      AddEntry(*current, std::wstring(line), {});
    } else {
      AddEntry(*current, std::wstring(TrimmedView(line.substr(0, equals))),
               std::wstring(TrimmedView(line.substr(equals + 1))));
    }
  }
}

std::wstring TMemIniFile::Text() const {
  std::wstring text;
  for (const Section& section : sections_) {
    text += L'[';
    text += section.name;
    text += L"]\r\n";
    for (const TIniEntry& entry : section.entries) {
      text += entry.key;
      text += L'=';
      text += entry.value;
      text += L"\r\n";
    }
    text += L"\r\n";
  }
  return text;
}

const TMemIniFile::Section* TMemIniFile::FindSection(std::wstring_view section) const {
  const auto it = sectionIndex_.find(section);
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

TMemIniFile::Section& TMemIniFile::AddSection(std::wstring_view section) {
  const auto it = sectionIndex_.find(section);
  if (it != sectionIndex_.end()) return sections_[it->second];
  sections_.push_back(Section{std::wstring(section), {}, {}});
  sectionIndex_.emplace(std::wstring(section), sections_.size() - 1);
  return sections_.back();
}

void TMemIniFile::AddEntry(Section& section, std::wstring key, std::wstring value) {
  if (section.index.contains(key)) return;
  section.index.emplace(key, section.entries.size());
  section.entries.push_back(TIniEntry{std::move(key), std::move(value)});
}

void TMemIniFile::RebuildSectionIndex() {
  sectionIndex_.clear();
  for (std::size_t i = 0; i < sections_.size(); ++i) sectionIndex_.emplace(sections_[i].name, i);
}

bool TMemIniFile::SectionExists(std::wstring_view section) const { return FindSection(section) != nullptr; }

bool TMemIniFile::ValueExists(std::wstring_view section, std::wstring_view key) const {
  return Find(section, key) != nullptr;
}

const std::wstring* TMemIniFile::Find(std::wstring_view section, std::wstring_view key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return nullptr;
  const auto it = s->index.find(key);
  return it == s->index.end() ? nullptr : &s->entries[it->second].value;
}

std::vector<std::wstring> TMemIniFile::ReadSections() const {
  std::vector<std::wstring> names;
  names.reserve(sections_.size());
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

std::vector<std::wstring> TMemIniFile::ReadSection(std::wstring_view section) const {
  std::vector<std::wstring> keys;
  if (const Section* s = FindSection(section)) {
    keys.reserve(s->entries.size());
    for (const TIniEntry& entry : s->entries) keys.push_back(entry.key);
  }
  return keys;
}

std::vector<TIniEntry> TMemIniFile::ReadSectionValues(std::wstring_view section) const {
  const Section* s = FindSection(section);
  return s == nullptr ? std::vector<TIniEntry>{} : s->entries;
}

std::wstring TMemIniFile::ReadString(std::wstring_view section, std::wstring_view key,
                                     std::wstring_view defaultValue) const {
  const std::wstring* value = Find(section, key);
  return value != nullptr ? *value : std::wstring(defaultValue);
}

int TMemIniFile::ReadInteger(std::wstring_view section, std::wstring_view key, int defaultValue) const {
  const std::wstring* value = Find(section, key);
  if (value == nullptr) return defaultValue;
  return ParseInteger(*value).value_or(defaultValue);
}

bool TMemIniFile::ReadBool(std::wstring_view section, std::wstring_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double TMemIniFile::ReadFloat(std::wstring_view section, std::wstring_view key, double defaultValue) const {
  const std::wstring* value = Find(section, key);
  if (value == nullptr) return defaultValue;
  return TextToFloat(*value, platform::System().DecimalSeparator()).value_or(defaultValue);
}

TDateTime TMemIniFile::ReadFloatDate(std::wstring_view section, std::wstring_view key, TDateTime defaultValue) const {
  const std::wstring* value = Find(section, key);
  if (value == nullptr) return defaultValue;
  if (const auto number = TextToFloat(*value, platform::System().DecimalSeparator())) return *number;
  return ParseDateText(*value).value_or(defaultValue);
}

TDateTime TMemIniFile::ReadDateText(std::wstring_view section, std::wstring_view key, TDateTime defaultValue) const {
  const std::wstring* value = Find(section, key);
  if (value == nullptr) return defaultValue;
  return ParseDateText(*value).value_or(defaultValue);
}

TColor TMemIniFile::ReadColor(std::wstring_view section, std::wstring_view key, TColor defaultValue) const {
  const std::wstring* value = Find(section, key);
  if (value == nullptr) return defaultValue;
  return TextToColor(*value).value_or(defaultValue);
}

void TMemIniFile::WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  Section& s = AddSection(WithoutLineBreaks(section));
  const std::wstring cleanKey = WithoutLineBreaks(key);
  const auto it = s.index.find(cleanKey);
  if (it != s.index.end()) {
    s.entries[it->second].value = WithoutLineBreaks(value);
  } else {
    AddEntry(s, cleanKey, WithoutLineBreaks(value));
  }
}

void TMemIniFile::WriteInteger(std::wstring_view section, std::wstring_view key, int value) {
  WriteString(section, key, std::to_wstring(value));
}

void TMemIniFile::WriteBool(std::wstring_view section, std::wstring_view key, bool value) {
  WriteString(section, key, value ? L"1" : L"0");
}

void TMemIniFile::WriteFloat(std::wstring_view section, std::wstring_view key, double value) {
  WriteString(section, key, FloatToText(value, platform::System().DecimalSeparator()));
}

void TMemIniFile::WriteFloatDate(std::wstring_view section, std::wstring_view key, TDateTime value) {
  WriteFloat(section, key, value);
}

void TMemIniFile::WriteDateText(std::wstring_view section, std::wstring_view key, TDateTime value) {
  WriteString(section, key, FormatDateText(value));
}

void TMemIniFile::WriteColor(std::wstring_view section, std::wstring_view key, TColor value) {
  WriteString(section, key, ColorToText(value));
}

void TMemIniFile::EraseSection(std::wstring_view section) {
  const auto it = sectionIndex_.find(section);
  if (it == sectionIndex_.end()) return;
  sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
  RebuildSectionIndex();
}

void TMemIniFile::DeleteKey(std::wstring_view section, std::wstring_view key) {
  const auto sit = sectionIndex_.find(section);
  if (sit == sectionIndex_.end()) return;
  Section& s = sections_[sit->second];
  const auto kit = s.index.find(key);
  if (kit == s.index.end()) return;
  const std::size_t removed = kit->second;
  s.entries.erase(s.entries.begin() + static_cast<std::ptrdiff_t>(removed));
  s.index.erase(kit);
  for (auto& [name, position] : s.index) {
    if (position > removed) --position;
  }
}

void TMemIniFile::Clear() {
  sections_.clear();
  sectionIndex_.clear();
}

bool TMemIniFile::UpdateFile(platform::HostFileError& error) {
  error = {};
  if (!loadError_.empty()) {
    error.failed = true;
    error.message = fileName_ + L" was not saved, as it could not be read when the program started (" + loadError_ +
                    L"); saving would replace its settings.";
    return false;
  }
  const std::wstring text = Text();
  // A new file is written in the ANSI code page unless that would lose
  // characters; the wider encoding is then kept for later saves.
  if (!Representable(text, encoding_)) encoding_ = TextEncoding::Utf16LeBom;
  return platform::HostFiles().WriteFileAtomic(fileName_, EncodeText(text, encoding_), error);
}

}  // namespace kelvara
