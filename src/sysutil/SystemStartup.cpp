#include "sysutil/SystemStartup.h"

#include "sysutil/EnvironmentStrings.h"
#include "sysutil/SystemFolders.h"
#include "sysutil/WindowsVersions.h"

namespace kelvara {

void InitSystemUtilities() {
  InitSystemFacts();
  InitFolderValues();
  InitEnvironmentStrings();
}

}  // namespace kelvara
