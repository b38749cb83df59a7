// The registry facility over the real Windows registry API. Handles cross
// the facility boundary as numbers: the predefined roots keep their
// documented values 0x80000000.., every other key is the real HKEY.
#pragma once

#include "platform/RegistryApi.h"

namespace kelvara::platform::win32 {

class Win32Registry final : public RegistryApi {
 public:
  long OpenKey(HKey parent, const std::wstring& subKey, std::uint32_t access, HKey& result) override;
  long CreateKey(HKey parent, const std::wstring& subKey, std::uint32_t access, HKey& result) override;
  long CloseKey(HKey key) override;
  long FlushKey(HKey key) override;
  long DeleteKey(HKey parent, const std::wstring& subKey, std::uint32_t viewAccess) override;
  long DeleteValue(HKey key, const std::wstring& name) override;
  long QueryInfoKey(HKey key, RegKeyStats& stats) override;
  long EnumKey(HKey key, std::uint32_t index, std::wstring& name) override;
  long EnumValue(HKey key, std::uint32_t index, std::wstring& name) override;
  // With `data`, `size` is the capacity in bytes on entry; on success it is
  // the number of bytes stored and `data` holds exactly them. Code 234 sets
  // `size` to the size needed.
  long QueryValue(HKey key, const std::wstring& name, std::uint32_t& type, std::vector<std::uint8_t>* data,
                  std::uint32_t& size) override;
  long SetValue(HKey key, const std::wstring& name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override;

  long SaveKey(HKey key, const std::wstring& fileName) override;
  long RestoreKey(HKey key, const std::wstring& fileName) override;
  long LoadKey(HKey root, const std::wstring& subKey, const std::wstring& fileName) override;
  long UnLoadKey(HKey root, const std::wstring& subKey) override;
  long ReplaceKey(HKey key, const std::wstring& subKey, const std::wstring& newFile,
                  const std::wstring& oldFile) override;
  long ConnectRegistry(const std::wstring& machineName, HKey root, HKey& result) override;

  std::wstring ErrorMessage(long code) override;
};

}  // namespace kelvara::platform::win32
