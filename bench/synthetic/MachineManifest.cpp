#include "synthetic/MachineManifest.h"

#include <charconv>
#include <fstream>
#include <map>

#include "platform/Text.h"
#include "synthetic/TruthFile.h"

namespace kelvara::bench {
namespace {

constexpr char kRegistryName[] = "registry.reg";
constexpr char kDriveName[] = "C";

bool ParseCount(const std::string& text, std::uint64_t& count) {
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, count);
  return failure == std::errc() && stop == end;
}

std::wstring Child(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty() || folder.back() == L'/') return folder + name;
  return folder + L"/" + name;
}

}  // namespace

bool WriteMachineManifest(const std::string& path, const SyntheticMachine& machine, const MachineOrigin& origin,
                          std::wstring& error) {
  std::ofstream out(path, std::ios::binary);
  out << "registry=" << kRegistryName << "\n"
      << "drive=" << kDriveName << "\n"
      << "user=" << ToUtf8(machine.userName) << "\n"
      << "sid=" << ToUtf8(machine.userSid) << "\n"
      << "keys=" << machine.keys << "\n"
      << "values=" << machine.values << "\n"
      << "findings=" << machine.truth.size() << "\n"
      << "export_bytes=" << origin.exportBytes << "\n"
      << "files=" << origin.files << "\n"
      << "seed=" << origin.seed << "\n"
      << "requested_keys=" << origin.requestedKeys << "\n"
      << "wine=" << (origin.wine ? 1 : 0) << "\n";
  out.close();
  if (!out) {
    error = L"cannot write " + FromUtf8(path);
    return false;
  }
  return true;
}

bool LoadSyntheticMachine(const std::wstring& folder, SyntheticMachine& machine, std::wstring& error) {
  const std::wstring manifest = Child(folder, L"machine.txt");
  std::ifstream in(ToUtf8(manifest), std::ios::binary);
  if (!in) {
    error = L"cannot read " + manifest;
    return false;
  }
  std::map<std::string, std::string> fields;
  for (std::string line; std::getline(in, line);) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos) fields[line.substr(0, eq)] = line.substr(eq + 1);
  }
  for (const char* required : {"registry", "drive", "user", "sid", "keys", "values"}) {
    if (fields.count(required) == 0) {
      error = manifest + L": no \"" + FromUtf8(required) + L"\" line";
      return false;
    }
  }
  machine = SyntheticMachine{};
  machine.folder = folder;
  machine.registryFile = Child(folder, FromUtf8(fields["registry"]));
  machine.driveFolder = Child(folder, FromUtf8(fields["drive"]));
  machine.userName = FromUtf8(fields["user"]);
  machine.userSid = FromUtf8(fields["sid"]);
  if (!ParseCount(fields["keys"], machine.keys) || !ParseCount(fields["values"], machine.values)) {
    error = manifest + L": the key and value counts must be numbers";
    return false;
  }
  return ReadTruthFile(Child(folder, L"truth.tsv"), machine.truth, error);
}

}  // namespace kelvara::bench
