#include "synthetic/MachineContext.h"

#include <algorithm>

#include "platform/Text.h"

namespace kelvara::bench {

void TruthRecorder::Expect(TScanType category, const std::wstring& location, const std::wstring& value, bool safe,
                           bool deepOnly) {
  const std::wstring key =
      std::to_wstring(static_cast<int>(category)) + L"|" + UpperCase(location) + L"|" + UpperCase(value);
  if (!seen_.insert(key).second) return;
  findings_.push_back({category, location, value, safe, deepOnly});
}

void MachineContext::ExpectInSharedList(TScanType category, const std::wstring& key, const std::wstring& value) {
  truth.Expect(category, key, value, true);
  if (!layout.wine) return;
  constexpr std::wstring_view kSoftware = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\";
  truth.Expect(category, std::wstring(kSoftware) + L"WOW6432Node\\" + key.substr(kSoftware.size()), value, true);
}

std::size_t MachineContext::Scaled(double perMillion, std::size_t minimum) const {
  const double n = perMillion * static_cast<double>(targetKeys) / 1e6;
  return std::max(minimum, static_cast<std::size_t>(n));
}

}  // namespace kelvara::bench
