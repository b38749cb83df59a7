// Values of TNefoRegistry: data information, typed reads and writes, the
// data-as-text forms, renaming a value and moving a key.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "platform/Platform.h"
#include "platform/Text.h"
#include "registry/NefoRegistry.h"
#include "registry/RegDataText.h"
#include "registry/RegistryException.h"

namespace kelvara {

using platform::HKey;
using platform::UniqueKey;

namespace {

platform::RegistryApi& Api() { return platform::Registry(); }

// Little-endian number from the first `width` bytes, missing bytes as 0.
std::uint64_t LittleEndian(const std::vector<std::uint8_t>& data, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = std::min(width, data.size()); i-- > 0;) value = (value << 8) | data[i];
  return value;
}

std::wstring TextUpToNul(const std::vector<std::uint8_t>& data) {
  std::wstring text = FromUtf16LeBytes(data.data(), data.size());
  const std::size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

std::wstring Decimal(std::int64_t value) { return Widen(std::to_string(value)); }

}  // namespace

bool TNefoRegistry::GetDataInfo(const std::wstring& valueName, TRegDataInfoEx& info) {
  info = TRegDataInfoEx{};
  if (FCurrentKey == 0) {
    FLastError = platform::kErrorInvalidHandle;
    return false;
  }
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  FLastError = Api().QueryValue(FCurrentKey, valueName, type, nullptr, size);
  if (FLastError != 0) return false;
  info.RegData = type;
  info.DataSize = size;
  return true;
}

int TNefoRegistry::GetDataSize(const std::wstring& valueName) {
  TRegDataInfoEx info;
  return GetDataInfo(valueName, info) ? static_cast<int>(info.DataSize) : -1;
}

std::uint32_t TNefoRegistry::GetDataType(const std::wstring& valueName) {
  TRegDataInfoEx info;
  return GetDataInfo(valueName, info) ? info.RegData : 0;
}

bool TNefoRegistry::ValueExists(const std::wstring& name) {
  TRegDataInfoEx info;
  return GetDataInfo(name, info);
}

bool TNefoRegistry::ReadRaw(HKey key, const std::wstring& name, std::uint32_t& type, std::vector<std::uint8_t>& data) {
  if (key == 0) {
    FLastError = platform::kErrorInvalidHandle;
    return false;
  }
  // The size is asked first and the data read with a buffer of that size;
  // a value that grew in between is asked again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::uint32_t size = 0;
    FLastError = Api().QueryValue(key, name, type, nullptr, size);
    if (FLastError != 0) return false;
    data.assign(size, 0);
    FLastError = Api().QueryValue(key, name, type, &data, size);
    if (FLastError == 0) {
      if (data.size() > size) data.resize(size);
      return true;
    }
    if (FLastError != platform::kErrorMoreData) return false;
  }
  return false;
}

bool TNefoRegistry::ReadString(const std::wstring& name, std::wstring& value) {
  value.clear();
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (!ReadRaw(FCurrentKey, name, type, data)) return false;
  if ((type != platform::kRegSz && type != platform::kRegExpandSz) || data.empty()) return false;
  value = TextUpToNul(data);
  return true;
}

bool TNefoRegistry::ReadInteger(const std::wstring& name, int& ret) {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (!ReadRaw(FCurrentKey, name, type, data)) return false;
  if ((type != platform::kRegDword && type != platform::kRegDwordBigEndian) || data.size() != 4) return false;
  ret = static_cast<int>(static_cast<std::uint32_t>(LittleEndian(data, 4)));
  return true;
}

std::int64_t TNefoRegistry::ReadInteger64(const std::wstring& name) {
  return static_cast<std::int64_t>(Read8Bytes(name));
}

bool TNefoRegistry::ReadBool(const std::wstring& name) {
  int value = 0;
  return ReadInteger(name, value) && value != 0;
}

std::uint64_t TNefoRegistry::Read8Bytes(const std::wstring& name) {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (!ReadRaw(FCurrentKey, name, type, data) || data.size() < 8) return 0;
  return LittleEndian(data, 8);
}

double TNefoRegistry::ReadFloat(const std::wstring& name) { return std::bit_cast<double>(Read8Bytes(name)); }

// A currency amount is a 64-bit integer of ten-thousandths.
double TNefoRegistry::ReadCurrency(const std::wstring& name) {
  return static_cast<double>(static_cast<std::int64_t>(Read8Bytes(name))) / 10000.0;
}

double TNefoRegistry::ReadDateTime(const std::wstring& name) { return ReadFloat(name); }
double TNefoRegistry::ReadDate(const std::wstring& name) { return ReadFloat(name); }
double TNefoRegistry::ReadTime(const std::wstring& name) { return ReadFloat(name); }

int TNefoRegistry::ReadBinaryData(const std::wstring& name, std::span<std::uint8_t> buffer) {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (!ReadRaw(FCurrentKey, name, type, data)) return 0;
  if (buffer.size() >= data.size()) std::copy(data.begin(), data.end(), buffer.begin());
  return static_cast<int>(data.size());
}

void TNefoRegistry::PutData(HKey key, const std::wstring& name, std::uint32_t type,
                            std::span<const std::uint8_t> data) {
  if (key == 0) {
    FLastError = platform::kErrorInvalidHandle;
  } else {
    FLastError = Api().SetValue(key, name, type, data.data(), static_cast<std::uint32_t>(data.size()));
  }
  if (FLastError != 0) throw ERegistryException(L"Failed to set data for '" + name + L"'");
}

void TNefoRegistry::WriteString(const std::wstring& name, const std::wstring& value) {
  PutData(FCurrentKey, name, platform::kRegSz, ToUtf16LeBytes(value, true));
}

