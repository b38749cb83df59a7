// The system lists of Windows that name files: shared DLL counts,
// uninstall entries, run keys, debuggers of Image File Execution Options
// and fonts. Planted: shared DLLs that are gone or no longer used,
// uninstall entries of removed programs and empty ones, run entries of
// removed programs and empty ones, debuggers (always reported), and fonts
// whose file is gone. Another profile's uninstall and run entries are not
// scanned.
#include <unordered_set>

#include "synthetic/MachineParts.h"
#include "synthetic/Names.h"

namespace kelvara::bench {
namespace {

constexpr wchar_t kCurrentVersion[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
constexpr wchar_t kCurrentVersion32[] = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\";
constexpr wchar_t kNtCurrentVersion[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";
constexpr wchar_t kNtCurrentVersion32[] = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows NT\\CurrentVersion\\";

void SharedDlls(MachineContext& ctx, SplitMix& rng, bool x86, std::size_t count) {
  const std::wstring key = ctx.layout.Machine(std::wstring(x86 ? kCurrentVersion32 : kCurrentVersion) + L"SharedDlls");
  ctx.reg.Key(key);
  // Kinds: the file is gone, no program uses it.
  PlantSchedule plants(15, 2);
  std::unordered_set<std::wstring> names;
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    std::wstring file;
    if (plant == 0) {
      file = rng.Pick(ctx.catalog.Removed(rng).dlls);
    } else if (!x86 && rng.Percent(40)) {
      file = ctx.catalog.SystemDll(rng);
    } else {
      const Product& p = ctx.catalog.Installed(rng);
      if (p.x86 != x86) continue;
      file = rng.Pick(p.dlls);
    }
    if (!names.insert(file).second) continue;
    ctx.reg.Dword(file, plant == 1 ? 0 : static_cast<std::uint32_t>(rng.Between(1, 9)));
    if (plant >= 0) ctx.truth.Expect(_DLL, key, file, true);
  }
}

// One uninstall entry; `expect` records the findings of a removed program.
void UninstallEntry(MachineContext& ctx, SplitMix& rng, const std::wstring& base, const std::wstring& truthBase,
                    const Product& p, bool expect, std::unordered_set<std::wstring>& names) {
  const bool msi = rng.Percent(35);
  const std::wstring productCode = GuidText(rng);
  const std::wstring name = msi ? productCode : p.key;
  if (!names.insert(name).second) return;
  ctx.reg.Key(base + L"\\" + name);
  ctx.reg.String(L"DisplayName", p.name);
  ctx.reg.String(L"DisplayVersion", PlainText(rng));
  ctx.reg.String(L"Publisher", p.vendor);
  ctx.reg.String(L"InstallLocation", p.folder);
  ctx.reg.String(L"UninstallString", msi ? L"MsiExec.exe /X" + productCode : L"\"" + p.uninstaller + L"\"");
  if (msi) ctx.reg.String(L"ModifyPath", L"MsiExec.exe /I" + productCode);
  ctx.reg.String(L"DisplayIcon", p.exe + L",0");
  ctx.reg.Dword(L"EstimatedSize", static_cast<std::uint32_t>(rng.Between(200, 900000)));
  ctx.reg.Dword(L"NoModify", 1);
  ctx.reg.String(L"URLInfoAbout", L"https://www." + p.key + L".example/support");
  ctx.reg.String(L"InstallDate", L"2023" + std::to_wstring(rng.Between(10, 12)) + std::to_wstring(rng.Between(10, 28)));
  if (!expect) return;
  const std::wstring entry = truthBase + L"\\" + name;
  ctx.truth.Expect(_Uninstall, entry, L"InstallLocation", true);
  ctx.truth.Expect(_Uninstall, entry, L"DisplayIcon", true);
  if (!msi) ctx.truth.Expect(_Uninstall, entry, L"UninstallString", true);
}

void Uninstall(MachineContext& ctx, SplitMix& rng) {
  std::unordered_set<std::wstring> names64, names32;
  const std::wstring base64 = ctx.layout.Machine(std::wstring(kCurrentVersion) + L"Uninstall");
  const std::wstring base32 = ctx.layout.Machine(std::wstring(kCurrentVersion32) + L"Uninstall");
  for (const Product& p : ctx.catalog.Products()) {
    // Removed programs: the entry is left behind for one in three.
    if (!p.installed && !rng.Percent(35)) continue;
    UninstallEntry(ctx, rng, p.x86 ? base32 : base64, p.x86 ? base32 : base64, p, !p.installed,
                   p.x86 ? names32 : names64);
  }
  for (std::size_t i = 0; i < ctx.Scaled(40, 2); ++i) {
    const std::wstring key = base64 + L"\\" + GuidText(rng);
    ctx.reg.Key(key);
    ctx.truth.Expect(_Uninstall, key, L"", true);
  }
  // Programs installed for one user only; another profile's entries are
  // not scanned.
  const std::vector<const UserProfile*> profiles = {&ctx.layout.user, ctx.layout.other ? &*ctx.layout.other : nullptr};
  for (const UserProfile* profile : profiles) {
    if (profile == nullptr) continue;
    std::unordered_set<std::wstring> names;
    const std::wstring key = std::wstring(L"\\") + kCurrentVersion + L"Uninstall";
    for (std::size_t i = 0; i < ctx.Scaled(60, 6); ++i) {
      const bool removed = i % 3 == 1;
      const Product& p = removed ? ctx.catalog.Removed(rng) : ctx.catalog.Installed(rng);
      UninstallEntry(ctx, rng, profile->hive + key, profile->truthRoot + key, p, removed && profile->running, names);
    }
  }
}

void RunKey(MachineContext& ctx, SplitMix& rng, const std::wstring& key, const std::wstring& truthKey,
            std::size_t count, bool judged) {
  ctx.reg.Key(key);
  // Kinds: the program is gone, an empty entry.
  PlantSchedule plants(6, 2);
  std::unordered_set<std::wstring> names;
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const Product& p = plant == 0 ? ctx.catalog.Removed(rng) : ctx.catalog.Installed(rng);
    const std::wstring name = p.key + (rng.Percent(30) ? L"Tray" : L"");
    if (!names.insert(name).second) continue;
    bool expected = plant >= 0 && judged;
    switch (plant == 1 ? 5 : rng.Below(5)) {
      case 0:
        ctx.reg.String(name, L"\"" + p.exe + L"\" /background");
        break;
      case 1:
        ctx.reg.String(name, p.exe);
        break;
      case 2:
        ctx.reg.String(name, p.exe + L" -tray");
        break;
      case 3:
        ctx.reg.String(name, ctx.layout.system32 + L"\\rundll32.exe \"" + p.dlls.front() + L"\",Start");
        break;
      case 4: {
        // %ProgramFiles% is the 64-bit folder; %ProgramFiles(x86)% is not
        // judged, so a 32-bit program gone from there gives no finding.
        const std::wstring& folder = p.x86 ? ctx.layout.programFilesX86 : ctx.layout.programFiles;
        ctx.reg.ExpandString(name, (p.x86 ? L"%ProgramFiles(x86)%" : L"%ProgramFiles%") + p.exe.substr(folder.size()));
        expected = expected && !p.x86;
        break;
      }
      default:
        ctx.reg.String(name, L"");
    }
    if (expected) ctx.truth.Expect(_Startup, truthKey, name, true);
  }
}

void RunKeys(MachineContext& ctx, SplitMix& rng) {
  const std::wstring run = std::wstring(kCurrentVersion) + L"Run";
  const std::wstring runOnce = std::wstring(kCurrentVersion) + L"RunOnce";
  RunKey(ctx, rng, ctx.layout.Machine(run), ctx.layout.Machine(run), ctx.Scaled(40, 6), true);
  // Wine runs and then deletes the RunOnce entries when the prefix starts,
  // which would change the machine after its truth was written.
  const bool runOnceKept = !ctx.layout.wine;
  if (runOnceKept) RunKey(ctx, rng, ctx.layout.Machine(runOnce), ctx.layout.Machine(runOnce), ctx.Scaled(6, 3), true);
  const std::wstring run32 = std::wstring(kCurrentVersion32) + L"Run";
  RunKey(ctx, rng, ctx.layout.Machine(run32), ctx.layout.Machine(run32), ctx.Scaled(20, 6), true);
  const std::vector<const UserProfile*> profiles = {&ctx.layout.user, ctx.layout.other ? &*ctx.layout.other : nullptr};
  for (const UserProfile* profile : profiles) {
    if (profile == nullptr) continue;
    for (const std::wstring& key : {run, runOnce}) {
      if (key == runOnce && !runOnceKept) continue;
      const std::wstring user = L"\\" + key;
      RunKey(ctx, rng, profile->hive + user, profile->truthRoot + user, ctx.Scaled(20, 6), profile->running);
    }
  }
}

void ImageOptions(MachineContext& ctx, SplitMix& rng, bool x86) {
  const std::wstring base =
      ctx.layout.Machine(std::wstring(x86 ? kNtCurrentVersion32 : kNtCurrentVersion) + L"Image File Execution Options");
  PlantSchedule plants(8, 1);
  std::unordered_set<std::wstring> names;
  for (std::size_t i = 0; i < ctx.Scaled(100, 8); ++i) {
    const int plant = plants.Next();
    const std::wstring& exe = ctx.catalog.Installed(rng).exe;
    const std::wstring name = exe.substr(exe.rfind(L'\\') + 1);
    if (!names.insert(name).second) continue;
    const std::wstring key = base + L"\\" + name;
    ctx.reg.Key(key);
    if (plant == 0) {
      ctx.reg.String(L"Debugger", L"C:\\Tools\\" + FileWord(rng) + L"spy.exe");
      ctx.ExpectInSharedList(_IFEO, key, L"Debugger");
    } else if (rng.Percent(50)) {
      ctx.reg.Binary(L"MitigationOptions", std::vector<std::uint8_t>{0, 1, 0, 0, 0, 0, 0, 0});
    } else {
      ctx.reg.Dword(L"GlobalFlag", 0x200);
    }
  }
  // The template key Windows ships is on the ignore list.
  if (!x86 && !ctx.layout.wine) {
    ctx.reg.Key(base + L"\\Your Image File Name Here without a path");
    ctx.reg.String(L"Debugger", L"ntsd -d");
  }
}

void Fonts(MachineContext& ctx, SplitMix& rng, bool x86) {
  const std::wstring key = ctx.layout.Machine(std::wstring(x86 ? kNtCurrentVersion32 : kNtCurrentVersion) + L"Fonts");
  ctx.reg.Key(key);
  const std::wstring userFonts = ctx.layout.user.home + L"\\AppData\\Local\\Microsoft\\Windows\\Fonts\\";
  // Kinds: a font of the fonts folder that is gone, one named by its full
  // path that is gone.
  PlantSchedule plants(10, 2);
  const std::size_t count = ctx.Scaled(x86 ? 60 : 300, 10);
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const std::wstring name = CamelName(rng, 2) + L" " + std::to_wstring(i) + L" (TrueType)";
    std::wstring data;
    if (plant == 0) {
      data = FileWord(rng) + L"_old" + std::to_wstring(i) + L".ttf";
      ctx.files.Missing(ctx.layout.windows + L"\\Fonts\\" + data);
    } else if (plant == 1) {
      data = ctx.files.Missing(userFonts + FileWord(rng) + L"_old" + std::to_wstring(i) + L".ttf");
    } else if (rng.Percent(10)) {
      data = ctx.files.Present(userFonts + CamelName(rng, 2) + std::to_wstring(i) + L".ttf");
    } else {
      data = ctx.catalog.FontFile(rng);
    }
    ctx.reg.String(name, data);
    if (plant >= 0) ctx.ExpectInSharedList(_Fonts, key, name);
  }
}

}  // namespace

void WriteSystemLists(MachineContext& ctx, SplitMix rng) {
  SharedDlls(ctx, rng, false, ctx.Scaled(3000, 30));
  SharedDlls(ctx, rng, true, ctx.Scaled(1200, 30));
  Uninstall(ctx, rng);
  RunKeys(ctx, rng);
  // Wine shares these two lists between the views: one serves both.
  ImageOptions(ctx, rng, false);
  if (!ctx.layout.wine) ImageOptions(ctx, rng, true);
  Fonts(ctx, rng, false);
  if (!ctx.layout.wine) Fonts(ctx, rng, true);
}

}  // namespace kelvara::bench
