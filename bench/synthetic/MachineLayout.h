// Where things are on the synthetic machine: its folders, its user
// profiles and the key paths of its hives, for a machine exported from
// Windows (the running user under HKEY_USERS\<SID>, a second profile
// beside it) or one meant to be imported into a Wine prefix (the running
// user under HKEY_CURRENT_USER, no other profile, Wine's folder names).
#pragma once

#include <optional>
#include <string>

namespace kelvara::bench {

struct UserProfile {
  std::wstring name;
  std::wstring sid;
  std::wstring hive;       // the root of the hive in the export, e.g. "HKEY_USERS\S-1-5-21-..."
  std::wstring truthRoot;  // the root findings name: HKEY_CURRENT_USER for the running user
  std::wstring home;       // "C:\Users\<name>"
  std::wstring documents;  // the folder of the user's files
  bool running = false;
};

struct MachineLayout {
  bool wine = false;
  std::wstring windows;          // C:\Windows
  std::wstring system32;         // C:\Windows\System32
  std::wstring programFiles;     // C:\Program Files
  std::wstring programFilesX86;  // C:\Program Files (x86)
  std::wstring programData;      // C:\ProgramData
  UserProfile user;
  std::optional<UserProfile> other;

  // "HKEY_LOCAL_MACHINE\<key>".
  [[nodiscard]] static std::wstring Machine(std::wstring_view key);
  // The machine's classes: the key in the export and as findings name it.
  [[nodiscard]] static std::wstring Classes(std::wstring_view key);
  [[nodiscard]] static std::wstring ClassesFinding(std::wstring_view key);
};

// The layout of a Windows machine whose running user is `userName`.
MachineLayout WindowsLayout(const std::wstring& userName);
// The layout of a Wine prefix whose user is `userName`.
MachineLayout WineLayout(const std::wstring& userName);

}  // namespace kelvara::bench
