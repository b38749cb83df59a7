// COM registrations: AppIDs, type libraries, classes and interfaces. Their
// planted problems are found only by a deep scan (the class, type-library
// and interface rules of the ActiveX category): servers, icons, type
// library files and help folders that are gone, empty server, type
// library and ProgID keys, and references to AppIDs, type libraries and
// proxy classes that are not registered.
#include "synthetic/MachineParts.h"
#include "synthetic/Names.h"

namespace kelvara::bench {
namespace {

constexpr wchar_t kUnknownInterface[] = L"{00000000-0000-0000-C000-000000000046}";
constexpr wchar_t kDispatchProxy[] = L"{00020424-0000-0000-C000-000000000046}";

class ComWriter {
 public:
  ComWriter(MachineContext& ctx, SplitMix& rng) : ctx_(ctx), rng_(rng) {}

  void AppIds(std::size_t count);
  void TypeLibs(std::size_t count);
  ComClasses Classes(std::size_t count);
  void Interfaces(std::size_t count, const ComClasses& classes);

 private:
  void Key(const std::wstring& key) { ctx_.reg.Key(ctx_.layout.Classes(key)); }
  void Expect(const std::wstring& key, const std::wstring& value = L"") {
    ctx_.truth.Expect(_ACTIVEX, MachineLayout::ClassesFinding(key), value, true, true);
  }
  // A server file that exists, in one of the spellings the registry uses.
  void HealthyServer(std::wstring_view name);
  std::wstring MissingServer();
  std::wstring Unregistered() { return GuidText(rng_); }

  MachineContext& ctx_;
  SplitMix& rng_;
  std::vector<std::wstring> appIds_, typeLibs_;
};

void ComWriter::HealthyServer(std::wstring_view name) {
  // A network drive: not judged.
  if (rng_.Percent(0.4)) {
    ctx_.reg.String(name, L"X:\\Shared\\" + FileWord(rng_) + L".dll");
    return;
  }
  if (rng_.Percent(45)) {
    const std::wstring& dll = ctx_.catalog.SystemDll(rng_);
    if (rng_.Percent(50)) {
      ctx_.reg.ExpandString(name, L"%SystemRoot%" + dll.substr(ctx_.layout.windows.size()));
    } else {
      ctx_.reg.String(name, dll);
    }
    return;
  }
  const Product& p = ctx_.catalog.Installed(rng_);
  const std::wstring& dll = rng_.Pick(p.dlls);
  if (!p.x86 && rng_.Percent(15)) {
    ctx_.reg.ExpandString(name, L"%ProgramFiles%" + dll.substr(ctx_.layout.programFiles.size()));
  } else {
    ctx_.reg.String(name, dll);
  }
}

std::wstring ComWriter::MissingServer() {
  if (rng_.Percent(50)) return ctx_.catalog.GoneSystemFile(rng_, L".dll");
  return rng_.Pick(ctx_.catalog.Removed(rng_).dlls);
}

void ComWriter::AppIds(std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::wstring id = GuidText(rng_);
    appIds_.push_back(id);
    Key(L"AppID\\" + id);
    ctx_.reg.String(L"", CamelName(rng_, 2) + L" Service");
    if (rng_.Percent(40)) ctx_.reg.String(L"DllSurrogate", L"");
    if (rng_.Percent(30)) {
      std::vector<std::uint8_t> sd(rng_.Between(40, 120));
      for (std::uint8_t& b : sd) b = static_cast<std::uint8_t>(rng_.Next());
      ctx_.reg.Binary(L"LaunchPermission", sd);
    }
  }
}

void ComWriter::TypeLibs(std::size_t count) {
  // Kinds: a missing type library file, a missing help folder, an empty
  // help folder key.
  PlantSchedule plants(25, 3);
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const std::wstring id = GuidText(rng_);
    typeLibs_.push_back(id);
    const std::wstring version = std::to_wstring(rng_.Between(1, 3)) + L"." + std::to_wstring(rng_.Between(0, 2));
    const std::wstring base = L"TypeLib\\" + id + L"\\" + version;
    const Product& p = ctx_.catalog.Installed(rng_);
    Key(base);
    ctx_.reg.String(L"", CamelName(rng_, 2) + L" " + version + L" Type Library");
    Key(base + L"\\0\\win64");
    if (plant == 0) {
      ctx_.reg.String(L"", MissingServer());
      Expect(base + L"\\0\\win64");
    } else {
      ctx_.reg.String(L"", rng_.Pick(p.dlls));
    }
    if (rng_.Percent(30)) {
      Key(base + L"\\0\\win32");
      ctx_.reg.String(L"", rng_.Pick(p.dlls));
    }
    Key(base + L"\\FLAGS");
    ctx_.reg.String(L"", L"0");
    Key(base + L"\\HELPDIR");
    if (plant == 1) {
      ctx_.reg.String(L"", ctx_.catalog.Removed(rng_).folder);
      Expect(base + L"\\HELPDIR");
    } else if (plant == 2) {
      Expect(base + L"\\HELPDIR");
    } else {
      ctx_.reg.String(L"", rng_.Percent(50) ? p.folder : std::wstring());
    }
  }
}

