#include "sysutil/WindowsVersions.h"

#include "platform/Platform.h"

namespace kelvara {
namespace {

constexpr std::size_t kMaxServicePackChars = 128;

struct SystemFacts {
  platform::OsVersion version;
  bool nativeVersion = false;
  bool win64 = false;
};

// The process-wide facts; written by InitSystemFacts before threads start.
SystemFacts& Facts() {
  static SystemFacts facts;
  return facts;
}

platform::OsVersion Normalised(platform::OsVersion version) {
  if (version.platformId == 1) version.build &= 0xFFFFu;
  if (version.servicePack.size() > kMaxServicePackChars) version.servicePack.resize(kMaxServicePackChars);
  return version;
}

}  // namespace

void InitSystemFacts() {
  platform::SystemApi& system = platform::System();
  SystemFacts facts;
  if (auto native = system.NativeVersion()) {
    facts.version = Normalised(*native);
    facts.nativeVersion = true;
  } else {
    facts.version = Normalised(system.OrdinaryVersion());
  }
  facts.win64 = system.Is64BitWindows();
  Facts() = facts;
}

const platform::OsVersion& GetOsVersion() { return Facts().version; }

bool HasNativeVersion() { return Facts().nativeVersion; }

TWinVersion WinVersionOf(unsigned major, unsigned minor) {
  switch (major) {
    case 5:
      return minor == 0 ? os2K : osXP;
    case 6:
      if (minor == 0) return osVista;
      if (minor == 1) return osWin7;
      return osWin8;
    case 10:
      return osWin10;
    default:
      return osAll;
  }
}

TWinVersion GetWinVersion() {
  if (!HasNativeVersion()) return osAll;
  return WinVersionOf(GetOsVersion().major, GetOsVersion().minor);
}

std::wstring GetOSVersionText() {
  if (!HasNativeVersion()) return {};
  const platform::OsVersion& v = GetOsVersion();
  return std::to_wstring(v.major) + L"." + std::to_wstring(v.minor) + L"." + std::to_wstring(v.build);
}

bool IsWindows10OrGreater() { return platform::System().IsWindows10OrGreater(); }

bool IsWin64() { return Facts().win64; }

bool IsLegacyWow64() {
  const platform::OsVersion& v = GetOsVersion();
  return IsWin64() && ((v.major == 6 && v.minor == 0) || (v.major == 5 && v.minor == 2));
}

}  // namespace kelvara
