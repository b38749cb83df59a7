// The programs' own keys: HKLM\SOFTWARE\<vendor>\<product> (32-bit
// programs below WOW6432Node) and each profile's Software\<vendor>, with
// settings trees, install paths and recent files, and the Windows
// Installer folder list. Planted: keys left behind by removed programs
// (their install path and program gone), values naming files gone from an
// installed program, empty vendor keys, and installer folders that are
// gone. Another profile's data with "%" variables is not judged.
#include <unordered_set>

#include "synthetic/MachineParts.h"
#include "synthetic/Names.h"
#include "synthetic/SettingsTree.h"

namespace kelvara::bench {
namespace {

constexpr wchar_t kInstallerFolders[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";

class SoftwareWriter {
 public:
  SoftwareWriter(MachineContext& ctx, SplitMix& rng) : ctx_(ctx), rng_(rng) {}

  void MachinePrograms();
  void EmptyVendors(const std::wstring& hive, const std::wstring& truthRoot, std::size_t count);
  void UserPrograms(const UserProfile& profile, std::size_t count);
  void InstallerFolders();
  void Clients();

 private:
  void Expect(const std::wstring& location, const std::wstring& value) {
    ctx_.truth.Expect(_SoftWare, location, value, true);
  }

  MachineContext& ctx_;
  SplitMix& rng_;
  std::size_t nextVendor_ = 0;
};

void SoftwareWriter::MachinePrograms() {
  // Kinds in installed programs: a value naming a gone file, a plug-in
  // whose file is gone.
  PlantSchedule plants(25, 2);
  for (const Product& p : ctx_.catalog.Products()) {
    // Half of the removed programs left their keys behind.
    if (!p.installed && rng_.Percent(50)) continue;
    const std::wstring sub = (p.x86 ? L"SOFTWARE\\WOW6432Node\\" : L"SOFTWARE\\") + p.vendor + L"\\" + p.name;
    const std::wstring key = ctx_.layout.Machine(sub);
    ctx_.reg.Key(key);
    ctx_.reg.String(L"InstallPath", p.folder);
    ctx_.reg.String(L"Version", PlainText(rng_));
    ctx_.reg.Dword(L"Language", 1033);
    ctx_.reg.String(L"ExePath", p.exe);
    if (!p.installed) {
      Expect(key, L"InstallPath");
      Expect(key, L"ExePath");
      continue;
    }
    const int plant = plants.Next();
    if (plant == 0) {
      ctx_.reg.String(L"LastPlugin", ctx_.catalog.GoneFile(p, rng_, L".dll"));
      Expect(key, L"LastPlugin");
    }
    if (plant == 1 || rng_.Percent(20)) {
      const std::wstring plugin = key + L"\\Plugins\\" + CamelName(rng_, 2);
      ctx_.reg.Key(plugin);
      ctx_.reg.String(L"Path", plant == 1 ? ctx_.catalog.GoneFile(p, rng_, L".dll") : rng_.Pick(p.dlls));
      ctx_.reg.Dword(L"Enabled", 1);
      if (plant == 1) Expect(plugin, L"Path");
    }
    WriteSettingsTree(ctx_.reg, rng_, key + L"\\Settings", rng_.Between(2, 8), 4);
  }
}

void SoftwareWriter::EmptyVendors(const std::wstring& hive, const std::wstring& truthRoot, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::wstring vendor = VendorName(ctx_.catalog.Vendors().size() + nextVendor_++);
    ctx_.reg.Key(hive + L"\\" + vendor);
    Expect(truthRoot + L"\\" + vendor, L"");
  }
}

void SoftwareWriter::UserPrograms(const UserProfile& profile, std::size_t count) {
  const std::wstring& documents = profile.documents;
  ctx_.files.Folder(documents);
  // Kinds: a recent file that is gone, one named through %USERPROFILE%
  // (judged only for the running user).
  PlantSchedule plants(20, 2);
  std::unordered_set<std::wstring> seen;
  for (std::size_t i = 0; i < count; ++i) {
    const Product& p = ctx_.catalog.Installed(rng_);
    if (!seen.insert(p.vendor + L"\\" + p.name).second) continue;
    const std::wstring key = L"\\Software\\" + p.vendor + L"\\" + p.name;
    const int plant = plants.Next();
    ctx_.reg.Key(profile.hive + key);
    ctx_.reg.String(L"LastFolder", documents);
    const std::wstring recent = documents + L"\\" + CamelName(rng_, 2) + L".dat";
    ctx_.reg.String(L"RecentFile", ctx_.files.Present(recent));
    if (plant == 0) {
      const std::wstring gone = documents + L"\\" + FileWord(rng_) + L"_old" + std::to_wstring(i) + L".prj";
      ctx_.reg.String(L"LastProject", ctx_.files.Missing(gone));
      Expect(profile.truthRoot + key, L"LastProject");
    } else if (plant == 1) {
      const std::wstring gone = profile.documents.substr(profile.home.size()) + L"\\" + FileWord(rng_) + L"_old" +
                                std::to_wstring(i) + L".txt";
      ctx_.files.Missing(profile.home + gone);
      ctx_.reg.ExpandString(L"LastExport", L"%USERPROFILE%" + gone);
      if (profile.running) Expect(profile.truthRoot + key, L"LastExport");
    }
    WriteSettingsTree(ctx_.reg, rng_, profile.hive + key + L"\\Preferences", rng_.Between(2, 10), 4);
  }
}

void SoftwareWriter::InstallerFolders() {
  PlantSchedule plants(12, 1);
  const std::wstring key = ctx_.layout.Machine(kInstallerFolders);
  ctx_.reg.Key(key);
  std::unordered_set<std::wstring> seen;
  for (const Product& p : ctx_.catalog.Products()) {
    if (!rng_.Percent(p.installed ? 15 : 50) || !seen.insert(p.folder).second) continue;
    if (!p.installed && plants.Next() != 0) continue;
    ctx_.reg.String(p.folder + L"\\", L"");
    if (!p.installed) ctx_.truth.Expect(_SoftWare, key, p.folder + L"\\", true);
  }
}

void SoftwareWriter::Clients() {
  for (int i = 0; i < 3; ++i) {
    const Product& p = ctx_.catalog.Installed(rng_);
    const std::wstring key = ctx_.layout.Machine(L"SOFTWARE\\Clients\\StartMenuInternet\\" + p.key + L".exe");
    ctx_.reg.Key(key);
    ctx_.reg.String(L"", p.name);
    ctx_.reg.Key(key + L"\\shell\\open\\command");
    ctx_.reg.String(L"", L"\"" + p.exe + L"\"");
    ctx_.reg.Key(ctx_.layout.Machine(L"SOFTWARE\\RegisteredApplications"));
    ctx_.reg.String(p.name, L"Software\\Clients\\StartMenuInternet\\" + p.key + L".exe\\Capabilities");
  }
}

}  // namespace

void WriteSoftware(MachineContext& ctx, SplitMix rng) {
  SoftwareWriter writer(ctx, rng);
  writer.MachinePrograms();
  writer.Clients();
  const std::size_t empty = ctx.Scaled(40, 2);
  writer.EmptyVendors(L"HKEY_LOCAL_MACHINE\\SOFTWARE", L"HKEY_LOCAL_MACHINE\\SOFTWARE", empty);
  writer.EmptyVendors(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node",
                      empty / 2 + 1);
  writer.InstallerFolders();
  const std::vector<const UserProfile*> profiles = {&ctx.layout.user, ctx.layout.other ? &*ctx.layout.other : nullptr};
  for (const UserProfile* profile : profiles) {
    if (profile == nullptr) continue;
    writer.UserPrograms(*profile, ctx.Scaled(profile->running ? 1500 : 700, 20));
    writer.EmptyVendors(profile->hive + L"\\Software", profile->truthRoot + L"\\Software", empty / 2 + 1);
  }
}

}  // namespace kelvara::bench
