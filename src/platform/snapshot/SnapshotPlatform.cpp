#include "platform/snapshot/SnapshotPlatform.h"

#include <utility>

#ifdef _WIN32
#include "platform/win32/Win32HostFiles.h"
#else
#include "platform/snapshot/PosixHostFiles.h"
#endif

namespace kelvara::platform {

platform::Platform SnapshotFacilities::Platform() const {
  return platform::Platform{registry, files, hostFiles, system, security, process};
}

SnapshotFacilities MakeSnapshotFacilities(SnapshotSettings settings) {
  SnapshotFacilities result;
  if (settings.system.userSid.empty()) settings.system.userSid = kDefaultUserSid;
  if (settings.store) {
    settings.system.userSid = FromUtf16(settings.store->UserSid());
    settings.system.is64BitWindows = settings.store->Is64BitWindows();
    result.store = std::move(settings.store);
  } else {
    result.store = std::make_shared<RegistryStore>(settings.system.userSid, settings.system.is64BitWindows);
  }
  result.registry = std::make_shared<SnapshotRegistry>(result.store);
  result.files = std::make_shared<DriveMapFiles>(settings.drives);
#ifdef _WIN32
  result.hostFiles = std::make_shared<FaultyHostFiles>(std::make_shared<win32::Win32HostFiles>());
#else
  result.hostFiles = std::make_shared<FaultyHostFiles>(std::make_shared<PosixHostFiles>());
#endif
  result.system = std::make_shared<SnapshotSystem>(std::move(settings.system));
  result.security = std::make_shared<SnapshotSecurity>(std::move(settings.security));
  result.process = std::make_shared<SnapshotProcess>(std::move(settings.process));
  return result;
}

platform::Platform MakeSnapshotPlatform(SnapshotSettings settings) {
  return MakeSnapshotFacilities(std::move(settings)).Platform();
}

}  // namespace kelvara::platform
