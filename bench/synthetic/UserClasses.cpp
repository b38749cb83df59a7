// Another profile's own file classes, below its Software\Classes: the
// ActiveX scan reads them for every profile it covers. Planted: a missing
// icon, an empty class key and an empty CLSID key.
#include "synthetic/MachineParts.h"
#include "synthetic/Names.h"

namespace kelvara::bench {

void WriteUserClasses(MachineContext& ctx, SplitMix rng) {
  if (!ctx.layout.other) return;
  const std::wstring classes = ctx.layout.other->hive + L"\\Software\\Classes\\";
  // Kinds: a missing icon, an empty class key, an empty CLSID key.
  PlantSchedule plants(6, 3);
  const std::size_t count = ctx.Scaled(300, 12);
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const Product& p = ctx.catalog.Installed(rng);
    const std::wstring key = classes + p.key + L".UserDocument." + std::to_wstring(i);
    ctx.reg.Key(key);
    if (plant == 1) {
      ctx.truth.Expect(_ACTIVEX, key, L"", true);
      continue;
    }
    ctx.reg.String(L"", p.name + L" Document");
    ctx.reg.Key(key + L"\\DefaultIcon");
    ctx.reg.String(L"", (plant == 0 ? ctx.catalog.Removed(rng).exe : p.exe) + L",0");
    if (plant == 0) ctx.truth.Expect(_ACTIVEX, key + L"\\DefaultIcon", L"", true);
    if (plant == 2) {
      ctx.reg.Key(key + L"\\CLSID");
      ctx.truth.Expect(_ACTIVEX, key + L"\\CLSID", L"", true);
    }
  }
}

}  // namespace kelvara::bench
