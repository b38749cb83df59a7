#include "platform/snapshot/ValueEntry.h"

#include <algorithm>
#include <cstring>

namespace kelvara::platform {
namespace {

constexpr std::size_t kHeaderUnits = 6;  // three 32-bit fields

}  // namespace

ValueEntry::ValueEntry(std::u16string_view name, std::uint32_t type, const std::uint8_t* data, std::uint32_t size) {
  static_assert(sizeof(Header) == kHeaderUnits * sizeof(char16_t));
  const std::size_t dataUnits = (static_cast<std::size_t>(size) + 1) / 2;
  blob_ = std::make_unique<char16_t[]>(kHeaderUnits + name.size() + dataUnits);
  const Header header{type, static_cast<std::uint32_t>(name.size()), size};
  std::memcpy(blob_.get(), &header, sizeof header);
  std::copy(name.begin(), name.end(), blob_.get() + kHeaderUnits);
  if (size != 0) std::memcpy(blob_.get() + kHeaderUnits + name.size(), data, size);
}

ValueEntry::Header ValueEntry::ReadHeader() const noexcept {
  Header header{};
  std::memcpy(&header, blob_.get(), sizeof header);
  return header;
}

std::u16string_view ValueEntry::Name() const noexcept { return {blob_.get() + kHeaderUnits, ReadHeader().nameLength}; }

std::uint32_t ValueEntry::Type() const noexcept { return ReadHeader().type; }

std::uint32_t ValueEntry::Size() const noexcept { return ReadHeader().size; }

const std::uint8_t* ValueEntry::Data() const noexcept {
  // Reading an object's bytes through unsigned char is always allowed.
  return reinterpret_cast<const std::uint8_t*>(blob_.get() + kHeaderUnits + ReadHeader().nameLength);
}

}  // namespace kelvara::platform
