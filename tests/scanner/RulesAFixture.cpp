#include "RulesAFixture.h"

#include <array>
#include <fstream>

#include "config/LangLookup.h"
#include "platform/Text.h"
#include "registry/RegPaths.h"

namespace kelvara::test {
namespace {

constexpr std::array<const char*, kScanTypeCount> kCategoryNames = {
    "_ACTIVEX", "_SoftWare", "_AppPath",   "_FileType",  "_HelpFiles", "_FWALL",      "_Fonts",
    "_DLL",     "_MRU",      "_Uninstall", "_StartMenu", "_Startup",   "_Sound",      "_IEUrl",
    "_IFEO",    "_EMPTY",    "_APP",       "_Services",  "_MUICache",  "_ContextMenu"};

void ConfigureDrives(platform::SnapshotSettings& settings, bool win64, const std::filesystem::path& removable) {
  settings.system.is64BitWindows = win64;
  settings.system.userSid = kRulesUserSid;
  settings.drives[L'D'] = platform::DriveMapping{removable.wstring(), platform::kDriveCdRom};
  settings.drives[L'E'] = platform::DriveMapping{removable.wstring(), platform::kDriveRemovable};
}

}  // namespace

TRulesFixture::TRulesFixture(std::string_view regText, std::initializer_list<std::wstring_view> files, bool win64)
    : machine_([win64](platform::SnapshotSettings& settings) {
        // The media of D: and E: hold nothing: a host folder that is never made.
        ConfigureDrives(settings, win64, std::filesystem::temp_directory_path() / "kelvara-rules-no-medium");
      }) {
  machine_.LoadReg(L"Windows Registry Editor Version 5.00\r\n\r\n" + FromUtf8(regText));
  for (const std::wstring_view file : files) {
    if (file.back() == L'\\') {
      machine_.AddFolder(std::wstring(file));
    } else {
      machine_.AddFile(std::wstring(file));
    }
  }
  FreeUserList();
  UserList().push_back({true, L"User", kRulesUserSid, L"C:\\Users\\User", true});
}

TRulesFixture::~TRulesFixture() {
  FreeUserList();
  ResetLanguages();
}

void TRulesFixture::AddOtherUser() {
  UserList().push_back({false, L"Other", kOtherUserSid, L"C:\\Users\\Other", true});
}

void TRulesFixture::UseLanguage(const std::wstring& iniText) {
  const std::filesystem::path file = machine_.DataFolder() / "Test.ini";
  std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
  const std::vector<std::uint8_t> text = ToUtf16LeBytes(iniText, false);
  bytes.insert(bytes.end(), text.begin(), text.end());
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  LoadLanguageFile(file.wstring());
}

std::vector<std::string> TRulesFixture::Scan(std::initializer_list<TScanType> categories, TScanLevel level,
                                             bool isAdmin) {
  TRegScanner scanner;
  scanner.SetScanLevel(level);
  scanner.SetIsAdmin(isAdmin);
  for (const TScanType category : categories) scanner.AddScanType(category);
  return Run(scanner);
}

std::vector<std::string> TRulesFixture::ScanWith(TScanType category,
                                                 std::function<void(TRegScanner&, const TProfileContext&)> rules) {
  TRegScanner scanner;
  scanner.SetIsAdmin(true);
  scanner.SetCategoryBlock(category, {nullptr, std::move(rules), false});
  scanner.AddScanType(category);
  return Run(scanner);
}

std::vector<std::string> TRulesFixture::Run(TRegScanner& scanner) {
  RecordingTarget target(&scanner);
  scanner.SetParWin(&target);
  scanner.Execute();
  scanner.SetParWin(nullptr);
  std::vector<std::string> found;
  found.reserve(target.findings.size());
  for (const TResultData& finding : target.findings) found.push_back(FindingText(finding));
  return found;
}

std::string FindingText(const TResultData& finding) {
  const TRegData& at = finding.RegData;
  const int section = static_cast<int>(finding.ScanSection);
  const char* category =
      section >= 0 && section < kScanTypeCount ? kCategoryNames[static_cast<std::size_t>(section)] : "_None";
  const char* removal = at.RemoveType == rfKey ? "rfKey" : at.RemoveType == rfValue ? "rfValue" : "rfNode";
  return ToUtf8(RootKeyToName(at.root) + L"\\" + at.key + L" | " + at.value + L" | " + at.Data + L" | ") + removal +
         " | " + (finding.SafeToFix ? "safe" : "unsafe") + " | " + category + " | " +
         ToUtf8(finding.ErrorMsg + L" | " + finding.User);
}

}  // namespace kelvara::test
