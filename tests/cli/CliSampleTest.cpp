// kelvara-cli end to end on the bundled sample machine: the planted
// problems are reported and the healthy entries are not; a clean with its
// backup, then the restore of that backup, gives back the machine as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "cli/CliCommands.h"
#include "config/ConfigObject.h"
#include "config/MemIniFile.h"
#include "platform/Encoding.h"
#include "platform/Text.h"
#include "support/TestData.h"

namespace kelvara::cli {
namespace {

namespace fs = std::filesystem;

fs::path Repository() { return fs::path(test::FixturePath(L"x")).parent_path().parent_path().parent_path(); }

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A registry export as its sections, each with its value lines sorted:
// equal exactly when the same keys hold the same values with the same data.
std::map<std::wstring, std::vector<std::wstring>> ExportContent(const fs::path& file) {
  const std::string bytes = ReadBytes(file);
  const std::wstring text = DecodeText(std::vector<std::uint8_t>(bytes.begin(), bytes.end())).text;
  std::map<std::wstring, std::vector<std::wstring>> sections;
  std::wstring section;
  std::wistringstream lines(text);
  for (std::wstring line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (line.empty()) continue;
    if (line.front() == L'[') {
      section = line;
      sections[section];
    } else if (!section.empty()) {
      sections[section].push_back(line);
    }
  }
  for (auto& [name, values] : sections) std::sort(values.begin(), values.end());
  return sections;
}

// Each finding of a --json output as "category | root | key | value".
std::multiset<std::string> FindingLocations(const std::string& jsonLines) {
  std::multiset<std::string> out;
  std::istringstream lines(jsonLines);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("{\"type\":\"finding\",", 0) != 0) continue;
    const std::size_t from = line.find("\"category\":");
    const std::size_t to = line.find(",\"data\":");
    out.insert(line.substr(from, to - from));
  }
  return out;
}

std::string Finding(const std::string& category, const std::string& root, const std::string& key,
                    const std::string& value = "") {
  return "\"category\":\"" + category + "\",\"root\":\"" + root + "\",\"key\":\"" + key + "\",\"value\":\"" + value +
         "\"";
}

class CliSampleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    folder_ =
        fs::temp_directory_path() / ("kelvara-cli-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(folder_ / "data");
    ResetConfigObject();
  }
  void TearDown() override {
    ResetConfigObject();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // The source options of the sample machine, or of another export of it.
  std::vector<std::wstring> Source(const fs::path& registry = Repository() / "samples" / "sample.reg") const {
    return {L"--registry", registry.wstring(),          L"--drive", L"C=" + (Repository() / "samples" / "C").wstring(),
            L"--data-dir", (folder_ / "data").wstring()};
  }
  static std::vector<std::wstring> Args(std::vector<std::wstring> head, const std::vector<std::wstring>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
  }
  // Runs a command line, keeping what it prints.
  int Run(const std::vector<std::wstring>& args) {
    ResetConfigObject();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = RunCli(args);
    out_ = testing::internal::GetCapturedStdout();
    err_ = testing::internal::GetCapturedStderr();
    return code;
  }

  fs::path folder_;
  std::string out_;
  std::string err_;
};

