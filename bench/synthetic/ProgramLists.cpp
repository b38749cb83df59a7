// The lists that name programs and help files: App Paths (64- and 32-bit),
// the compatibility layers and the Program Compatibility Assistant's lists
// of each profile, and the registered help files. Planted: registrations
// of removed programs, empty registrations, a program folder that is
// gone, compatibility entries of removed programs, and help files that are
// gone with their program or alone.
#include <unordered_set>

#include "synthetic/MachineParts.h"
#include "synthetic/Names.h"

namespace kelvara::bench {
namespace {

constexpr wchar_t kAppPaths[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr wchar_t kAppPaths32[] = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr wchar_t kLayers[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
constexpr wchar_t kAssistant[] =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\";
constexpr wchar_t kHelp[] = L"SOFTWARE\\Microsoft\\Windows\\Help";
constexpr wchar_t kHtmlHelp[] = L"SOFTWARE\\Microsoft\\Windows\\Html Help";
constexpr wchar_t kHelp32[] = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\Help";

std::wstring FileName(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

void AppPaths(MachineContext& ctx, SplitMix& rng, bool x86) {
  const std::wstring base = ctx.layout.Machine(x86 ? kAppPaths32 : kAppPaths);
  // Kinds, taking turns among removed programs: the program is gone, an
  // empty registration, only a folder that is gone.
  int removed = 0;
  std::unordered_set<std::wstring> names;
  for (const Product& p : ctx.catalog.Products()) {
    if ((p.x86 != x86 && !ctx.layout.wine) || !rng.Percent(p.installed ? 30 : 80)) continue;
    const int plant = p.installed ? -1 : removed++ % 3;
    const std::wstring name = FileName(p.exe);
    if (!names.insert(name).second) continue;
    const std::wstring key = base + L"\\" + name;
    ctx.reg.Key(key);
    if (plant == 1) {
      ctx.ExpectInSharedList(_AppPath, key, L"");
      continue;
    }
    if (plant == 2 || (plant < 0 && rng.Percent(10))) {
      ctx.reg.String(L"Path", p.folder);
      if (plant == 2) ctx.ExpectInSharedList(_AppPath, key, L"Path");
      continue;
    }
    ctx.reg.String(L"", p.exe);
    ctx.reg.String(L"Path", p.folder);
    if (rng.Percent(20)) ctx.reg.Dword(L"UseUrl", 1);
    if (plant == 0) ctx.ExpectInSharedList(_AppPath, key, L"");
  }
}

// One compatibility list of `count` programs below `key` (the full key in
// the export) whose findings name `truthKey`.
void ProgramList(MachineContext& ctx, SplitMix& rng, const std::wstring& key, const std::wstring& truthKey,
                 std::size_t count, int form) {
  PlantSchedule plants(6, 1);
  ctx.reg.Key(key);
  std::unordered_set<std::wstring> names;
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const std::wstring& exe = plant == 0 ? ctx.catalog.Removed(rng).exe : ctx.catalog.Installed(rng).exe;
    if (!names.insert(exe).second) continue;
    if (form == 0) {
      ctx.reg.String(exe, rng.Percent(50) ? L"~ HIGHDPIAWARE" : L"~ RUNASADMIN WIN7RTM");
    } else if (form == 1) {
      ctx.reg.Dword(exe, 1);
    } else {
      std::vector<std::uint8_t> stamp(rng.Between(24, 40));
      for (std::uint8_t& b : stamp) b = static_cast<std::uint8_t>(rng.Next());
      ctx.reg.Binary(exe, stamp);
    }
    if (plant == 0) ctx.truth.Expect(_AppPath, truthKey, exe, true);
  }
}

void HelpFiles(MachineContext& ctx, SplitMix& rng, const wchar_t* key, bool x86) {
  const std::wstring base = ctx.layout.Machine(key);
  ctx.reg.Key(base);
  // Kinds: gone with the program (0), gone from an installed program (1).
  PlantSchedule plants(8, 1);
  std::unordered_set<std::wstring> names;
  for (const Product& p : ctx.catalog.Products()) {
    if (p.x86 != x86 || !rng.Percent(p.installed ? 25 : 60)) continue;
    const int plant = !p.installed ? 0 : plants.Next() >= 0 ? 1 : -1;
    std::wstring name = p.help;
    if (plant == 1) {
      name = FileWord(rng) + L"_old" + std::to_wstring(names.size()) + L".chm";
      ctx.files.Missing(p.folder + L"\\" + name);
    }
    if (!names.insert(name).second) continue;
    ctx.reg.String(name, p.folder);
    if (plant >= 0) ctx.truth.Expect(_HelpFiles, base, name, true);
  }
}

}  // namespace

void WriteProgramLists(MachineContext& ctx, SplitMix rng) {
  AppPaths(ctx, rng, false);
  // Wine shares App Paths, Fonts and Image File Execution Options between
  // the views: one list serves both.
  if (!ctx.layout.wine) AppPaths(ctx, rng, true);
  const std::wstring machineLayers = ctx.layout.Machine(kLayers);
  ProgramList(ctx, rng, machineLayers, machineLayers, ctx.Scaled(150, 6), 0);
  const std::vector<const UserProfile*> profiles = {&ctx.layout.user, ctx.layout.other ? &*ctx.layout.other : nullptr};
  for (const UserProfile* profile : profiles) {
    if (profile == nullptr) continue;
    const std::size_t count = ctx.Scaled(250, 6);
    const auto list = [&](const std::wstring& key, int form) {
      ProgramList(ctx, rng, profile->hive + L"\\" + key, profile->truthRoot + L"\\" + key, count, form);
    };
    list(kLayers, 0);
    list(std::wstring(kAssistant) + L"Persisted", 1);
    list(std::wstring(kAssistant) + L"Store", 2);
  }
  HelpFiles(ctx, rng, kHelp, false);
  HelpFiles(ctx, rng, kHtmlHelp, false);
  HelpFiles(ctx, rng, kHelp32, true);
}

}  // namespace kelvara::bench
