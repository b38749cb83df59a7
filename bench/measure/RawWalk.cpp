#include "measure/RawWalk.h"

#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "platform/Text.h"

namespace kelvara::bench {
namespace {

using platform::HKey;
using platform::UniqueKey;

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
bool IsWordChar(wchar_t c) { return IsDriveLetter(c) || (c >= L'0' && c <= L'9'); }

// Every "X:\..." in the text, up to the next quote, list separator or end.
void TestDrivePaths(std::wstring_view text, RawWalkCounts& counts) {
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    if (text[i + 1] != L':' || text[i + 2] != L'\\' || !IsDriveLetter(text[i])) continue;
    if (i > 0 && IsWordChar(text[i - 1])) continue;
    std::size_t end = text.find_first_of(std::wstring_view(L"\",;|\0", 5), i);
    if (end == std::wstring_view::npos) end = text.size();
    const std::wstring path = TrimRight(text.substr(i, end - i));
    ++counts.pathsTested;
    if (platform::Files().PathExists(path)) ++counts.pathsFound;
    i = end;
  }
}

class Walker {
 public:
  explicit Walker(RawWalkCounts& counts) : registry_(platform::Registry()), counts_(counts) {}

  void Walk(HKey parent, const std::wstring& name) {
    UniqueKey key(registry_);
    HKey opened = 0;
    if (registry_.OpenKey(parent, name, platform::kKeyRead | platform::kKeyWow64_64Key, opened) != 0) {
      ++counts_.unreadableKeys;
      return;
    }
    key.reset(opened);
    ++counts_.keys;
    ReadValues(key.get());
    std::vector<std::wstring> children;
    std::wstring child;
    for (std::uint32_t i = 0; registry_.EnumKey(key.get(), i, child) == 0; ++i) children.push_back(child);
    for (const std::wstring& c : children) Walk(key.get(), c);
  }

 private:
  void ReadValues(HKey key) {
    std::wstring valueName;
    for (std::uint32_t i = 0; registry_.EnumValue(key, i, valueName) == 0; ++i) {
      std::uint32_t type = 0;
      // The size passed in is the buffer's capacity, as for RegQueryValueExW.
      std::uint32_t size = capacity_;
      long code = registry_.QueryValue(key, valueName, type, &data_, size);
      if (code == platform::kErrorMoreData) {
        capacity_ = size;
        code = registry_.QueryValue(key, valueName, type, &data_, size);
      }
      if (code != 0) continue;
      ++counts_.values;
      counts_.dataBytes += size;
      if (type == platform::kRegSz || type == platform::kRegExpandSz || type == platform::kRegMultiSz) {
        TestDrivePaths(FromUtf16LeBytes(data_.data(), size), counts_);
      }
    }
  }

  platform::RegistryApi& registry_;
  RawWalkCounts& counts_;
  std::vector<std::uint8_t> data_;
  std::uint32_t capacity_ = 1024;
};

}  // namespace

RawWalkCounts RawWalk() {
  RawWalkCounts counts;
  platform::Files().BeginScan();
  Walker walker(counts);
  walker.Walk(platform::kHkeyLocalMachine, L"");
  walker.Walk(platform::kHkeyUsers, L"");
  return counts;
}

}  // namespace kelvara::bench