// The problems planted in the sample, each a reference to something that
// is not on its drive C: (or an empty key, or a history list).
const std::multiset<std::string>& PlantedFindings() {
  static const std::multiset<std::string> planted = {
      Finding("Activex", "HKEY_CLASSES_ROOT", "Applications\\\\oldviewer.exe\\\\shell\\\\open\\\\command"),
      Finding("Activex", "HKEY_CLASSES_ROOT", "OldGame.Save\\\\shell\\\\open\\\\command"),
      Finding("SoftwareSection", "HKEY_LOCAL_MACHINE", "SOFTWARE\\\\EmptyVendor"),
      Finding("SoftwareSection", "HKEY_LOCAL_MACHINE", "SOFTWARE\\\\OldGame", "Executable"),
      Finding("SoftwareSection", "HKEY_CURRENT_USER", "Software\\\\EmptyTool"),
      Finding("SoftwareSection", "HKEY_CURRENT_USER", "Software\\\\OldChat", "Program"),
      Finding("ApplicationPaths", "HKEY_LOCAL_MACHINE",
              "SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\oldeditor.exe"),
      Finding("ApplicationPaths", "HKEY_CURRENT_USER",
              "Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\AppCompatFlags\\\\Layers",
              "C:\\\\Games\\\\OldGame\\\\game.exe"),
      Finding("FileTypes", "HKEY_CLASSES_ROOT", "OldGame.Save\\\\shell\\\\open\\\\command"),
      Finding("HelpFiles", "HKEY_LOCAL_MACHINE", "SOFTWARE\\\\Microsoft\\\\Windows\\\\Help", "oldgame.hlp"),
      Finding(
          "Firewall", "HKEY_LOCAL_MACHINE",
          "SYSTEM\\\\CurrentControlSet\\\\Services\\\\SharedAccess\\\\Parameters\\\\FirewallPolicy\\\\FirewallRules",
          "{A1B2C3D4-0002-0000-0000-000000000002}"),
      Finding("Fonts", "HKEY_LOCAL_MACHINE", "SOFTWARE\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\Fonts",
              "Lost Sans (TrueType)"),
      Finding("SharedDLL", "HKEY_LOCAL_MACHINE", "SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\SharedDlls\\\\",
              "C:\\\\Program Files\\\\Common Files\\\\Gone\\\\gone.dll"),
      Finding("MRULists", "HKEY_CURRENT_USER",
              "Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\RunMRU", "a"),
      Finding("MRULists", "HKEY_CURRENT_USER",
              "Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\RunMRU", "MRUList"),
      Finding("UninstallSection", "HKEY_LOCAL_MACHINE",
              "SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\OldGame", "UninstallString"),
      Finding("UninstallSection", "HKEY_CURRENT_USER",
              "SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\OldChat", "UninstallString"),
      Finding("StartupProgram", "HKEY_LOCAL_MACHINE", "SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run",
              "OldUpdater"),
      Finding("StartupProgram", "HKEY_CURRENT_USER", "SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run",
              "OldChat"),
      Finding("SoundandAppEvents", "HKEY_CURRENT_USER",
              "AppEvents\\\\Schemes\\\\Apps\\\\.Default\\\\SystemHand\\\\.Current"),
      Finding("IFEO", "HKEY_LOCAL_MACHINE",
              "SOFTWARE\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\Image File Execution Options\\\\notepad.exe",
              "Debugger"),
      Finding("App", "HKEY_CLASSES_ROOT", "Applications\\\\oldviewer.exe\\\\shell\\\\open\\\\command"),
      Finding("Services", "HKEY_LOCAL_MACHINE", "SYSTEM\\\\CurrentControlSet\\\\services\\\\OldGameSvc", "ImagePath"),
      Finding("MUICache", "HKEY_CURRENT_USER",
              "Software\\\\Classes\\\\Local Settings\\\\Software\\\\Microsoft\\\\Windows\\\\Shell\\\\MuiCache",
              "C:\\\\Games\\\\OldGame\\\\game.exe.FriendlyAppName"),
  };
  return planted;
}

TEST_F(CliSampleTest, ScanReportsThePlantedProblemsAndNothingElse) {
  ASSERT_EQ(Run(Args({L"scan", L"--json"}, Source())), kExitDone) << err_;
  EXPECT_EQ(FindingLocations(out_), PlantedFindings()) << out_;
  EXPECT_NE(out_.find("{\"type\":\"summary\",\"findings\":24,\"safe\":23,\"unsafe\":1,\"status\":\"finished\"}"),
            std::string::npos)
      << out_;
}

