// Loading a whole-registry export into the snapshot store: speed and
// memory, and a check mode for given exports.
//
//   reg_load_bench [--mb N] [--keep FILE]
//       writes a synthetic export of at least N MB (default 100) of UTF-16
//       text shaped like a Windows export (class registrations, wrapped
//       hex data, user keys), loads it and prints MB/s and the peak memory
//       of the load relative to the file size.
//   reg_load_bench --load FILE [--save OUT]
//       loads FILE (exit 1 with the error when it does not load) and saves
//       the store back as one export when asked.
//
// Memory is the process's resident set from /proc/self/status; build with
// the linux-release preset for meaningful numbers.
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "measure/Stopwatch.h"
#include "platform/Encoding.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/snapshot/SnapshotPlatform.h"
#include "registry/RegSnapshot.h"

namespace {

using namespace kelvara;

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"); 0 when unknown.
long StatusKb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
  }
  return 0;
}

// Resets the peak resident set to the current one (Linux 4.0 and later).
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

std::wstring Hex2(unsigned byte) {
  static const wchar_t digits[] = L"0123456789abcdef";
  return {digits[(byte >> 4) & 15], digits[byte & 15]};
}

// Hex data as regedit writes it: wrapped after about 80 characters with
// "\" and continued on lines indented by two blanks.
void AppendHex(std::wstring& out, std::wstring_view prefix, const std::vector<unsigned>& bytes) {
  std::size_t column = prefix.size();
  out += prefix;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out += Hex2(bytes[i]);
    column += 2;
    if (i + 1 == bytes.size()) break;
    out += L',';
    ++column;
    if (column > 76) {
      out += L"\\\r\n  ";
      column = 2;
    }
  }
  out += L"\r\n";
}

