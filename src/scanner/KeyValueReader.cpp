#include "scanner/KeyValueReader.h"

#include "registry/RegFun.h"

namespace kelvara {

TKeyValueReader::TKeyValueReader(platform::HKey root, const std::wstring& key) : fReg(GetRegAccess(key, true, true)) {
  fReg.SetRootKey(root);
  fOpen = fReg.OpenKeyReadOnly(key);
  if (fOpen) fReg.GetValueNames(fNames);
}

bool TKeyValueReader::ReadText(const std::wstring& name, std::wstring& text) {
  if (!fOpen) {
    text.clear();
    return false;
  }
  text = fReg.GetDataAsString(name, false);
  return fReg.LastError() == 0;
}

int TKeyValueReader::ReadInteger(const std::wstring& name, int defaultValue) {
  int value = 0;
  return fOpen && fReg.ReadInteger(name, value) ? value : defaultValue;
}

}  // namespace kelvara