ComClasses ComWriter::Classes(std::size_t count) {
  ComClasses classes;
  // The proxy classes interfaces refer to.
  for (const wchar_t* id : {kDispatchProxy, L"{00020420-0000-0000-C000-000000000046}"}) {
    Key(std::wstring(L"CLSID\\") + id);
    ctx_.reg.String(L"", L"PSDispatch");
    Key(std::wstring(L"CLSID\\") + id + L"\\InprocServer32");
    ctx_.reg.String(L"", ctx_.catalog.SystemDll(rng_));
    ctx_.reg.String(L"ThreadingModel", L"Both");
    classes.healthy.emplace_back(id);
  }
  // Kinds: missing in-process server, missing local server, empty server
  // key, unknown AppID, empty TypeLib key, empty ProgID key, missing icon.
  PlantSchedule plants(30, 7);
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const std::wstring id = GuidText(rng_);
    const std::wstring key = L"CLSID\\" + id;
    const std::wstring name = CamelName(rng_, 2);
    Key(key);
    ctx_.reg.String(L"", name + L" Class");
    if (plant == 3) {
      ctx_.reg.String(L"AppID", Unregistered());
      Expect(key, L"AppID");
    } else if (rng_.Percent(10)) {
      ctx_.reg.String(L"AppID", rng_.Pick(appIds_));
    }
    const bool local = plant == 1 || (plant < 0 && rng_.Percent(12));
    if (local) {
      Key(key + L"\\LocalServer32");
      if (plant == 1) {
        ctx_.reg.String(L"", L"\"" + ctx_.catalog.Removed(rng_).exe + L"\" /automation");
        Expect(key + L"\\LocalServer32");
      } else {
        ctx_.reg.String(L"", L"\"" + ctx_.catalog.Installed(rng_).exe + L"\" /automation");
      }
    } else {
      Key(key + L"\\InprocServer32");
      if (plant == 0) {
        ctx_.reg.String(L"", MissingServer());
        Expect(key + L"\\InprocServer32");
      } else if (plant == 2) {
        Expect(key + L"\\InprocServer32");
      } else {
        HealthyServer(L"");
      }
      if (plant != 2) ctx_.reg.String(L"ThreadingModel", rng_.Percent(60) ? L"Apartment" : L"Both");
    }
    if (plant == 4) {
      Key(key + L"\\TypeLib");
      Expect(key + L"\\TypeLib");
    } else if (rng_.Percent(20)) {
      Key(key + L"\\TypeLib");
      ctx_.reg.String(L"", rng_.Pick(typeLibs_));
    }
    const std::wstring progId = L"Vendor" + name + L"." + std::to_wstring(i);
    if (plant == 5) {
      Key(key + L"\\ProgID");
      Expect(key + L"\\ProgID");
    } else if (rng_.Percent(35)) {
      Key(key + L"\\ProgID");
      ctx_.reg.String(L"", progId + L".1");
      Key(key + L"\\VersionIndependentProgID");
      ctx_.reg.String(L"", progId);
    }
    if (plant == 6) {
      Key(key + L"\\DefaultIcon");
      ctx_.reg.String(L"", ctx_.catalog.Removed(rng_).exe + L",-101");
      Expect(key + L"\\DefaultIcon");
    } else if (rng_.Percent(8)) {
      Key(key + L"\\DefaultIcon");
      ctx_.reg.String(L"", ctx_.catalog.Installed(rng_).exe + L",0");
    }
    if (rng_.Percent(15)) Key(key + L"\\Implemented Categories\\" + GuidText(rng_));
    if (plant < 0 && !local) classes.healthy.push_back(id);
  }
  return classes;
}

void ComWriter::Interfaces(std::size_t count, const ComClasses& classes) {
  Key(std::wstring(L"Interface\\") + kUnknownInterface);
  ctx_.reg.String(L"", L"IUnknown");
  std::vector<std::wstring> interfaces{kUnknownInterface};
  // Kinds: unknown proxy class, unknown type library, unknown base.
  PlantSchedule plants(30, 3);
  for (std::size_t i = 0; i < count; ++i) {
    const int plant = plants.Next();
    const std::wstring id = GuidText(rng_);
    const std::wstring key = L"Interface\\" + id;
    Key(key);
    ctx_.reg.String(L"", L"I" + CamelName(rng_, 2));
    Key(key + L"\\ProxyStubClsid32");
    if (plant == 0) {
      ctx_.reg.String(L"", Unregistered());
      Expect(key + L"\\ProxyStubClsid32");
    } else {
      ctx_.reg.String(L"", rng_.Percent(80) ? std::wstring(kDispatchProxy) : rng_.Pick(classes.healthy));
    }
    if (plant == 1 || rng_.Percent(40)) {
      Key(key + L"\\TypeLib");
      ctx_.reg.String(L"", plant == 1 ? Unregistered() : rng_.Pick(typeLibs_));
      ctx_.reg.String(L"Version", L"1.0");
      if (plant == 1) Expect(key + L"\\TypeLib");
    }
    if (plant == 2 || rng_.Percent(10)) {
      Key(key + L"\\BaseInterface");
      ctx_.reg.String(L"", plant == 2 ? Unregistered() : rng_.Pick(interfaces));
      if (plant == 2) Expect(key + L"\\BaseInterface");
    }
    if (rng_.Percent(50)) {
      Key(key + L"\\NumMethods");
      ctx_.reg.String(L"", std::to_wstring(rng_.Between(3, 40)));
    }
    if (plant < 0) interfaces.push_back(id);
  }
}

}  // namespace

ComClasses WriteComRegistrations(MachineContext& ctx, SplitMix rng) {
  ComWriter writer(ctx, rng);
  writer.AppIds(ctx.Scaled(2500, 5));
  writer.TypeLibs(ctx.Scaled(2500, 6));
  ComClasses classes = writer.Classes(ctx.Scaled(30000, 40));
  writer.Interfaces(ctx.Scaled(14000, 15), classes);
  return classes;
}

}  // namespace kelvara::bench
