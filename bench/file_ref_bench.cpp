// Throughput of GetFileFromRegData, the scanner's hot path, over a corpus
// of realistic registry data on the snapshot backend.
//
// The program builds a small Windows drive under the temporary folder
// (System32, drivers, Program Files with vendor folders, a user profile),
// maps it as C:, generates the corpus from a fixed seed (existing and
// missing paths, command lines with switches, quoted paths, rundll32
// lines, icon references, environment variables, "\??\" paths, svchost
// lines, ";"-lists, GUIDs, words, URLs, other drives, non-ASCII names),
// runs it once to fill the drive map's listing cache, and then times whole
// passes for at least two seconds of processor time: once on the drive map,
// once on an in-memory set of the same paths (the routine's own cost).
//
//   file_ref_bench [--count N] [--write-corpus FILE]
//
// --write-corpus writes the corpus as UTF-8, one data string per line.
// The share of time in regular-expression work is measured with perf:
//
//   perf record -o fileref.data build/sys-release/bench/file_ref_bench
//   perf report -i fileref.data --no-children --sort symbol
//
// and summing the std::__detail and std::regex symbols.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/Text.h"
#include "platform/snapshot/SnapshotPlatform.h"
#include "sysutil/FileReferences.h"
#include "sysutil/PublicFuns.h"
#include "sysutil/SystemStartup.h"

namespace {

using kelvara::FromUtf8;
using kelvara::ToUtf8;

constexpr int kSystemFiles = 400;
constexpr int kDrivers = 100;
constexpr int kApps = 150;
constexpr int kUserApps = 50;
constexpr double kMinSeconds = 2.0;

const wchar_t* const kSystemStems[] = {L"shell", L"ole",    L"user",     L"kernel", L"gdi", L"win",   L"net",  L"crypt",
                                       L"msv",   L"comctl", L"imageres", L"mf",     L"d3d", L"audio", L"print"};
const wchar_t* const kVendors[] = {L"Contoso", L"Fabrikam", L"Northwind", L"Tailspin", L"Litware", L"Adatum"};
const wchar_t* const kSwitches[] = {L" /s",          L" /uninstall /quiet", L" -k netsvcs", L" --update", L" \"%1\"",
                                    L" /background", L" -minimized",        L" /I{guid}",   L" %*",       L""};
const wchar_t* const kWords[] = {L"Microsoft Corporation",
                                 L"Open",
                                 L"1",
                                 L"0x00000001",
                                 L"Version: 10.0.19045",
                                 L"en-US",
                                 L"Notepad",
                                 L"&Open with",
                                 L"REG_SZ",
                                 L"Default",
                                 L"true",
                                 L"Shell"};

// The parts of a relative Windows path.
std::vector<std::wstring> SplitPath(const std::wstring& path) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  for (std::size_t pos = path.find(L'\\'); pos != std::wstring::npos; pos = path.find(L'\\', start)) {
    parts.push_back(path.substr(start, pos - start));
    start = pos + 1;
  }
  parts.push_back(path.substr(start));
  return parts;
}

std::wstring SystemFile(int i) {
  const std::wstring stem = kSystemStems[i % std::size(kSystemStems)];
  return stem + std::to_wstring(i) + (i % 4 == 0 ? L".exe" : L".dll");
}

std::wstring AppFolder(int i) {
  return std::wstring(L"Program Files\\") + kVendors[i % std::size(kVendors)] + L"\\App " + std::to_wstring(i);
}

std::wstring UserAppFolder(int i) { return L"Users\\User\\AppData\\Local\\Tool" + std::to_wstring(i); }

// The relative Windows paths of every file on the generated drive.
std::vector<std::wstring> DriveFiles() {
  std::vector<std::wstring> files;
  for (int i = 0; i < kSystemFiles; ++i) files.push_back(L"Windows\\System32\\" + SystemFile(i));
  for (int i = 0; i < kDrivers; ++i) files.push_back(L"Windows\\System32\\drivers\\drv" + std::to_wstring(i) + L".sys");
  files.push_back(L"Windows\\System32\\svchost.exe");
  files.push_back(L"Windows\\System32\\rundll32.exe");
  files.push_back(L"Windows\\notepad.exe");
  for (int i = 0; i < kApps; ++i) {
    files.push_back(AppFolder(i) + L"\\app.exe");
    files.push_back(AppFolder(i) + L"\\core.dll");
    files.push_back(AppFolder(i) + L"\\res\\icon.ico");
  }
  for (int i = 0; i < kUserApps; ++i) files.push_back(UserAppFolder(i) + L"\\run.exe");
  files.push_back(L"Users\\User\\Documents\\R\u00e9sum\u00e9\\lettre.docx");
  files.push_back(L"Program Files\\\u30c4\u30fc\u30eb\\\u30c4\u30fc\u30eb.exe");
  return files;
}

