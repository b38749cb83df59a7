// The shell's verbs and context-menu handlers of all files, folders,
// folder backgrounds and programs. Planted: verbs whose program is gone
// (found by the context-menu scan at the verb, and by the ActiveX scan at
// its command), and handlers whose class's server is gone (found by the
// context-menu scan at the handler, and by a deep ActiveX scan at the
// class's server). A handler whose class is not registered names no file
// and is not judged.
#include <array>
#include <unordered_set>

#include "synthetic/MachineParts.h"
#include "synthetic/Names.h"

namespace kelvara::bench {
namespace {

// The classes whose verbs and handlers get planted problems. Drive and
// lnkfile, which the ignore list leaves alone, get healthy handlers only.
constexpr std::array<const wchar_t*, 5> kJudgedClasses = {L"*", L"Directory", L"Directory\\Background", L"Folder",
                                                          L"exefile"};

class ShellWriter {
 public:
  ShellWriter(MachineContext& ctx, SplitMix& rng) : ctx_(ctx), rng_(rng) {}

  void ClassKeys();
  void Verbs(const std::wstring& shellClass, std::size_t count);
  void Handlers(const std::wstring& shellClass, std::size_t count, bool plant);

 private:
  void Key(const std::wstring& key) { ctx_.reg.Key(ctx_.layout.Classes(key)); }
  void Expect(TScanType category, const std::wstring& key, bool deepOnly = false) {
    ctx_.truth.Expect(category, MachineLayout::ClassesFinding(key), L"", true, deepOnly);
  }

  MachineContext& ctx_;
  SplitMix& rng_;
};

void ShellWriter::ClassKeys() {
  // A Wine prefix has these classes already.
  if (ctx_.layout.wine) return;
  Key(L"*");
  ctx_.reg.String(L"AlwaysShowExt", L"");
  Key(L"Directory");
  ctx_.reg.String(L"", L"File Folder");
  Key(L"Folder");
  ctx_.reg.String(L"", L"Folder");
  Key(L"exefile");
  ctx_.reg.String(L"", L"Application");
  Key(L"exefile\\shell\\open\\command");
  ctx_.reg.String(L"", L"\"%1\" %*");
  Key(L"lnkfile");
  ctx_.reg.String(L"", L"Shortcut");
  ctx_.reg.String(L"IsShortcut", L"");
  Key(L"Drive");
  ctx_.reg.String(L"", L"Drive");
}

void ShellWriter::Verbs(const std::wstring& shellClass, std::size_t count) {
  PlantSchedule plants(8, 1);
  std::unordered_set<std::wstring> names;
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const Product& p = plant == 0 ? ctx_.catalog.Removed(rng_) : ctx_.catalog.Installed(rng_);
    const std::wstring verb = CamelName(rng_, 1) + p.key;
    if (!names.insert(verb).second) continue;
    const std::wstring key = shellClass + L"\\shell\\" + verb;
    Key(key);
    ctx_.reg.String(L"", L"&" + CamelName(rng_, 1) + L" with " + p.name);
    if (plant < 0 && rng_.Percent(30)) ctx_.reg.String(L"Icon", p.exe);
    Key(key + L"\\command");
    ctx_.reg.String(L"", L"\"" + p.exe + (shellClass == L"*" ? L"\" \"%1\"" : L"\" \"%V\""));
    if (plant == 0) {
      Expect(_ContextMenu, shellClass + L"\\Shell\\" + verb);
      Expect(_ACTIVEX, key + L"\\command");
    }
  }
}

void ShellWriter::Handlers(const std::wstring& shellClass, std::size_t count, bool plant) {
  // Kinds: the class's server is gone, the class is not registered.
  PlantSchedule plants(plant ? 8 : 1000000, 2);
  for (std::size_t i = 0; i < count; ++i) {
    const int kind = plants.Next();
    const Product& p = kind == 0 ? ctx_.catalog.Removed(rng_) : ctx_.catalog.Installed(rng_);
    const std::wstring id = GuidText(rng_);
    const bool byName = rng_.Percent(80);
    const std::wstring name = byName ? p.key + CamelName(rng_, 1) + std::to_wstring(i) : id;
    const std::wstring key = shellClass + L"\\shellex\\ContextMenuHandlers\\" + name;
    Key(key);
    if (byName) ctx_.reg.String(L"", id);
    if (kind == 1) continue;
    Key(L"CLSID\\" + id);
    ctx_.reg.String(L"", p.name + L" Shell Extension");
    Key(L"CLSID\\" + id + L"\\InprocServer32");
    ctx_.reg.String(L"", rng_.Pick(p.dlls));
    ctx_.reg.String(L"ThreadingModel", L"Apartment");
    if (kind == 0) {
      Expect(_ContextMenu, key);
      Expect(_ACTIVEX, L"CLSID\\" + id + L"\\InprocServer32", true);
    }
  }
}

}  // namespace

void WriteShellExtensions(MachineContext& ctx, SplitMix rng) {
  ShellWriter writer(ctx, rng);
  writer.ClassKeys();
  for (const wchar_t* shellClass : kJudgedClasses) {
    writer.Verbs(shellClass, ctx.Scaled(60, 4));
    writer.Handlers(shellClass, ctx.Scaled(60, 4), true);
  }
  writer.Handlers(L"Drive", ctx.Scaled(20, 2), false);
  writer.Handlers(L"lnkfile", ctx.Scaled(20, 2), false);
}

}  // namespace kelvara::bench
