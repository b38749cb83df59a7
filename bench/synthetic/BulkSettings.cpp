// The bulk that makes up most of a real registry: settings of Windows'
// components (machine and users), of the installed programs, device
// enumeration and class keys below the control set. None of it names a
// file, so none of it is a finding; it is written until the export holds
// the target count of keys.
#include <array>

#include "synthetic/MachineParts.h"
#include "synthetic/Names.h"
#include "synthetic/SettingsTree.h"

namespace kelvara::bench {
namespace {

constexpr std::array<const wchar_t*, 24> kComponents = {L"Windows Defender",
                                                        L"Windows Search",
                                                        L"Speech",
                                                        L"Input",
                                                        L"Ole",
                                                        L"Rpc",
                                                        L"Tracing",
                                                        L"WBEM",
                                                        L"Cryptography",
                                                        L"DirectX",
                                                        L"EdgeUpdate",
                                                        L"OneDrive",
                                                        L"PolicyManager",
                                                        L"SecurityManager",
                                                        L"WindowsUpdate",
                                                        L"Active Setup",
                                                        L"CTF",
                                                        L"DeviceAccess",
                                                        L"Enrollments",
                                                        L"Provisioning",
                                                        L"MSMQ",
                                                        L"Multimedia",
                                                        L"Notifications",
                                                        L"Shell"};
constexpr std::array<const wchar_t*, 5> kBuses = {L"PCI", L"USB", L"HID", L"ACPI", L"SWD"};

class BulkWriter {
 public:
  BulkWriter(MachineContext& ctx, SplitMix& rng) : ctx_(ctx), rng_(rng) {}

  // One tree of about `keys` keys in an area picked at random.
  void Tree(std::uint64_t keys);

 private:
  std::wstring Unique(const std::wstring& name) { return name + L" " + std::to_wstring(++trees_); }
  std::wstring Component() { return kComponents[rng_.Below(kComponents.size())]; }
  std::wstring UserHive() {
    return ctx_.layout.other && rng_.Percent(35) ? ctx_.layout.other->hive : ctx_.layout.user.hive;
  }

  MachineContext& ctx_;
  SplitMix& rng_;
  std::size_t trees_ = 0;
};

void BulkWriter::Tree(std::uint64_t keys) {
  // No device keys are added to a Wine prefix, whose device manager reads
  // them.
  const std::uint64_t area = ctx_.layout.wine ? rng_.Below(34) : rng_.Below(100);
  const int depth = rng_.Between(3, 6);
  std::wstring root;
  if (area < 28) {
    root = ctx_.layout.Machine(L"SOFTWARE\\Microsoft\\") + Component() + L"\\" + Unique(SettingName(rng_));
  } else if (area < 34) {
    root = ctx_.layout.Machine(L"SOFTWARE\\WOW6432Node\\Microsoft\\") + Component() + L"\\" + Unique(SettingName(rng_));
  } else if (area < 54) {
    const Product& p = ctx_.catalog.Installed(rng_);
    root = ctx_.layout.Machine(p.x86 ? L"SOFTWARE\\WOW6432Node\\" : L"SOFTWARE\\") + p.vendor + L"\\" + p.name +
           L"\\Settings\\" + Unique(SettingName(rng_));
  } else if (area < 66) {
    const std::wstring bus = kBuses[rng_.Below(kBuses.size())];
    root = ctx_.layout.Machine(L"SYSTEM\\ControlSet001\\Enum\\") + bus + L"\\VEN_" +
           std::to_wstring(1000 + rng_.Below(9000)) + L"&DEV_" + std::to_wstring(1000 + rng_.Below(9000)) + L"\\" +
           std::to_wstring(++trees_) + L"&" + std::to_wstring(rng_.Below(100000));
  } else if (area < 74) {
    root = ctx_.layout.Machine(L"SYSTEM\\ControlSet001\\Control\\Class\\") + GuidText(rng_);
  } else if (area < 88) {
    root = UserHive() + L"\\Software\\Microsoft\\" + Component() + L"\\" + Unique(SettingName(rng_));
  } else {
    const Product& p = ctx_.catalog.Installed(rng_);
    root = UserHive() + L"\\Software\\" + p.vendor + L"\\" + p.name + L"\\" + Unique(SettingName(rng_));
  }
  WriteSettingsTree(ctx_.reg, rng_, root, keys, depth);
}

}  // namespace

void WriteBulkSettings(MachineContext& ctx, SplitMix rng) {
  BulkWriter writer(ctx, rng);
  while (ctx.reg.Keys() < ctx.targetKeys) {
    const std::uint64_t left = ctx.targetKeys - ctx.reg.Keys();
    writer.Tree(std::min<std::uint64_t>(left, 5 + rng.Below(rng.Percent(10) ? 2000 : 150)));
  }
}

}  // namespace kelvara::bench
