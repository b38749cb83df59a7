// TNefoRegistry: a registry object holding one root key, at most one open
// current key and an access mask, in the shape of the familiar registry
// class of the Delphi library, with the program's own rules: raw type
// numbers, reads that never raise, a data-as-text formatter and a key
// mover.
//
// Key arguments: a key that begins with "\" is taken from the root key
// (the "\" is dropped); any other key is relative to the current key when
// one is open, else to the root key.
//
// Every registry call goes through platform::Registry() and leaves its
// result code in LastError (0 is success). Closing and flushing the current
// key do not touch LastError, so it keeps the code of the operation that
// mattered.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/RegistryApi.h"

namespace kelvara {

// Key statistics; lengths in characters, FileTime the last-write time.
struct TRegKeyInfo {
  int NumSubKeys = 0;
  int MaxSubKeyLen = 0;
  int NumValues = 0;
  int MaxValueLen = 0;
  int MaxDataLen = 0;
  std::uint64_t FileTime = 0;
};

struct TRegDataInfoEx {
  std::uint32_t RegData = 0;   // the raw type number
  std::uint32_t DataSize = 0;  // bytes
};

class TNefoRegistry {
 public:
  // Root HKEY_CURRENT_USER, full access, lazy writes, no current key.
  TNefoRegistry();
  explicit TNefoRegistry(std::uint32_t access);
  // Closes the current key and a root obtained by RegistryConnect.
  ~TNefoRegistry();
  TNefoRegistry(const TNefoRegistry&) = delete;
  TNefoRegistry& operator=(const TNefoRegistry&) = delete;

  [[nodiscard]] platform::HKey CurrentKey() const noexcept { return FCurrentKey; }
  [[nodiscard]] const std::wstring& CurrentPath() const noexcept { return FCurrentPath; }
  [[nodiscard]] bool LazyWrite() const noexcept { return FLazyWrite; }
  void SetLazyWrite(bool lazyWrite) noexcept { FLazyWrite = lazyWrite; }
  [[nodiscard]] long LastError() const noexcept { return FLastError; }
  // The system's text for LastError; empty when it is 0.
  [[nodiscard]] std::wstring LastErrorMsg() const;
  [[nodiscard]] platform::HKey RootKey() const noexcept { return FRootKey; }
  // Closes the current key (and a connected root) when the root changes.
  void SetRootKey(platform::HKey root);
  // The long name of a predefined root; empty for any other handle.
  [[nodiscard]] std::wstring RootKeyName() const;
  [[nodiscard]] std::uint32_t Access() const noexcept { return FAccess; }
  void SetAccess(std::uint32_t access) noexcept { FAccess = access; }

  void CloseKey();
  // Creates (or opens) the key and closes it again; the current key stays.
  // Raises ERegistryException "Failed to create key <key>" on failure.
  bool CreateKey(const std::wstring& key);
  bool OpenKey(const std::wstring& key, bool canCreate);
  // Tries read access, then read without notification, then query-value
  // only; the mask that opened becomes Access.
  bool OpenKeyReadOnly(const std::wstring& key);
  bool KeyExists(const std::wstring& key);
  // Deletes the key with every sub-key below it, deepest first.
  bool DeleteKey(const std::wstring& key);
  bool DeleteValue(const std::wstring& name);

  bool GetKeyInfo(TRegKeyInfo& info);
  bool HasSubKeys();
  void GetKeyNames(std::vector<std::wstring>& list);
  // The default value is listed with an empty name.
  void GetValueNames(std::vector<std::wstring>& list);
  bool GetDataInfo(const std::wstring& valueName, TRegDataInfoEx& info);
  // -1 when the value does not exist.
  int GetDataSize(const std::wstring& valueName);
  // 0 when the value does not exist.
  std::uint32_t GetDataType(const std::wstring& valueName);
  bool ValueExists(const std::wstring& name);

