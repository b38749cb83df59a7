#include "synthetic/TruthFile.h"

#include <fstream>

#include "platform/Text.h"
#include "scanner/ScanCategories.h"

namespace kelvara::bench {
namespace {

std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (const wchar_t c : text) {
    switch (c) {
      case L'\t':
        out += L"\\t";
        break;
      case L'\n':
        out += L"\\n";
        break;
      case L'\r':
        out += L"\\r";
        break;
      case L'\\':
        out += L"\\\\";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::wstring Unescaped(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\\' || i + 1 == text.size()) {
      out.push_back(text[i]);
      continue;
    }
    const wchar_t next = text[++i];
    out.push_back(next == L't' ? L'\t' : next == L'n' ? L'\n' : next == L'r' ? L'\r' : next);
  }
  return out;
}

std::vector<std::wstring_view> Fields(std::wstring_view line) {
  std::vector<std::wstring_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find(L'\t', start);
    fields.push_back(line.substr(start, tab == std::wstring_view::npos ? tab : tab - start));
    if (tab == std::wstring_view::npos) return fields;
    start = tab + 1;
  }
}

}  // namespace

bool ExpectedAtLevel(const ExpectedFinding& finding, TScanLevel level) {
  if (level == slDeep) return true;
  return !finding.deepOnly && (level != slSafe || finding.safe);
}

bool WriteTruthFile(const std::string& path, const std::vector<ExpectedFinding>& truth, std::wstring& error) {
  std::ofstream out(path, std::ios::binary);
  for (const ExpectedFinding& f : truth) {
    const TScanCategoryInfo* info = ScanCategoryInfo(f.category);
    const std::wstring line = std::wstring(info != nullptr ? info->typeKey : L"") + L"\t" +
                              (f.safe ? L"safe" : L"unsafe") + L"\t" + (f.deepOnly ? L"deep" : L"all") + L"\t" +
                              Escaped(f.location) + L"\t" + Escaped(f.value) + L"\n";
    out << ToUtf8(line);
  }
  out.close();
  if (!out) {
    error = L"cannot write " + FromUtf8(path);
    return false;
  }
  return true;
}

bool ReadTruthFile(const std::wstring& path, std::vector<ExpectedFinding>& truth, std::wstring& error) {
  std::ifstream in(ToUtf8(path), std::ios::binary);
  if (!in) {
    error = L"cannot read " + path;
    return false;
  }
  truth.clear();
  std::string bytes;
  std::size_t lineNumber = 0;
  while (std::getline(in, bytes)) {
    ++lineNumber;
    if (bytes.empty()) continue;
    const std::wstring line = FromUtf8(bytes);
    const std::vector<std::wstring_view> fields = Fields(line);
    ExpectedFinding f;
    if (fields.size() == 5) f.category = ScanTypeFromKey(std::wstring(fields[0]));
    if (f.category == _None) {
      error = path + L", line " + std::to_wstring(lineNumber) + L": not a finding of a known category";
      return false;
    }
    f.safe = fields[1] == L"safe";
    f.deepOnly = fields[2] == L"deep";
    f.location = Unescaped(fields[3]);
    f.value = Unescaped(fields[4]);
    truth.push_back(std::move(f));
  }
  return true;
}

}  // namespace kelvara::bench