TEST_F(CliSampleTest, CleanWithBackupThenRestoreGivesBackTheMachine) {
  const fs::path empty = folder_ / "empty.reg";
  std::ofstream(empty, std::ios::binary) << "Windows Registry Editor Version 5.00\r\n";
  const fs::path before = folder_ / "before.reg";
  ASSERT_EQ(Run(Args({L"restore", empty.wstring(), L"--out", before.wstring()}, Source())), kExitDone) << err_;

  const fs::path cleaned = folder_ / "cleaned.reg";
  const fs::path fixes = folder_ / "fixes.reg";
  ASSERT_EQ(Run(Args({L"clean", L"--all", L"--json", L"--out", cleaned.wstring(), L"--fix-script", fixes.wstring()},
                     Source())),
            kExitDone)
      << err_;
  ASSERT_NE(out_.find("{\"type\":\"clean\",\"total\":24,\"safe\":23,\"unsafe\":1,\"failed\":0,\"backup\":"),
            std::string::npos)
      << out_;
  std::vector<fs::path> backups;
  for (const auto& file : fs::directory_iterator(folder_ / "data" / "Backup")) backups.push_back(file.path());
  ASSERT_EQ(backups.size(), 1U);
  const TMemIniFile config = TMemIniFile::Load((folder_ / "data" / "Config.ini").wstring());
  EXPECT_EQ(config.ReadInteger(L"RestoreData", backups[0].stem().wstring(), -1), 24);
  EXPECT_GT(config.ReadFloatDate(L"Clean", L"LastTime", 0), 0);
  EXPECT_NE(ExportContent(cleaned), ExportContent(before));
  EXPECT_TRUE(fs::exists(fixes));

  // The cleaned findings are gone (emptied parents may show up as empty keys).
  ASSERT_EQ(Run(Args({L"scan", L"--json"}, Source(cleaned))), kExitDone) << err_;
  for (const std::string& finding : FindingLocations(out_)) EXPECT_EQ(PlantedFindings().count(finding), 0U) << finding;

  const fs::path restored = folder_ / "restored.reg";
  ASSERT_EQ(Run(Args({L"restore", backups[0].wstring(), L"--out", restored.wstring()}, Source(cleaned))), kExitDone)
      << err_;
  EXPECT_EQ(ExportContent(restored), ExportContent(before));
  ASSERT_EQ(Run(Args({L"scan", L"--json"}, Source(restored))), kExitDone) << err_;
  EXPECT_EQ(FindingLocations(out_), PlantedFindings());
}

TEST_F(CliSampleTest, UsageErrorsAndMalformedExportsHaveTheirExitCodes) {
  EXPECT_EQ(Run({L"scan", L"--level", L"extreme"}), kExitUsage);
  EXPECT_NE(err_.find("--level"), std::string::npos) << err_;
  EXPECT_EQ(Run({L"scan", L"--registry", (Repository() / "samples" / "sample.reg").wstring()}), kExitUsage);
  EXPECT_NE(err_.find("--drive"), std::string::npos) << err_;

  const fs::path bad = folder_ / "bad.reg";
  std::ofstream(bad, std::ios::binary) << "Windows Registry Editor Version 5.00\r\n\r\n"
                                          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\r\n\"a\"=dword:zz\r\n";
  EXPECT_EQ(Run(Args({L"scan"}, Source(bad))), kExitBadInput);
  EXPECT_NE(err_.find(ToUtf8(bad.wstring())), std::string::npos) << err_;
  EXPECT_NE(err_.find("line 4"), std::string::npos) << err_;
  const fs::path missing = folder_ / "missing.reg";
  EXPECT_EQ(Run(Args({L"scan"}, Source(missing))), kExitBadInput);
  EXPECT_NE(err_.find(ToUtf8(missing.wstring())), std::string::npos) << err_;
  EXPECT_EQ(Run(Args({L"restore", bad.wstring()}, Source())), kExitBadInput);
  EXPECT_NE(err_.find("line 4"), std::string::npos) << err_;
}

}  // namespace
}  // namespace kelvara::cli
