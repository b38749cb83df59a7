// Services and the firewall's exceptions below the current control set.
// Planted: services whose program is gone (named by a path or a native
// "\??\" path), firewall rules and authorised programs that are gone.
// Service-host services and drivers named relative to the system folder
// are not judged, whether their file exists or not.
#include <unordered_set>

#include "platform/Text.h"
#include "synthetic/MachineParts.h"
#include "synthetic/Names.h"
#include "synthetic/SettingsTree.h"

namespace kelvara::bench {
namespace {

// How findings name the services key: always through CurrentControlSet.
constexpr wchar_t kServicesFinding[] = L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\services\\";
constexpr wchar_t kFirewallPolicy[] = L"SharedAccess\\Parameters\\FirewallPolicy\\";

class ServiceWriter {
 public:
  ServiceWriter(MachineContext& ctx, SplitMix& rng)
      : ctx_(ctx),
        rng_(rng),
        services_(ctx.layout.Machine(ctx.layout.wine ? L"SYSTEM\\CurrentControlSet\\Services\\"
                                                     : L"SYSTEM\\ControlSet001\\Services\\")) {}

  void ProgramServices(std::size_t count);
  void HostedServices(std::size_t count);
  void Drivers(std::size_t count);
  void FirewallRules(std::size_t count);
  void AuthorizedPrograms(const wchar_t* profile, std::size_t count);

 private:
  // The service's key; empty when the name is taken.
  std::wstring ServiceKey(const std::wstring& name);
  void Common(const std::wstring& displayName, std::uint32_t type);

  MachineContext& ctx_;
  SplitMix& rng_;
  std::wstring services_;
  std::unordered_set<std::wstring> names_;
};

std::wstring ServiceWriter::ServiceKey(const std::wstring& name) {
  if (!names_.insert(name).second) return {};
  ctx_.reg.Key(services_ + name);
  return services_ + name;
}

void ServiceWriter::Common(const std::wstring& displayName, std::uint32_t type) {
  ctx_.reg.String(L"DisplayName", displayName);
  ctx_.reg.Dword(L"ErrorControl", 1);
  // In a Wine prefix the services stay disabled, so that the prefix does
  // not try to start them.
  ctx_.reg.Dword(L"Start", ctx_.layout.wine ? 4 : static_cast<std::uint32_t>(rng_.Between(2, 4)));
  ctx_.reg.Dword(L"Type", type);
}

void ServiceWriter::ProgramServices(std::size_t count) {
  // Kinds: the program is gone, a driver named by a native path is gone.
  PlantSchedule plants(12, 2);
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const Product& p = plant == 0 ? ctx_.catalog.Removed(rng_) : ctx_.catalog.Installed(rng_);
    const std::wstring name = p.key + (plant == 1 ? L"Filter" : L"Svc");
    const std::wstring key = ServiceKey(name);
    if (key.empty()) continue;
    if (plant == 1) {
      ctx_.reg.ExpandString(L"ImagePath", L"\\??\\" + ctx_.catalog.GoneSystemFile(rng_, L".sys"));
    } else {
      ctx_.reg.ExpandString(L"ImagePath", rng_.Percent(70) ? L"\"" + p.exe + L"\"" : p.exe);
    }
    Common(p.name + L" Service", plant == 1 ? 1 : 16);
    ctx_.reg.String(L"ObjectName", L"LocalSystem");
    ctx_.reg.String(L"Description", L"@" + p.exe + L",-101");
    if (plant >= 0) ctx_.truth.Expect(_Services, kServicesFinding + name, L"ImagePath", true);
    if (rng_.Percent(40)) WriteSettingsTree(ctx_.reg, rng_, key + L"\\Parameters", rng_.Between(1, 3), 2);
  }
}

void ServiceWriter::HostedServices(std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::wstring name = CamelName(rng_, 2) + L"Svc";
    const std::wstring key = ServiceKey(name);
    if (key.empty()) continue;
    ctx_.reg.ExpandString(L"ImagePath", L"%SystemRoot%\\system32\\svchost.exe -k " +
                                            std::wstring(rng_.Percent(50) ? L"netsvcs" : L"LocalService") + L" -p");
    Common(name, 32);
    ctx_.reg.String(L"ObjectName", L"LocalSystem");
    ctx_.reg.Key(key + L"\\Parameters");
    // A service DLL that is gone is not judged: the host process is.
    const std::wstring dll = i % 20 == 3 ? ctx_.catalog.GoneSystemFile(rng_, L".dll") : ctx_.catalog.SystemDll(rng_);
    ctx_.reg.ExpandString(L"ServiceDll", L"%SystemRoot%" + dll.substr(ctx_.layout.windows.size()));
  }
}

