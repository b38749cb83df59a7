#include "synthetic/ProductCatalog.h"

#include <unordered_set>

#include "platform/Text.h"
#include "synthetic/Names.h"

namespace kelvara::bench {
namespace {

// One catalogued program in this many was removed; one in eight on small
// machines, so that every family of planted entries has removed programs
// to name.
constexpr std::size_t kRemovedPeriod = 16;
constexpr std::size_t kSmallRemovedPeriod = 8;
constexpr std::size_t kSmallCatalog = 200;

std::wstring WithoutBlanks(std::wstring_view text) {
  std::wstring out;
  for (const wchar_t c : text) {
    if (c != L' ') out.push_back(c);
  }
  return out;
}

}  // namespace

ProductCatalog::ProductCatalog(SplitMix rng, const MachineLayout& layout, DriveFiles& files, std::size_t products)
    : files_(files), layout_(layout) {
  const std::size_t vendorCount = std::max<std::size_t>(8, products / 3);
  for (std::size_t i = 0; i < vendorCount; ++i) vendors_.push_back(VendorName(i));
  const std::size_t removedPeriod = products < kSmallCatalog ? kSmallRemovedPeriod : kRemovedPeriod;
  std::unordered_set<std::wstring> folders;
  while (products_.size() < products) {
    Product p;
    p.vendor = rng.Pick(vendors_);
    p.name = ProductName(rng);
    p.x86 = rng.Percent(30);
    p.installed = products_.size() % removedPeriod != removedPeriod / 2;
    p.folder = (p.x86 ? layout.programFilesX86 : layout.programFiles) + L"\\" + p.vendor + L"\\" + p.name;
    if (!folders.insert(LowerCase(p.folder)).second) {
      p.name += L" " + std::to_wstring(products_.size());
      p.folder += L" " + std::to_wstring(products_.size());
      folders.insert(LowerCase(p.folder));
    }
    p.key = WithoutBlanks(p.name);
    p.exe = p.folder + L"\\" + LowerCase(p.key) + L".exe";
    p.uninstaller = p.folder + L"\\unins000.exe";
    p.help = LowerCase(p.key) + L".chm";
    std::unordered_set<std::wstring> names;
    const int dllCount = rng.Between(2, 6);
    for (int i = 0; i < dllCount; ++i) {
      const std::wstring name = FileWord(rng) + (rng.Percent(50) ? L"64" : L"") + L".dll";
      if (names.insert(name).second) p.dlls.push_back(p.folder + L"\\" + name);
    }
    std::vector<std::wstring> all = p.dlls;
    all.insert(all.end(), {p.exe, p.uninstaller, p.folder + L"\\" + p.help});
    for (const std::wstring& file : all) {
      if (p.installed) {
        files.Present(file);
      } else {
        files.Missing(file);
      }
    }
    if (!p.installed) files.Missing(p.folder);
    (p.installed ? installed_ : removed_).push_back(products_.size());
    products_.push_back(std::move(p));
  }

  const std::size_t dlls = std::max<std::size_t>(40, products * 2);
  std::unordered_set<std::wstring> names;
  while (systemDlls_.size() < dlls) {
    std::wstring name = FileWord(rng) + FileWord(rng) + (rng.Percent(40) ? L"32" : L"");
    // The two-word names run out on large machines; a number follows then.
    if (names.count(name) != 0) name += std::to_wstring(systemDlls_.size());
    if (names.insert(name).second) systemDlls_.push_back(files.Present(layout.system32 + L"\\" + name + L".dll"));
  }
  for (int i = 0; i < 60; ++i) {
    const std::wstring name = FileWord(rng) + std::to_wstring(i) + (i % 3 == 0 ? L".fon" : L".ttf");
    fonts_.push_back(name);
    files.Present(layout.windows + L"\\Fonts\\" + name);
  }
  for (int i = 0; i < 40; ++i) {
    sounds_.push_back(
        files.Present(layout.windows + L"\\Media\\Windows " + CamelName(rng, 2) + L" " + std::to_wstring(i) + L".wav"));
  }
}

const Product& ProductCatalog::Installed(SplitMix& rng) const { return products_[rng.Pick(installed_)]; }

const Product& ProductCatalog::Removed(SplitMix& rng) const { return products_[rng.Pick(removed_)]; }

std::wstring ProductCatalog::GoneFile(const Product& product, SplitMix& rng, std::wstring_view extension) {
  return files_.Missing(product.folder + L"\\" + FileWord(rng) + L"_old" + std::to_wstring(++goneCount_) +
                        std::wstring(extension));
}

std::wstring ProductCatalog::GoneSystemFile(SplitMix& rng, std::wstring_view extension) {
  return files_.Missing(layout_.system32 + L"\\" + FileWord(rng) + L"_legacy" + std::to_wstring(++goneCount_) +
                        std::wstring(extension));
}

}  // namespace kelvara::bench
