// One key opened for reading once, for the rules that walk every value of
// a key: the value names are listed at opening and each value is read
// through the same handle, instead of opening the key again per value.
// The handle is closed when the reader goes out of scope.
#pragma once

#include <string>
#include <vector>

#include "platform/RegistryApi.h"
#include "registry/NefoRegistry.h"

namespace kelvara {

class TKeyValueReader {
 public:
  // Opens `key` below `root` in the view GetRegAccess chooses for it.
  TKeyValueReader(platform::HKey root, const std::wstring& key);

  [[nodiscard]] bool IsOpen() const noexcept { return fOpen; }
  // The value names, the default value as an empty name; empty when the
  // key did not open.
  [[nodiscard]] const std::vector<std::wstring>& Names() const noexcept { return fNames; }
  // The value as text; false (and an empty text) when it cannot be read.
  bool ReadText(const std::wstring& name, std::wstring& text);
  // The DWORD value; `defaultValue` when it cannot be read as one.
  int ReadInteger(const std::wstring& name, int defaultValue);

 private:
  TNefoRegistry fReg;
  bool fOpen = false;
  std::vector<std::wstring> fNames;
};

}  // namespace kelvara