void ServiceWriter::Drivers(std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::wstring name = CamelName(rng_, 1) + FileWord(rng_) + L"drv";
    const std::wstring key = ServiceKey(name);
    if (key.empty()) continue;
    const std::wstring file = LowerCase(name) + L".sys";
    // Drivers are named relative to the system root: not judged.
    ctx_.reg.ExpandString(
        L"ImagePath", rng_.Percent(50) ? L"\\SystemRoot\\System32\\drivers\\" + file : L"System32\\drivers\\" + file);
    if (i % 10 != 7) ctx_.files.Present(ctx_.layout.system32 + L"\\drivers\\" + file);
    Common(name, 1);
    ctx_.reg.String(L"Group", L"System Bus Extender");
  }
}

void ServiceWriter::FirewallRules(std::size_t count) {
  const std::wstring key = services_ + kFirewallPolicy + L"FirewallRules";
  const std::wstring finding = std::wstring(kServicesFinding) + kFirewallPolicy + L"FirewallRules";
  ctx_.reg.Key(key);
  PlantSchedule plants(12, 1);
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const Product& p = plant == 0 ? ctx_.catalog.Removed(rng_) : ctx_.catalog.Installed(rng_);
    const std::wstring name = rng_.Percent(60) ? GuidText(rng_) : p.key + L"-In-TCP-" + std::to_wstring(i);
    std::wstring rule = L"v2.30|Action=Allow|Active=TRUE|Dir=" + std::wstring(rng_.Percent(70) ? L"In" : L"Out") +
                        L"|Protocol=6|LPort=" + std::to_wstring(rng_.Between(1024, 65000));
    const std::uint64_t form = plant == 0 ? 0 : rng_.Below(4);
    if (form <= 1) rule += L"|App=" + p.exe;
    if (form == 2) rule += L"|App=System";
    if (form == 3) rule += L"|Svc=" + CamelName(rng_, 1);
    rule += L"|Name=" + p.name + L"|Desc=" + p.name + L" rule|";
    ctx_.reg.String(name, rule);
    if (plant == 0) ctx_.truth.Expect(_FWALL, finding, name, true);
  }
}

void ServiceWriter::AuthorizedPrograms(const wchar_t* profile, std::size_t count) {
  const std::wstring list = std::wstring(kFirewallPolicy) + profile + L"\\AuthorizedApplications\\List";
  const std::wstring key = services_ + list;
  ctx_.reg.Key(key);
  PlantSchedule plants(5, 1);
  std::unordered_set<std::wstring> names;
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const Product& p = plant == 0 ? ctx_.catalog.Removed(rng_) : ctx_.catalog.Installed(rng_);
    if (!names.insert(p.exe).second) continue;
    ctx_.reg.String(p.exe, p.exe + L":*:Enabled:" + p.name);
    if (plant == 0) ctx_.truth.Expect(_FWALL, kServicesFinding + list, p.exe, true);
  }
}

}  // namespace

void WriteServices(MachineContext& ctx, SplitMix rng) {
  ServiceWriter writer(ctx, rng);
  writer.ProgramServices(ctx.Scaled(500, 12));
  writer.HostedServices(ctx.Scaled(300, 5));
  writer.Drivers(ctx.Scaled(500, 5));
  writer.FirewallRules(ctx.Scaled(1500, 12));
  writer.AuthorizedPrograms(L"StandardProfile", ctx.Scaled(40, 5));
  writer.AuthorizedPrograms(L"DomainProfile", ctx.Scaled(20, 5));
}

}  // namespace kelvara::bench
