// The process-wide platform: one instance of every facility, installed at
// start-up (the win32 backend, or a snapshot) before any thread runs, and
// replaced only by tests between cases.
#pragma once

#include <memory>

#include "platform/FileSystemApi.h"
#include "platform/HostFilesApi.h"
#include "platform/ProcessApi.h"
#include "platform/RegistryApi.h"
#include "platform/SecurityApi.h"
#include "platform/SystemApi.h"

namespace kelvara::platform {

struct Platform {
  std::shared_ptr<RegistryApi> registry;
  std::shared_ptr<FileSystemApi> files;
  std::shared_ptr<HostFilesApi> hostFiles;
  std::shared_ptr<SystemApi> system;
  std::shared_ptr<SecurityApi> security;
  std::shared_ptr<ProcessApi> process;
};

// Installs `platform` as the process-wide one; every member must be set.
void Install(Platform platform);
// The installed platform; aborts with a message when none is installed.
const Platform& Current();

inline RegistryApi& Registry() { return *Current().registry; }
inline FileSystemApi& Files() { return *Current().files; }
inline HostFilesApi& HostFiles() { return *Current().hostFiles; }
inline SystemApi& System() { return *Current().system; }
inline SecurityApi& Security() { return *Current().security; }
inline ProcessApi& Process() { return *Current().process; }

}  // namespace kelvara::platform
