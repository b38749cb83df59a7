#include "config/ProgramRegistryValues.h"

#include <cstdint>
#include <random>

#include "registry/NefoRegistry.h"
#include "registry/RegFun.h"
#include "registry/RegistryException.h"

namespace kelvara {

bool ReadRegionalFlag() {
  if (ReadRegInteger(platform::kHkeyLocalMachine, kRegionalFlagKey, L"IsJP", true, -1) == 1) return true;
  return ReadRegInteger(platform::kHkeyLocalMachine, kRegionalFlagKey32, L"IsJP", true, -1) == 1;
}

std::wstring NewGuidText() {
  std::random_device device;
  std::mt19937_64 generator((static_cast<std::uint64_t>(device()) << 32) ^ device());
  std::uint64_t high = generator();
  std::uint64_t low = generator();
  high = (high & ~0xF000ull) | 0x4000ull;            // version 4
  low = (low & ~(0xC0ull << 56)) | (0x80ull << 56);  // RFC 4122 variant
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring digits;
  for (int shift = 60; shift >= 0; shift -= 4) digits += kHex[(high >> shift) & 0xF];
  for (int shift = 60; shift >= 0; shift -= 4) digits += kHex[(low >> shift) & 0xF];
  return L"{" + digits.substr(0, 8) + L"-" + digits.substr(8, 4) + L"-" + digits.substr(12, 4) + L"-" +
         digits.substr(16, 4) + L"-" + digits.substr(20) + L"}";
}

std::wstring ReadInstallationId() {
  std::wstring id;
  ReadRegData(platform::kHkeyClassesRoot, kInstallationIdKey, L"KLV", true, id);
  if (!id.empty()) return id;
  id = NewGuidText();
  try {
    TNefoRegistry registry(GetRegAccess(kInstallationIdKey, false, true));
    registry.SetRootKey(platform::kHkeyClassesRoot);
    if (registry.OpenKey(kInstallationIdKey, true)) registry.WriteString(L"KLV", id);
  } catch (const ERegistryException&) {
    // Without the right to write there the identifier lasts for this run.
  }
  return id;
}

}  // namespace kelvara
