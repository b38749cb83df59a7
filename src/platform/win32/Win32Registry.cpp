#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Function.h"

namespace kelvara::platform::win32 {
namespace {

// The predefined roots in the order of their numbers 0x80000000..0x80000006.
// On 64-bit Windows the real constants are sign-extended, so they must be
// translated rather than cast.
const std::array<HKEY, 7> kPredefined = {HKEY_CLASSES_ROOT,     HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE, HKEY_USERS,
                                         HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};

HKEY Native(HKey key) {
  if (UniqueKey::IsPredefined(key)) return kPredefined[key - kHkeyClassesRoot];
  return reinterpret_cast<HKEY>(key);
}

HKey FromNative(HKEY key) {
  for (std::size_t i = 0; i < kPredefined.size(); ++i) {
    if (key == kPredefined[i]) return kHkeyClassesRoot + i;
  }
  return reinterpret_cast<HKey>(key);
}

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

using DeleteKeyExFn = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);

// RegDeleteKeyExW exists from Vista (and 64-bit XP) on; older systems have
// only one view and RegDeleteKeyW is the right call there.
DeleteKeyExFn FindDeleteKeyEx() { return SystemFunction<DeleteKeyExFn>(L"advapi32.dll", "RegDeleteKeyExW"); }

// Names longer than this are rare: key names are limited to 255 characters,
// so the first try fits nearly always and only long value names cost the
// extra size query.
constexpr DWORD kFirstNameBuffer = 256;

// Enumerates one name with RegEnumKeyExW or RegEnumValueW. The buffer starts
// small, then is sized from RegQueryInfoKeyW, and grows further if the key
// changed in between and still reports ERROR_MORE_DATA.
template <typename EnumCall>
long EnumName(HKEY key, bool values, std::wstring& name, EnumCall call) {
  std::wstring buffer(kFirstNameBuffer, L'\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG rc = call(buffer.data(), &length);
    if (rc == ERROR_SUCCESS) {
      name.assign(buffer.data(), length);
      return rc;
    }
    if (rc != ERROR_MORE_DATA) return rc;
    DWORD maxSubKey = 0;
    DWORD maxValueName = 0;
    DWORD needed = 0;
    if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &maxSubKey, nullptr, nullptr, &maxValueName,
                           nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
      needed = (values ? maxValueName : maxSubKey) + 1;
    }
    buffer.assign(std::max<std::size_t>(needed, buffer.size() * 2), L'\0');
  }
  return ERROR_MORE_DATA;
}

}  // namespace

long Win32Registry::OpenKey(HKey parent, const std::wstring& subKey, std::uint32_t access, HKey& result) {
  HKEY opened = nullptr;
  const LONG rc = ::RegOpenKeyExW(Native(parent), subKey.c_str(), 0, access, &opened);
  result = rc == ERROR_SUCCESS ? FromNative(opened) : 0;
  return rc;
}

long Win32Registry::CreateKey(HKey parent, const std::wstring& subKey, std::uint32_t access, HKey& result) {
  HKEY created = nullptr;
  const LONG rc = ::RegCreateKeyExW(Native(parent), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                    nullptr, &created, nullptr);
  result = rc == ERROR_SUCCESS ? FromNative(created) : 0;
  return rc;
}

long Win32Registry::CloseKey(HKey key) {
  if (UniqueKey::IsPredefined(key)) return ERROR_SUCCESS;
  return ::RegCloseKey(Native(key));
}

long Win32Registry::FlushKey(HKey key) { return ::RegFlushKey(Native(key)); }

long Win32Registry::DeleteKey(HKey parent, const std::wstring& subKey, std::uint32_t viewAccess) {
  const REGSAM view = viewAccess & kKeyWow64Res;
  const DeleteKeyExFn deleteKeyEx = view != 0 ? FindDeleteKeyEx() : nullptr;
  if (deleteKeyEx != nullptr) return deleteKeyEx(Native(parent), subKey.c_str(), view, 0);
  return ::RegDeleteKeyW(Native(parent), subKey.c_str());
}

long Win32Registry::DeleteValue(HKey key, const std::wstring& name) {
  return ::RegDeleteValueW(Native(key), name.c_str());
}

