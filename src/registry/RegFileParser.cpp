#include "registry/RegFileParser.h"

#include <array>
#include <vector>

#include "platform/Text.h"
#include "registry/RegFileText.h"

namespace kelvara {

using platform::HKey;

namespace {

constexpr std::wstring_view kHeader5 = L"Windows Registry Editor Version 5.00";
constexpr std::wstring_view kHeader4 = L"REGEDIT4";

struct RootEntry {
  std::wstring_view name;
  HKey root;
};

constexpr std::array<RootEntry, 12> kRoots = {{
    {L"HKEY_LOCAL_MACHINE", platform::kHkeyLocalMachine},
    {L"HKEY_USERS", platform::kHkeyUsers},
    {L"HKEY_CURRENT_USER", platform::kHkeyCurrentUser},
    {L"HKEY_CLASSES_ROOT", platform::kHkeyClassesRoot},
    {L"HKEY_CURRENT_CONFIG", platform::kHkeyCurrentConfig},
    {L"HKEY_PERFORMANCE_DATA", platform::kHkeyPerformanceData},
    {L"HKEY_DYN_DATA", platform::kHkeyDynData},
    {L"HKLM", platform::kHkeyLocalMachine},
    {L"HKU", platform::kHkeyUsers},
    {L"HKCU", platform::kHkeyCurrentUser},
    {L"HKCR", platform::kHkeyClassesRoot},
    {L"HKCC", platform::kHkeyCurrentConfig},
}};

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// A short quotation of offending text for a message.
std::wstring Quote(std::wstring_view text) {
  constexpr std::size_t kMax = 40;
  return L"\"" + std::wstring(text.substr(0, kMax)) + (text.size() > kMax ? L"...\"" : L"\"");
}

// A position in one line.
struct Cursor {
  std::wstring_view text;
  std::size_t at = 0;

  [[nodiscard]] bool AtEnd() const noexcept { return at >= text.size(); }
  [[nodiscard]] wchar_t Peek() const noexcept { return AtEnd() ? L'\0' : text[at]; }
  [[nodiscard]] std::wstring_view Rest() const noexcept { return text.substr(std::min(at, text.size())); }
  void SkipBlanks() noexcept {
    while (!AtEnd() && IsBlank(text[at])) ++at;
  }
  // Nothing but blanks or a comment up to the end of the line.
  [[nodiscard]] bool OnlyTrailer() noexcept {
    SkipBlanks();
    return AtEnd() || text[at] == L';';
  }
  // Hexadecimal digits, at most `limit` + 1 of them, so that a number with
  // too many digits shows as one; the count read.
  std::size_t HexNumber(std::uint64_t& value, std::size_t limit) noexcept {
    value = 0;
    std::size_t digits = 0;
    for (int d = HexDigit(Peek()); d >= 0 && digits <= limit; d = HexDigit(Peek())) {
      value = value * 16 + static_cast<std::uint64_t>(d);
      ++at;
      ++digits;
    }
    return digits;
  }
  bool Take(std::wstring_view word) noexcept {
    if (!StartsWithText(Rest(), word)) return false;
    at += word.size();
    return true;
  }
};

class Parser {
 public:
  Parser(RegFileSink& sink, RegSyntaxError& error) : sink_(sink), error_(error) {}