void BuildDrive(const std::filesystem::path& root) {
  std::filesystem::remove_all(root);
  for (const std::wstring& file : DriveFiles()) {
    std::filesystem::path host = root;
    for (const std::wstring& part : SplitPath(file)) host /= ToUtf8(part);
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host).put('x');
  }
}

class CorpusGenerator {
 public:
  explicit CorpusGenerator(unsigned seed) : random_(seed) {}

  std::wstring Next() {
    switch (Pick(20)) {
      case 0:
      case 1:
      case 2:
      case 3:
        return L"C:\\Windows\\System32\\" + SystemFile(Pick(kSystemFiles));
      case 4:
        return kelvara::UpperCase(L"c:\\windows\\system32\\" + SystemFile(Pick(kSystemFiles)));
      case 5:
        return L"\"C:\\" + AppFolder(Pick(kApps)) + L"\\app.exe\"" + Switch();
      case 6:
        return L"\"C:\\" + AppFolder(kApps + Pick(kApps)) + L"\\app.exe\"" + Switch();  // missing
      case 7:
        return L"C:\\" + AppFolder(Pick(kApps)) + L"\\app.exe" + Switch();
      case 8:
        return Pick(2) == 0 ? L"C:\\" + AppFolder(Pick(kApps)) + L"\\res\\icon.ico," + std::to_wstring(Pick(9))
                            : L"%SystemRoot%\\System32\\" + SystemFile(Pick(kSystemFiles)) + L",-" +
                                  std::to_wstring(100 + Pick(30000));
      case 9:
        return L"C:\\Windows\\System32\\rundll32.exe C:\\" + AppFolder(Pick(2 * kApps)) + L"\\core.dll,Start";
      case 10:
        return L"%SystemRoot%\\System32\\" + SystemFile(Pick(kSystemFiles));
      case 11:
        return Pick(2) == 0 ? L"%ProgramFiles%\\" + AppFolder(Pick(kApps)).substr(14) + L"\\core.dll"
                            : L"%windir%\\System32\\" + SystemFile(Pick(kSystemFiles + 50));
      case 12:
        return Pick(2) == 0
                   ? L"\\??\\C:\\Windows\\System32\\drivers\\drv" + std::to_wstring(Pick(2 * kDrivers)) + L".sys"
                   : std::wstring(L"%SystemRoot%\\System32\\svchost.exe -k netsvcs -p");
      case 13:
        return Guid();
      case 14:
        return kWords[Pick(std::size(kWords))];
      case 15:
        return L"https://www." + std::wstring(kVendors[Pick(std::size(kVendors))]) + L".example/support?id=" +
               std::to_wstring(Pick(1000));
      case 16:
        return L"C:\\Windows\\System32\\gone" + std::to_wstring(Pick(500)) + L".dll";
      case 17:
        return L"C:\\" + UserAppFolder(Pick(2 * kUserApps)) + L"\\run.exe;C:\\Windows";
      case 18:
        return Pick(2) == 0 ? L"C:\\" + AppFolder(Pick(kApps)) : std::wstring(L"C:\\Windows\\svchost -k LocalService");
      default:
        return Other();
    }
  }

 private:
  int Pick(std::size_t n) { return static_cast<int>(std::uniform_int_distribution<std::size_t>(0, n - 1)(random_)); }

  std::wstring Switch() { return kSwitches[Pick(std::size(kSwitches))]; }

  std::wstring Guid() {
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring guid = L"{";
    for (const int group : {8, 4, 4, 4, 12}) {
      if (guid.size() > 1) guid.push_back(L'-');
      for (int i = 0; i < group; ++i) guid.push_back(kHex[Pick(16)]);
    }
    return guid + L"}";
  }

  std::wstring Other() {
    switch (Pick(5)) {
      case 0:
        return L"X:\\Shared\\tool" + std::to_wstring(Pick(10)) + L".exe";
      case 1:
        return L"Q:\\Setup\\setup.exe /auto";
      case 2:
        return L"\"C:\\Users\\User\\Documents\\R\u00e9sum\u00e9\\lettre.docx\"";
      case 3:
        return L"C:\\Program Files\\\u30c4\u30fc\u30eb\\\u30c4\u30fc\u30eb.exe -tray";
      default:
        return L"C:\\Windows\\notepad";
    }
  }