long Win32Registry::QueryInfoKey(HKey key, RegKeyStats& stats) {
  DWORD subKeys = 0;
  DWORD maxSubKeyLen = 0;
  DWORD values = 0;
  DWORD maxValueNameLen = 0;
  DWORD maxValueLen = 0;
  FILETIME lastWrite{};
  const LONG rc = ::RegQueryInfoKeyW(Native(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen, nullptr, &values,
                                     &maxValueNameLen, &maxValueLen, nullptr, &lastWrite);
  stats = RegKeyStats{};
  if (rc == ERROR_SUCCESS) {
    stats.subKeys = subKeys;
    stats.maxSubKeyLen = maxSubKeyLen;
    stats.values = values;
    stats.maxValueNameLen = maxValueNameLen;
    stats.maxValueLen = maxValueLen;
    stats.lastWriteTime = (static_cast<std::uint64_t>(lastWrite.dwHighDateTime) << 32) | lastWrite.dwLowDateTime;
  }
  return rc;
}

long Win32Registry::EnumKey(HKey key, std::uint32_t index, std::wstring& name) {
  const HKEY native = Native(key);
  name.clear();
  return EnumName(native, false, name, [&](wchar_t* buffer, DWORD* length) {
    return ::RegEnumKeyExW(native, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
  });
}

long Win32Registry::EnumValue(HKey key, std::uint32_t index, std::wstring& name) {
  const HKEY native = Native(key);
  name.clear();
  return EnumName(native, true, name, [&](wchar_t* buffer, DWORD* length) {
    return ::RegEnumValueW(native, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
  });
}

long Win32Registry::QueryValue(HKey key, const std::wstring& name, std::uint32_t& type, std::vector<std::uint8_t>* data,
                               std::uint32_t& size) {
  DWORD valueType = REG_NONE;
  DWORD bytes = size;
  LONG rc = ERROR_SUCCESS;
  if (data == nullptr) {
    bytes = 0;
    rc = ::RegQueryValueExW(Native(key), name.c_str(), nullptr, &valueType, nullptr, &bytes);
  } else {
    // A zero capacity still passes a buffer, so the call reports 234 for a
    // value that has data instead of answering like a size query.
    data->assign(std::max<DWORD>(bytes, 1), 0);
    rc = ::RegQueryValueExW(Native(key), name.c_str(), nullptr, &valueType, data->data(), &bytes);
    if (rc == ERROR_SUCCESS) {
      data->resize(bytes);
    } else {
      data->clear();
    }
  }
  if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
    type = valueType;
    size = bytes;
  }
  return rc;
}

long Win32Registry::SetValue(HKey key, const std::wstring& name, std::uint32_t type, const std::uint8_t* data,
                             std::uint32_t size) {
  // For text types Wine's RegSetValueExW counts one character more when the
  // data does not end with a NUL but a NUL happens to follow it in memory,
  // reading past the caller's buffer. A copy with non-zero bytes behind it
  // stores exactly `size` bytes on every implementation.
  if ((type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) && size > 0) {
    std::vector<std::uint8_t> guarded(data, data + size);
    guarded.insert(guarded.end(), {0xFF, 0xFF, 0xFF});
    return ::RegSetValueExW(Native(key), name.c_str(), 0, type, guarded.data(), size);
  }
  return ::RegSetValueExW(Native(key), name.c_str(), 0, type, data, size);
}

long Win32Registry::SaveKey(HKey key, const std::wstring& fileName) {
  return ::RegSaveKeyExW(Native(key), fileName.c_str(), nullptr, REG_LATEST_FORMAT);
}

long Win32Registry::RestoreKey(HKey key, const std::wstring& fileName) {
  return ::RegRestoreKeyW(Native(key), fileName.c_str(), 0);
}

long Win32Registry::LoadKey(HKey root, const std::wstring& subKey, const std::wstring& fileName) {
  return ::RegLoadKeyW(Native(root), subKey.c_str(), fileName.c_str());
}

long Win32Registry::UnLoadKey(HKey root, const std::wstring& subKey) {
  return ::RegUnLoadKeyW(Native(root), subKey.c_str());
}

long Win32Registry::ReplaceKey(HKey key, const std::wstring& subKey, const std::wstring& newFile,
                               const std::wstring& oldFile) {
  return ::RegReplaceKeyW(Native(key), OrNull(subKey), newFile.c_str(), oldFile.c_str());
}

long Win32Registry::ConnectRegistry(const std::wstring& machineName, HKey root, HKey& result) {
  HKEY connected = nullptr;
  const LONG rc = ::RegConnectRegistryW(OrNull(machineName), Native(root), &connected);
  result = rc == ERROR_SUCCESS ? reinterpret_cast<HKey>(connected) : 0;
  return rc;
}

std::wstring Win32Registry::ErrorMessage(long code) {
  if (code == ERROR_SUCCESS) return {};
  return SystemMessage(static_cast<unsigned long>(code));
}

}  // namespace kelvara::platform::win32
