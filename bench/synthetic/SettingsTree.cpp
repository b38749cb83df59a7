#include "synthetic/SettingsTree.h"

#include <unordered_set>
#include <vector>

#include "synthetic/Names.h"

namespace kelvara::bench {
namespace {

void OneValue(RegExportWriter& reg, SplitMix& rng, const std::wstring& name) {
  const std::uint64_t kind = rng.Below(100);
  if (kind < 42) {
    reg.Dword(name, static_cast<std::uint32_t>(rng.Percent(60) ? rng.Below(4) : rng.Next()));
  } else if (kind < 72) {
    reg.String(name, PlainText(rng));
  } else if (kind < 88) {
    std::vector<std::uint8_t> bytes(rng.Between(4, rng.Percent(10) ? 400 : 48));
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(rng.Next());
    reg.Binary(name, bytes);
  } else if (kind < 94) {
    reg.Qword(name, rng.Next());
  } else {
    std::vector<std::wstring> texts(rng.Between(1, 4));
    for (std::wstring& t : texts) t = PlainText(rng);
    reg.MultiString(name, texts);
  }
}

}  // namespace

void WriteSettingValues(RegExportWriter& reg, SplitMix& rng, int minValues) {
  // Mostly 0 to 4 values, 2 on average.
  static constexpr int kCounts[10] = {0, 1, 1, 2, 2, 2, 3, 3, 4, 2};
  const int count = std::max(minValues, kCounts[rng.Below(10)] + (rng.Percent(5) ? rng.Between(3, 12) : 0));
  std::unordered_set<std::wstring> names;
  for (int i = 0; i < count; ++i) {
    std::wstring name = SettingName(rng);
    if (!names.insert(name).second) continue;
    OneValue(reg, rng, name);
  }
}

namespace {

void Tree(RegExportWriter& reg, SplitMix& rng, const std::wstring& path, std::uint64_t keys, int depth, int minValues) {
  reg.Key(path);
  WriteSettingValues(reg, rng, minValues);
  if (keys <= 1 || depth <= 1) return;
  std::uint64_t left = keys - 1;
  std::unordered_set<std::wstring> names;
  const std::wstring parent = path.substr(path.rfind(L'\\') + 1);
  while (left > 0) {
    // Small trees are spread over a few children, large ones over many.
    const std::uint64_t share = std::min<std::uint64_t>(left, 1 + rng.Below(std::max<std::uint64_t>(2, left / 3)));
    std::wstring name = rng.Percent(15) ? GuidText(rng) : SettingName(rng);
    if (name == parent || !names.insert(name).second) name += std::to_wstring(names.size() + 1);
    names.insert(name);
    Tree(reg, rng, path + L"\\" + name, share, depth - 1, 0);
    left -= share;
  }
}

}  // namespace

void WriteSettingsTree(RegExportWriter& reg, SplitMix& rng, const std::wstring& path, std::uint64_t keys, int depth) {
  Tree(reg, rng, path, keys, depth, 1);
}

}  // namespace kelvara::bench
