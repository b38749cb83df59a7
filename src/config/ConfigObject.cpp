#include "config/ConfigObject.h"

#include <memory>

namespace kelvara {
namespace {

std::unique_ptr<TMemIniFile>& Instance() {
  static std::unique_ptr<TMemIniFile> instance;
  return instance;
}

}  // namespace

TMemIniFile& ConfigObject(const std::wstring& configFile) {
  auto& instance = Instance();
  if (!instance) instance = std::make_unique<TMemIniFile>(TMemIniFile::Load(configFile));
  return *instance;
}

bool SaveConfigObject(platform::HostFileError& error) {
  error = {};
  auto& instance = Instance();
  return !instance || instance->UpdateFile(error);
}

void ResetConfigObject() { Instance().reset(); }

}  // namespace kelvara