  std::mt19937 random_;
};

// The same drive as a set of upper-cased Windows paths: shows the cost of
// the routine itself, without the drive map's path resolution.
class PathSetFiles final : public kelvara::platform::FileSystemApi {
 public:
  PathSetFiles() {
    for (const std::wstring& file : DriveFiles()) {
      std::wstring path = L"C:";
      for (const std::wstring& part : SplitPath(file)) {
        path += L"\\" + part;
        paths_.insert(kelvara::UpperCase(path));
      }
    }
  }
  bool PathExists(const std::wstring& path) override { return paths_.count(kelvara::UpperCase(path)) != 0; }
  unsigned DriveType(const std::wstring& root) override {
    return kelvara::UpperChar(root[0]) == L'C' ? kelvara::platform::kDriveFixed : kelvara::platform::kDriveNoRootDir;
  }
  bool DisableRedirection(void*& oldState) override {
    oldState = nullptr;
    return false;
  }
  void RevertRedirection(void*) override {}
  void BeginScan() override {}

 private:
  std::unordered_set<std::wstring> paths_;
};

struct Options {
  std::size_t count = 20000;
  std::string corpusFile;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--count" && i + 1 < argc) {
      options.count = std::strtoul(argv[++i], nullptr, 10);
    } else if (arg == "--write-corpus" && i + 1 < argc) {
      options.corpusFile = argv[++i];
    } else {
      std::fprintf(stderr, "usage: file_ref_bench [--count N] [--write-corpus FILE]\n");
      return false;
    }
  }
  return options.count > 0;
}

// One pass over the corpus; the number of paths found keeps the work from
// being optimised away.
std::size_t Pass(const std::vector<std::wstring>& corpus, std::size_t& missing) {
  std::size_t found = 0;
  for (const std::wstring& data : corpus) {
    const std::wstring path = kelvara::GetFileFromRegData(data, true);
    if (path.empty()) continue;
    ++found;
    if (!kelvara::PathExists(path)) ++missing;
  }
  return found;
}

// Times whole passes for at least kMinSeconds of processor time and prints
// the rate per processor second (the machine may be shared, so wall time
// would count other programs' work too).
void TimePasses(const char* fileSystem, const std::vector<std::wstring>& corpus) {
  using Clock = std::chrono::steady_clock;
  std::size_t calls = 0;
  std::size_t checksum = 0;
  const std::clock_t start = std::clock();
  const Clock::time_point wallStart = Clock::now();
  double seconds = 0;
  do {
    std::size_t missing = 0;
    checksum += Pass(corpus, missing) + missing;
    calls += corpus.size();
    seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  } while (seconds < kMinSeconds);
  const double wallSeconds = std::chrono::duration<double>(Clock::now() - wallStart).count();
  const auto perSecond = [&](double s) { return static_cast<double>(calls) / s; };
  std::printf(
      "%s: %.0f calls per processor second (%.0f ns per call; %.0f per wall-clock second), %zu calls, "
      "checksum %zu\n",
      fileSystem, perSecond(seconds), seconds * 1e9 / static_cast<double>(calls), perSecond(wallSeconds), calls,
      checksum);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return 2;

  const std::filesystem::path drive = std::filesystem::temp_directory_path() / "kelvara-file-ref-bench" / "C";
  BuildDrive(drive);
  kelvara::platform::SnapshotSettings settings;
  settings.drives[L'C'] = {FromUtf8(drive.string()), kelvara::platform::kDriveFixed};
  kelvara::platform::Install(kelvara::platform::MakeSnapshotPlatform(settings));
  kelvara::InitSystemUtilities();

  CorpusGenerator generator(20240611u);
  std::vector<std::wstring> corpus;
  corpus.reserve(options.count);
  for (std::size_t i = 0; i < options.count; ++i) corpus.push_back(generator.Next());
  if (!options.corpusFile.empty()) {
    std::ofstream out(options.corpusFile, std::ios::binary);
    for (const std::wstring& data : corpus) out << ToUtf8(data) << '\n';
  }

  std::size_t missing = 0;
  const std::size_t found = Pass(corpus, missing);  // fills the listing cache
  std::printf("corpus: %zu data strings, %zu name a path, %zu of those missing\n", corpus.size(), found, missing);

  TimePasses("drive map (listings cached)", corpus);
  kelvara::platform::Platform platform = kelvara::platform::Current();
  platform.files = std::make_shared<PathSetFiles>();
  kelvara::platform::Install(platform);
  TimePasses("in-memory path set", corpus);
  std::filesystem::remove_all(drive.parent_path());
  return 0;
}
