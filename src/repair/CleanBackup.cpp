#include "repair/CleanBackup.h"

#include <exception>

#include "platform/Encoding.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "registry/RegExport.h"
#include "registry/RegFun.h"

namespace kelvara {
namespace {

std::wstring WithoutTrailingBackslash(const std::wstring& key) {
  if (!key.empty() && key.back() == L'\\') return key.substr(0, key.size() - 1);
  return key;
}

// Writes the header line alone, as the export writer begins every file.
bool WriteEmptyExport(const std::wstring& fileName, std::wstring& error) {
  platform::HostFileError failure;
  const auto bytes = EncodeText(L"Windows Registry Editor Version 5.00\r\n", TextEncoding::Utf16LeBom);
  if (platform::HostFiles().WriteFileAtomic(fileName, bytes, failure)) return true;
  error = L"Cannot write the registry export \"" + fileName + L"\": " + failure.message;
  return false;
}

}  // namespace

bool PrepareBackupFile(const std::wstring& folder, const std::wstring& name, std::wstring& fileName,
                       std::wstring& error) {
  if (folder.empty()) {
    error = L"No folder was given for the backup.";
    return false;
  }
  platform::HostFilesApi& files = platform::HostFiles();
  platform::HostFileError failure;
  if (!files.FolderExists(folder) && !files.CreateFolders(folder, failure)) {
    error = failure.message;
    return false;
  }
  fileName = folder + name + L".reg";
  if (files.FileExists(fileName) && !files.ForceDeleteFile(fileName)) {
    error = L"Cannot delete the old backup \"" + fileName + L"\".";
    return false;
  }
  return true;
}

TCleanBackup::RootSections& TCleanBackup::SectionsOf(platform::HKey root) {
  for (RootSections& sections : roots_) {
    if (sections.root == root) return sections;
  }
  roots_.push_back({root, {}, {}});
  return roots_.back();
}

void TCleanBackup::Add(const TRegData& location) {
  if (location.RemoveType != rfKey && location.RemoveType != rfValue) return;
  const std::wstring key = WithoutTrailingBackslash(location.key);
  RootSections& sections = SectionsOf(location.root);
  const auto [found, isNew] = sections.byUpperKey.try_emplace(UpperCase(key), sections.keys.size());
  if (isNew) sections.keys.push_back({key, false, {}, {}});
  KeySection& section = sections.keys[found->second];
  if (section.wholeKey) return;
  if (location.RemoveType == rfKey) {
    section.wholeKey = true;
    section.values.clear();
    section.upperValues.clear();
    return;
  }
  if (section.upperValues.insert(UpperCase(location.value)).second) section.values.push_back(location.value);
}

std::size_t TCleanBackup::KeyCount() const noexcept {
  std::size_t count = 0;
  for (const RootSections& sections : roots_) count += sections.keys.size();
  return count;
}

bool TCleanBackup::Write(const std::wstring& fileName, std::wstring& error) const {
  bool exported = false;
  try {
    for (const RootSections& sections : roots_) {
      for (const KeySection& section : sections.keys) {
        // The export writes the key line of a missing key too, and
        // importing that line would create a key the clean never removed.
        if (!RegKeyExistsEx(sections.root, section.key)) continue;
        ExportRegKey(sections.root, section.key, section.wholeKey ? nullptr : &section.values, true, fileName);
        exported = true;
      }
    }
  } catch (const std::exception& e) {
    // End the export so that the next one starts afresh, and drop the
    // incomplete file it leaves.
    try {
      ExportRegKey(0, L"", nullptr, false, fileName);
    } catch (...) {
      // Nothing more can be done; the file is removed below either way.
    }
    platform::HostFiles().ForceDeleteFile(fileName);
    error = L"Cannot build the registry export \"" + fileName + L"\": " + Widen(e.what());
    return false;
  }
  if (!exported) return WriteEmptyExport(fileName, error);
  return ExportRegKey(0, L"", nullptr, false, fileName, &error);
}

}  // namespace kelvara
