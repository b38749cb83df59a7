#include "repair/BackupRestore.h"

#include "platform/Platform.h"
#include "registry/RegFun.h"
#include "registry/RegImport.h"
#include "sysutil/Wow64Redirection.h"

namespace kelvara {
namespace {

// The registry editor's exit code, or -1 when it could not start.
int RunRegistryEditor(const std::wstring& fileName) {
  const TRedirectionOff redirectionOff;
  return platform::Process().RunAndWait(L"regedit /s \"" + fileName + L"\"", platform::kSwHide);
}

}  // namespace

TBackupRestoreResult RestoreRegBackup(const std::wstring& fileName, bool useRegistryEditor) {
  TBackupRestoreResult result;
  if (!platform::HostFiles().FileExists(fileName)) {
    result.error = L"The backup \"" + fileName + L"\" does not exist.";
    return result;
  }
  if (useRegistryEditor && !IsRegistryToolsDisabled()) {
    result.tool = TRegImportTool::RegistryEditor;
    if (RunRegistryEditor(fileName) == 0) {
      result.succeeded = true;
      return result;
    }
  }
  result.tool = TRegImportTool::OwnReader;
  result.succeeded = ImportRegFile(fileName, result.error);
  return result;
}

}  // namespace kelvara
