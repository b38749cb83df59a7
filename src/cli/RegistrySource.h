// Where kelvara-cli reads the registry from: the live registry of the
// machine it runs on (Windows), or a snapshot built from registry exports
// with the examined system's drives mapped to folders.
#pragma once

#include <memory>
#include <string>

#include "cli/CliArguments.h"

namespace kelvara::platform {
class RegistryStore;
}

namespace kelvara::cli {

struct RegistrySource {
  bool snapshot = false;
  std::shared_ptr<platform::RegistryStore> store;  // the snapshot's, else null
  std::wstring userSid;                            // the running user's profile in the snapshot
  std::wstring hostAppData;                        // the host's application-data folder
};

// Installs the platform for `args`, reads the system facts, the
// administrator flag and the user list. Returns 0, or an exit code (2 for
// a usage error, 3 for an unreadable or malformed export) with `error`
// naming the file and what is wrong.
int InstallRegistrySource(const CliArguments& args, RegistrySource& source, std::wstring& error);

}  // namespace kelvara::cli
