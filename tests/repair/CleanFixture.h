// What the cleaner tests work on: a registry and a folder for backups and
// the error log. Either the snapshot store of a fresh snapshot platform
// (both targets), or on Windows (under Wine) the real registry, in a
// scratch key below HKEY_CURRENT_USER\Software that is removed afterwards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryApi.h"
#include "scanner/uDefines.h"

#include "support/ScanFixture.h"

namespace kelvara::test {

enum class TestRegistry { Snapshot, Real };

class CleanFixture {
 public:
  // The real registry exists only in the Windows build.
  explicit CleanFixture(TestRegistry registry = TestRegistry::Snapshot);
  CleanFixture(const CleanFixture&) = delete;
  CleanFixture& operator=(const CleanFixture&) = delete;
  ~CleanFixture();

  // The scratch key below HKEY_CURRENT_USER, and a key below it.
  [[nodiscard]] const std::wstring& Scratch() const { return scratch_; }
  [[nodiscard]] std::wstring Key(std::wstring_view relative) const;
  // Applies a .reg body (without header) in which "$" stands for
  // HKEY_CURRENT_USER\<scratch>.
  void Load(std::wstring_view body) const;
  // A host folder of this test's own, and a path in it.
  [[nodiscard]] const std::filesystem::path& Folder() const { return folder_; }
  [[nodiscard]] std::wstring PathIn(std::wstring_view name) const { return (folder_ / name).wstring(); }

  // The scratch tree: one line per key ("path") and per value
  // ("path | name | type | data bytes"), sorted, so two dumps are equal
  // exactly when keys, value names, types and data are.
  [[nodiscard]] std::vector<std::wstring> Dump() const;

  // The snapshot and its knobs; fails the test on the real registry.
  [[nodiscard]] ScanFixture& Snapshot();

 private:
  std::unique_ptr<ScanFixture> snapshot_;
  std::wstring scratch_;
  std::filesystem::path folder_;
};

// An entry of the cleaner's list.
TResultData Finding(const std::wstring& key, const std::wstring& value, TRegFixType type, bool checked = true,
                    bool safe = true);
std::vector<TResultData*> Pointers(std::vector<TResultData>& findings);

// The owner of the cleaner in tests: records every notification, and
// calls `onMessage` (when set) while the cleaner waits.
class CleanTarget : public TMessageTarget {
 public:
  struct Message {
    std::uintptr_t code;
    std::intptr_t lParam;
  };
  std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

  std::vector<Message> messages;
  std::function<void(std::uintptr_t code)> onMessage;
};

// The bytes of a file, and its text decoded by its byte-order mark.
std::vector<std::uint8_t> ReadBytes(const std::wstring& path);
std::wstring ReadText(const std::wstring& path);
// The lines of a text (split at CR LF).
std::vector<std::wstring> Lines(const std::wstring& text);

}  // namespace kelvara::test