  // Typed reads: false, 0 or the empty text on any failure, never a raise.
  bool ReadString(const std::wstring& name, std::wstring& value);
  // Types 4 and 5 of exactly 4 bytes; type 5 is returned as stored.
  bool ReadInteger(const std::wstring& name, int& ret);
  // 8 bytes whatever the type; 0 when they cannot be read.
  std::int64_t ReadInteger64(const std::wstring& name);
  bool ReadBool(const std::wstring& name);
  // 8-byte numbers stored as binary data; 0 when they cannot be read.
  double ReadFloat(const std::wstring& name);
  double ReadCurrency(const std::wstring& name);
  double ReadDateTime(const std::wstring& name);
  double ReadDate(const std::wstring& name);
  double ReadTime(const std::wstring& name);
  // 0 when the value does not exist, else its size; the data is copied
  // only when the buffer holds all of it.
  int ReadBinaryData(const std::wstring& name, std::span<std::uint8_t> buffer);

  // Writes raise ERegistryException "Failed to set data for '<name>'".
  void WriteString(const std::wstring& name, const std::wstring& value);
  void WriteExpandString(const std::wstring& name, const std::wstring& value);
  void WriteInteger(const std::wstring& name, int value);
  void WriteBool(const std::wstring& name, bool value);
  void WriteFloat(const std::wstring& name, double value);
  void WriteCurrency(const std::wstring& name, double value);
  void WriteDateTime(const std::wstring& name, double value);
  void WriteDate(const std::wstring& name, double value);
  void WriteTime(const std::wstring& name, double value);
  void WriteBinaryData(const std::wstring& name, std::span<const std::uint8_t> data);

  // The value as text; with prefixType the export forms ("dword:", "hex(N):").
  // Empty when the value does not exist.
  std::wstring GetDataAsString(const std::wstring& valueName, bool prefixType);
  // Writes the data under the new name, then deletes the old value; nothing
  // happens when the new name exists or the old value is empty or missing.
  void RenameValue(const std::wstring& oldName, const std::wstring& newName);
  // Copies a key with its values and sub-keys to a new key that must not
  // exist yet, then deletes the old key when asked.
  void MoveKey(const std::wstring& oldName, const std::wstring& newName, bool deleteOld);

  // Hive operations.
  bool LoadKey(const std::wstring& key, const std::wstring& fileName);
  bool UnLoadKey(const std::wstring& key);
  bool SaveKey(const std::wstring& key, const std::wstring& fileName);
  bool RestoreKey(const std::wstring& key, const std::wstring& fileName);
  bool ReplaceKey(const std::wstring& key, const std::wstring& fileName, const std::wstring& backUpFileName);
  // Connects to another machine's registry; its handle becomes the root.
  bool RegistryConnect(const std::wstring& uncName);

 private:
  struct KeyArg {
    std::wstring subKey;
    bool relative = false;
  };
  [[nodiscard]] static KeyArg SplitKeyArg(const std::wstring& key);
  [[nodiscard]] platform::HKey BaseKey(bool relative) const noexcept;
  [[nodiscard]] std::uint32_t ViewBits() const noexcept { return FAccess & platform::kKeyWow64Res; }
  void ChangeKey(platform::HKey key, const KeyArg& arg);
  bool OpenWithMask(const KeyArg& arg, std::uint32_t mask);
  // Opens `subKey` below `base` for the duration of an operation.
  platform::UniqueKey OpenTemp(platform::HKey base, const std::wstring& subKey, std::uint32_t mask);
  bool DeleteTree(platform::HKey base, const std::wstring& subKey);
  bool ReadRaw(platform::HKey key, const std::wstring& name, std::uint32_t& type, std::vector<std::uint8_t>& data);
  // The raw 8 bytes of a value as one number; 0 when they cannot be read.
  std::uint64_t Read8Bytes(const std::wstring& name);
  void Write8Bytes(const std::wstring& name, std::uint64_t bits);
  void PutData(platform::HKey key, const std::wstring& name, std::uint32_t type, std::span<const std::uint8_t> data);
  void CopyValue(platform::HKey source, platform::HKey destination, const std::wstring& name);
  void CopyTree(platform::HKey source, platform::HKey destination);
  void CloseConnectedRoot();

  platform::HKey FCurrentKey = 0;
  platform::HKey FRootKey = platform::kHkeyCurrentUser;
  bool FLazyWrite = true;
  std::wstring FCurrentPath;
  bool FCloseRootKey = false;
  std::uint32_t FAccess = platform::kKeyAllAccess;
  long FLastError = 0;
};

}  // namespace kelvara
