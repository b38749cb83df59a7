#include "platform/snapshot/ViewMapping.h"

#include "platform/Text.h"
#include "platform/snapshot/KeyName.h"

namespace kelvara::platform {
namespace {

constexpr std::u16string_view kWow = u"Wow6432Node";
constexpr std::u16string_view kClassesSuffix = u"_Classes";

bool Is(const KeyPath& path, std::size_t index, std::u16string_view name) {
  return path.parts.size() > index && SameName(path.parts[index], name);
}

// Inserts Wow6432Node at `index` unless it is already there.
void InsertWow(KeyPath& path, std::size_t index) {
  if (Is(path, index, kWow)) return;
  path.parts.insert(path.parts.begin() + static_cast<std::ptrdiff_t>(index), std::u16string(kWow));
}

std::u16string ControlSetName(std::uint32_t number) {
  std::u16string digits;
  for (std::uint32_t n = number; n != 0 || digits.empty(); n /= 10) digits.insert(digits.begin(), u'0' + n % 10);
  while (digits.size() < 3) digits.insert(digits.begin(), u'0');
  return u"ControlSet" + digits;
}

}  // namespace

bool SplitSubKey(std::wstring_view subKey, std::vector<std::u16string>& parts) {
  if (!subKey.empty() && subKey.front() == L'\\') return false;
  const std::u16string text = ToUtf16(subKey);
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(u'\\', start);
    if (end == std::u16string::npos) end = text.size();
    if (end > start) parts.emplace_back(text, start, end - start);
    start = end + 1;
  }
  return true;
}

std::optional<KeyPath> PredefinedRootPath(HKey root, std::u16string_view userSid) {
  switch (root) {
    case kHkeyLocalMachine:
      return KeyPath{KeyBase::Machine, {}};
    case kHkeyUsers:
      return KeyPath{KeyBase::Users, {}};
    case kHkeyCurrentUser:
      return KeyPath{KeyBase::Users, {std::u16string(userSid)}};
    case kHkeyClassesRoot:
      return KeyPath{KeyBase::Classes, {}};
    case kHkeyCurrentConfig:
      return KeyPath{KeyBase::Machine, {u"SYSTEM", u"CurrentControlSet", u"Hardware Profiles", u"Current"}};
    default:
      return std::nullopt;
  }
}

bool UsesCurrentControlSet(const KeyPath& path) {
  return path.base == KeyBase::Machine && Is(path, 0, u"SYSTEM") && Is(path, 1, u"CurrentControlSet");
}

void ResolveLinks(KeyPath& path, std::uint32_t controlSet) {
  if (UsesCurrentControlSet(path)) path.parts[1] = ControlSetName(controlSet);
  if (path.base == KeyBase::Users && !path.parts.empty()) {
    std::u16string& hive = path.parts[0];
    if (hive.size() > kClassesSuffix.size() &&
        SameName(std::u16string_view(hive).substr(hive.size() - kClassesSuffix.size()), kClassesSuffix)) {
      hive.resize(hive.size() - kClassesSuffix.size());
      path.parts.insert(path.parts.begin() + 1, {u"Software", u"Classes"});
    }
  }
  if (path.base == KeyBase::Machine && Is(path, 0, u"SOFTWARE") && Is(path, 1, kWow) && Is(path, 2, u"Classes")) {
    std::swap(path.parts[1], path.parts[2]);
  }
}

void MapTo32BitView(KeyPath& path) {
  switch (path.base) {
    case KeyBase::Classes:
      InsertWow(path, 0);
      break;
    case KeyBase::Machine:
      if (!Is(path, 0, u"SOFTWARE")) break;
      InsertWow(path, Is(path, 1, u"Classes") ? 2 : 1);
      break;
    case KeyBase::Users:
      if (Is(path, 1, u"Software") && Is(path, 2, u"Classes")) InsertWow(path, 3);
      break;
  }
}

}  // namespace kelvara::platform