  bool Header(std::wstring_view line) {
    const std::wstring header = Trim(line);
    if (header == kHeader5) return true;
    if (header == kHeader4) {
      regedit4_ = true;
      return true;
    }
    return Fail(L"the first line must be \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
  }

  bool Line(std::wstring_view line, std::size_t number) {
    line_ = number;
    Cursor c{line};
    c.SkipBlanks();
    if (continuing_) {
      // A blank or comment line ends continued data, as a data line
      // without a final "\" does.
      if (c.OnlyTrailer()) return EndHexValue();
      return HexBytes(c);
    }
    if (c.OnlyTrailer() || c.Peek() == L'#') return true;
    switch (c.Peek()) {
      case L'[':
        return KeyLine(c);
      case L'@':
      case L'"':
        return ValueLine(c);
      default:
        return Fail(L"the line is neither a key, a value nor a comment: " + Quote(c.Rest()));
    }
  }

  bool Finish() {
    if (!continuing_) return true;
    return Fail(L"the file ends inside hex data continued with \"\\\"");
  }

 private:
  enum class KeyState { None, Open, Deleted };

  bool Fail(std::wstring what) {
    error_.line = line_;
    error_.what = std::move(what);
    return false;
  }

  bool KeyLine(Cursor& c) {
    const std::wstring_view rest = c.Rest();
    const std::size_t close = rest.rfind(L']');
    if (close == std::wstring_view::npos) return Fail(L"the key line has no closing \"]\"");
    Cursor after{rest, close + 1};
    if (!after.OnlyTrailer()) return Fail(L"unexpected text after the key line: " + Quote(after.Rest()));
    std::wstring_view full = rest.substr(1, close - 1);
    const bool deletion = !full.empty() && full.front() == L'-';
    if (deletion) full.remove_prefix(1);
    const std::size_t slash = full.find(L'\\');
    const std::wstring_view rootName = full.substr(0, slash);
    std::wstring_view path = slash == std::wstring_view::npos ? std::wstring_view() : full.substr(slash + 1);
    if (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
    HKey root = 0;
    for (const RootEntry& entry : kRoots) {
      if (SameText(rootName, entry.name)) root = entry.root;
    }
    if (root == 0) return Fail(L"unknown root key " + Quote(rootName));
    if (!path.empty() &&
        (path.front() == L'\\' || path.back() == L'\\' || path.find(L"\\\\") != std::wstring_view::npos)) {
      return Fail(L"the key path has an empty part: " + Quote(full));
    }
    if (deletion) {
      if (path.empty()) return Fail(L"a root key cannot be deleted: " + Quote(full));
      keyState_ = KeyState::Deleted;
      sink_.DeleteKey(line_, root, path);
    } else {
      keyState_ = KeyState::Open;
      sink_.BeginKey(line_, root, path);
    }
    return true;
  }

  // Reads a quoted text; the cursor stands on the opening quote and ends
  // after the closing one. False when there is none.
  static bool ReadQuoted(Cursor& c, std::wstring& out) {
    out.clear();
    ++c.at;
    while (!c.AtEnd()) {
      const wchar_t ch = c.text[c.at++];
      if (ch == L'"') return true;
      if (ch == L'\\' && !c.AtEnd()) {
        switch (c.text[c.at]) {
          case L'\\':
            out.push_back(L'\\');
            ++c.at;
            continue;
          case L'"':
            out.push_back(L'"');
            ++c.at;
            continue;
          case L'n':
            out.push_back(L'\n');
            ++c.at;
            continue;
          case L'r':
            out.push_back(L'\r');
            ++c.at;
            continue;
          default:
            break;
        }
      }
      out.push_back(ch);
    }
    return false;
  }

  bool ValueLine(Cursor& c) {
    valueLine_ = line_;
    if (c.Peek() == L'@') {
      name_.clear();
      ++c.at;
    } else if (!ReadQuoted(c, name_)) {
      return Fail(L"the value name has no closing quote: " + Quote(c.text));
    }
    if (keyState_ == KeyState::None) return Fail(L"a value line before any key line");
    c.SkipBlanks();
    if (c.Peek() != L'=') return Fail(L"\"=\" is missing after the value name");
    ++c.at;
    c.SkipBlanks();
    if (c.AtEnd()) return Fail(L"the data of the value is missing");
    if (c.Peek() == L'-') {
      ++c.at;
      if (!c.OnlyTrailer()) return Fail(L"unexpected text after the value data: " + Quote(c.Rest()));
      if (keyState_ == KeyState::Open) sink_.DeleteValue(line_, name_);
      return true;
    }
    if (c.Peek() == L'"') return StringData(c);
    if (c.Take(L"dword:")) return DwordData(c);
    if (c.Take(L"hex:")) return BeginHex(c, platform::kRegBinary);
    if (c.Take(L"hex(")) {
      std::uint64_t type = 0;
      const std::size_t digits = c.HexNumber(type, 8);
      if (digits == 0 || digits > 8 || !c.Take(L"):")) {
        return Fail(L"the type of \"hex(N):\" must be 1 to 8 hexadecimal digits: " + Quote(c.Rest()));
      }
      return BeginHex(c, static_cast<std::uint32_t>(type));
    }
    return Fail(L"unknown kind of value data: " + Quote(c.Rest()));
  }

  bool StringData(Cursor& c) {
    if (!ReadQuoted(c, text_)) return Fail(L"the string has no closing quote");
    if (!c.OnlyTrailer()) return Fail(L"unexpected text after the value data: " + Quote(c.Rest()));
    if (keyState_ == KeyState::Open) {
      const std::vector<std::uint8_t> data = ToUtf16LeBytes(text_, true);
      sink_.SetValue(valueLine_, name_, platform::kRegSz, data);
    }
    return true;
  }

  bool DwordData(Cursor& c) {
    std::uint64_t value = 0;
    const std::size_t digits = c.HexNumber(value, 8);
    if (digits == 0 || digits > 8) return Fail(L"\"dword:\" needs 1 to 8 hexadecimal digits");
    if (!c.OnlyTrailer()) return Fail(L"unexpected text after the value data: " + Quote(c.Rest()));
    if (keyState_ == KeyState::Open) {
      const std::uint8_t data[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                    static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
      sink_.SetValue(valueLine_, name_, platform::kRegDword, data);
    }
    return true;
  }

  bool BeginHex(Cursor& c, std::uint32_t type) {
    hexType_ = type;
    data_.clear();
    return HexBytes(c);
  }

  // Bytes "xx,xx,..." up to the end of the line; a final "\" continues
  // them on the next line.
  bool HexBytes(Cursor& c) {
    for (;;) {
      c.SkipBlanks();
      if (c.AtEnd() || c.Peek() == L';') return EndHexValue();
      if (c.Peek() == L'\\') {
        ++c.at;
        if (!c.OnlyTrailer()) return Fail(L"unexpected text after \"\\\" in hex data: " + Quote(c.Rest()));
        continuing_ = true;
        return true;
      }
      const std::size_t start = c.at;
      std::uint64_t byte = 0;
      const std::size_t digits = c.HexNumber(byte, 2);
      if (digits == 0 || digits > 2) {
        return Fail(L"hex data must be bytes of two hexadecimal digits separated by \",\": " +
                    Quote(c.text.substr(start)));
      }
      data_.push_back(static_cast<std::uint8_t>(byte));
      c.SkipBlanks();
      if (c.Peek() == L',') {
        ++c.at;
      } else if (!c.AtEnd() && c.Peek() != L'\\' && c.Peek() != L';') {
        return Fail(L"hex data must be bytes of two hexadecimal digits separated by \",\": " +
                    Quote(c.text.substr(start)));
      }
    }
  }

  bool EndHexValue() {
    continuing_ = false;
    if (keyState_ != KeyState::Open) return true;
    const bool ansiText =
        hexType_ == platform::kRegSz || hexType_ == platform::kRegExpandSz || hexType_ == platform::kRegMultiSz;
    if (regedit4_ && ansiText) {
      const std::wstring text = FromAnsi(std::string_view(reinterpret_cast<const char*>(data_.data()), data_.size()));
      const std::vector<std::uint8_t> data = ToUtf16LeBytes(text, false);
      sink_.SetValue(valueLine_, name_, hexType_, data);
    } else {
      sink_.SetValue(valueLine_, name_, hexType_, data_);
    }
    return true;
  }

  RegFileSink& sink_;
  RegSyntaxError& error_;
  bool regedit4_ = false;
  KeyState keyState_ = KeyState::None;
  std::size_t line_ = 0;
  std::size_t valueLine_ = 0;
  bool continuing_ = false;
  std::uint32_t hexType_ = 0;
  std::wstring name_;
  std::wstring text_;
  std::vector<std::uint8_t> data_;
};

}  // namespace

bool ParseRegFile(std::span<const std::uint8_t> bytes, RegFileSink& sink, RegSyntaxError& error) {
  error = RegSyntaxError{};
  RegTextLines lines(bytes, DetectRegFileLayout(bytes));
  Parser parser(sink, error);
  std::wstring_view line;
  if (!lines.Next(line)) {
    error = {1, L"the file is empty"};
    return false;
  }
  if (!parser.Header(line)) {
    error.line = 1;
    return false;
  }
  while (lines.Next(line)) {
    if (!parser.Line(line, lines.LineNumber())) return false;
  }
  return parser.Finish();
}

}  // namespace kelvara
