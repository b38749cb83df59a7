#include "synthetic/RegExportWriter.h"

namespace kelvara::bench {
namespace {

constexpr std::size_t kFlushBytes = 1 << 20;
// regedit wraps hex data so that no line is longer than this.
constexpr std::size_t kHexColumns = 80;

constexpr wchar_t kHexDigits[] = L"0123456789abcdef";

// The hash of a key path, case-insensitive for the ASCII letters (the
// generator never writes two names that differ only in other letters).
std::uint64_t PathHash(std::wstring_view path) {
  std::uint64_t h = 0xCBF29CE484222325ULL;
  for (wchar_t c : path) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    h = (h ^ static_cast<std::uint64_t>(c)) * 0x100000001B3ULL;
  }
  return h;
}

std::vector<std::uint8_t> Utf16Z(std::wstring_view text) {
  std::vector<std::uint8_t> out;
  out.reserve(text.size() * 2 + 2);
  const auto unit = [&out](std::uint32_t u) {
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
  };
  for (const wchar_t c : text) {
    const auto cp = static_cast<std::uint32_t>(c);
    if (cp >= 0x10000) {
      unit(0xD800 + ((cp - 0x10000) >> 10));
      unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      unit(cp);
    }
  }
  unit(0);
  return out;
}

}  // namespace

RegExportWriter::RegExportWriter(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
  buffer_.reserve(kFlushBytes + 4096);
  buffer_ = {0xFF, 0xFE};
  Text(L"Windows Registry Editor Version 5.00");
  EndLine();
  written_.reserve(1 << 20);
}

RegExportWriter::~RegExportWriter() { Close(); }

bool RegExportWriter::Close() {
  if (!file_) return false;
  EndLine();
  Flush();
  const bool closed = std::fclose(file_.release()) == 0;
  return closed && !failed_;
}

void RegExportWriter::Flush() {
  if (!file_ || buffer_.empty()) return;
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_.get()) != buffer_.size()) failed_ = true;
  bytes_ += buffer_.size();
  buffer_.clear();
}

void RegExportWriter::Text(std::wstring_view text) {
  for (const wchar_t c : text) {
    const auto cp = static_cast<std::uint32_t>(c);
    if (cp >= 0x10000) {
      const std::uint32_t high = 0xD800 + ((cp - 0x10000) >> 10);
      const std::uint32_t low = 0xDC00 + ((cp - 0x10000) & 0x3FF);
      buffer_.insert(buffer_.end(), {static_cast<std::uint8_t>(high & 0xFF), static_cast<std::uint8_t>(high >> 8),
                                     static_cast<std::uint8_t>(low & 0xFF), static_cast<std::uint8_t>(low >> 8)});
    } else {
      buffer_.push_back(static_cast<std::uint8_t>(cp & 0xFF));
      buffer_.push_back(static_cast<std::uint8_t>(cp >> 8));
    }
  }
  column_ += text.size();
}

void RegExportWriter::EndLine() {
  buffer_.insert(buffer_.end(), {'\r', 0, '\n', 0});
  column_ = 0;
  if (buffer_.size() >= kFlushBytes) Flush();
}

void RegExportWriter::KeyLine(std::wstring_view path) {
  EndLine();
  Text(L"[");
  Text(path);
  Text(L"]");
  EndLine();
}

bool RegExportWriter::Key(std::wstring_view path) {
  // The parents first, from the root down; a root alone is no key.
  std::size_t cut = path.find(L'\\');
  while (cut != std::wstring_view::npos) {
    const std::wstring_view parent = path.substr(0, cut);
    if (parent.find(L'\\') != std::wstring_view::npos && written_.insert(PathHash(parent)).second) {
      KeyLine(parent);
      ++keys_;
    }
    cut = path.find(L'\\', cut + 1);
  }
  const bool fresh = written_.insert(PathHash(path)).second;
  KeyLine(path);
  if (fresh) ++keys_;
  return fresh;
}

void RegExportWriter::Quoted(std::wstring_view text) {
  Text(L"\"");
  std::size_t from = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\\' && text[i] != L'"') continue;
    Text(text.substr(from, i - from));
    Text(text[i] == L'\\' ? L"\\\\" : L"\\\"");
    from = i + 1;
  }
  Text(text.substr(from));
  Text(L"\"");
}

void RegExportWriter::Name(std::wstring_view name) {
  ++values_;
  if (name.empty()) {
    Text(L"@=");
  } else {
    Quoted(name);
    Text(L"=");
  }
}

void RegExportWriter::String(std::wstring_view name, std::wstring_view text) {
  Name(name);
  Quoted(text);
  EndLine();
}

void RegExportWriter::Hex(std::wstring_view name, std::uint32_t type, std::span<const std::uint8_t> bytes) {
  Name(name);
  if (type == 3) {
    Text(L"hex:");
  } else {
    Text(L"hex(");
    const wchar_t digit[2] = {kHexDigits[type & 0xF], 0};
    if (type >= 16) Text(std::wstring_view(&kHexDigits[(type >> 4) & 0xF], 1));
    Text(digit);
    Text(L"):");
  }
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const wchar_t pair[2] = {kHexDigits[bytes[i] >> 4], kHexDigits[bytes[i] & 0xF]};
    Text(std::wstring_view(pair, 2));
    if (i + 1 == bytes.size()) break;
    Text(L",");
    if (column_ + 4 > kHexColumns - 2) {
      Text(L"\\");
      EndLine();
      Text(L"  ");
    }
  }
  EndLine();
}

void RegExportWriter::ExpandString(std::wstring_view name, std::wstring_view text) { Hex(name, 2, Utf16Z(text)); }

void RegExportWriter::MultiString(std::wstring_view name, const std::vector<std::wstring>& texts) {
  std::vector<std::uint8_t> bytes;
  for (const std::wstring& text : texts) {
    const std::vector<std::uint8_t> one = Utf16Z(text);
    bytes.insert(bytes.end(), one.begin(), one.end());
  }
  bytes.insert(bytes.end(), {0, 0});
  Hex(name, 7, bytes);
}

void RegExportWriter::Dword(std::wstring_view name, std::uint32_t value) {
  Name(name);
  wchar_t digits[9] = {};
  for (int i = 0; i < 8; ++i) digits[i] = kHexDigits[(value >> (28 - 4 * i)) & 0xF];
  Text(L"dword:");
  Text(std::wstring_view(digits, 8));
  EndLine();
}

void RegExportWriter::Qword(std::wstring_view name, std::uint64_t value) {
  std::uint8_t bytes[8];
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  Hex(name, 11, bytes);
}

void RegExportWriter::Binary(std::wstring_view name, std::span<const std::uint8_t> bytes) { Hex(name, 3, bytes); }

void RegExportWriter::None(std::wstring_view name) { Hex(name, 0, {}); }

}  // namespace kelvara::bench
