#include "repair/BackupRestore.h"

#include <cstdint>
#include <vector>

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
  std::vector<std::uint8_t> bytes;
  if (!ReadRegFileBytes(fileName, bytes, result.error)) return result;
  // The editor's exit code does not tell whether it imported anything, so
  // a malformed file is refused before the editor sees it.
  if (!CheckRegData(bytes, fileName, result.error)) return result;
  if (useRegistryEditor && !IsRegistryToolsDisabled()) {
    result.tool = TRegImportTool::RegistryEditor;
    if (RunRegistryEditor(fileName) == 0) {
      result.succeeded = true;
      return result;
    }
  }
  result.tool = TRegImportTool::OwnReader;
  result.succeeded = ImportRegData(bytes, fileName, result.error);
  return result;
}

}  // namespace kelvara
