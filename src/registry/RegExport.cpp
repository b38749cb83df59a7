#include "registry/RegExport.h"

#include <algorithm>
#include <optional>

#include "platform/Platform.h"
#include "platform/Text.h"
#include "registry/NefoRegistry.h"
#include "registry/RegDataText.h"
#include "registry/RegFun.h"
#include "registry/RegPaths.h"

namespace kelvara {

using platform::HKey;

namespace {

constexpr wchar_t kHeader[] = L"Windows Registry Editor Version 5.00";

// The export in progress: the file's bytes so far (UTF-16LE, BOM, header).
class ExportText {
 public:
  ExportText() {
    bytes_ = {0xFF, 0xFE};
    Line(kHeader);
  }
  void Line(std::wstring_view text) {
    const std::vector<std::uint8_t> units = ToUtf16LeBytes(text, false);
    bytes_.insert(bytes_.end(), units.begin(), units.end());
    bytes_.insert(bytes_.end(), {'\r', 0, '\n', 0});
  }
  [[nodiscard]] const std::vector<std::uint8_t>& Bytes() const noexcept { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// The process-wide export accumulator; empty when no export is in progress.
std::optional<ExportText>& Accumulator() {
  static std::optional<ExportText> accumulator;
  return accumulator;
}

// Backslash and double quote escaped; CR and LF as \r and \n so that a
// name never breaks the line structure.
std::wstring Quoted(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size() + 2);
  out.push_back(L'"');
  for (const wchar_t c : text) {
    switch (c) {
      case L'\\':
        out += L"\\\\";
        break;
      case L'"':
        out += L"\\\"";
        break;
      case L'\r':
        out += L"\\r";
        break;
      case L'\n':
        out += L"\\n";
        break;
      default:
        out.push_back(c);
    }
  }
  out.push_back(L'"');
  return out;
}

// The text of REG_SZ data that is exactly characters and one terminating
// NUL and has no line break; nullopt for anything a quoted string cannot
// restore byte for byte.
std::optional<std::wstring> PlainStringText(const std::vector<std::uint8_t>& data) {
  const std::size_t n = data.size();
  if (n < 2 || n % 2 != 0 || data[n - 2] != 0 || data[n - 1] != 0) return std::nullopt;
  std::wstring text = FromUtf16LeBytes(data.data(), n - 2);
  if (text.find_first_of(std::wstring_view(L"\0\r\n", 3)) != std::wstring::npos) return std::nullopt;
  return text;
}

// The data part of a value line; nullopt when the value does not exist.
std::optional<std::wstring> ValueData(TNefoRegistry& reg, const std::wstring& name) {
  TRegDataInfoEx info;
  if (!reg.GetDataInfo(name, info)) return std::nullopt;
  if (info.RegData != platform::kRegSz) return reg.GetDataAsString(name, true);
  std::vector<std::uint8_t> data(info.DataSize);
  data.resize(static_cast<std::size_t>(std::max(0, reg.ReadBinaryData(name, data))));
  if (const auto text = PlainStringText(data)) return Quoted(*text);
  return HexForm(platform::kRegSz, data);
}

void AddKey(TNefoRegistry& reg, HKey root, const std::wstring& keyPath, const std::vector<std::wstring>* valueNames,
            ExportText& out) {
  out.Line(L"");
  out.Line(L"[" + RootKeyLongName(root) + L"\\" + keyPath + L"]");
  reg.SetAccess(GetRegAccess(keyPath, true, true));
  std::vector<std::wstring> subKeys;
  if (reg.OpenKeyReadOnly(keyPath)) {
    std::vector<std::wstring> ownNames;
    if (valueNames == nullptr) {
      reg.GetValueNames(ownNames);
      reg.GetKeyNames(subKeys);
    }
    for (const std::wstring& name : valueNames != nullptr ? *valueNames : ownNames) {
      if (const auto data = ValueData(reg, name)) out.Line((name.empty() ? L"@" : Quoted(name)) + L"=" + *data);
    }
    reg.CloseKey();
  }
  for (const std::wstring& name : subKeys) AddKey(reg, root, keyPath + L"\\" + name, nullptr, out);
}

bool SaveAndEnd(const std::wstring& fileName, std::wstring* error) {
  std::optional<ExportText>& accumulator = Accumulator();
  if (!accumulator) return true;
  platform::HostFileError failure;
  const bool saved = platform::HostFiles().WriteFileAtomic(fileName, accumulator->Bytes(), failure);
  accumulator.reset();
  // The facility's message names the file; a bare reason gets the name.
  if (!saved && error != nullptr) {
    *error =
        failure.message.find(fileName) != std::wstring::npos ? failure.message : fileName + L": " + failure.message;
  }
  return saved;
}

}  // namespace

bool ExportRegKey(HKey root, const std::wstring& keyPath, const std::vector<std::wstring>* valueNames, bool append,
                  const std::wstring& fileName, std::wstring* error) {
  if (keyPath.empty()) return append || SaveAndEnd(fileName, error);
  std::wstring key = keyPath;
  if (key.back() == L'\\') key.pop_back();
  std::optional<ExportText>& accumulator = Accumulator();
  if (!accumulator) accumulator.emplace();
  TNefoRegistry reg;
  reg.SetRootKey(root);
  AddKey(reg, root, key, valueNames, *accumulator);
  return append || SaveAndEnd(fileName, error);
}

}  // namespace kelvara
