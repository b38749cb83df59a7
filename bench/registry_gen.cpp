// registry_gen --out DIR [--keys N] [--seed S] [--wine]
//
// Writes a synthetic 64-bit Windows machine into DIR: the registry export
// registry.reg, its drive C: as the folder C, the findings a correct scan
// must report (truth.tsv) and the manifest machine.txt. The same seed and
// size give the same machine. With --wine the machine is meant to be
// imported into a Wine prefix (regedit /s DIR/registry.reg, DIR/C copied
// over drive_c) for the user $USER.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "platform/Text.h"
#include "synthetic/MachineGenerator.h"
#include "synthetic/TruthFile.h"

namespace {

using kelvara::FromUtf8;
using kelvara::ToUtf8;

int Usage() {
  std::cerr << "usage: registry_gen --out DIR [--keys N] [--seed S] [--wine]\n";
  return 2;
}

bool ParseNumber(const char* text, std::uint64_t& number) {
  char* end = nullptr;
  number = std::strtoull(text, &end, 10);
  return end != text && *end == '\0';
}

std::size_t CountAt(const kelvara::bench::SyntheticMachine& machine, kelvara::TScanLevel level) {
  std::size_t n = 0;
  for (const auto& f : machine.truth) n += kelvara::bench::ExpectedAtLevel(f, level) ? 1 : 0;
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  kelvara::bench::GeneratorOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--out" && hasValue) {
      options.folder = argv[++i];
    } else if (arg == "--keys" && hasValue) {
      if (!ParseNumber(argv[++i], options.keys) || options.keys == 0) return Usage();
    } else if (arg == "--seed" && hasValue) {
      if (!ParseNumber(argv[++i], options.seed)) return Usage();
    } else if (arg == "--wine") {
      options.wine = true;
    } else {
      return Usage();
    }
  }
  if (options.folder.empty()) return Usage();
  if (options.wine) {
    const char* user = std::getenv("USER");
    if (user == nullptr || *user == '\0') {
      std::cerr << "registry_gen: --wine needs $USER, the name of the prefix's user\n";
      return 2;
    }
    options.userName = FromUtf8(user);
  } else {
    options.userName = L"Anna";
  }
  const auto start = std::chrono::steady_clock::now();
  kelvara::bench::GeneratedMachine result;
  std::wstring error;
  const bool ok = kelvara::bench::GenerateMachine(options, result, error, [](const std::wstring& what) {
    std::cerr << "registry_gen: writing " << ToUtf8(what) << "\n";
  });
  if (!ok) {
    std::cerr << "registry_gen: " << ToUtf8(error) << "\n";
    return 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const auto& m = result.machine;
  std::printf(
      "registry_gen: %llu keys, %llu values, %.1f MB export, %zu files; findings safe %zu, normal %zu, "
      "deep %zu; %.1f s\n",
      static_cast<unsigned long long>(m.keys), static_cast<unsigned long long>(m.values),
      static_cast<double>(result.origin.exportBytes) / 1e6, result.origin.files, CountAt(m, kelvara::slSafe),
      CountAt(m, kelvara::slNormal), CountAt(m, kelvara::slDeep), seconds);
  return 0;
}
