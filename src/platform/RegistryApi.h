// The registry facility: exactly the Windows registry functions the program
// relies on, with the platform's result codes (0 success, 2 not found,
// 5 access denied, anything else another failure).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvara::platform {

// An opaque key handle. The predefined roots carry their Windows values.
using HKey = std::uintptr_t;

inline constexpr HKey kHkeyClassesRoot = 0x80000000u;
inline constexpr HKey kHkeyCurrentUser = 0x80000001u;
inline constexpr HKey kHkeyLocalMachine = 0x80000002u;
inline constexpr HKey kHkeyUsers = 0x80000003u;
inline constexpr HKey kHkeyPerformanceData = 0x80000004u;
inline constexpr HKey kHkeyCurrentConfig = 0x80000005u;
inline constexpr HKey kHkeyDynData = 0x80000006u;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorOutOfMemory = 14;
inline constexpr long kErrorWriteFault = 29;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorDiskFull = 112;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;
inline constexpr long kErrorKeyDeleted = 1018;

// Access-mask bits.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyNotify = 0x0010;
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;
inline constexpr std::uint32_t kKeyWow64Res = 0x0300;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyReadNoNotify = 0x20009;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// Raw value type numbers.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegDwordBigEndian = 5;
inline constexpr std::uint32_t kRegLink = 6;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// What RegQueryInfoKeyW reports; lengths are in characters without the
// terminating NUL, the data length in bytes.
struct RegKeyStats {
  std::uint32_t subKeys = 0;
  std::uint32_t maxSubKeyLen = 0;
  std::uint32_t values = 0;
  std::uint32_t maxValueNameLen = 0;
  std::uint32_t maxValueLen = 0;
  std::uint64_t lastWriteTime = 0;  // FILETIME as one 64-bit number
};

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;

  // RegOpenKeyExW. An empty sub-key opens a new handle to `parent`.
  virtual long OpenKey(HKey parent, const std::wstring& subKey, std::uint32_t access, HKey& result) = 0;
  // RegCreateKeyExW: creates missing keys along the path.
  virtual long CreateKey(HKey parent, const std::wstring& subKey, std::uint32_t access, HKey& result) = 0;
  virtual long CloseKey(HKey key) = 0;
  virtual long FlushKey(HKey key) = 0;
  // RegDeleteKeyExW: deletes one key without sub-keys; `viewAccess` carries
  // the view bits (0x0100/0x0200) the key was found in.
  virtual long DeleteKey(HKey parent, const std::wstring& subKey, std::uint32_t viewAccess) = 0;
  virtual long DeleteValue(HKey key, const std::wstring& name) = 0;
  virtual long QueryInfoKey(HKey key, RegKeyStats& stats) = 0;
  // RegEnumKeyExW / RegEnumValueW by index; code 259 past the end.
  virtual long EnumKey(HKey key, std::uint32_t index, std::wstring& name) = 0;
  virtual long EnumValue(HKey key, std::uint32_t index, std::wstring& name) = 0;
  // RegQueryValueExW. `data` may be null to ask only for type and size.
  virtual long QueryValue(HKey key, const std::wstring& name, std::uint32_t& type, std::vector<std::uint8_t>* data,
                          std::uint32_t& size) = 0;
  virtual long SetValue(HKey key, const std::wstring& name, std::uint32_t type, const std::uint8_t* data,
                        std::uint32_t size) = 0;

  // Hive operations.
  virtual long SaveKey(HKey key, const std::wstring& fileName) = 0;
  virtual long RestoreKey(HKey key, const std::wstring& fileName) = 0;
  virtual long LoadKey(HKey root, const std::wstring& subKey, const std::wstring& fileName) = 0;
  virtual long UnLoadKey(HKey root, const std::wstring& subKey) = 0;
  virtual long ReplaceKey(HKey key, const std::wstring& subKey, const std::wstring& newFile,
                          const std::wstring& oldFile) = 0;
  virtual long ConnectRegistry(const std::wstring& machineName, HKey root, HKey& result) = 0;

  // The system's message text for a result code, empty for 0.
  virtual std::wstring ErrorMessage(long code) = 0;
};

// Closes a key handle when it goes out of scope; predefined roots are never
// closed.
class UniqueKey {
 public:
  explicit UniqueKey(RegistryApi& api, HKey key = 0) noexcept : api_(&api), key_(key) {}
  UniqueKey(const UniqueKey&) = delete;
  UniqueKey& operator=(const UniqueKey&) = delete;
  UniqueKey(UniqueKey&& other) noexcept : api_(other.api_), key_(other.release()) {}
  UniqueKey& operator=(UniqueKey&& other) noexcept {
    if (this != &other) {
      reset(other.release());
      api_ = other.api_;
    }
    return *this;
  }
  ~UniqueKey() { reset(); }

  [[nodiscard]] HKey get() const noexcept { return key_; }
  [[nodiscard]] explicit operator bool() const noexcept { return key_ != 0; }
  HKey release() noexcept {
    HKey k = key_;
    key_ = 0;
    return k;
  }
  void reset(HKey key = 0) noexcept {
    if (key_ != 0 && !IsPredefined(key_)) api_->CloseKey(key_);
    key_ = key;
  }
  [[nodiscard]] static bool IsPredefined(HKey key) noexcept { return key >= 0x80000000u && key <= 0x80000006u; }

 private:
  RegistryApi* api_;
  HKey key_;
};

}  // namespace kelvara::platform
