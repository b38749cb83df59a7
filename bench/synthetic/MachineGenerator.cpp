#include "synthetic/MachineGenerator.h"

#include <filesystem>

#include "platform/Text.h"
#include "synthetic/MachineParts.h"
#include "synthetic/TruthFile.h"

namespace kelvara::bench {
namespace {

// The catalogue grows with the machine: about 3,000 programs at 1,000,000
// keys.
constexpr double kProductsPerMillion = 3000;
constexpr std::size_t kMinProducts = 64;

}  // namespace

bool GenerateMachine(const GeneratorOptions& options, GeneratedMachine& result, std::wstring& error,
                     const std::function<void(const std::wstring&)>& progress) {
  std::error_code ec;
  const std::filesystem::path folder(options.folder);
  std::filesystem::create_directories(folder, ec);
  std::filesystem::remove_all(folder / "C", ec);
  const MachineLayout layout = options.wine ? WineLayout(options.userName) : WindowsLayout(options.userName);
  SplitMix rng(options.seed);
  DriveFiles files;
  const std::size_t products =
      std::max(kMinProducts, static_cast<std::size_t>(kProductsPerMillion * static_cast<double>(options.keys) / 1e6));
  ProductCatalog catalog(rng.Fork(1), layout, files, products);
  RegExportWriter reg((folder / "registry.reg").string());
  if (!reg.Ok()) {
    error = L"cannot write " + FromUtf8((folder / "registry.reg").string());
    return false;
  }
  TruthRecorder truth;
  MachineContext ctx{reg, files, catalog, truth, layout, options.keys};
  const auto step = [&](const wchar_t* what, const std::function<void()>& write) {
    progress(what);
    write();
  };
  step(L"identity", [&] { WriteIdentity(ctx, rng.Fork(2)); });
  ComClasses classes;
  step(L"COM registrations", [&] { classes = WriteComRegistrations(ctx, rng.Fork(3)); });
  step(L"file types", [&] { WriteFileTypes(ctx, rng.Fork(4), classes); });
  step(L"shell extensions", [&] { WriteShellExtensions(ctx, rng.Fork(5)); });
  step(L"user classes", [&] { WriteUserClasses(ctx, rng.Fork(6)); });
  step(L"software", [&] { WriteSoftware(ctx, rng.Fork(7)); });
  step(L"program lists", [&] { WriteProgramLists(ctx, rng.Fork(8)); });
  step(L"system lists", [&] { WriteSystemLists(ctx, rng.Fork(9)); });
  step(L"services", [&] { WriteServices(ctx, rng.Fork(10)); });
  step(L"user events", [&] { WriteUserEvents(ctx, rng.Fork(11)); });
  step(L"history", [&] { WriteHistory(ctx, rng.Fork(12)); });
  step(L"bulk settings", [&] { WriteBulkSettings(ctx, rng.Fork(13)); });
  if (!reg.Close()) {
    error = L"cannot write " + FromUtf8((folder / "registry.reg").string());
    return false;
  }
  progress(L"drive files");
  if (!files.Create((folder / "C").string(), error)) return false;

  SyntheticMachine& machine = result.machine;
  machine.folder = FromUtf8(folder.string());
  machine.registryFile = FromUtf8((folder / "registry.reg").string());
  machine.driveFolder = FromUtf8((folder / "C").string());
  machine.userName = layout.user.name;
  machine.userSid = layout.user.sid;
  machine.keys = reg.Keys();
  machine.values = reg.Values();
  machine.truth = truth.Findings();
  result.origin = {options.seed, options.keys, options.wine, reg.Bytes(), files.FileCount()};
  return WriteTruthFile((folder / "truth.tsv").string(), machine.truth, error) &&
         WriteMachineManifest((folder / "machine.txt").string(), machine, result.origin, error);
}

}  // namespace kelvara::bench
