#include "repair/FixScript.h"

#include "platform/Encoding.h"
#include "platform/Platform.h"
#include "registry/RegPaths.h"

namespace kelvara {
namespace {

std::wstring KeyPath(const TRegData& location) {
  std::wstring key = location.key;
  if (!key.empty() && key.back() == L'\\') key.pop_back();
  const std::wstring root = RootKeyToName(location.root);
  return key.empty() ? root : root + L"\\" + key;
}

std::wstring QuotedName(const std::wstring& name) {
  std::wstring out = L"\"";
  for (wchar_t c : name) {
    if (c == L'\\' || c == L'"') out.push_back(L'\\');
    out.push_back(c);
  }
  out.push_back(L'"');
  return out;
}

}  // namespace

std::wstring FixScriptText(const std::vector<const TResultData*>& entries) {
  std::wstring text = L"Windows Registry Editor Version 5.00\r\n";
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    const TRegData& location = (*it)->RegData;
    if (location.RemoveType == rfKey) {
      text += L"\r\n[-" + KeyPath(location) + L"]\r\n";
    } else if (location.RemoveType == rfValue) {
      text += L"\r\n[" + KeyPath(location) + L"]\r\n";
      text += (location.value.empty() ? std::wstring(L"@") : QuotedName(location.value)) + L"=-\r\n";
    }
  }
  return text;
}

bool WriteFixScript(const std::wstring& fileName, const std::vector<const TResultData*>& entries, std::wstring& error) {
  platform::HostFileError failure;
  if (platform::HostFiles().WriteFileAtomic(fileName, EncodeText(FixScriptText(entries), TextEncoding::Utf16LeBom),
                                            failure)) {
    return true;
  }
  error = fileName + L": " + failure.message;
  return false;
}

}  // namespace kelvara
