// The platform a registry test runs on: on Linux a fresh snapshot store,
// under Wine the real registry in a scratch key of its own below
// HKEY_CURRENT_USER\Software that is removed again with everything in it.
// The system facts the registry layer asks for (64-bit Windows, version,
// double-byte locale) are set per test.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace kelvara::test {

struct HostFacts {
  bool win64 = true;
  unsigned major = 10;
  unsigned minor = 0;
  bool doubleByteLocale = false;
};

class RegistryTestHost {
 public:
  explicit RegistryTestHost(HostFacts facts = {});
  ~RegistryTestHost();
  RegistryTestHost(const RegistryTestHost&) = delete;
  RegistryTestHost& operator=(const RegistryTestHost&) = delete;

  [[nodiscard]] static platform::HKey Root() noexcept { return platform::kHkeyCurrentUser; }
  // The scratch key below Root(), e.g. "Software\Kelvara-reg-1234".
  [[nodiscard]] const std::wstring& Base() const noexcept { return base_; }
  // Base() + "\" + relative (Base() for an empty relative path).
  [[nodiscard]] std::wstring Path(std::wstring_view relative) const;
  // "HKEY_CURRENT_USER\" + Path(relative).
  [[nodiscard]] std::wstring FullPath(std::wstring_view relative) const;

  // Imports a .reg text (header added) in which "$" stands for the full
  // path of the scratch key; fails the test on any error.
  void Load(std::wstring_view body) const;
  // The text with "$" replaced, header added, as UTF-16LE bytes with BOM.
  [[nodiscard]] std::vector<std::uint8_t> RegBytes(std::wstring_view body) const;

  // The registry belongs to the test alone (the snapshot store), so keys
  // outside the scratch key may be written.
  [[nodiscard]] static bool HasPrivateRegistry() noexcept;

  // Access knobs of the snapshot store; false where the backend has none
  // (the real registry), and the test skips.
  bool RefuseReads(std::wstring_view relative) const;
  bool RefuseWrites(std::wstring_view relative) const;
  // Every registry write fails with `code` after `writes` more succeeded;
  // false where the backend cannot do this.
  bool FailWritesAfter(unsigned writes, long code) const;

  // A file name for test output in the temporary folder.
  [[nodiscard]] std::wstring TempFile(std::wstring_view name) const;

 private:
  struct Backend;
  std::unique_ptr<Backend> backend_;
  std::wstring base_;
};

}  // namespace kelvara::test
