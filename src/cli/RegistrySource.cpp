#include "cli/RegistrySource.h"

#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/snapshot/SnapshotPlatform.h"
#include "registry/RegFileParser.h"
#include "registry/RegImport.h"
#include "registry/RegSnapshot.h"
#include "scanner/UserProfiles.h"
#include "sysutil/AdminFlag.h"
#include "sysutil/SystemStartup.h"
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#endif

namespace kelvara::cli {
namespace {

const wchar_t kProfileList[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";
const wchar_t kCurrentVersion[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// What the exports tell about the machine before it is built: its user
// profiles, whether it is 64-bit and its version.
class FactsSink final : public RegFileSink {
 public:
  void BeginKey(std::size_t, platform::HKey root, std::wstring_view path) override {
    section_ = Section::Other;
    if (root == platform::kHkeyUsers) {
      const std::wstring_view hive = path.substr(0, path.find(L'\\'));
      if (StartsWithText(hive, L"S-1-5-21-") && !EndsWithText(hive, L"_Classes") &&
          (loadedSids.empty() || !SameText(loadedSids.back(), hive))) {
        bool known = false;
        for (const auto& sid : loadedSids) known = known || SameText(sid, hive);
        if (!known) loadedSids.emplace_back(hive);
      }
    }
    if (root != platform::kHkeyLocalMachine) return;
    if (SameText(path, L"SOFTWARE\\Wow6432Node")) hasWow6432Node = true;
    if (SameText(path, kCurrentVersion)) section_ = Section::Version;
    const std::wstring_view list = kProfileList;
    if (StartsWithText(path, list) && path.find(L'\\', list.size()) == std::wstring_view::npos) {
      section_ = Section::Profile;
      profileSid_ = std::wstring(path.substr(list.size()));
    }
  }
  void DeleteKey(std::size_t, platform::HKey, std::wstring_view) override { section_ = Section::Other; }
  void SetValue(std::size_t, std::wstring_view name, std::uint32_t type, std::span<const std::uint8_t> data) override {
    if (section_ == Section::Profile && SameText(name, L"ProfileImagePath") &&
        (type == platform::kRegSz || type == platform::kRegExpandSz)) {
      std::wstring text = FromUtf16LeBytes(data.data(), data.size());
      if (const auto nul = text.find(L'\0'); nul != std::wstring::npos) text.resize(nul);
      profiles[profileSid_] = text;
    } else if (section_ == Section::Version && type == platform::kRegDword && data.size() == 4) {
      const unsigned v = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<unsigned>(data[3]) << 24);
      if (SameText(name, L"CurrentMajorVersionNumber")) major = v;
      if (SameText(name, L"CurrentMinorVersionNumber")) minor = v;
    } else if (section_ == Section::Version && SameText(name, L"CurrentBuildNumber") && type == platform::kRegSz) {
      std::wstring text = FromUtf16LeBytes(data.data(), data.size());
      unsigned b = 0;
      for (wchar_t c : text) {
        if (c < L'0' || c > L'9') break;
        b = b * 10 + static_cast<unsigned>(c - L'0');
      }
      build = b;
    }
  }
  void DeleteValue(std::size_t, std::wstring_view) override {}

  std::vector<std::wstring> loadedSids;
  std::map<std::wstring, std::wstring, TextLess> profiles;  // SID -> ProfileImagePath
  bool hasWow6432Node = false;
  std::optional<unsigned> major, minor, build;

 private:
  enum class Section { Other, Profile, Version };
  Section section_ = Section::Other;
  std::wstring profileSid_;
};

std::wstring LastFolder(const std::wstring& path) {
  std::wstring p = path;
  while (!p.empty() && (p.back() == L'\\' || p.back() == L'/')) p.pop_back();
  const std::size_t slash = p.find_last_of(L"\\/");
  return slash == std::wstring::npos ? p : p.substr(slash + 1);
}

std::wstring HostAppDataFolder() {
#ifdef _WIN32
  return platform::MakeWin32Platform().system->SpecialFolder(26);
#else
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') return FromUtf8(xdg);
  const char* home = std::getenv("HOME");
  return FromUtf8(home != nullptr ? home : ".") + L"/.local/share";
#endif
}

}  // namespace

int InstallRegistrySource(const CliArguments& args, RegistrySource& source, std::wstring& error) {
  source.hostAppData = HostAppDataFolder();
  if (args.registryFiles.empty()) {
#ifdef _WIN32
    platform::Install(platform::MakeWin32Platform());
    InitSystemUtilities();
    InitIsAdmin();
    if (args.noAdmin) SetIsAdmin(false);
    LoadUserList();
    return 0;
#else
    error = L"--registry FILE.reg is required: this build examines registry exports";
    return 2;
#endif
  }
  source.snapshot = true;
  // The exports are read through the host files before the machine they
  // describe is built.
  platform::SnapshotSettings readerSettings;
  platform::Install(platform::MakeSnapshotPlatform(std::move(readerSettings)));
  FactsSink facts;
  for (const auto& file : args.registryFiles) {
    std::vector<std::uint8_t> bytes;
    if (!ReadRegFileBytes(file, bytes, error)) return 3;
    RegSyntaxError syntax;
    if (!ParseRegFile(bytes, facts, syntax)) {
      error = file + L", line " + std::to_wstring(syntax.line) + L": " + syntax.what;
      return 3;
    }
  }

  platform::SnapshotSettings settings;
  const bool x64 = args.x64.value_or(facts.hasWow6432Node);
  std::wstring sid;
  if (!args.user.empty()) {
    for (const auto& [profileSid, path] : facts.profiles) {
      if (SameText(LastFolder(path), args.user)) {
        sid = profileSid;
        break;
      }
    }
  }
  if (sid.empty() && !facts.loadedSids.empty()) sid = facts.loadedSids.front();
  if (sid.empty()) sid = platform::kDefaultUserSid;
  source.userSid = sid;
  settings.store = std::make_shared<platform::RegistryStore>(sid, x64);
  settings.system.is64BitWindows = x64;
  settings.system.userSid = sid;
  for (const auto& [profileSid, path] : facts.profiles) settings.system.accounts[profileSid] = LastFolder(path);
  if (!args.user.empty()) {
    settings.system.userName = args.user;
  } else if (auto it = facts.profiles.find(sid); it != facts.profiles.end()) {
    settings.system.userName = LastFolder(it->second);
  }
  settings.system.accounts[sid] = settings.system.userName;
  if (args.os) {
    settings.system.version.major = args.os->first;
    settings.system.version.minor = args.os->second;
  } else if (facts.major && facts.minor) {
    settings.system.version.major = *facts.major;
    settings.system.version.minor = *facts.minor;
  }
  if (facts.build) settings.system.version.build = *facts.build;
  for (const auto& drive : args.drives) settings.drives[drive.letter] = platform::DriveMapping{drive.folder};
  settings.security.administratorsMember = !args.noAdmin;
  settings.security.elevated = !args.noAdmin;
  source.store = settings.store;
  platform::Install(platform::MakeSnapshotPlatform(std::move(settings)));
  if (!LoadRegistrySnapshot(args.registryFiles, error)) return 3;
  InitSystemUtilities();
  SetIsAdmin(!args.noAdmin);
  LoadUserList();
  return 0;
}

}  // namespace kelvara::cli
