// The programs installed on the synthetic machine, and some that were
// removed: each has a vendor, a folder below Program Files and a few
// files. The files of installed programs are on the drive; those of
// removed programs are not, and are what most planted entries name. The
// catalog also holds the shared system DLLs, fonts and sounds that many
// entries point to, so that entries share files as on a real machine.
#pragma once

#include <string>
#include <vector>

#include "synthetic/DriveFiles.h"
#include "synthetic/MachineLayout.h"
#include "synthetic/SplitMix.h"

namespace kelvara::bench {

struct Product {
  std::wstring vendor;
  std::wstring name;
  std::wstring key;     // name without blanks, for key and value names
  std::wstring folder;  // C:\Program Files\<vendor>\<name>
  std::wstring exe;
  std::wstring uninstaller;
  std::wstring help;  // file name only, in the folder
  std::vector<std::wstring> dlls;
  bool installed = true;
  bool x86 = false;
};

class ProductCatalog {
 public:
  // `products` is at least 16, so that some are removed.
  ProductCatalog(SplitMix rng, const MachineLayout& layout, DriveFiles& files, std::size_t products);

  [[nodiscard]] const std::vector<Product>& Products() const { return products_; }
  [[nodiscard]] const std::vector<std::wstring>& Vendors() const { return vendors_; }
  // An installed or a removed program, picked at random.
  const Product& Installed(SplitMix& rng) const;
  const Product& Removed(SplitMix& rng) const;
  // A present shared system DLL, font file name, sound file.
  const std::wstring& SystemDll(SplitMix& rng) const { return rng.Pick(systemDlls_); }
  const std::wstring& FontFile(SplitMix& rng) const { return rng.Pick(fonts_); }
  const std::wstring& Sound(SplitMix& rng) const { return rng.Pick(sounds_); }
  // A file that is not on the drive although its folder may be: in the
  // program's folder, or in the system folder. Each call gives a new one.
  std::wstring GoneFile(const Product& product, SplitMix& rng, std::wstring_view extension);
  std::wstring GoneSystemFile(SplitMix& rng, std::wstring_view extension);

 private:
  DriveFiles& files_;
  const MachineLayout& layout_;
  std::vector<Product> products_;
  std::vector<std::size_t> installed_, removed_;
  std::vector<std::wstring> vendors_;
  std::vector<std::wstring> systemDlls_, fonts_, sounds_;
  std::size_t goneCount_ = 0;
};

}  // namespace kelvara::bench
