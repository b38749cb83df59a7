// registry_bench: how fast the scanner and the cleaner run against the
// least work a whole-registry scan must do, and how correct the scan is.
//
//   registry_bench --machine DIR [--live] [--baseline FILE] [--no-clean] [--data-dir DIR]
//   registry_bench --live --save-findings FILE [--data-dir DIR]
//
// DIR is a synthetic machine made by registry_gen. Without --live the
// machine's export is loaded into the snapshot backend with DIR/C as its
// drive C:; with --live (Windows) the running system's registry is used,
// into which the machine was imported. One run measures on the same
// registry: the raw walk, the scan of all twenty categories at the safe,
// normal and deep levels (every user profile, as administrator), the clean
// of every deep finding with its backup, and the peak memory. Each scan is
// scored against the machine's ground truth. Findings listed in the
// --baseline file (saved by --save-findings before the import) are not the
// machine's: they are neither scored nor cleaned. The last line is one JSON
// object with the figures.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cli/RegistrySource.h"
#include "cli/ScanSettings.h"
#include "measure/FindingList.h"
#include "measure/ProcessMemory.h"
#include "measure/RawWalk.h"
#include "measure/ScanRun.h"
#include "measure/Stopwatch.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "repair/RegCleanerExport.h"
#include "synthetic/SyntheticMachine.h"
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#else
#include "platform/snapshot/SnapshotPlatform.h"
#endif

namespace kelvara::bench {
namespace {

struct Options {
  std::wstring machine;
  bool live = false;
  std::wstring baseline;
  std::wstring saveFindings;
  bool clean = true;
  std::wstring dataDir;
};

int Usage(const std::wstring& problem) {
  std::fprintf(stderr,
               "registry_bench: %s\n"
               "usage: registry_bench --machine DIR [--live] [--baseline FILE] [--no-clean] [--data-dir DIR]\n"
               "       registry_bench --live --save-findings FILE [--data-dir DIR]\n",
               ToUtf8(problem).c_str());
  return 2;
}

bool ParseOptions(const std::vector<std::wstring>& args, Options& options, std::wstring& problem) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::wstring& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == L"--live") {
      options.live = true;
    } else if (a == L"--no-clean") {
      options.clean = false;
    } else if (hasValue && a == L"--machine") {
      options.machine = args[++i];
    } else if (hasValue && a == L"--baseline") {
      options.baseline = args[++i];
    } else if (hasValue && a == L"--save-findings") {
      options.saveFindings = args[++i];
    } else if (hasValue && a == L"--data-dir") {
      options.dataDir = args[++i];
    } else {
      problem = L"unknown or incomplete option " + a;
      return false;
    }
  }
  if (options.machine.empty() && options.saveFindings.empty()) {
    problem = L"give --machine DIR or --save-findings FILE";
    return false;
  }
  if (options.machine.empty() && !options.live) {
    problem = L"--save-findings without --machine needs --live";
    return false;
  }
  return true;
}

void InstallDefaultPlatform() {
#ifdef _WIN32
  platform::Install(platform::MakeWin32Platform());
#else
  platform::SnapshotSettings settings;
  platform::Install(platform::MakeSnapshotPlatform(settings));
#endif
}

// A data folder of the run's own, so no earlier configuration, exclusion
// list or backup changes what is measured.
std::wstring FreshDataFolder() {
  platform::HostFilesApi& files = platform::HostFiles();
  const wchar_t sep = files.Separator();
  return files.TempFolder() + sep + L"kelvara-registry-bench-" +
         std::to_wstring(static_cast<long long>(std::time(nullptr))) + sep;
}

void Line(const std::string& text) {
  std::fprintf(stdout, "%s\n", text.c_str());
  std::fflush(stdout);
}

std::string Fixed(double number, int digits) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", digits, number);
  return buffer;
}

struct LevelResult {
  LevelResult(const char* levelName, TScanLevel scanLevel) : name(levelName), level(scanLevel) {}
  const char* name;
  TScanLevel level;
  double seconds = 0;
  std::size_t findings = 0;
  TruthScore score;
};

