#include "measure/FindingList.h"

#include "platform/Encoding.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "registry/RegPaths.h"
#include "scanner/ScanCategories.h"

namespace kelvara::bench {

std::wstring FindingLine(const TResultData& finding) {
  const TScanCategoryInfo* category = ScanCategoryInfo(finding.ScanSection);
  std::wstring line = category != nullptr ? category->typeKey : L"?";
  line += L"\t" + RootKeyLongName(finding.RegData.root) + L"\\" + finding.RegData.key;
  line += L"\t" + finding.RegData.value;
  return LowerCase(line);
}

bool SaveFindingList(const std::wstring& fileName, const std::vector<std::unique_ptr<TResultData>>& findings,
                     std::wstring& error) {
  std::wstring text;
  for (const auto& f : findings) text += FindingLine(*f) + L"\n";
  platform::HostFileError failure;
  if (platform::HostFiles().WriteFileAtomic(fileName, EncodeText(text, TextEncoding::Utf8), failure)) return true;
  error = fileName + L": " + failure.message;
  return false;
}

bool LoadFindingList(const std::wstring& fileName, std::set<std::wstring>& lines, std::wstring& error) {
  std::vector<std::uint8_t> bytes;
  platform::HostFileError failure;
  if (!platform::HostFiles().ReadFile(fileName, bytes, failure)) {
    error = fileName + L": " + failure.message;
    return false;
  }
  const std::wstring text = FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    if (end > start) lines.insert(text.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

std::vector<const TResultData*> FindingsNotIn(const std::vector<std::unique_ptr<TResultData>>& findings,
                                              const std::set<std::wstring>& known) {
  std::vector<const TResultData*> out;
  for (const auto& f : findings) {
    if (known.count(FindingLine(*f)) == 0) out.push_back(f.get());
  }
  return out;
}

}  // namespace kelvara::bench
