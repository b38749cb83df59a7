// The snapshot backend as a whole: every platform facility over an
// in-memory registry, a drive map and explicit system facts, for
// kelvara-cli on Linux and for tests:
//
//   SnapshotSettings settings;
//   settings.drives[L'C'] = {"/mnt/windows"};
//   SnapshotFacilities snapshot = MakeSnapshotFacilities(settings);
//   platform::Install(snapshot.Platform());
//   snapshot.store->SetReadsRefused(platform::kHkeyLocalMachine, L"SOFTWARE\\Locked", true);
//
// or simply platform::Install(MakeSnapshotPlatform(settings)).
#pragma once

#include <map>
#include <memory>

#include "platform/Platform.h"
#include "platform/snapshot/DriveMapFiles.h"
#include "platform/snapshot/FaultyHostFiles.h"
#include "platform/snapshot/RegistryStore.h"
#include "platform/snapshot/SnapshotProcess.h"
#include "platform/snapshot/SnapshotRegistry.h"
#include "platform/snapshot/SnapshotSecurity.h"
#include "platform/snapshot/SnapshotSystem.h"

namespace kelvara::platform {

struct SnapshotSettings {
  // The registry. Null: a new empty store for system.userSid (default
  // kDefaultUserSid) and system.is64BitWindows. A given store keeps its
  // own SID and 64-bit flag, and the system facts follow them.
  std::shared_ptr<RegistryStore> store;
  // Version, 64-bit flag, user, folders, environment, accounts, locale.
  SystemSettings system;
  // Drive letter -> host folder of the examined system's drives.
  std::map<wchar_t, DriveMapping> drives;
  SecuritySettings security;
  ProcessSettings process;
};

// The facilities with their concrete types, for the knobs and records.
struct SnapshotFacilities {
  std::shared_ptr<RegistryStore> store;
  std::shared_ptr<SnapshotRegistry> registry;
  std::shared_ptr<DriveMapFiles> files;
  // The host's own files, with the failure knobs of tests.
  std::shared_ptr<FaultyHostFiles> hostFiles;
  std::shared_ptr<SnapshotSystem> system;
  std::shared_ptr<SnapshotSecurity> security;
  std::shared_ptr<SnapshotProcess> process;

  [[nodiscard]] platform::Platform Platform() const;
};

SnapshotFacilities MakeSnapshotFacilities(SnapshotSettings settings);
platform::Platform MakeSnapshotPlatform(SnapshotSettings settings);

}  // namespace kelvara::platform