void PrintMisses(const TruthScore& score) {
  for (const std::wstring& line : score.missed) Line("  missed: " + ToUtf8(line));
  for (const std::wstring& line : score.unexpected) Line("  unexpected: " + ToUtf8(line));
}

int Run(const Options& options) {
  InstallDefaultPlatform();
  SyntheticMachine machine;
  std::wstring error;
  if (!options.machine.empty() && !LoadSyntheticMachine(options.machine, machine, error)) {
    std::fprintf(stderr, "registry_bench: %s\n", ToUtf8(error).c_str());
    return 3;
  }
  std::set<std::wstring> baseline;
  if (!options.baseline.empty() && !LoadFindingList(options.baseline, baseline, error)) {
    std::fprintf(stderr, "registry_bench: %s\n", ToUtf8(error).c_str());
    return 3;
  }
  double exportMb = 0;
  if (!machine.registryFile.empty()) {
    platform::HostFileInfo info;
    if (platform::HostFiles().GetFileInfo(machine.registryFile, info))
      exportMb = static_cast<double>(info.size) / (1 << 20);
  }

  cli::CliArguments args;
  args.command = cli::Command::Scan;
  if (!options.live) {
    args.registryFiles = {machine.registryFile};
    args.drives = {cli::DriveOption{L'C', machine.driveFolder}};
    args.user = machine.userName;
  }
  args.allUsers = true;
  for (int i = 0; i < kScanTypeCount; ++i) args.categories.push_back(static_cast<TScanType>(i));
  args.dataDir = options.dataDir.empty() ? FreshDataFolder() : options.dataDir;

  const Stopwatch loadWatch;
  cli::RegistrySource source;
  if (const int code = cli::InstallRegistrySource(args, source, error); code != 0) {
    std::fprintf(stderr, "registry_bench: %s\n", ToUtf8(error).c_str());
    return code;
  }
  const double loadSeconds = loadWatch.Seconds();
  cli::LoadEnglish();
  if (!options.live) Line("load: " + Fixed(loadSeconds, 2) + " s for " + Fixed(exportMb, 1) + " MB of export");

  // The first walk also fills the system's caches (the file system's, and
  // Wine's); the measured walk, like the scans after it, finds them warm.
  const Stopwatch coldWatch;
  RawWalk();
  Line("raw walk, first (cold caches): " + Fixed(coldWatch.Seconds(), 2) + " s");
  const Stopwatch walkWatch;
  const RawWalkCounts walk = RawWalk();
  const double walkSeconds = walkWatch.Seconds();
  Line("raw walk: " + Fixed(walkSeconds, 2) + " s, " + std::to_string(walk.keys) + " keys, " +
       std::to_string(walk.values) + " values, " + std::to_string(walk.pathsTested) + " drive paths tested (" +
       std::to_string(walk.pathsFound) + " exist)");

  LevelResult levels[] = {{"safe", slSafe}, {"normal", slNormal}, {"deep", slDeep}};
  ScanOutcome deep;
  double precision = 1.0;
  double recall = 1.0;
  for (LevelResult& level : levels) {
    args.level = level.level;
    ScanOutcome outcome;
    if (!RunScan(args, source, outcome, error)) {
      std::fprintf(stderr, "registry_bench: %s\n", ToUtf8(error).c_str());
      return 2;
    }
    level.seconds = outcome.seconds;
    level.findings = outcome.findings.size();
    std::string text = std::string("scan ") + level.name + ": " + Fixed(level.seconds, 2) + " s, " +
                       std::to_string(level.findings) + " findings (" +
                       Fixed(static_cast<double>(level.findings) / std::max(level.seconds, 1e-9), 0) +
                       " per second), " + Fixed(level.seconds / std::max(walkSeconds, 1e-9), 2) + "x the raw walk";
    if (outcome.aborted) text += ", aborted";
    if (!options.machine.empty()) {
      level.score = ScoreFindings(machine, FindingsNotIn(outcome.findings, baseline), level.level);
      precision = std::min(precision, level.score.precision);
      recall = std::min(recall, level.score.recall);
      text += ", precision " + Fixed(level.score.precision, 4) + ", recall " + Fixed(level.score.recall, 4) + " (" +
              std::to_string(level.score.matched) + " of " + std::to_string(level.score.expected) + " expected, " +
              std::to_string(level.score.reported) + " reported)";
    }
    Line(text);
    PrintMisses(level.score);
    if (level.level == slDeep) deep = std::move(outcome);
  }
  if (!options.saveFindings.empty()) {
    if (!SaveFindingList(options.saveFindings, deep.findings, error)) {
      std::fprintf(stderr, "registry_bench: %s\n", ToUtf8(error).c_str());
      return 3;
    }
    Line("saved " + std::to_string(deep.findings.size()) + " findings to " + ToUtf8(options.saveFindings));
  }

  double cleanSeconds = 0;
  if (options.clean && !options.machine.empty()) {
    // What the live system reported before the import is not the
    // machine's, and is left alone.
    std::vector<std::unique_ptr<TResultData>> planted;
    for (auto& f : deep.findings) {
      if (baseline.count(FindingLine(*f)) == 0) planted.push_back(std::move(f));
    }
    const CleanOutcome clean = RunClean(args, source, planted);
    cleanSeconds = clean.seconds;
    Line("clean: " + Fixed(clean.seconds, 2) + " s, " + std::to_string(clean.info.TotalKeys) + " entries, " +
         std::to_string(clean.info.FailRemove) + " failed, backup " +
         (clean.backupFile.empty() ? "not written: " + ToUtf8(clean.backupError) : ToUtf8(clean.backupFile)));
  }
  FreeEngines();

  const double peakMb = static_cast<double>(PeakResidentBytes()) / (1 << 20);
  const double ratio = levels[1].seconds / std::max(walkSeconds, 1e-9);
  std::string memory = "peak memory: " + Fixed(peakMb, 1) + " MB";
  if (exportMb > 0 && !options.live) memory += " (" + Fixed(peakMb / exportMb, 2) + "x the export)";
  Line(memory);
  Line("{\"keys\":" + std::to_string(walk.keys) + ",\"values\":" + std::to_string(walk.values) +
       ",\"export_mb\":" + Fixed(exportMb, 1) + ",\"load_s\":" + Fixed(options.live ? 0 : loadSeconds, 3) +
       ",\"raw_walk_s\":" + Fixed(walkSeconds, 3) + ",\"scan_safe_s\":" + Fixed(levels[0].seconds, 3) +
       ",\"scan_normal_s\":" + Fixed(levels[1].seconds, 3) + ",\"scan_deep_s\":" + Fixed(levels[2].seconds, 3) +
       ",\"clean_s\":" + Fixed(cleanSeconds, 3) + ",\"ratio_normal\":" + Fixed(ratio, 3) +
       ",\"findings_normal\":" + std::to_string(levels[1].findings) + ",\"peak_rss_mb\":" + Fixed(peakMb, 1) +
       ",\"precision\":" + Fixed(precision, 4) + ",\"recall\":" + Fixed(recall, 4) + "}");
  return precision == 1.0 && recall == 1.0 ? 0 : 1;
}

}  // namespace
}  // namespace kelvara::bench

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  const std::vector<std::wstring> args(argv + std::min(argc, 1), argv + argc);
#else
int main(int argc, char** argv) {
  std::vector<std::wstring> args;
  for (int i = 1; i < argc; ++i) args.push_back(kelvara::FromUtf8(argv[i]));
#endif
  kelvara::bench::Options options;
  std::wstring problem;
  if (!kelvara::bench::ParseOptions(args, options, problem)) return kelvara::bench::Usage(problem);
  return kelvara::bench::Run(options);
}