std::vector<unsigned> TextBytes(std::wstring_view text) {
  std::vector<unsigned> bytes;
  for (const wchar_t c : text) {
    bytes.push_back(static_cast<unsigned>(c) & 0xFF);
    bytes.push_back((static_cast<unsigned>(c) >> 8) & 0xFF);
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

// Increasing with `i`, so the keys come in the sorted order of an export.
std::wstring Guid(unsigned i) {
  wchar_t buffer[64];
  std::swprintf(buffer, 64, L"{%08X-%04X-%04X-%04X-%012X}", i, (i * 2654435761u) >> 16, i & 0xFFFF,
                0x8000 | (i & 0xFFF), i * 40503u);
  return buffer;
}

std::wstring Padded(unsigned number) {
  wchar_t buffer[16];
  std::swprintf(buffer, 16, L"%06u", number);
  return buffer;
}

// One class registration under HKEY_LOCAL_MACHINE.
std::wstring MachineBlock(unsigned i) {
  const std::wstring clsid = L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\" + Guid(i);
  std::wstring out;
  out += L"\r\n" + clsid + L"]\r\n@=\"Kelvara Sample Component " + std::to_wstring(i) + L"\"\r\n";
  out += L"\"AppID\"=\"" + Guid(i + 7) + L"\"\r\n";
  out += L"\r\n" + clsid + L"\\InprocServer32]\r\n";
  AppendHex(out, L"@=hex(2):", TextBytes(L"%SystemRoot%\\System32\\component" + std::to_wstring(i) + L".dll"));
  out += L"\"ThreadingModel\"=\"Both\"\r\n";
  out += L"\r\n" + clsid + L"\\ProgID]\r\n@=\"Sample.Component." + std::to_wstring(i) + L"\"\r\n";
  return out;
}

// One product key of a vendor under the user's software key.
std::wstring UserBlock(unsigned i) {
  const std::wstring vendor =
      L"[HKEY_USERS\\S-1-5-21-3623811015-3361044348-30300820-1001\\Software\\Vendor" + Padded(i / 100);
  std::wstring out;
  if (i % 100 == 0) out += L"\r\n" + vendor + L"]\r\n";
  out += L"\r\n" + vendor + L"\\Product" + Padded(i) +
         L"]\r\n\"InstallPath\"=\"C:\\\\Program Files\\\\Vendor\\\\Product " + std::to_wstring(i) +
         L"\"\r\n\"Version\"=dword:" + Hex2(i & 0xFF) + L"0000" + Hex2(i >> 8 & 0xFF) + L"\r\n";
  std::vector<unsigned> settings(48);
  for (std::size_t b = 0; b < settings.size(); ++b) settings[b] = (i * 31 + static_cast<unsigned>(b) * 7) & 0xFF;
  AppendHex(out, L"\"Settings\"=hex:", settings);
  AppendHex(out, L"\"Recent\"=hex(7):", TextBytes(std::wstring(L"first.txt\0second.txt\0", 21)));
  return out;
}

int Generate(const std::wstring& file, std::size_t megabytes) {
  platform::HostFilesApi& files = platform::HostFiles();
  platform::HostFileError error;
  files.DeleteFile(file, error);
  const std::size_t target = megabytes << 20;
  std::size_t written = 0;
  std::wstring chunk = L"Windows Registry Editor Version 5.00\r\n";
  bool first = true;
  // The machine's keys fill the first 60 %, the user's the rest, each
  // section in sorted order as regedit writes them.
  for (unsigned machine = 0, user = 0; written < target;) {
    chunk += written < target / 10 * 6 ? MachineBlock(machine++) : UserBlock(user++);
    if (chunk.size() < (1u << 19) && written + chunk.size() * 2 < target) continue;
    const std::vector<std::uint8_t> bytes = EncodeText(chunk, first ? TextEncoding::Utf16LeBom : TextEncoding::Utf16Le);
    if (!files.AppendFile(file, bytes, error)) {
      std::fprintf(stderr, "cannot write %s: %s\n", ToUtf8(file).c_str(), ToUtf8(error.message).c_str());
      return 1;
    }
    written += bytes.size();
    chunk.clear();
    first = false;
  }
  return 0;
}

// Replaces the installed platform (and frees the store before it).
void InstallFreshStore() {
  platform::SnapshotSettings settings;
  platform::Install(platform::MakeSnapshotPlatform(std::move(settings)));
}

int Load(const std::wstring& file, const std::wstring& saveTo) {
  InstallFreshStore();
  std::wstring error;
  const bench::Stopwatch stopwatch;
  if (!LoadRegistrySnapshot({file}, error)) {
    std::fprintf(stderr, "%s\n", ToUtf8(error).c_str());
    return 1;
  }
  std::printf("loaded %s in %.2f s\n", ToUtf8(file).c_str(), stopwatch.Seconds());
  if (saveTo.empty()) return 0;
  if (!SaveRegistrySnapshot(saveTo, error)) {
    std::fprintf(stderr, "%s\n", ToUtf8(error).c_str());
    return 1;
  }
  std::printf("saved %s\n", ToUtf8(saveTo).c_str());
  return 0;
}

int Benchmark(std::size_t megabytes, const std::wstring& keep) {
  InstallFreshStore();
  const std::wstring file = keep.empty() ? platform::HostFiles().TempFolder() + L"/kelvara-reg-load-bench.reg" : keep;
  if (Generate(file, megabytes) != 0) return 1;
  platform::HostFileInfo info;
  platform::HostFiles().GetFileInfo(file, info);
  const double fileMb = static_cast<double>(info.size) / (1 << 20);

  // A store of its own, without what the generator left behind.
  InstallFreshStore();
  ResetPeak();
  const long baseKb = StatusKb("VmRSS");
  std::wstring error;
  const bench::Stopwatch stopwatch;
  const bool loaded = LoadRegistrySnapshot({file}, error);
  const double seconds = stopwatch.Seconds();
  const long peakKb = StatusKb("VmHWM");
  const long afterKb = StatusKb("VmRSS");
  if (keep.empty()) platform::HostFiles().ForceDeleteFile(file);
  if (!loaded) {
    std::fprintf(stderr, "%s\n", ToUtf8(error).c_str());
    return 1;
  }
  const double peakMb = static_cast<double>(peakKb - baseKb) / 1024;
  const double storeMb = static_cast<double>(afterKb - baseKb) / 1024;
  std::printf("file %.1f MB UTF-16, loaded in %.2f s: %.1f MB/s\n", fileMb, seconds, fileMb / seconds);
  std::printf("peak memory of the load %.1f MB = %.2f x the file; store afterwards %.1f MB = %.2f x\n", peakMb,
              peakMb / fileMb, storeMb, storeMb / fileMb);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t megabytes = 100;
  std::wstring load;
  std::wstring save;
  std::wstring keep;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const std::wstring value = FromUtf8(argv[i + 1]);
    if (option == "--mb") {
      megabytes = std::stoul(argv[i + 1]);
    } else if (option == "--load") {
      load = value;
    } else if (option == "--save") {
      save = value;
    } else if (option == "--keep") {
      keep = value;
    } else {
      std::fprintf(stderr, "unknown option %s\n", option.c_str());
      return 2;
    }
  }
  if (argc % 2 == 0) {
    std::fprintf(stderr, "usage: reg_load_bench [--mb N] [--keep FILE] | --load FILE [--save OUT]\n");
    return 2;
  }
  return load.empty() ? Benchmark(megabytes, keep) : Load(load, save);
}