void TNefoRegistry::WriteExpandString(const std::wstring& name, const std::wstring& value) {
  PutData(FCurrentKey, name, platform::kRegExpandSz, ToUtf16LeBytes(value, true));
}

void TNefoRegistry::WriteInteger(const std::wstring& name, int value) {
  const auto bits = static_cast<std::uint32_t>(value);
  const std::uint8_t data[4] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                                static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
  PutData(FCurrentKey, name, platform::kRegDword, data);
}

void TNefoRegistry::WriteBool(const std::wstring& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TNefoRegistry::Write8Bytes(const std::wstring& name, std::uint64_t bits) {
  std::uint8_t data[8];
  for (std::size_t i = 0; i < 8; ++i) data[i] = static_cast<std::uint8_t>(bits >> (8 * i));
  PutData(FCurrentKey, name, platform::kRegBinary, data);
}

void TNefoRegistry::WriteFloat(const std::wstring& name, double value) {
  Write8Bytes(name, std::bit_cast<std::uint64_t>(value));
}

void TNefoRegistry::WriteCurrency(const std::wstring& name, double value) {
  Write8Bytes(name, static_cast<std::uint64_t>(std::llround(value * 10000.0)));
}

void TNefoRegistry::WriteDateTime(const std::wstring& name, double value) { WriteFloat(name, value); }
void TNefoRegistry::WriteDate(const std::wstring& name, double value) { WriteFloat(name, value); }
void TNefoRegistry::WriteTime(const std::wstring& name, double value) { WriteFloat(name, value); }

void TNefoRegistry::WriteBinaryData(const std::wstring& name, std::span<const std::uint8_t> data) {
  PutData(FCurrentKey, name, platform::kRegBinary, data);
}

std::wstring TNefoRegistry::GetDataAsString(const std::wstring& valueName, bool prefixType) {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (!ReadRaw(FCurrentKey, valueName, type, data)) return {};
  switch (type) {
    case platform::kRegSz:
      return TextUpToNul(data);
    case platform::kRegExpandSz:
      return prefixType ? HexForm(type, data) : TextUpToNul(data);
    case platform::kRegDword:
      // A DWORD of another size than 4 bytes keeps its exact bytes in the
      // export form, so a backup restores it unchanged.
      if (prefixType) {
        return data.size() == 4 ? DwordForm(static_cast<std::uint32_t>(LittleEndian(data, 4))) : HexForm(type, data);
      }
      return Decimal(static_cast<std::int32_t>(static_cast<std::uint32_t>(LittleEndian(data, 4))));
    case platform::kRegDwordBigEndian:
      if (prefixType) return HexForm(type, data);
      return Decimal(static_cast<std::int32_t>(static_cast<std::uint32_t>(LittleEndian(data, 4))));
    case platform::kRegQword:
      if (prefixType) return HexForm(type, data);
      return Decimal(static_cast<std::int64_t>(LittleEndian(data, 8)));
    default:
      return prefixType ? HexForm(type, data) : HexBytes(data);
  }
}

void TNefoRegistry::RenameValue(const std::wstring& oldName, const std::wstring& newName) {
  if (ValueExists(newName) || GetDataSize(oldName) <= 0) return;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (!ReadRaw(FCurrentKey, oldName, type, data)) return;
  // The new value is written before the old one goes, so a refused write
  // loses nothing.
  PutData(FCurrentKey, newName, type, data);
  DeleteValue(oldName);
}

void TNefoRegistry::CopyValue(HKey source, HKey destination, const std::wstring& name) {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (!ReadRaw(source, name, type, data)) return;
  PutData(destination, name, type, data);
}

void TNefoRegistry::CopyTree(HKey source, HKey destination) {
  platform::RegKeyStats stats;
  FLastError = Api().QueryInfoKey(source, stats);
  if (FLastError != 0) return;
  CopyValue(source, destination, L"");
  std::wstring name;
  for (std::uint32_t i = 0; i < stats.values; ++i) {
    if (Api().EnumValue(source, i, name) == 0) CopyValue(source, destination, name);
  }
  for (std::uint32_t i = 0; i < stats.subKeys; ++i) {
    if (Api().EnumKey(source, i, name) != 0) continue;
    const UniqueKey sourceChild = OpenTemp(source, name, FAccess);
    if (!sourceChild) continue;
    HKey created = 0;
    FLastError = Api().CreateKey(destination, name, FAccess, created);
    if (FLastError != 0) throw ERegistryException(L"Failed to create key " + name);
    const UniqueKey destinationChild(Api(), created);
    CopyTree(sourceChild.get(), destinationChild.get());
  }
}

void TNefoRegistry::MoveKey(const std::wstring& oldName, const std::wstring& newName, bool deleteOld) {
  if (!KeyExists(oldName) || KeyExists(newName)) return;
  const KeyArg source = SplitKeyArg(oldName);
  const KeyArg destination = SplitKeyArg(newName);
  // A key cannot be moved into its own tree: the copy would never end.
  if (BaseKey(source.relative) == BaseKey(destination.relative) &&
      StartsWithText(destination.subKey, source.subKey + L"\\")) {
    return;
  }
  {
    const UniqueKey sourceKey = OpenTemp(BaseKey(source.relative), source.subKey, FAccess);
    if (!sourceKey) return;
    CreateKey(newName);
    const UniqueKey destinationKey = OpenTemp(BaseKey(destination.relative), destination.subKey, FAccess);
    if (!destinationKey) return;
    // Values of every size are copied, empty ones too: the new key must
    // hold exactly what the old one held before the old one is deleted.
    CopyTree(sourceKey.get(), destinationKey.get());
  }
  if (deleteOld) DeleteKey(oldName);
}

}  // namespace kelvara
